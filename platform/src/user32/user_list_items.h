#pragma once
// The entries of a list box, and of the list a combo box drops down: their text (or, for an
// owner-drawn list without strings, only the value the application gave), their item data and
// heights, kept in order when the list sorts, found by prefix or whole text as the LB_FIND* and
// CB_FIND* messages search; and how a run of them is painted, by the control or by its parent.
#include <windows.h>

#include <span>
#include <string>
#include <vector>

namespace moltr::platform {

// What list boxes and combo boxes are both asked about their entries, each by a message of its own.
enum class EntryRequest {
    Add,
    Insert,
    Remove,
    Text,
    TextLength,
    SetData,
    GetData,
    Find,
    FindExact
};

struct EntryMessage {
    UINT message;
    EntryRequest request;
};

// The request `message` makes by `table`; null when it makes none.
const EntryRequest* RequestOf(std::span<const EntryMessage> table, UINT message);

struct ListItem {
    std::u16string text;
    ULONG_PTR data = 0;
    int height = 0; // the item's own height, in a list whose items vary
    bool selected = false;
};

class ListItems {
public:
    // `sorted`: added entries go in alphabetical order; `strings`: the entries are text (else the
    // value passed to add one is its item data).
    ListItems(bool sorted, bool strings) : sorted_(sorted), strings_(strings) {}

    int Count() const { return static_cast<int>(items_.size()); }
    bool Has(int index) const { return index >= 0 && index < Count(); }
    const ListItem& operator[](int index) const { return items_[static_cast<size_t>(index)]; }
    ListItem& operator[](int index) { return items_[static_cast<size_t>(index)]; }
    bool HasStrings() const { return strings_; }

    // The answer to `request` with the message's parameters: what the matching call below
    // answers, -1 for an index the list lacks.
    LRESULT Answer(EntryRequest request, WPARAM wParam, LPARAM lParam);

    // Adds the entry that `value` (the LPARAM of an add message) gives, in order when sorting,
    // else at the end; its index.
    int Add(LPARAM value);
    // Inserts at `index` (-1: at the end), never sorting; the index, or -1 when out of range.
    int Insert(int index, LPARAM value);
    void Remove(int index) { items_.erase(items_.begin() + index); }
    void Clear() { items_.clear(); }

    // The first entry after `after` (-1: from the start), wrapping round, whose text starts with
    // (or, `exact`, is) `text` regardless of case; for a list without strings, whose item data
    // is `value`. -1 when there is none.
    int Find(int after, LPARAM value, bool exact) const;

    // The text an LB_GETTEXT or CB_GETLBTEXT answers: the entry's text, or its item data for a
    // list without strings. The length (in characters) copied into `buffer` when given.
    LRESULT CopyText(int index, LPARAM buffer) const;
    LRESULT TextLength(int index) const;

private:
    ListItem Made(LPARAM value) const;

    std::vector<ListItem> items_;
    bool sorted_;
    bool strings_;
};

// Whether `message` may change how a list control looks: its own messages (from `first` to
// before `end`), the mouse, the keys, the focus, scrolling and a new font. Such a message
// invalidates the control, so that its next WM_PAINT shows the change.
inline bool ChangesLook(UINT message, UINT first, UINT end) {
    return (message >= first && message < end) ||
           (message >= WM_MOUSEMOVE && message <= WM_MOUSEWHEEL) || message == WM_KEYDOWN ||
           message == WM_SYSKEYDOWN || message == WM_CHAR || message == WM_SETFOCUS ||
           message == WM_KILLFOCUS || message == WM_VSCROLL || message == WM_SETFONT;
}

// Whom an owner-drawn control asks to draw or measure its entries, and as what.
struct ItemOwner {
    HWND control; // the control the parent is told about
    UINT type;    // ODT_LISTBOX or ODT_COMBOBOX
};

// Asks the parent for an item's height by WM_MEASUREITEM, `proposed` unless it answers another.
int MeasureItem(const ItemOwner& owner, int index, ULONG_PTR data, int proposed);

// Tells the parent by WM_DELETEITEM of each entry from `first` to before `end` that goes and
// has item data.
void TellDeleted(const ItemOwner& owner, const ListItems& items, int first, int end);

// Answers `request` on `items` as both controls do: the parent hears of an entry that goes, and
// the control through `inserted` and `removed` of the index an entry was added at or removed from.
template <class Inserted, class Removed>
LRESULT AnswerEntryRequest(EntryRequest request, WPARAM wParam, LPARAM lParam, ListItems& items,
                           const ItemOwner& owner, Inserted&& inserted, Removed&& removed) {
    const int index = static_cast<int>(wParam);
    if (request == EntryRequest::Remove) {
        TellDeleted(owner, items, index, index + 1);
    }
    const LRESULT answer = items.Answer(request, wParam, lParam);
    if (answer >= 0 && (request == EntryRequest::Add || request == EntryRequest::Insert)) {
        inserted(static_cast<int>(answer));
    } else if (answer >= 0 && request == EntryRequest::Remove) {
        removed(index);
    }
    return answer;
}

// Draws an entry in `area`: the control's own way (highlighted when selected, greyed when
// disabled) or, owner-drawn, by the parent through WM_DRAWITEM with `state` (ODS_*).
void PaintItem(HDC dc, const ItemOwner& owner, bool ownerDrawn, int index, const ListItem* item,
               const RECT& area, UINT state);

} // namespace moltr::platform
