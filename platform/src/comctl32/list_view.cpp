// The list view (SysListView32) as its report view shows it: columns with captions and widths,
// rows with a text per column, an image, data and state. Every state change is asked for with
// LVN_ITEMCHANGING (a non-zero answer refuses it) and told with LVN_ITEMCHANGED; LVS_SINGLESEL
// keeps one row selected; with LVS_EX_CHECKBOXES a click on the box or the space key checks it.
#include "src/comctl32/control_classes.h"
#include "src/comctl32/control_paint.h"
#include "src/comctl32/control_state.h"
#include "src/comctl32/image_list.h"
#include "sim/utf.h"

#include <commctrl.h>
#include <algorithm>
#include <utility>
#include <vector>

namespace moltr::platform {
namespace {

constexpr int kPadding = 4;
constexpr int kBox = 13; // a check box's side
constexpr UINT kUnchecked = INDEXTOSTATEIMAGEMASK(1);
constexpr UINT kChecked = INDEXTOSTATEIMAGEMASK(2);

struct Column {
    std::u16string caption;
    int width = 0;
};

struct Row {
    std::vector<std::u16string> texts; // one per column, the first the item's label
    int image = -1;
    LPARAM data = 0;
    UINT state = 0;
};

class ListView {
public:
    explicit ListView(HWND window) : window_(window) {}

    bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (PaintMessage(window_, message, wParam, [this](HDC dc) { Paint(dc); })) {
            return true;
        }
        const int index = static_cast<int>(wParam);
        switch (message) {
        case LVM_INSERTCOLUMNW:
            result = InsertColumn(index, reinterpret_cast<const LVCOLUMNW*>(lParam));
            return true;
        case LVM_GETCOLUMNWIDTH:
            result = ValidColumn(index) ? columns_[static_cast<size_t>(index)].width : 0;
            return true;
        case LVM_SETCOLUMNWIDTH:
            result = ValidColumn(index);
            if (result) {
                columns_[static_cast<size_t>(index)].width = static_cast<short>(LOWORD(lParam));
            }
            return true;
        case LVM_INSERTITEMW:
            result = Insert(reinterpret_cast<const LVITEMW*>(lParam));
            return true;
        case LVM_SETITEMTEXTW:
            result = SetText(index, reinterpret_cast<const LVITEMW*>(lParam));
            return true;
        case LVM_GETITEMTEXTW:
            result = GetText(index, reinterpret_cast<LVITEMW*>(lParam));
            return true;
        case LVM_SETITEMW:
            result = Set(reinterpret_cast<const LVITEMW*>(lParam));
            return true;
        case LVM_GETITEMW:
            result = Get(reinterpret_cast<LVITEMW*>(lParam));
            return true;
        case LVM_SETITEMSTATE:
            result = SetStateMessage(index, reinterpret_cast<const LVITEMW*>(lParam));
            return true;
        case LVM_GETITEMSTATE:
            result = Valid(index) ? rows_[static_cast<size_t>(index)].state & lParam : 0;
            return true;
        case LVM_GETITEMCOUNT:
            result = static_cast<LRESULT>(rows_.size());
            return true;
        case LVM_GETNEXTITEM:
            result = NextItem(index, static_cast<UINT>(lParam));
            return true;
        case LVM_DELETEITEM:
            result = Delete(index);
            return true;
        case LVM_DELETEALLITEMS:
            result = DeleteAll();
            return true;
        case LVM_SETIMAGELIST:
            result =
                reinterpret_cast<LRESULT>(SetImages(index, reinterpret_cast<HIMAGELIST>(lParam)));
            return true;
        case LVM_GETIMAGELIST:
            result = index == LVSIL_SMALL ? reinterpret_cast<LRESULT>(images_) : 0;
            return true;
        case LVM_SETEXTENDEDLISTVIEWSTYLE: {
            result = extended_;
            const DWORD mask = wParam ? static_cast<DWORD>(wParam) : ~0U;
            extended_ = (extended_ & ~mask) | (static_cast<DWORD>(lParam) & mask);
            return true;
        }
        case LVM_GETEXTENDEDLISTVIEWSTYLE:
            result = extended_;
            return true;
        case LVM_GETITEMRECT:
            result = ItemRect(index, reinterpret_cast<RECT*>(lParam));
            return true;
        case LVM_HITTEST:
            result = HitTest(reinterpret_cast<LVHITTESTINFO*>(lParam));
            return true;
        case WM_LBUTTONDOWN:
            Click(PointOf(lParam));
            return true;
        case WM_KEYDOWN:
            Key(static_cast<UINT>(wParam));
            return true;
        default:
            return false;
        }
    }

private:
    bool Valid(int index) const { return index >= 0 && index < static_cast<int>(rows_.size()); }
    bool ValidColumn(int index) const {
        return index >= 0 && index < static_cast<int>(columns_.size());
    }
    bool Checkboxes() const { return (extended_ & LVS_EX_CHECKBOXES) != 0; }

    int InsertColumn(int index, const LVCOLUMNW* from) {
        if (!from || index < 0) {
            return -1;
        }
        index = std::min(index, static_cast<int>(columns_.size()));
        Column column;
        if ((from->mask & LVCF_TEXT) && from->pszText) {
            column.caption = sim::View(from->pszText);
        }
        column.width = (from->mask & LVCF_WIDTH) ? from->cx : 0;
        columns_.insert(columns_.begin() + index, column);
        return index;
    }

    HIMAGELIST SetImages(int kind, HIMAGELIST list) {
        if (kind != LVSIL_SMALL) {
            return nullptr;
        }
        return std::exchange(images_, list);
    }

    std::u16string* TextAt(int index, int column) {
        if (!Valid(index) || column < 0 || column > 255) {
            return nullptr;
        }
        auto& texts = rows_[static_cast<size_t>(index)].texts;
        if (static_cast<size_t>(column) >= texts.size()) {
            texts.resize(static_cast<size_t>(column) + 1);
        }
        return &texts[static_cast<size_t>(column)];
    }

    LRESULT Notify(UINT code, int index, UINT oldState, UINT newState) {
        NMLISTVIEW change{};
        change.iItem = index;
        change.uOldState = oldState;
        change.uNewState = newState;
        change.uChanged = code == LVN_ITEMCHANGING || code == LVN_ITEMCHANGED ? LVIF_STATE : 0;
        change.lParam = Valid(index) ? rows_[static_cast<size_t>(index)].data : 0;
        return NotifyParent(window_, code, change);
    }

    int Insert(const LVITEMW* from) {
        if (!from || from->iSubItem != 0 || from->iItem < 0) {
            return -1;
        }
        const int index = std::min(from->iItem, static_cast<int>(rows_.size()));
        Row row;
        row.texts.resize(1);
        if ((from->mask & LVIF_TEXT) && from->pszText) {
            row.texts[0] = sim::View(from->pszText);
        }
        row.image = (from->mask & LVIF_IMAGE) ? from->iImage : -1;
        row.data = (from->mask & LVIF_PARAM) ? from->lParam : 0;
        row.state = (from->mask & LVIF_STATE) ? from->state & from->stateMask : 0;
        if (Checkboxes() && !(row.state & LVIS_STATEIMAGEMASK)) {
            row.state |= kUnchecked;
        }
        rows_.insert(rows_.begin() + index, row);
        Notify(LVN_INSERTITEM, index, 0, 0);
        return index;
    }

    BOOL SetText(int index, const LVITEMW* from) {
        std::u16string* text = from ? TextAt(index, from->iSubItem) : nullptr;
        if (!text) {
            return FALSE;
        }
        *text = from->pszText ? std::u16string(sim::View(from->pszText)) : std::u16string();
        return TRUE;
    }

    int GetText(int index, LVITEMW* to) {
        std::u16string* text = to ? TextAt(index, to->iSubItem) : nullptr;
        if (!text || !to->pszText || to->cchTextMax <= 0) {
            return 0;
        }
        lstrcpynW(to->pszText, sim::W(*text), to->cchTextMax);
        return lstrlenW(to->pszText);
    }

    BOOL Set(const LVITEMW* from) {
        if (!from || !Valid(from->iItem)) {
            return FALSE;
        }
        if ((from->mask & LVIF_TEXT) && !SetText(from->iItem, from)) {
            return FALSE;
        }
        if (from->iSubItem == 0) {
            Row& row = rows_[static_cast<size_t>(from->iItem)];
            row.image = (from->mask & LVIF_IMAGE) ? from->iImage : row.image;
            row.data = (from->mask & LVIF_PARAM) ? from->lParam : row.data;
        }
        return !(from->mask & LVIF_STATE) || SetState(from->iItem, from->state, from->stateMask);
    }

    BOOL Get(LVITEMW* to) {
        if (!to || !Valid(to->iItem)) {
            return FALSE;
        }
        const Row& row = rows_[static_cast<size_t>(to->iItem)];
        if (to->mask & LVIF_TEXT) {
            GetText(to->iItem, to);
        }
        to->iImage = (to->mask & LVIF_IMAGE) ? row.image : to->iImage;
        to->lParam = (to->mask & LVIF_PARAM) ? row.data : to->lParam;
        to->state = (to->mask & LVIF_STATE) ? row.state & to->stateMask : to->state;
        return TRUE;
    }

    // One row's state, asked for and told; with LVS_SINGLESEL a selected row unselects the
    // others first.
    BOOL SetState(int index, UINT state, UINT mask) {
        Row& row = rows_[static_cast<size_t>(index)];
        const UINT next = (row.state & ~mask) | (state & mask);
        if (next == row.state) {
            return TRUE;
        }
        if (Notify(LVN_ITEMCHANGING, index, row.state, next)) {
            return FALSE;
        }
        const bool single = (GetWindowLongW(window_, GWL_STYLE) & LVS_SINGLESEL) != 0;
        if (single && (next & ~row.state & LVIS_SELECTED)) {
            for (int other = 0; other < static_cast<int>(rows_.size()); ++other) {
                if (other != index && (rows_[static_cast<size_t>(other)].state & LVIS_SELECTED)) {
                    SetState(other, 0, LVIS_SELECTED);
                }
            }
        }
        const UINT old = std::exchange(rows_[static_cast<size_t>(index)].state, next);
        Notify(LVN_ITEMCHANGED, index, old, next);
        return TRUE;
    }

    // -1 sets every row.
    BOOL SetStateMessage(int index, const LVITEMW* from) {
        if (!from || (index != -1 && !Valid(index))) {
            return FALSE;
        }
        if (index != -1) {
            return SetState(index, from->state, from->stateMask);
        }
        BOOL all = TRUE;
        for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
            all = SetState(i, from->state, from->stateMask) && all;
        }
        return all;
    }

    int NextItem(int start, UINT flags) const {
        const UINT wanted = flags & (LVNI_FOCUSED | LVNI_SELECTED);
        for (int i = std::max(start + 1, 0); i < static_cast<int>(rows_.size()); ++i) {
            if ((rows_[static_cast<size_t>(i)].state & wanted) == wanted) {
                return i;
            }
        }
        return -1;
    }

    BOOL Delete(int index) {
        if (!Valid(index)) {
            return FALSE;
        }
        Notify(LVN_DELETEITEM, index, 0, 0);
        rows_.erase(rows_.begin() + index);
        return TRUE;
    }

    // A parent answering TRUE to LVN_DELETEALLITEMS is not told of each row.
    BOOL DeleteAll() {
        if (!Notify(LVN_DELETEALLITEMS, -1, 0, 0)) {
            for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
                Notify(LVN_DELETEITEM, i, 0, 0);
            }
        }
        rows_.clear();
        return TRUE;
    }

    int RowHeight() const {
        SIZE icon{};
        const int iconHeight = ImageSize(images_, icon) ? icon.cy : 0;
        return std::max<int>({static_cast<int>(LabelSize(window_, u"Ag").cy), iconHeight, kBox}) +
               kPadding;
    }

    int HeaderHeight() const {
        const bool none = (GetWindowLongW(window_, GWL_STYLE) & LVS_NOCOLUMNHEADER) != 0;
        return none ? 0 : RowHeight() + 2;
    }

    int Width() const {
        int width = 0;
        for (const Column& column : columns_) {
            width += column.width;
        }
        return width;
    }

    BOOL ItemRect(int index, RECT* rect) const {
        if (!rect || !Valid(index)) {
            return FALSE;
        }
        const int top = HeaderHeight() + index * RowHeight();
        *rect = {0, top, Width(), top + RowHeight()};
        return TRUE;
    }

    int HitTest(LVHITTESTINFO* info) const {
        if (!info) {
            return -1;
        }
        const int y = info->pt.y - HeaderHeight();
        const int row = y >= 0 ? y / RowHeight() : -1;
        info->iItem = Valid(row) && info->pt.x >= 0 && info->pt.x < Width() ? row : -1;
        info->iSubItem = 0;
        info->flags = LVHT_NOWHERE;
        if (info->iItem >= 0) {
            const bool onBox = Checkboxes() && info->pt.x < kBox + kPadding;
            info->flags = onBox ? LVHT_ONITEMSTATEICON : LVHT_ONITEMLABEL;
        }
        return info->iItem;
    }

    void Toggle(int index) {
        const UINT check = rows_[static_cast<size_t>(index)].state & LVIS_STATEIMAGEMASK;
        SetState(index, check == kChecked ? kUnchecked : kChecked, LVIS_STATEIMAGEMASK);
    }

    void Choose(int index) {
        SetState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }

    void Click(POINT point) {
        LVHITTESTINFO hit{point, 0, -1, 0, 0};
        if (HitTest(&hit) < 0) {
            return;
        }
        if (hit.flags & LVHT_ONITEMSTATEICON) {
            Toggle(hit.iItem);
        }
        Choose(hit.iItem);
    }

    void Key(UINT key) {
        const int focused = NextItem(-1, LVNI_FOCUSED);
        if (key == VK_SPACE && Checkboxes() && focused >= 0) {
            Toggle(focused);
        } else if (key == VK_DOWN || key == VK_UP) {
            const int to = focused < 0 ? 0 : focused + (key == VK_DOWN ? 1 : -1);
            if (Valid(to)) {
                if (focused >= 0) {
                    SetState(focused, 0, LVIS_FOCUSED);
                }
                Choose(to);
            }
        }
    }

    void PaintHeader(HDC dc) const {
        int left = 0;
        for (const Column& column : columns_) {
            const RECT cell{left, 0, left + column.width, HeaderHeight()};
            FillArea(dc, cell, colours::kFace);
            Frame3D(dc, cell, true);
            RECT text = cell;
            text.left += kPadding;
            DrawLabel(dc, window_, column.caption, text, colours::kText, Align::Left);
            left += column.width;
        }
    }

    void PaintRow(HDC dc, int index) const {
        const Row& row = rows_[static_cast<size_t>(index)];
        RECT bounds{};
        ItemRect(index, &bounds);
        const bool selected = (row.state & LVIS_SELECTED) != 0;
        int left = 0;
        for (size_t column = 0; column < columns_.size(); ++column) {
            RECT cell{left, bounds.top, left + columns_[column].width, bounds.bottom};
            left = cell.right;
            if (column == 0 && Checkboxes()) {
                const int top = (cell.top + cell.bottom - kBox) / 2;
                const RECT box{cell.left + 2, top, cell.left + 2 + kBox, top + kBox};
                FillArea(dc, box, colours::kWindow);
                FrameLine(dc, box, colours::kDarkShadow);
                if ((row.state & LVIS_STATEIMAGEMASK) == kChecked) {
                    Line(dc, box.left + 3, box.top + 6, box.left + 5, box.top + 9, colours::kText);
                    Line(dc, box.left + 5, box.top + 9, box.left + 10, box.top + 3, colours::kText);
                }
                cell.left = box.right + kPadding;
            }
            if (selected && (column == 0 || (extended_ & LVS_EX_FULLROWSELECT))) {
                FillArea(dc, cell, colours::kHighlight);
            }
            if (extended_ & LVS_EX_GRIDLINES) {
                FrameLine(dc, cell, colours::kFace);
            }
            RECT text = cell;
            text.left += kPadding;
            const bool inverse = selected && (column == 0 || (extended_ & LVS_EX_FULLROWSELECT));
            if (column < row.texts.size()) {
                DrawLabel(dc, window_, row.texts[column], text,
                          inverse ? colours::kHighlightText : colours::kText, Align::Left);
            }
        }
    }

    void Paint(HDC dc) const {
        RECT client{};
        GetClientRect(window_, &client);
        FillArea(dc, client, colours::kWindow);
        if (HeaderHeight()) {
            PaintHeader(dc);
        }
        for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
            PaintRow(dc, i);
        }
        FrameLine(dc, client, colours::kShadow);
    }

    HWND window_;
    std::vector<Column> columns_;
    std::vector<Row> rows_;
    DWORD extended_ = 0;
    HIMAGELIST images_ = nullptr;
};

} // namespace

LRESULT CALLBACK ListViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StateWindowProc<ListView>(window, message, wParam, lParam);
}

} // namespace moltr::platform
