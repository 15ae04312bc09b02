// The list box control: a column of entries, one of which (or, with LBS_MULTIPLESEL or
// LBS_EXTENDEDSEL, any number of which) is selected. A user's change of the selection, by the
// mouse or the keys, tells a parent that asked for LBN_* notifications (LBS_NOTIFY) LBN_SELCHANGE;
// a change through LB_SETCURSEL or LB_SETSEL tells nobody.
#include "src/comctl32/control_state.h"
#include "src/user32/user_control_classes.h"
#include "src/user32/user_control_paint.h"
#include "src/user32/user_list_items.h"

#include <algorithm>

namespace moltr::platform {
namespace {

constexpr int kWheelLines = 3;
constexpr int kMaxItemHeight = 255;

DWORD StyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
}
bool OwnerDrawn(DWORD style) {
    return style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE);
}

class ListBox {
public:
    explicit ListBox(HWND window)
        : window_(window),
          items_(StyleOf(window) & LBS_SORT,
                 !OwnerDrawn(StyleOf(window)) || (StyleOf(window) & LBS_HASSTRINGS)) {}

    bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (PaintMessage(window_, message, wParam, [this](HDC dc) { Paint(dc); })) {
            return true;
        }
        if (message >= LB_ADDSTRING && message < LB_MSGMAX) {
            result = Command(message, wParam, lParam);
            return true;
        }
        switch (message) {
        case WM_CREATE:
            itemHeight_ = LineHeight(window_);
            if (Style() & LBS_OWNERDRAWFIXED) {
                itemHeight_ = MeasureItem(Owner(), 0, 0, itemHeight_);
            }
            return false;
        case WM_SETFONT:
            result = ControlProc(window_, message, wParam, lParam);
            if (!OwnerDrawn(Style())) {
                itemHeight_ = LineHeight(window_);
            }
            return true;
        case WM_GETDLGCODE:
            result = DLGC_WANTARROWS | DLGC_WANTCHARS;
            return true;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            focused_ = message == WM_SETFOCUS;
            Notify(focused_ ? LBN_SETFOCUS : LBN_KILLFOCUS);
            return true;
        default:
            return HandleInput(message, wParam, lParam);
        }
    }

private:
    bool HandleInput(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            Press(PointOf(lParam), static_cast<UINT>(wParam));
            if (message == WM_LBUTTONDBLCLK) {
                Notify(LBN_DBLCLK);
            }
            return true;
        case WM_MOUSEMOVE:
            if (tracking_ && !Multiple()) {
                const int index = ItemAt(PointOf(lParam));
                if (items_.Has(index)) {
                    changed_ = Select(index) || changed_;
                }
            }
            return true;
        case WM_LBUTTONUP:
            if (tracking_) {
                tracking_ = false;
                if (changed_) {
                    Notify(LBN_SELCHANGE);
                }
            }
            return true;
        case WM_KEYDOWN:
            Key(static_cast<UINT>(wParam));
            return true;
        case WM_CHAR:
            Character(static_cast<char16_t>(wParam));
            return true;
        case WM_MOUSEWHEEL:
            SetTop(top_ - static_cast<short>(HIWORD(wParam)) / WHEEL_DELTA * kWheelLines);
            return true;
        case WM_VSCROLL:
            Scroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
            return true;
        default:
            return false;
        }
    }

    LRESULT Command(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT ItemCommand(UINT message, int index, LPARAM lParam);
    LRESULT SelectionCommand(UINT message, WPARAM wParam, LPARAM lParam);

    DWORD Style() const { return StyleOf(window_); }
    bool Multiple() const { return Style() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL); }
    ItemOwner Owner() const { return {window_, ODT_LISTBOX}; }
    void Notify(WORD code) const {
        if (Style() & LBS_NOTIFY) {
            NotifyCommand(window_, code);
        }
    }

    int HeightOf(int index) const {
        return (Style() & LBS_OWNERDRAWVARIABLE) ? items_[index].height : itemHeight_;
    }
    int ClientHeight() const {
        RECT client{};
        GetClientRect(window_, &client);
        return client.bottom - client.top;
    }
    // The entries a page holds, at least one.
    int PageRows() const { return std::max(1, ClientHeight() / std::max(1, itemHeight_)); }

    RECT ItemRect(int index) const {
        RECT client{};
        GetClientRect(window_, &client);
        int top = 0;
        for (int i = top_; i < index; ++i) {
            top += HeightOf(i);
        }
        for (int i = index; i < top_; ++i) {
            top -= HeightOf(i);
        }
        return RECT{client.left, top, client.right, top + HeightOf(index)};
    }
    // The entry under `at`, or -1 below the last one.
    int ItemAt(POINT at) const {
        int top = 0;
        for (int i = top_; i < items_.Count(); ++i) {
            top += HeightOf(i);
            if (at.y < top) {
                return i;
            }
        }
        return -1;
    }

    // The highest top entry: the one from which the last entries fill the client area.
    int MaxTop() const {
        int height = 0;
        int top = items_.Count();
        while (top > 0 && height + HeightOf(top - 1) <= ClientHeight()) {
            height += HeightOf(--top);
        }
        return std::min(top, std::max(0, items_.Count() - 1));
    }
    void SetTop(int top) { top_ = std::clamp(top, 0, MaxTop()); }
    void ShowItem(int index) {
        if (index < top_) {
            top_ = index;
        }
        while (top_ < index && ItemRect(index).bottom > ClientHeight()) {
            ++top_;
        }
    }
    void Scroll(WORD request, int position);

    bool Selected(int index) const {
        return Multiple() ? items_[index].selected : index == selection_;
    }
    // Makes `index` the one selected entry (of a single-selection list, or the only one of a
    // multiple-selection list); whether the selection changed.
    bool Select(int index);
    bool SelectRange(int from, int to);
    void Press(POINT at, UINT keys);
    void Key(UINT key);
    void MoveTo(int index, bool extend);
    void Character(char16_t character);
    void Inserted(int index);
    void Removed(int index);

    void Paint(HDC dc) const;

    HWND window_;
    ListItems items_;
    int itemHeight_ = 0;
    int selection_ = -1; // of a single-selection list
    int caret_ = 0;      // the entry with the focus rectangle
    int anchor_ = 0;     // where a Shift selection of an extended list starts
    int top_ = 0;
    bool focused_ = false;
    bool tracking_ = false;
    bool changed_ = false; // by the mouse since the button went down
};

LRESULT ListBox::Command(UINT message, WPARAM wParam, LPARAM lParam) {
    const int index = static_cast<int>(wParam);
    switch (message) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
        const int at = message == LB_ADDSTRING ? items_.Add(lParam) : items_.Insert(index, lParam);
        if (at < 0) {
            return LB_ERR;
        }
        Inserted(at);
        return at;
    }
    case LB_RESETCONTENT:
        items_.Clear();
        selection_ = -1;
        caret_ = anchor_ = top_ = 0;
        return 0;
    case LB_GETCOUNT:
        return items_.Count();
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
        return items_.Find(index, lParam, message == LB_FINDSTRINGEXACT);
    case LB_GETTOPINDEX:
        return top_;
    case LB_GETCARETINDEX:
        return caret_;
    case LB_GETANCHORINDEX:
        return anchor_;
    case LB_ITEMFROMPOINT: {
        const POINT at = PointOf(lParam);
        const int found = ItemAt(at);
        const bool outside = found < 0 || at.x < 0 || at.y < 0;
        return MAKELONG(found < 0 ? std::max(0, items_.Count() - 1) : found, outside);
    }
    case LB_SETITEMHEIGHT:
        if (lParam <= 0 || lParam > kMaxItemHeight) {
            return LB_ERR;
        }
        if (!(Style() & LBS_OWNERDRAWVARIABLE)) {
            itemHeight_ = static_cast<int>(lParam);
        } else if (items_.Has(index)) {
            items_[index].height = static_cast<int>(lParam);
        }
        return 0;
    case LB_GETITEMHEIGHT:
        if (Style() & LBS_OWNERDRAWVARIABLE) {
            return items_.Has(index) ? items_[index].height : LB_ERR;
        }
        return itemHeight_;
    default:
        if (message == LB_SETSEL || message == LB_SETCURSEL || message == LB_GETSELCOUNT ||
            message == LB_GETSELITEMS || message == LB_SELECTSTRING || message == LB_GETCURSEL) {
            return SelectionCommand(message, wParam, lParam);
        }
        return items_.Has(index) ? ItemCommand(message, index, lParam) : LB_ERR;
    }
}

// The messages about one existing entry.
LRESULT ListBox::ItemCommand(UINT message, int index, LPARAM lParam) {
    switch (message) {
    case LB_DELETESTRING:
        items_.Remove(index);
        Removed(index);
        return items_.Count();
    case LB_GETTEXT:
        return items_.CopyText(index, lParam);
    case LB_GETTEXTLEN:
        return items_.TextLength(index);
    case LB_SETITEMDATA:
        items_[index].data = static_cast<ULONG_PTR>(lParam);
        return 0;
    case LB_GETITEMDATA:
        return static_cast<LRESULT>(items_[index].data);
    case LB_GETSEL:
        return Selected(index) ? 1 : 0;
    case LB_SETTOPINDEX:
        SetTop(index);
        return 0;
    case LB_SETCARETINDEX:
        caret_ = index;
        ShowItem(index);
        return 0;
    case LB_SETANCHORINDEX:
        anchor_ = index;
        return 0;
    case LB_GETITEMRECT:
        if (lParam) {
            *reinterpret_cast<RECT*>(lParam) = ItemRect(index);
        }
        return 1;
    default:
        return LB_ERR;
    }
}

// The messages of one selection model that the other refuses.
LRESULT ListBox::SelectionCommand(UINT message, WPARAM wParam, LPARAM lParam) {
    const bool multiple = Multiple();
    switch (message) {
    case LB_GETCURSEL:
        if (multiple) {
            return items_.Count() ? caret_ : LB_ERR;
        }
        return selection_;
    case LB_SETCURSEL: {
        const int index = static_cast<int>(wParam);
        if (multiple || (index != -1 && !items_.Has(index))) {
            return LB_ERR;
        }
        selection_ = index;
        if (index < 0) {
            return LB_ERR;
        }
        caret_ = index;
        ShowItem(index);
        return index;
    }
    case LB_SELECTSTRING: {
        const int found = multiple ? -1 : items_.Find(static_cast<int>(wParam), lParam, false);
        if (found >= 0) {
            selection_ = caret_ = found;
            ShowItem(found);
        }
        return found;
    }
    case LB_SETSEL: {
        const int index = static_cast<int>(lParam);
        if (!multiple || (index != -1 && !items_.Has(index))) {
            return LB_ERR;
        }
        for (int i = 0; i < items_.Count(); ++i) {
            if (index == -1 || i == index) {
                items_[i].selected = wParam != 0;
            }
        }
        return 0;
    }
    default: { // LB_GETSELCOUNT, LB_GETSELITEMS
        if (!multiple) {
            return LB_ERR;
        }
        auto* out = reinterpret_cast<int*>(lParam);
        const int room = message == LB_GETSELITEMS ? static_cast<int>(wParam) : items_.Count();
        int found = 0;
        for (int i = 0; i < items_.Count() && found < room; ++i) {
            if (items_[i].selected) {
                if (message == LB_GETSELITEMS && out) {
                    out[found] = i;
                }
                ++found;
            }
        }
        return found;
    }
    }
}

void ListBox::Inserted(int index) {
    if (Style() & LBS_OWNERDRAWVARIABLE) {
        items_[index].height = MeasureItem(Owner(), index, items_[index].data, itemHeight_);
    }
    if (selection_ >= index) {
        ++selection_;
    }
    if (caret_ > index) {
        ++caret_;
    }
}

void ListBox::Removed(int index) {
    if (selection_ == index) {
        selection_ = -1;
    } else if (selection_ > index) {
        --selection_;
    }
    caret_ = std::clamp(caret_ > index ? caret_ - 1 : caret_, 0, std::max(0, items_.Count() - 1));
    SetTop(top_);
}

void ListBox::Scroll(WORD request, int position) {
    switch (request) {
    case SB_LINEUP:
        SetTop(top_ - 1);
        break;
    case SB_LINEDOWN:
        SetTop(top_ + 1);
        break;
    case SB_PAGEUP:
        SetTop(top_ - PageRows());
        break;
    case SB_PAGEDOWN:
        SetTop(top_ + PageRows());
        break;
    case SB_TOP:
        SetTop(0);
        break;
    case SB_BOTTOM:
        SetTop(items_.Count());
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        SetTop(position);
        break;
    default:
        break;
    }
}

bool ListBox::Select(int index) {
    if (!Multiple()) {
        const bool changed = selection_ != index;
        selection_ = caret_ = index;
        return changed;
    }
    return SelectRange(index, index);
}

// Selects the entries from `from` to `to` (either way round) and no others.
bool ListBox::SelectRange(int from, int to) {
    bool changed = false;
    for (int i = 0; i < items_.Count(); ++i) {
        const bool in = i >= std::min(from, to) && i <= std::max(from, to);
        changed = changed || items_[i].selected != in;
        items_[i].selected = in;
    }
    caret_ = to;
    return changed;
}

void ListBox::Press(POINT at, UINT keys) {
    if (GetFocus() != window_) {
        SetFocus(window_);
    }
    const int index = ItemAt(at);
    if (!items_.Has(index)) {
        return;
    }
    tracking_ = true;
    const DWORD style = Style();
    if (style & LBS_MULTIPLESEL) {
        items_[index].selected = !items_[index].selected;
        caret_ = index;
        changed_ = true;
    } else if ((style & LBS_EXTENDEDSEL) && (keys & MK_CONTROL)) {
        items_[index].selected = !items_[index].selected;
        caret_ = anchor_ = index;
        changed_ = true;
    } else if ((style & LBS_EXTENDEDSEL) && (keys & MK_SHIFT)) {
        changed_ = SelectRange(anchor_, index);
    } else {
        anchor_ = index;
        changed_ = Select(index);
    }
    ShowItem(index);
}

void ListBox::Key(UINT key) {
    if (Style() & LBS_WANTKEYBOARDINPUT) {
        const LRESULT answer =
            SendMessageW(GetParent(window_), WM_VKEYTOITEM, MAKEWPARAM(key, caret_),
                         reinterpret_cast<LPARAM>(window_));
        if (answer == -2) {
            return;
        }
        if (items_.Has(static_cast<int>(answer))) {
            caret_ = static_cast<int>(answer);
        }
    }
    if (items_.Count() == 0) {
        return;
    }
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    switch (key) {
    case VK_UP:
        MoveTo(caret_ - 1, shift);
        break;
    case VK_DOWN:
        MoveTo(caret_ + 1, shift);
        break;
    case VK_PRIOR:
        MoveTo(caret_ - PageRows() + 1, shift);
        break;
    case VK_NEXT:
        MoveTo(caret_ + PageRows() - 1, shift);
        break;
    case VK_HOME:
        MoveTo(0, shift);
        break;
    case VK_END:
        MoveTo(items_.Count() - 1, shift);
        break;
    case VK_SPACE:
        if (Style() & LBS_MULTIPLESEL) {
            items_[caret_].selected = !items_[caret_].selected;
            Notify(LBN_SELCHANGE);
        }
        break;
    default:
        break;
    }
}

// Moves the caret by the keyboard: the selection follows it, except in a multiple-selection
// list, where the space bar selects; with Shift an extended list selects from the anchor.
void ListBox::MoveTo(int index, bool extend) {
    index = std::clamp(index, 0, items_.Count() - 1);
    ShowItem(index);
    if (Style() & LBS_MULTIPLESEL) {
        caret_ = index;
        return;
    }
    if (!(Style() & LBS_EXTENDEDSEL && extend)) {
        anchor_ = index;
    }
    const bool changed = Style() & LBS_EXTENDEDSEL ? SelectRange(anchor_, index) : Select(index);
    if (changed) {
        Notify(LBN_SELCHANGE);
    }
}

// A character typed moves to the next entry it starts; an owner-drawn list without strings
// asks its parent where to go.
void ListBox::Character(char16_t character) {
    int target = -1;
    if (!items_.HasStrings()) {
        if (!(Style() & LBS_WANTKEYBOARDINPUT)) {
            return;
        }
        target = static_cast<int>(SendMessageW(GetParent(window_), WM_CHARTOITEM,
                                               MAKEWPARAM(character, caret_),
                                               reinterpret_cast<LPARAM>(window_)));
    } else {
        const char16_t text[] = {character, u'\0'};
        target = items_.Find(caret_, reinterpret_cast<LPARAM>(text), false);
    }
    if (items_.Has(target)) {
        MoveTo(target, false);
    }
}

void ListBox::Paint(HDC dc) const {
    RECT client{};
    GetClientRect(window_, &client);
    PaintParentBackground(dc, window_, WM_CTLCOLORLISTBOX, client, colours::kWindow);
    const bool enabled = IsWindowEnabled(window_);
    const bool ownerDrawn = OwnerDrawn(Style());
    for (int i = top_; i < items_.Count(); ++i) {
        const RECT area = ItemRect(i);
        if (area.top >= client.bottom) {
            break;
        }
        const UINT state = (Selected(i) ? ODS_SELECTED : 0) |
                           (focused_ && i == caret_ ? ODS_FOCUS : 0) | (enabled ? 0 : ODS_DISABLED);
        PaintItem(dc, Owner(), ownerDrawn, i, &items_[i], area, state);
    }
}

} // namespace

LRESULT CALLBACK ListBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StateWindowProc<ListBox>(window, message, wParam, lParam);
}

} // namespace moltr::platform
