#pragma once
// The combo box control: a selection field over a list of entries. CBS_SIMPLE shows the list
// always, below an edit field; CBS_DROPDOWN (an edit field) and CBS_DROPDOWNLIST (the selected
// entry) show it only while dropped down. A user's pick tells the parent CBN_SELENDOK, then, as
// the list closes, CBN_CLOSEUP and, when the selection changed, CBN_SELCHANGE; a change through
// CB_SETCURSEL tells nobody.
//
// The combo box paints its dropped list itself: its window is as high as the field while the
// list is up and reaches over the list while it is down. A dialog's later controls lie below it,
// so the list stands in front of the controls it covers.
#include "src/comctl32/control_state.h"
#include "src/user32/user_control_paint.h"
#include "src/user32/user_list_items.h"

#include <windows.h>

#include <algorithm>

namespace moltr::platform::combo_box {

enum class Kind { Simple, DropDown, DropDownList };

constexpr int kFieldMargin = 3; // between the field's edge and its text, above and below
constexpr int kButtonWidth = 17;
constexpr int kMaxItemHeight = 255;
constexpr LRESULT kNoLimit = 0x7FFFFFFE;

inline DWORD StyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
}
inline bool OwnerDrawn(DWORD style) {
    return style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE);
}

class ComboBox {
public:
    explicit ComboBox(HWND window)
        : window_(window),
          items_(StyleOf(window) & CBS_SORT,
                 !OwnerDrawn(StyleOf(window)) || (StyleOf(window) & CBS_HASSTRINGS)) {}

    bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (PaintMessage(window_, message, wParam, [this](HDC dc) { Paint(dc); })) {
            return true;
        }
        if (ChangesLook(message, CB_GETEDITSEL, CB_MSGMAX)) {
            InvalidateRect(window_, nullptr, TRUE);
        }
        if (message >= CB_GETEDITSEL && message < CB_MSGMAX) {
            result = Command(message, wParam, lParam);
            return true;
        }
        switch (message) {
        case WM_DESTROY:
            TellDeleted(Owner(), items_, 0, items_.Count());
            return false;
        case WM_CREATE:
            extent_ = reinterpret_cast<const CREATESTRUCTW*>(lParam)->cy;
            Measure();
            return false;
        case WM_SETFONT:
            result = ControlProc(window_, message, wParam, lParam);
            if (!OwnerDrawn(Style())) {
                Measure();
            }
            return true;
        case WM_GETDLGCODE:
            // While the list is down, Enter and Escape close it instead of the dialog.
            result = DLGC_WANTARROWS | DLGC_WANTCHARS | (dropped_ ? DLGC_WANTALLKEYS : 0);
            return true;
        case WM_GETTEXT:
        case WM_GETTEXTLENGTH:
            return GetKind() == Kind::DropDownList &&
                   SelectionText(message, wParam, lParam, result);
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            focused_ = message == WM_SETFOCUS;
            if (!focused_) {
                Close(CBN_SELENDCANCEL);
            }
            NotifyCommand(window_, focused_ ? CBN_SETFOCUS : CBN_KILLFOCUS);
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
            Press(PointOf(lParam));
            return true;
        case WM_MOUSEMOVE:
            if (ListShown() && items_.Has(ItemAt(PointOf(lParam)))) {
                hot_ = ItemAt(PointOf(lParam));
            }
            return true;
        case WM_LBUTTONUP:
            if (ListShown() && items_.Has(ItemAt(PointOf(lParam)))) {
                Pick(ItemAt(PointOf(lParam)));
            }
            return true;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            Key(static_cast<UINT>(wParam), message == WM_SYSKEYDOWN);
            return true;
        case WM_CHAR:
            Character(static_cast<char16_t>(wParam));
            return true;
        case WM_MOUSEWHEEL:
            if (ListShown()) {
                SetTop(top_ - static_cast<short>(HIWORD(wParam)) / WHEEL_DELTA);
            }
            return true;
        default:
            return false;
        }
    }

    LRESULT Command(UINT message, WPARAM wParam, LPARAM lParam);

    DWORD Style() const { return StyleOf(window_); }
    Kind GetKind() const {
        switch (Style() & CBS_DROPDOWNLIST) {
        case CBS_SIMPLE:
            return Kind::Simple;
        case CBS_DROPDOWN:
            return Kind::DropDown;
        default:
            return Kind::DropDownList;
        }
    }
    bool HasEdit() const { return GetKind() != Kind::DropDownList; }
    bool ListShown() const { return dropped_ || GetKind() == Kind::Simple; }
    ItemOwner Owner() const { return {window_, ODT_COMBOBOX}; }

    // The heights of the field's content and of the list's entries, from the font or, owner
    // drawn, from the parent; a dropping kind then shrinks to its field.
    void Measure();
    int FieldHeight() const { return fieldItemHeight_ + 2 * kFieldMargin; }
    int Width() const {
        RECT client{};
        GetClientRect(window_, &client);
        return client.right - client.left;
    }
    void Resize(int height) {
        SetWindowPos(window_, nullptr, 0, 0, Width(), height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    int HeightOf(int index) const {
        return (Style() & CBS_OWNERDRAWVARIABLE) && items_.Has(index) ? items_[index].height
                                                                      : itemHeight_;
    }
    // The list's area, in client coordinates: below the field, as high as the entries that fit
    // in the height the control was made with (at least one), framed by a line.
    RECT ListArea() const;
    int ItemAt(POINT at) const;
    RECT ItemArea(int index) const;
    int Rows() const;
    void SetTop(int top) { top_ = std::clamp(top, 0, std::max(0, items_.Count() - Rows())); }
    void ShowItem(int index) {
        if (index >= 0 && index < top_) {
            top_ = index;
        } else if (index >= top_ + Rows()) {
            SetTop(index - Rows() + 1);
        }
    }

    bool SelectionText(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const;
    // Makes `index` (-1: none) the selection, shown in the edit field when there is one.
    void Select(int index);
    void Inserted(int index);
    void Removed(int index);

    void Open();
    // Closes the list telling the parent `code` (CBN_SELENDOK, CBN_SELENDCANCEL; 0: nothing) and
    // then CBN_CLOSEUP.
    void Close(WORD code);
    // A user's pick of an entry in the list: the list closes and the parent hears of it.
    void Pick(int index);
    // A user's change of the selection with the list up: the keys of a closed list.
    void Change(int index);
    void Press(POINT at);
    void Key(UINT key, bool alt);
    void Character(char16_t character);
    void Type(char16_t character);

    void Paint(HDC dc) const;
    void PaintField(HDC dc, const RECT& field) const;
    void PaintButton(HDC dc, const RECT& button) const;
    void PaintList(HDC dc) const;

    HWND window_;
    ListItems items_;
    int extent_ = 0; // the height the control was made with, the list's included
    int fieldItemHeight_ = 0;
    int itemHeight_ = 0;
    int selection_ = -1;
    int hot_ = -1; // the entry highlighted in the dropped list
    int top_ = 0;
    LRESULT limit_ = kNoLimit;
    bool dropped_ = false;
    bool focused_ = false;
};

} // namespace moltr::platform::combo_box
