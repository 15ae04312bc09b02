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
#include "src/user32/user_control_classes.h"
#include "src/user32/user_control_paint.h"
#include "src/user32/user_list_items.h"

#include <algorithm>

namespace moltr::platform {
namespace {

enum class Kind { Simple, DropDown, DropDownList };

constexpr int kFieldMargin = 3; // between the field's edge and its text, above and below
constexpr int kButtonWidth = 17;
constexpr int kMaxItemHeight = 255;
constexpr LRESULT kNoLimit = 0x7FFFFFFE;

DWORD StyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
}
bool OwnerDrawn(DWORD style) {
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
        if (message >= CB_GETEDITSEL && message < CB_MSGMAX) {
            result = Command(message, wParam, lParam);
            return true;
        }
        switch (message) {
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
    LRESULT ItemCommand(UINT message, int index, LPARAM lParam);

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

void ComboBox::Measure() {
    const int line = LineHeight(window_);
    fieldItemHeight_ = line;
    itemHeight_ = line;
    if (Style() & CBS_OWNERDRAWFIXED) {
        fieldItemHeight_ = MeasureItem(Owner(), -1, 0, line);
        itemHeight_ = MeasureItem(Owner(), 0, 0, line);
    }
    if (GetKind() != Kind::Simple && !dropped_) {
        Resize(FieldHeight());
    }
}

int ComboBox::Rows() const {
    const int room = extent_ - FieldHeight() - 2;
    return std::clamp(room / std::max(1, itemHeight_), 1, std::max(1, items_.Count()));
}

RECT ComboBox::ListArea() const {
    int height = 2;
    for (int i = top_; i < top_ + Rows(); ++i) {
        height += HeightOf(i);
    }
    return RECT{0, FieldHeight(), Width(), FieldHeight() + height};
}

RECT ComboBox::ItemArea(int index) const {
    const RECT list = ListArea();
    int top = list.top + 1;
    for (int i = top_; i < index; ++i) {
        top += HeightOf(i);
    }
    return RECT{list.left + 1, top, list.right - 1, top + HeightOf(index)};
}

int ComboBox::ItemAt(POINT at) const {
    const RECT list = ListArea();
    if (!Contains(list, at)) {
        return -1;
    }
    for (int i = top_; i < std::min(items_.Count(), top_ + Rows()); ++i) {
        if (at.y < ItemArea(i).bottom) {
            return i;
        }
    }
    return -1;
}

LRESULT ComboBox::Command(UINT message, WPARAM wParam, LPARAM lParam) {
    const int index = static_cast<int>(wParam);
    switch (message) {
    case CB_ADDSTRING:
    case CB_INSERTSTRING: {
        const int at = message == CB_ADDSTRING ? items_.Add(lParam) : items_.Insert(index, lParam);
        if (at < 0) {
            return CB_ERR;
        }
        Inserted(at);
        return at;
    }
    case CB_RESETCONTENT:
        items_.Clear();
        Select(-1);
        hot_ = -1;
        top_ = 0;
        return CB_OKAY;
    case CB_GETCOUNT:
        return items_.Count();
    case CB_GETCURSEL:
        return selection_;
    case CB_SETCURSEL:
        Select(items_.Has(index) ? index : -1);
        ShowItem(selection_);
        return selection_ >= 0 ? selection_ : CB_ERR;
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
        return items_.Find(index, lParam, message == CB_FINDSTRINGEXACT);
    case CB_SELECTSTRING: {
        const int found = items_.Find(index, lParam, false);
        if (found >= 0) {
            Select(found);
        }
        return found;
    }
    case CB_SHOWDROPDOWN:
        if (wParam) {
            Open();
        } else {
            Close(0);
        }
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return dropped_;
    case CB_GETDROPPEDCONTROLRECT:
        if (lParam) {
            RECT window{};
            GetWindowRect(window_, &window);
            *reinterpret_cast<RECT*>(lParam) = Moved(ListArea(), window.left, window.top);
        }
        return TRUE;
    case CB_LIMITTEXT:
        limit_ = wParam ? static_cast<LRESULT>(wParam) : kNoLimit;
        return TRUE;
    case CB_GETTOPINDEX:
        return top_;
    case CB_SETITEMHEIGHT:
        if (lParam <= 0 || lParam > kMaxItemHeight) {
            return CB_ERR;
        }
        if (index == -1) {
            fieldItemHeight_ = static_cast<int>(lParam);
            if (!dropped_ && GetKind() != Kind::Simple) {
                Resize(FieldHeight());
            }
        } else if (Style() & CBS_OWNERDRAWVARIABLE) {
            if (!items_.Has(index)) {
                return CB_ERR;
            }
            items_[index].height = static_cast<int>(lParam);
        } else {
            itemHeight_ = static_cast<int>(lParam);
        }
        return CB_OKAY;
    case CB_GETITEMHEIGHT:
        if (index == -1) {
            return fieldItemHeight_;
        }
        return (Style() & CBS_OWNERDRAWVARIABLE) && !items_.Has(index) ? CB_ERR : HeightOf(index);
    default:
        return items_.Has(index) ? ItemCommand(message, index, lParam) : CB_ERR;
    }
}

// The messages about one existing entry.
LRESULT ComboBox::ItemCommand(UINT message, int index, LPARAM lParam) {
    switch (message) {
    case CB_DELETESTRING:
        items_.Remove(index);
        Removed(index);
        return items_.Count();
    case CB_GETLBTEXT:
        return items_.CopyText(index, lParam);
    case CB_GETLBTEXTLEN:
        return items_.TextLength(index);
    case CB_SETITEMDATA:
        items_[index].data = static_cast<ULONG_PTR>(lParam);
        return CB_OKAY;
    case CB_GETITEMDATA:
        return static_cast<LRESULT>(items_[index].data);
    case CB_SETTOPINDEX:
        SetTop(index);
        return CB_OKAY;
    default:
        return CB_ERR;
    }
}

// A drop-down list's text is its selected entry's.
bool ComboBox::SelectionText(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const {
    const std::u16string text =
        items_.Has(selection_) && items_.HasStrings() ? items_[selection_].text : u"";
    if (message == WM_GETTEXTLENGTH) {
        result = static_cast<LRESULT>(text.size());
        return true;
    }
    const size_t room = static_cast<size_t>(wParam);
    if (room == 0 || !lParam) {
        result = 0;
        return true;
    }
    const size_t copied = std::min(text.size(), room - 1);
    auto* out = reinterpret_cast<char16_t*>(lParam);
    std::copy_n(text.begin(), copied, out);
    out[copied] = u'\0';
    result = static_cast<LRESULT>(copied);
    return true;
}

void ComboBox::Select(int index) {
    selection_ = index;
    if (HasEdit()) {
        const std::u16string text =
            items_.Has(index) && items_.HasStrings() ? items_[index].text : u"";
        SetWindowTextW(window_, reinterpret_cast<const WCHAR*>(text.c_str()));
    }
}

void ComboBox::Inserted(int index) {
    if (Style() & CBS_OWNERDRAWVARIABLE) {
        items_[index].height = MeasureItem(Owner(), index, items_[index].data, itemHeight_);
    }
    if (selection_ >= index) {
        ++selection_;
    }
}

void ComboBox::Removed(int index) {
    if (selection_ == index) {
        Select(-1);
    } else if (selection_ > index) {
        --selection_;
    }
    hot_ = std::min(hot_, items_.Count() - 1);
    SetTop(top_);
}

void ComboBox::Open() {
    if (dropped_ || GetKind() == Kind::Simple) {
        return;
    }
    NotifyCommand(window_, CBN_DROPDOWN);
    dropped_ = true;
    hot_ = selection_;
    ShowItem(hot_);
    Resize(ListArea().bottom);
}

void ComboBox::Close(WORD code) {
    if (!dropped_) {
        return;
    }
    dropped_ = false;
    Resize(FieldHeight());
    if (code) {
        NotifyCommand(window_, code);
    }
    NotifyCommand(window_, CBN_CLOSEUP);
}

void ComboBox::Pick(int index) {
    const bool changed = index != selection_;
    Select(index);
    if (GetKind() == Kind::Simple) {
        if (changed) {
            NotifyCommand(window_, CBN_SELENDOK);
            NotifyCommand(window_, CBN_SELCHANGE);
        }
        return;
    }
    Close(CBN_SELENDOK);
    if (changed) {
        NotifyCommand(window_, CBN_SELCHANGE);
    }
}

void ComboBox::Change(int index) {
    if (!items_.Has(index) || index == selection_) {
        return;
    }
    Select(index);
    ShowItem(index);
    if (GetKind() == Kind::Simple) {
        NotifyCommand(window_, CBN_SELENDOK);
    }
    NotifyCommand(window_, CBN_SELCHANGE);
}

void ComboBox::Press(POINT at) {
    if (GetFocus() != window_) {
        SetFocus(window_);
    }
    if (ListShown() && items_.Has(ItemAt(at))) {
        hot_ = ItemAt(at);
        return;
    }
    if (dropped_) {
        Close(CBN_SELENDCANCEL);
        return;
    }
    // A drop-down list opens wherever its field is clicked, an edit field only at its button.
    const bool onButton = at.x >= Width() - kButtonWidth && at.y < FieldHeight();
    if (GetKind() == Kind::DropDownList || (GetKind() == Kind::DropDown && onButton)) {
        Open();
    }
}

void ComboBox::Key(UINT key, bool alt) {
    const bool toggles = key == VK_F4 || (alt && (key == VK_DOWN || key == VK_UP));
    if (toggles && GetKind() != Kind::Simple) {
        if (!dropped_) {
            Open();
        } else if (items_.Has(hot_)) {
            Pick(hot_);
        } else {
            Close(CBN_SELENDCANCEL);
        }
        return;
    }
    if (dropped_ && (key == VK_RETURN || key == VK_ESCAPE)) {
        if (key == VK_RETURN && items_.Has(hot_)) {
            Pick(hot_);
        } else {
            Close(CBN_SELENDCANCEL);
        }
        return;
    }
    const int from = dropped_ ? hot_ : selection_;
    int to = from;
    switch (key) {
    case VK_UP:
        to = std::max(0, from - 1);
        break;
    case VK_DOWN:
        to = from + 1;
        break;
    case VK_PRIOR:
        to = std::max(0, from - Rows() + 1);
        break;
    case VK_NEXT:
        to = from + Rows() - 1;
        break;
    case VK_HOME:
        to = 0;
        break;
    case VK_END:
        to = items_.Count() - 1;
        break;
    default:
        return;
    }
    to = std::min(to, items_.Count() - 1);
    if (dropped_) {
        hot_ = to;
        ShowItem(to);
    } else {
        Change(to);
    }
}

void ComboBox::Character(char16_t character) {
    if (HasEdit()) {
        Type(character);
        return;
    }
    const char16_t text[] = {character, u'\0'};
    const int found =
        items_.Find(dropped_ ? hot_ : selection_, reinterpret_cast<LPARAM>(text), false);
    if (dropped_ && found >= 0) {
        hot_ = found;
        ShowItem(found);
    } else {
        Change(found);
    }
}

// The edit field takes printable characters up to its limit and Backspace.
void ComboBox::Type(char16_t character) {
    std::u16string text = WindowText(window_);
    if (character == u'\b') {
        if (text.empty()) {
            return;
        }
        text.pop_back();
    } else if (character >= u' ' && static_cast<LRESULT>(text.size()) < limit_) {
        text += character;
    } else {
        return;
    }
    SetWindowTextW(window_, reinterpret_cast<const WCHAR*>(text.c_str()));
    NotifyCommand(window_, CBN_EDITUPDATE);
    NotifyCommand(window_, CBN_EDITCHANGE);
}

void ComboBox::Paint(HDC dc) const {
    const RECT field{0, 0, Width(), FieldHeight()};
    PaintParentBackground(dc, window_, HasEdit() ? WM_CTLCOLOREDIT : WM_CTLCOLORLISTBOX, field,
                          colours::kWindow);
    FrameLine(dc, field, colours::kShadow);
    RECT content = Inset(field, 1);
    if (GetKind() != Kind::Simple) {
        PaintButton(dc,
                    RECT{content.right - kButtonWidth, content.top, content.right, content.bottom});
        content.right -= kButtonWidth;
    }
    PaintField(dc, Inset(content, 1));
    if (ListShown()) {
        PaintList(dc);
    }
}

void ComboBox::PaintField(HDC dc, const RECT& area) const {
    const bool enabled = IsWindowEnabled(window_);
    if (HasEdit()) {
        if (!enabled) {
            SetTextColor(dc, colours::kGrayText);
        }
        PaintText(dc, window_, WindowText(window_),
                  RECT{area.left + 1, area.top, area.right, area.bottom},
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        return;
    }
    // A focused drop-down list shows its selection highlighted while the list is up.
    const bool highlighted = focused_ && !dropped_;
    const UINT state = ODS_COMBOBOXEDIT | (highlighted ? ODS_SELECTED | ODS_FOCUS : 0) |
                       (enabled ? 0 : ODS_DISABLED);
    const bool ownerDrawn = OwnerDrawn(Style());
    if (ownerDrawn || items_.Has(selection_)) {
        PaintItem(dc, Owner(), ownerDrawn, selection_,
                  items_.Has(selection_) ? &items_[selection_] : nullptr, area, state);
    } else if (highlighted) {
        PaintItem(dc, Owner(), false, -1, nullptr, area, state);
    }
}

void ComboBox::PaintButton(HDC dc, const RECT& button) const {
    FillArea(dc, button, colours::kFace);
    Frame3D(dc, button, !dropped_);
    // A small triangle pointing down.
    const int middle = (button.left + button.right) / 2;
    const int top = (button.top + button.bottom) / 2 - 2;
    const COLORREF arrow = IsWindowEnabled(window_) ? colours::kText : colours::kGrayText;
    for (int row = 0; row < 4; ++row) {
        Line(dc, middle - 3 + row, top + row, middle + 4 - row, top + row, arrow);
    }
}

void ComboBox::PaintList(HDC dc) const {
    const RECT list = ListArea();
    PaintParentBackground(dc, window_, WM_CTLCOLORLISTBOX, list, colours::kWindow);
    FrameLine(dc, list, dropped_ ? colours::kText : colours::kShadow);
    const UINT disabled = IsWindowEnabled(window_) ? 0 : ODS_DISABLED;
    const int shown = dropped_ ? hot_ : selection_;
    for (int i = top_; i < std::min(items_.Count(), top_ + Rows()); ++i) {
        PaintItem(dc, Owner(), OwnerDrawn(Style()), i, &items_[i], ItemArea(i),
                  (i == shown ? ODS_SELECTED : 0) | disabled);
    }
}

} // namespace

LRESULT CALLBACK ComboBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StateWindowProc<ComboBox>(window, message, wParam, lParam);
}

} // namespace moltr::platform
