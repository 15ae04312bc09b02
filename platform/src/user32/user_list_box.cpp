// The list box's messages, its scrolling and its painting (user_list_box.h).
#include "src/user32/user_list_box.h"
#include "src/user32/user_control_classes.h"

namespace moltr::platform {
namespace list_box {
namespace {

constexpr EntryMessage kEntryMessages[] = {
    {LB_ADDSTRING, EntryRequest::Add},
    {LB_INSERTSTRING, EntryRequest::Insert},
    {LB_DELETESTRING, EntryRequest::Remove},
    {LB_GETTEXT, EntryRequest::Text},
    {LB_GETTEXTLEN, EntryRequest::TextLength},
    {LB_SETITEMDATA, EntryRequest::SetData},
    {LB_GETITEMDATA, EntryRequest::GetData},
    {LB_FINDSTRING, EntryRequest::Find},
    {LB_FINDSTRINGEXACT, EntryRequest::FindExact},
};

} // namespace

LRESULT ListBox::Command(UINT message, WPARAM wParam, LPARAM lParam) {
    const int index = static_cast<int>(wParam);
    if (const EntryRequest* request = RequestOf(kEntryMessages, message)) {
        return AnswerEntryRequest(
            *request, wParam, lParam, items_, Owner(), [this](int at) { Inserted(at); },
            [this](int at) { Removed(at); });
    }
    switch (message) {
    case LB_RESETCONTENT:
        TellDeleted(Owner(), items_, 0, items_.Count());
        items_.Clear();
        selection_ = -1;
        caret_ = anchor_ = top_ = 0;
        return 0;
    case LB_GETCOUNT:
        return items_.Count();
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

} // namespace list_box

LRESULT CALLBACK ListBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StateWindowProc<list_box::ListBox>(window, message, wParam, lParam);
}

} // namespace moltr::platform
