#pragma once
// The entries of a list box, and of the list a combo box drops down: their text (or, for an
// owner-drawn list without strings, only the value the application gave), their item data and
// heights, kept in order when the list sorts, found by prefix or whole text as the LB_FIND* and
// CB_FIND* messages search; and how a run of them is painted, by the control or by its parent.
#include <windows.h>

#include <string>
#include <vector>

namespace moltr::platform {

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

// Whom an owner-drawn control asks to draw or measure its entries, and as what.
struct ItemOwner {
    HWND control; // the control the parent is told about
    UINT type;    // ODT_LISTBOX or ODT_COMBOBOX
};

// Asks the parent for an item's height by WM_MEASUREITEM, `proposed` unless it answers another.
int MeasureItem(const ItemOwner& owner, int index, ULONG_PTR data, int proposed);

// Draws an entry in `area`: the control's own way (highlighted when selected, greyed when
// disabled) or, owner-drawn, by the parent through WM_DRAWITEM with `state` (ODS_*).
void PaintItem(HDC dc, const ItemOwner& owner, bool ownerDrawn, int index, const ListItem* item,
               const RECT& area, UINT state);

} // namespace moltr::platform
