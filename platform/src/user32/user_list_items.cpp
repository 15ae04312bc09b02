// The entries of list boxes and combo boxes (user_list_items.h).
#include "src/user32/user_list_items.h"
#include "src/user32/user_control_paint.h"
#include "sim/utf.h"

#include <algorithm>
#include <cstring>

namespace moltr::platform {
namespace {

using sim::W;

// Whether `text` starts with `prefix` regardless of case.
bool StartsWith(const std::u16string& text, const std::u16string& prefix) {
    if (prefix.size() > text.size()) {
        return false;
    }
    return lstrcmpiW(W(text.substr(0, prefix.size())), W(prefix)) == 0;
}

} // namespace

const EntryRequest* RequestOf(std::span<const EntryMessage> table, UINT message) {
    for (const EntryMessage& entry : table) {
        if (entry.message == message) {
            return &entry.request;
        }
    }
    return nullptr;
}

LRESULT ListItems::Answer(EntryRequest request, WPARAM wParam, LPARAM lParam) {
    const int index = static_cast<int>(wParam);
    switch (request) {
    case EntryRequest::Add:
        return Add(lParam);
    case EntryRequest::Insert:
        return Insert(index, lParam);
    case EntryRequest::Find:
    case EntryRequest::FindExact:
        return Find(index, lParam, request == EntryRequest::FindExact);
    default:
        break;
    }
    if (!Has(index)) {
        return -1;
    }
    switch (request) {
    case EntryRequest::Remove:
        Remove(index);
        return Count();
    case EntryRequest::Text:
        return CopyText(index, lParam);
    case EntryRequest::TextLength:
        return TextLength(index);
    case EntryRequest::SetData:
        items_[static_cast<size_t>(index)].data = static_cast<ULONG_PTR>(lParam);
        return 0;
    default: // EntryRequest::GetData
        return static_cast<LRESULT>(items_[static_cast<size_t>(index)].data);
    }
}

ListItem ListItems::Made(LPARAM value) const {
    ListItem item;
    if (!strings_) {
        item.data = static_cast<ULONG_PTR>(value);
    } else if (value) {
        item.text = reinterpret_cast<const char16_t*>(value);
    }
    return item;
}

int ListItems::Add(LPARAM value) {
    ListItem item = Made(value);
    auto at = items_.end();
    if (sorted_ && strings_) {
        at = std::upper_bound(items_.begin(), items_.end(), item,
                              [](const ListItem& a, const ListItem& b) {
                                  return lstrcmpiW(W(a.text), W(b.text)) < 0;
                              });
    }
    const auto added = items_.insert(at, std::move(item));
    return static_cast<int>(added - items_.begin());
}

int ListItems::Insert(int index, LPARAM value) {
    if (index == -1) {
        index = Count();
    }
    if (index < 0 || index > Count()) {
        return -1;
    }
    items_.insert(items_.begin() + index, Made(value));
    return index;
}

int ListItems::Find(int after, LPARAM value, bool exact) const {
    const int count = Count();
    if (count == 0) {
        return -1;
    }
    const int start = after >= 0 && after < count ? after + 1 : 0;
    const std::u16string wanted =
        strings_ && value ? reinterpret_cast<const char16_t*>(value) : std::u16string();
    for (int step = 0; step < count; ++step) {
        const ListItem& item = items_[static_cast<size_t>((start + step) % count)];
        const bool found = !strings_ ? item.data == static_cast<ULONG_PTR>(value)
                           : exact   ? lstrcmpiW(W(item.text), W(wanted)) == 0
                                     : StartsWith(item.text, wanted);
        if (found) {
            return (start + step) % count;
        }
    }
    return -1;
}

LRESULT ListItems::CopyText(int index, LPARAM buffer) const {
    const ListItem& item = (*this)[index];
    if (!strings_) {
        if (buffer) {
            std::memcpy(reinterpret_cast<void*>(buffer), &item.data, sizeof item.data);
        }
        return sizeof item.data;
    }
    if (buffer) {
        auto* out = reinterpret_cast<char16_t*>(buffer);
        std::copy(item.text.begin(), item.text.end(), out);
        out[item.text.size()] = u'\0';
    }
    return static_cast<LRESULT>(item.text.size());
}

LRESULT ListItems::TextLength(int index) const {
    return strings_ ? static_cast<LRESULT>((*this)[index].text.size())
                    : static_cast<LRESULT>(sizeof(ULONG_PTR));
}

int MeasureItem(const ItemOwner& owner, int index, ULONG_PTR data, int proposed) {
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = owner.type;
    measure.CtlID = static_cast<UINT>(GetDlgCtrlID(owner.control));
    measure.itemID = static_cast<UINT>(index);
    measure.itemHeight = static_cast<UINT>(proposed);
    measure.itemData = data;
    SendMessageW(GetParent(owner.control), WM_MEASUREITEM, measure.CtlID,
                 reinterpret_cast<LPARAM>(&measure));
    return measure.itemHeight ? static_cast<int>(measure.itemHeight) : proposed;
}

void TellDeleted(const ItemOwner& owner, const ListItems& items, int first, int end) {
    for (int i = first; i < end && items.Has(i); ++i) {
        if (!items[i].data) {
            continue;
        }
        DELETEITEMSTRUCT deleted{};
        deleted.CtlType = owner.type;
        deleted.CtlID = static_cast<UINT>(GetDlgCtrlID(owner.control));
        deleted.itemID = static_cast<UINT>(i);
        deleted.hwndItem = owner.control;
        deleted.itemData = items[i].data;
        SendMessageW(GetParent(owner.control), WM_DELETEITEM, deleted.CtlID,
                     reinterpret_cast<LPARAM>(&deleted));
    }
}

void PaintItem(HDC dc, const ItemOwner& owner, bool ownerDrawn, int index, const ListItem* item,
               const RECT& area, UINT state) {
    if (ownerDrawn) {
        DRAWITEMSTRUCT draw{};
        draw.CtlType = owner.type;
        draw.CtlID = static_cast<UINT>(GetDlgCtrlID(owner.control));
        draw.itemID = static_cast<UINT>(index);
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = state;
        draw.hwndItem = owner.control;
        draw.hDC = dc;
        draw.rcItem = area;
        draw.itemData = item ? item->data : 0;
        SendMessageW(GetParent(owner.control), WM_DRAWITEM, draw.CtlID,
                     reinterpret_cast<LPARAM>(&draw));
        return;
    }
    const bool selected = (state & ODS_SELECTED) && !(state & ODS_DISABLED);
    if (selected) {
        FillArea(dc, area, colours::kHighlight);
    }
    if (item) {
        const COLORREF before = SetTextColor(dc, selected                 ? colours::kHighlightText
                                                 : (state & ODS_DISABLED) ? colours::kGrayText
                                                                          : GetTextColor(dc));
        PaintText(dc, owner.control, item->text,
                  RECT{area.left + 2, area.top, area.right - 2, area.bottom},
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SetTextColor(dc, before);
    }
    if (state & ODS_FOCUS) {
        PaintFocusFrame(dc, area);
    }
}

} // namespace moltr::platform
