// The tree view (SysTreeView32): items under items, each with a label, images, state and data;
// one selected item (TVN_SELCHANGING may refuse, TVN_SELCHANGED tells), items expanded and
// collapsed (TVN_ITEMEXPANDING may refuse, TVN_ITEMEXPANDED tells; TVM_EXPAND notifies only until
// the item has been expanded once), and rows painted with lines, buttons and labels.
#include "src/comctl32/control_classes.h"
#include "src/comctl32/control_paint.h"
#include "src/comctl32/control_state.h"
#include "src/comctl32/image_list.h"
#include "sim/utf.h"

#include <commctrl.h>
#include <algorithm>
#include <memory>
#include <set>
#include <vector>

struct _TREEITEM {
    _TREEITEM* parent = nullptr;
    std::vector<std::unique_ptr<_TREEITEM>> children;
    std::u16string text;
    UINT state = 0;
    int image = 0;
    int selectedImage = 0;
    int childrenFlag = 0; // TVIF_CHILDREN's count as given, for items filled in later
    LPARAM data = 0;
};

namespace moltr::platform {
namespace {

constexpr int kIndent = 19;
constexpr int kButton = 9;
constexpr int kRowPadding = 4;
constexpr int kIconGap = 3;

using Item = _TREEITEM;

class TreeView {
public:
    explicit TreeView(HWND window) : window_(window) {}

    bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (PaintMessage(window_, message, wParam, [this](HDC dc) { Paint(dc); })) {
            return true;
        }
        switch (message) {
        case TVM_INSERTITEMW:
            result =
                reinterpret_cast<LRESULT>(Insert(reinterpret_cast<const TVINSERTSTRUCTW*>(lParam)));
            return true;
        case TVM_DELETEITEM:
            result = Delete(reinterpret_cast<HTREEITEM>(lParam));
            return true;
        case TVM_GETITEMW:
            result = Get(reinterpret_cast<TVITEMW*>(lParam));
            return true;
        case TVM_SETITEMW:
            result = Set(reinterpret_cast<const TVITEMW*>(lParam));
            return true;
        case TVM_GETCOUNT:
            result = static_cast<LRESULT>(live_.size());
            return true;
        case TVM_GETINDENT:
            result = kIndent;
            return true;
        case TVM_EXPAND:
            result = Expand(Find(reinterpret_cast<HTREEITEM>(lParam)), static_cast<UINT>(wParam),
                            !Once(reinterpret_cast<HTREEITEM>(lParam)));
            return true;
        case TVM_SELECTITEM:
            result = wParam == TVGN_CARET ? Select(reinterpret_cast<HTREEITEM>(lParam), TVC_UNKNOWN)
                                          : FALSE;
            return true;
        case TVM_GETNEXTITEM:
            result = reinterpret_cast<LRESULT>(
                Next(static_cast<UINT>(wParam), reinterpret_cast<HTREEITEM>(lParam)));
            return true;
        case TVM_SETIMAGELIST:
            result = reinterpret_cast<LRESULT>(images_);
            if (wParam == TVSIL_NORMAL) {
                images_ = reinterpret_cast<HIMAGELIST>(lParam);
            }
            return true;
        case TVM_GETIMAGELIST:
            result = wParam == TVSIL_NORMAL ? reinterpret_cast<LRESULT>(images_) : 0;
            return true;
        case TVM_GETITEMRECT:
            result = ItemRect(reinterpret_cast<RECT*>(lParam), wParam != 0);
            return true;
        case TVM_HITTEST:
            result = reinterpret_cast<LRESULT>(HitTest(reinterpret_cast<TVHITTESTINFO*>(lParam)));
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
    Item* Find(HTREEITEM handle) const { return handle && live_.count(handle) ? handle : nullptr; }

    bool Once(HTREEITEM handle) const {
        const Item* item = Find(handle);
        return item && (item->state & TVIS_EXPANDEDONCE);
    }

    static bool HasChildren(const Item& item) {
        return !item.children.empty() || item.childrenFlag > 0;
    }

    static void Take(Item& item, const TVITEMW& from) {
        if ((from.mask & TVIF_TEXT) && from.pszText) {
            item.text = sim::View(from.pszText);
        }
        if (from.mask & TVIF_IMAGE) {
            item.image = from.iImage;
        }
        if (from.mask & TVIF_SELECTEDIMAGE) {
            item.selectedImage = from.iSelectedImage;
        }
        if (from.mask & TVIF_CHILDREN) {
            item.childrenFlag = from.cChildren;
        }
        if (from.mask & TVIF_PARAM) {
            item.data = from.lParam;
        }
        if (from.mask & TVIF_STATE) {
            // The selection and expansion change only through their own messages.
            const UINT mask = from.stateMask & ~(TVIS_SELECTED | TVIS_EXPANDEDONCE);
            item.state = (item.state & ~mask) | (from.state & mask);
        }
    }

    std::vector<std::unique_ptr<Item>>& ChildrenOf(Item* parent) {
        return parent ? parent->children : roots_;
    }

    HTREEITEM Insert(const TVINSERTSTRUCTW* insert) {
        if (!insert) {
            return nullptr;
        }
        Item* parent = nullptr;
        if (insert->hParent && insert->hParent != TVI_ROOT) {
            parent = Find(insert->hParent);
            if (!parent) {
                return nullptr;
            }
        }
        auto item = std::make_unique<Item>();
        item->parent = parent;
        Take(*item, insert->item);
        auto& siblings = ChildrenOf(parent);
        auto at = siblings.end();
        if (insert->hInsertAfter == TVI_FIRST) {
            at = siblings.begin();
        } else if (insert->hInsertAfter == TVI_SORT) {
            at = std::find_if(siblings.begin(), siblings.end(), [&](const auto& sibling) {
                return lstrcmpiW(sim::W(sibling->text), sim::W(item->text)) > 0;
            });
        } else if (insert->hInsertAfter != TVI_LAST && insert->hInsertAfter) {
            at = std::find_if(siblings.begin(), siblings.end(), [&](const auto& sibling) {
                return sibling.get() == insert->hInsertAfter;
            });
            at = at == siblings.end() ? at : at + 1;
        }
        Item* made = item.get();
        siblings.insert(at, std::move(item));
        live_.insert(made);
        return made;
    }

    void Forget(Item& item) {
        for (auto& child : item.children) {
            Forget(*child);
        }
        NMTREEVIEWW deleted{};
        deleted.itemOld = Describe(item, TVIF_HANDLE | TVIF_PARAM);
        NotifyParent(window_, TVN_DELETEITEMW, deleted);
        if (selected_ == &item) {
            selected_ = nullptr;
        }
        live_.erase(&item);
    }

    BOOL Delete(HTREEITEM handle) {
        if (!handle || handle == TVI_ROOT) {
            for (auto& root : roots_) {
                Forget(*root);
            }
            roots_.clear();
            return TRUE;
        }
        Item* item = Find(handle);
        if (!item) {
            return FALSE;
        }
        Forget(*item);
        auto& siblings = ChildrenOf(item->parent);
        siblings.erase(std::find_if(siblings.begin(), siblings.end(),
                                    [item](const auto& sibling) { return sibling.get() == item; }));
        return TRUE;
    }

    TVITEMW Describe(const Item& item, UINT mask) const {
        TVITEMW described{};
        described.mask = mask;
        described.hItem = const_cast<Item*>(&item);
        described.state = item.state;
        described.stateMask = ~0U;
        described.iImage = item.image;
        described.iSelectedImage = item.selectedImage;
        described.cChildren = HasChildren(item) ? 1 : 0;
        described.lParam = item.data;
        return described;
    }

    BOOL Get(TVITEMW* to) const {
        const Item* item = to ? Find(to->hItem) : nullptr;
        if (!item) {
            return FALSE;
        }
        if ((to->mask & TVIF_TEXT) && to->pszText && to->cchTextMax > 0) {
            lstrcpynW(to->pszText, sim::W(item->text), to->cchTextMax);
        }
        if (to->mask & TVIF_STATE) {
            to->state = item->state & to->stateMask;
        }
        const TVITEMW all = Describe(*item, to->mask);
        to->iImage = (to->mask & TVIF_IMAGE) ? all.iImage : to->iImage;
        to->iSelectedImage =
            (to->mask & TVIF_SELECTEDIMAGE) ? all.iSelectedImage : to->iSelectedImage;
        to->cChildren = (to->mask & TVIF_CHILDREN) ? all.cChildren : to->cChildren;
        to->lParam = (to->mask & TVIF_PARAM) ? all.lParam : to->lParam;
        return TRUE;
    }

    BOOL Set(const TVITEMW* from) {
        Item* item = from ? Find(from->hItem) : nullptr;
        if (!item) {
            return FALSE;
        }
        Take(*item, *from);
        return TRUE;
    }

    // Whether the parent refuses (TVN_*ING) or is told (TVN_*ED) of a change of `item`.
    LRESULT Tell(UINT code, UINT action, const Item* before, const Item* after) {
        NMTREEVIEWW change{};
        change.action = action;
        constexpr UINT kMask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
        if (before) {
            change.itemOld = Describe(*before, kMask);
        }
        if (after) {
            change.itemNew = Describe(*after, kMask);
        }
        return NotifyParent(window_, code, change);
    }

    BOOL Expand(Item* item, UINT action, bool notify) {
        if (!item || !(action & TVE_TOGGLE)) {
            return FALSE;
        }
        const bool expanded = (item->state & TVIS_EXPANDED) != 0;
        const bool expand =
            (action & TVE_TOGGLE) == TVE_TOGGLE ? !expanded : (action & TVE_EXPAND) != 0;
        if (expand == expanded || (expand && !HasChildren(*item))) {
            return FALSE;
        }
        const UINT how = expand ? TVE_EXPAND : TVE_COLLAPSE;
        if (notify && Tell(TVN_ITEMEXPANDINGW, how, nullptr, item)) {
            return FALSE;
        }
        item->state =
            expand ? item->state | TVIS_EXPANDED | TVIS_EXPANDEDONCE : item->state & ~TVIS_EXPANDED;
        if (!expand && selected_ && Inside(selected_, item)) {
            Select(item, TVC_UNKNOWN);
        }
        if (notify) {
            Tell(TVN_ITEMEXPANDEDW, how, nullptr, item);
        }
        return TRUE;
    }

    static bool Inside(const Item* item, const Item* ancestor) {
        for (const Item* up = item->parent; up; up = up->parent) {
            if (up == ancestor) {
                return true;
            }
        }
        return false;
    }

    BOOL Select(HTREEITEM handle, UINT action) {
        Item* item = handle ? Find(handle) : nullptr;
        if (handle && !item) {
            return FALSE;
        }
        if (item == selected_) {
            return TRUE;
        }
        if (Tell(TVN_SELCHANGINGW, action, selected_, item)) {
            return FALSE;
        }
        Item* old = selected_;
        if (old) {
            old->state &= ~TVIS_SELECTED;
        }
        selected_ = item;
        if (item) {
            item->state |= TVIS_SELECTED;
            // A selected item is shown: its ancestors open.
            for (Item* up = item->parent; up; up = up->parent) {
                up->state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
            }
        }
        Tell(TVN_SELCHANGEDW, action, old, item);
        return TRUE;
    }

    // The rows shown, top first, with their depth.
    void Visible(const std::vector<std::unique_ptr<Item>>& items, int depth,
                 std::vector<std::pair<Item*, int>>& rows) const {
        for (const auto& item : items) {
            rows.push_back({item.get(), depth});
            if (item->state & TVIS_EXPANDED) {
                Visible(item->children, depth + 1, rows);
            }
        }
    }

    std::vector<std::pair<Item*, int>> Rows() const {
        std::vector<std::pair<Item*, int>> rows;
        Visible(roots_, 0, rows);
        return rows;
    }

    int RowOf(const Item* item) const {
        const auto rows = Rows();
        for (size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].first == item) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    HTREEITEM Sibling(const Item* item, int step) {
        auto& siblings = ChildrenOf(item->parent);
        for (size_t i = 0; i < siblings.size(); ++i) {
            if (siblings[i].get() == item) {
                const long long at = static_cast<long long>(i) + step;
                return at >= 0 && at < static_cast<long long>(siblings.size())
                           ? siblings[static_cast<size_t>(at)].get()
                           : nullptr;
            }
        }
        return nullptr;
    }

    HTREEITEM VisibleStep(const Item* item, int step) const {
        const auto rows = Rows();
        const int row = RowOf(item);
        const int at = row + step;
        return row >= 0 && at >= 0 && at < static_cast<int>(rows.size())
                   ? rows[static_cast<size_t>(at)].first
                   : nullptr;
    }

    HTREEITEM Next(UINT relation, HTREEITEM handle) {
        switch (relation) {
        case TVGN_ROOT:
        case TVGN_FIRSTVISIBLE:
            return roots_.empty() ? nullptr : roots_.front().get();
        case TVGN_CARET:
            return selected_;
        default:
            break;
        }
        Item* item =
            (handle == TVI_ROOT || !handle) && relation == TVGN_CHILD ? nullptr : Find(handle);
        if (relation == TVGN_CHILD && !item) {
            return roots_.empty() ? nullptr : roots_.front().get();
        }
        if (!item) {
            return nullptr;
        }
        switch (relation) {
        case TVGN_CHILD:
            return item->children.empty() ? nullptr : item->children.front().get();
        case TVGN_NEXT:
            return Sibling(item, 1);
        case TVGN_PREVIOUS:
            return Sibling(item, -1);
        case TVGN_PARENT:
            return item->parent;
        case TVGN_NEXTVISIBLE:
            return VisibleStep(item, 1);
        case TVGN_PREVIOUSVISIBLE:
            return VisibleStep(item, -1);
        default:
            return nullptr;
        }
    }

    int RowHeight() const {
        SIZE icon{};
        const int iconHeight = ImageSize(images_, icon) ? icon.cy : 0;
        return std::max<int>(LabelSize(window_, u"Ag").cy, iconHeight) + kRowPadding;
    }

    bool LinesAtRoot() const { return (GetWindowLongW(window_, GWL_STYLE) & TVS_LINESATROOT) != 0; }

    int LevelLeft(int depth) const { return (depth + (LinesAtRoot() ? 1 : 0)) * kIndent; }

    int IconWidth() const {
        SIZE icon{};
        return ImageSize(images_, icon) ? icon.cx + kIconGap : 0;
    }

    // The item's row (whole) or its label's part of it; the item is named by the RECT's first
    // bytes, as the message has it.
    BOOL ItemRect(RECT* rect, bool labelOnly) const {
        if (!rect) {
            return FALSE;
        }
        const Item* item = Find(*reinterpret_cast<HTREEITEM*>(rect));
        const int row = item ? RowOf(item) : -1;
        if (row < 0) {
            return FALSE;
        }
        RECT client{};
        GetClientRect(window_, &client);
        const int top = row * RowHeight();
        *rect = {0, top, client.right, top + RowHeight()};
        if (labelOnly) {
            const auto rows = Rows();
            rect->left = LevelLeft(rows[static_cast<size_t>(row)].second) + IconWidth();
            rect->right = rect->left + LabelSize(window_, item->text).cx + kRowPadding;
        }
        return TRUE;
    }

    HTREEITEM HitTest(TVHITTESTINFO* info) const {
        if (!info) {
            return nullptr;
        }
        const auto rows = Rows();
        const int row = info->pt.y >= 0 ? info->pt.y / RowHeight() : -1;
        info->hItem = nullptr;
        info->flags = TVHT_NOWHERE;
        if (row < 0 || row >= static_cast<int>(rows.size())) {
            return nullptr;
        }
        const auto& [item, depth] = rows[static_cast<size_t>(row)];
        const int left = LevelLeft(depth);
        info->hItem = item;
        if (info->pt.x < left) {
            const bool onButton = info->pt.x >= left - kIndent && HasChildren(*item);
            info->flags = onButton ? TVHT_ONITEMBUTTON : TVHT_ONITEMINDENT;
        } else if (info->pt.x < left + IconWidth()) {
            info->flags = TVHT_ONITEMICON;
        } else {
            info->flags = TVHT_ONITEMLABEL;
        }
        return item;
    }

    void Click(POINT point) {
        TVHITTESTINFO hit{point, 0, nullptr};
        HitTest(&hit);
        if (hit.flags & TVHT_ONITEMBUTTON) {
            Expand(hit.hItem, TVE_TOGGLE, true);
        } else if (hit.hItem) {
            Select(hit.hItem, TVC_BYMOUSE);
        }
    }

    void Key(UINT key) {
        switch (key) {
        case VK_DOWN:
        case VK_UP: {
            HTREEITEM to = selected_ ? VisibleStep(selected_, key == VK_DOWN ? 1 : -1)
                                     : Next(TVGN_ROOT, nullptr);
            if (to) {
                Select(to, TVC_BYKEYBOARD);
            }
            break;
        }
        case VK_RIGHT:
        case VK_LEFT:
            Expand(selected_, key == VK_RIGHT ? TVE_EXPAND : TVE_COLLAPSE, true);
            break;
        default:
            break;
        }
    }

    void PaintRow(HDC dc, const Item& item, int depth, int top) const {
        const DWORD style = static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE));
        const int height = RowHeight();
        const int middle = top + height / 2;
        const int left = LevelLeft(depth);
        const bool withRoot = depth > 0 || LinesAtRoot();
        if ((style & TVS_HASLINES) && withRoot) {
            const int x = left - kIndent / 2;
            Line(dc, x, top, x, middle, colours::kShadow);
            Line(dc, x, middle, left, middle, colours::kShadow);
        }
        if ((style & TVS_HASBUTTONS) && withRoot && HasChildren(item)) {
            const int x = left - kIndent / 2 - kButton / 2;
            const RECT button{x, middle - kButton / 2, x + kButton, middle + kButton / 2 + 1};
            FillArea(dc, button, colours::kWindow);
            FrameLine(dc, button, colours::kShadow);
            Line(dc, x + 2, middle, x + kButton - 2, middle, colours::kText);
            if (!(item.state & TVIS_EXPANDED)) {
                Line(dc, x + kButton / 2, middle - 2, x + kButton / 2, middle + 3, colours::kText);
            }
        }
        SIZE icon{};
        if (ImageSize(images_, icon)) {
            const RECT slot{left, middle - icon.cy / 2, left + icon.cx, middle + icon.cy / 2};
            FrameLine(dc, slot, colours::kDarkShadow);
        }
        const int labelLeft = left + IconWidth();
        const RECT label{labelLeft, top, labelLeft + LabelSize(window_, item.text).cx + kRowPadding,
                         top + height};
        const bool selected = (item.state & TVIS_SELECTED) != 0;
        if (selected) {
            FillArea(dc, label, colours::kHighlight);
        }
        RECT text = label;
        text.left += kRowPadding / 2;
        DrawLabel(dc, window_, item.text, text, selected ? colours::kHighlightText : colours::kText,
                  Align::Left);
    }

    void Paint(HDC dc) const {
        RECT client{};
        GetClientRect(window_, &client);
        FillArea(dc, client, colours::kWindow);
        int top = 0;
        for (const auto& [item, depth] : Rows()) {
            PaintRow(dc, *item, depth, top);
            top += RowHeight();
        }
        FrameLine(dc, client, colours::kShadow);
    }

    HWND window_;
    std::vector<std::unique_ptr<Item>> roots_;
    std::set<HTREEITEM> live_;
    Item* selected_ = nullptr;
    HIMAGELIST images_ = nullptr;
};

} // namespace

LRESULT CALLBACK TreeViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StateWindowProc<TreeView>(window, message, wParam, lParam);
}

} // namespace moltr::platform
