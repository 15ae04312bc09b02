// The tab control (SysTabControl32): items with captions, images and data in one row, the
// selected one asked for through TCN_SELCHANGING and announced by TCN_SELCHANGE when the user
// clicks another tab or moves with the arrow keys, and the display area below the row.
#include "src/comctl32/control_classes.h"
#include "src/comctl32/control_paint.h"
#include "src/comctl32/control_state.h"
#include "src/comctl32/image_list.h"
#include "sim/utf.h"

#include <commctrl.h>
#include <algorithm>
#include <vector>

namespace moltr::platform {
namespace {

constexpr int kPadding = 6;   // each side of a caption
constexpr int kIconGap = 3;   // between an image and the caption
constexpr int kRowMargin = 2; // the row starts this far in; the selected tab rises into it
constexpr int kBorder = 4;    // the display area's frame and margin

struct TabItem {
    std::u16string text;
    int image = -1;
    LPARAM data = 0;
    DWORD state = 0;
};

class TabControl {
public:
    explicit TabControl(HWND window) : window_(window) {}

    bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (PaintMessage(window_, message, wParam, [this](HDC dc) { Paint(dc); })) {
            return true;
        }
        switch (message) {
        case TCM_INSERTITEMW:
            result = Insert(static_cast<int>(wParam), reinterpret_cast<const TCITEMW*>(lParam));
            return true;
        case TCM_SETITEMW:
            result = Set(static_cast<int>(wParam), reinterpret_cast<const TCITEMW*>(lParam));
            return true;
        case TCM_GETITEMW:
            result = Get(static_cast<int>(wParam), reinterpret_cast<TCITEMW*>(lParam));
            return true;
        case TCM_DELETEITEM:
            result = Delete(static_cast<int>(wParam));
            return true;
        case TCM_DELETEALLITEMS:
            items_.clear();
            selected_ = -1;
            result = TRUE;
            return true;
        case TCM_GETITEMCOUNT:
            result = static_cast<LRESULT>(items_.size());
            return true;
        case TCM_GETCURSEL:
            result = selected_;
            return true;
        case TCM_SETCURSEL:
            result = SetSelection(static_cast<int>(wParam));
            return true;
        case TCM_SETIMAGELIST:
            result = reinterpret_cast<LRESULT>(images_);
            images_ = reinterpret_cast<HIMAGELIST>(lParam);
            return true;
        case TCM_GETIMAGELIST:
            result = reinterpret_cast<LRESULT>(images_);
            return true;
        case TCM_GETITEMRECT:
            result = ItemRect(static_cast<int>(wParam), reinterpret_cast<RECT*>(lParam));
            return true;
        case TCM_ADJUSTRECT:
            Adjust(wParam != 0, reinterpret_cast<RECT*>(lParam));
            return true;
        case TCM_HITTEST:
            result = HitTest(reinterpret_cast<TCHITTESTINFO*>(lParam));
            return true;
        case WM_LBUTTONDOWN:
            Choose(ItemAt(PointOf(lParam)));
            return true;
        case WM_KEYDOWN:
            Key(static_cast<UINT>(wParam));
            return true;
        default:
            return false;
        }
    }

private:
    bool Valid(int index) const { return index >= 0 && index < static_cast<int>(items_.size()); }

    static void Take(TabItem& item, const TCITEMW& from) {
        if ((from.mask & TCIF_TEXT) && from.pszText) {
            item.text = sim::View(from.pszText);
        }
        if (from.mask & TCIF_IMAGE) {
            item.image = from.iImage;
        }
        if (from.mask & TCIF_PARAM) {
            item.data = from.lParam;
        }
        if (from.mask & TCIF_STATE) {
            item.state = (item.state & ~from.dwStateMask) | (from.dwState & from.dwStateMask);
        }
    }

    int Insert(int index, const TCITEMW* from) {
        if (!from || index < 0) {
            return -1;
        }
        index = std::min(index, static_cast<int>(items_.size()));
        TabItem item;
        Take(item, *from);
        items_.insert(items_.begin() + index, item);
        // The first tab is selected; a tab inserted before the selected one moves the selection.
        if (selected_ < 0) {
            selected_ = 0;
        } else if (index <= selected_) {
            ++selected_;
        }
        return index;
    }

    BOOL Set(int index, const TCITEMW* from) {
        if (!from || !Valid(index)) {
            return FALSE;
        }
        Take(items_[static_cast<size_t>(index)], *from);
        return TRUE;
    }

    BOOL Get(int index, TCITEMW* to) const {
        if (!to || !Valid(index)) {
            return FALSE;
        }
        const TabItem& item = items_[static_cast<size_t>(index)];
        if ((to->mask & TCIF_TEXT) && to->pszText && to->cchTextMax > 0) {
            lstrcpynW(to->pszText, sim::W(item.text), to->cchTextMax);
        }
        if (to->mask & TCIF_IMAGE) {
            to->iImage = item.image;
        }
        if (to->mask & TCIF_PARAM) {
            to->lParam = item.data;
        }
        if (to->mask & TCIF_STATE) {
            to->dwState = item.state & to->dwStateMask;
        }
        return TRUE;
    }

    BOOL Delete(int index) {
        if (!Valid(index)) {
            return FALSE;
        }
        items_.erase(items_.begin() + index);
        // Deleting the selected tab leaves none selected.
        if (index == selected_) {
            selected_ = -1;
        } else if (index < selected_) {
            --selected_;
        }
        return TRUE;
    }

    int SetSelection(int index) {
        if (!Valid(index)) {
            return -1;
        }
        const int previous = selected_;
        selected_ = index;
        return previous;
    }

    // The user moves to `index`: the parent may refuse before the selection changes.
    void Choose(int index) {
        if (!Valid(index) || index == selected_) {
            return;
        }
        PlainNotification changing{};
        if (NotifyParent(window_, TCN_SELCHANGING, changing)) {
            return;
        }
        selected_ = index;
        PlainNotification changed{};
        NotifyParent(window_, TCN_SELCHANGE, changed);
    }

    void Key(UINT key) {
        if (key == VK_LEFT) {
            Choose(selected_ - 1);
        } else if (key == VK_RIGHT) {
            Choose(selected_ + 1);
        }
    }

    int RowHeight() const {
        SIZE icon{};
        const int iconHeight = ImageSize(images_, icon) ? icon.cy : 0;
        return std::max<int>(LabelSize(window_, u"Ag").cy, iconHeight) + kPadding;
    }

    int ItemWidth(const TabItem& item) const {
        int width = LabelSize(window_, item.text).cx + 2 * kPadding;
        SIZE icon{};
        if (item.image >= 0 && ImageSize(images_, icon)) {
            width += icon.cx + kIconGap;
        }
        return width;
    }

    BOOL ItemRect(int index, RECT* rect) const {
        if (!rect || !Valid(index)) {
            return FALSE;
        }
        int left = kRowMargin;
        for (int i = 0; i < index; ++i) {
            left += ItemWidth(items_[static_cast<size_t>(i)]);
        }
        *rect = {left, kRowMargin, left + ItemWidth(items_[static_cast<size_t>(index)]),
                 kRowMargin + RowHeight()};
        return TRUE;
    }

    int ItemAt(POINT point) const {
        for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
            RECT rect{};
            ItemRect(i, &rect);
            if (point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
                point.y < rect.bottom) {
                return i;
            }
        }
        return -1;
    }

    int HitTest(TCHITTESTINFO* info) const {
        if (!info) {
            return -1;
        }
        const int index = ItemAt(info->pt);
        info->flags = index < 0 ? TCHT_NOWHERE : TCHT_ONITEMLABEL;
        return index;
    }

    // Between the window's rectangle and its display area.
    void Adjust(bool larger, RECT* rect) const {
        if (!rect) {
            return;
        }
        const int top = kRowMargin + RowHeight() + kBorder;
        const int sign = larger ? -1 : 1;
        rect->left += sign * kBorder;
        rect->right -= sign * kBorder;
        rect->top += sign * top;
        rect->bottom -= sign * kBorder;
    }

    void PaintItem(HDC dc, int index) const {
        const TabItem& item = items_[static_cast<size_t>(index)];
        RECT rect{};
        ItemRect(index, &rect);
        if (index == selected_) {
            rect.left -= kRowMargin;
            rect.right += kRowMargin;
            rect.top -= kRowMargin;
            rect.bottom += 1; // over the display area's top line
        }
        FillArea(dc, rect, colours::kFace);
        Line(dc, rect.left, rect.bottom - 1, rect.left, rect.top, colours::kLight);
        Line(dc, rect.left, rect.top, rect.right - 1, rect.top, colours::kLight);
        Line(dc, rect.right - 1, rect.top, rect.right - 1, rect.bottom, colours::kShadow);
        RECT label = rect;
        SIZE icon{};
        if (item.image >= 0 && ImageSize(images_, icon)) {
            const int top = (rect.top + rect.bottom - icon.cy) / 2;
            const RECT slot{rect.left + kPadding, top, rect.left + kPadding + icon.cx,
                            top + icon.cy};
            FrameLine(dc, slot, colours::kDarkShadow);
            label.left = slot.right + kIconGap - kPadding;
        }
        DrawLabel(dc, window_, item.text, label, colours::kText, Align::Centre);
    }

    void Paint(HDC dc) const {
        RECT client{};
        GetClientRect(window_, &client);
        FillArea(dc, client, colours::kFace);
        RECT display = client;
        display.top = kRowMargin + RowHeight();
        Frame3D(dc, display, true);
        for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
            if (i != selected_) {
                PaintItem(dc, i);
            }
        }
        if (Valid(selected_)) {
            PaintItem(dc, selected_);
        }
    }

    HWND window_;
    std::vector<TabItem> items_;
    int selected_ = -1;
    HIMAGELIST images_ = nullptr;
};

} // namespace

LRESULT CALLBACK TabControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StateWindowProc<TabControl>(window, message, wParam, lParam);
}

} // namespace moltr::platform
