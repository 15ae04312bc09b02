#pragma once
// The list box control: a column of entries, one of which (or, with LBS_MULTIPLESEL or
// LBS_EXTENDEDSEL, any number of which) is selected. A user's change of the selection, by the
// mouse or the keys, tells a parent that asked for LBN_* notifications (LBS_NOTIFY) LBN_SELCHANGE;
// a change through LB_SETCURSEL or LB_SETSEL tells nobody.
#include "src/comctl32/control_state.h"
#include "src/user32/user_control_paint.h"
#include "src/user32/user_list_items.h"

#include <windows.h>

#include <algorithm>

namespace moltr::platform::list_box {

constexpr int kWheelLines = 3;
constexpr int kMaxItemHeight = 255;

inline DWORD StyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
}
inline bool OwnerDrawn(DWORD style) {
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
        if (ChangesLook(message, LB_ADDSTRING, LB_MSGMAX)) {
            InvalidateRect(window_, nullptr, TRUE);
        }
        if (message >= LB_ADDSTRING && message < LB_MSGMAX) {
            result = Command(message, wParam, lParam);
            return true;
        }
        switch (message) {
        case WM_DESTROY:
            TellDeleted(Owner(), items_, 0, items_.Count());
            return false;
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

} // namespace moltr::platform::list_box
