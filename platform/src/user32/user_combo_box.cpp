// The combo box's messages and a user's mouse and keys (user_combo_box.h).
#include "src/user32/user_combo_box.h"
#include "src/user32/user_control_classes.h"

namespace moltr::platform {
namespace combo_box {
namespace {

constexpr EntryMessage kEntryMessages[] = {
    {CB_ADDSTRING, EntryRequest::Add},
    {CB_INSERTSTRING, EntryRequest::Insert},
    {CB_DELETESTRING, EntryRequest::Remove},
    {CB_GETLBTEXT, EntryRequest::Text},
    {CB_GETLBTEXTLEN, EntryRequest::TextLength},
    {CB_SETITEMDATA, EntryRequest::SetData},
    {CB_GETITEMDATA, EntryRequest::GetData},
    {CB_FINDSTRING, EntryRequest::Find},
    {CB_FINDSTRINGEXACT, EntryRequest::FindExact},
};

} // namespace

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
    if (const EntryRequest* request = RequestOf(kEntryMessages, message)) {
        return AnswerEntryRequest(
            *request, wParam, lParam, items_, Owner(), [this](int at) { Inserted(at); },
            [this](int at) { Removed(at); });
    }
    switch (message) {
    case CB_RESETCONTENT:
        TellDeleted(Owner(), items_, 0, items_.Count());
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
    case CB_SETTOPINDEX:
        if (!items_.Has(index)) {
            return CB_ERR;
        }
        SetTop(index);
        return CB_OKAY;
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

} // namespace combo_box

LRESULT CALLBACK ComboBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StateWindowProc<combo_box::ComboBox>(window, message, wParam, lParam);
}

} // namespace moltr::platform
