// A user's mouse and keys on the list box (user_list_box.h): the selection they make and the
// LBN_SELCHANGE they bring.
#include "src/user32/user_list_box.h"

namespace moltr::platform::list_box {

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

} // namespace moltr::platform::list_box
