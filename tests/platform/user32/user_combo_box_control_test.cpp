// The combo box control: its entries and selection with the documented answers, the list
// dropped and closed, a user's picks by mouse and keys told to the parent in order (and nothing
// told for CB_SETCURSEL), the edit field of CBS_DROPDOWN, the always shown list of CBS_SIMPLE,
// owner drawing and what a picture shows.
#include "platform/user32/control_parent.h"
#include "sim/utf.h"

namespace {

using moltr::test::ControlParent;
using moltr::test::Dark;
using moltr::test::Sent;

class ComboBoxControl : public ::testing::Test {
protected:
    HWND Make(DWORD style, RECT at = {10, 10, 130, 110}) {
        return parent_.Control(L"ComboBox", L"", style, 8, at);
    }
    HWND MakeFilled(DWORD style, RECT at = {10, 10, 130, 110}) {
        HWND combo = Make(style, at);
        for (const char16_t* text : {u"Letter", u"Legal", u"A4", u"A5"}) {
            Add(combo, text);
        }
        return combo;
    }
    static LRESULT Add(HWND combo, const char16_t* text) {
        return SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    static std::string Entry(HWND combo, int index) {
        WCHAR text[64] = {};
        const LRESULT length = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                            reinterpret_cast<LPARAM>(text));
        return length == CB_ERR ? "<error>" : moltr::sim::Utf8(text);
    }
    static std::string Text(HWND combo) {
        WCHAR text[64] = {};
        GetWindowTextW(combo, text, 64);
        return moltr::sim::Utf8(text);
    }
    static LRESULT Selection(HWND combo) { return SendMessageW(combo, CB_GETCURSEL, 0, 0); }
    static int Height(HWND combo) {
        RECT window{};
        GetWindowRect(combo, &window);
        return window.bottom - window.top;
    }
    // The middle of entry `index` of the shown list, in the combo box's client coordinates.
    static LPARAM EntryPoint(HWND combo, int index) {
        RECT list{};
        RECT window{};
        SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&list));
        GetWindowRect(combo, &window);
        const auto height = static_cast<LONG>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
        const LONG top = static_cast<LONG>(SendMessageW(combo, CB_GETTOPINDEX, 0, 0));
        return MAKELPARAM(20, list.top - window.top + 1 + (index - top) * height + height / 2);
    }
    static void Click(HWND combo, LPARAM at) {
        SendMessageW(combo, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(combo, WM_LBUTTONUP, 0, at);
    }
    static void ClickField(HWND combo) { Click(combo, MAKELPARAM(110, 5)); }
    static void Press(HWND combo, WORD key) { SendMessageW(combo, WM_KEYDOWN, key, 0); }
    // The notifications received but the focus ones.
    std::vector<WORD> Heard() const {
        std::vector<WORD> codes;
        for (WORD code : parent_.Commands()) {
            if (code != CBN_SETFOCUS && code != CBN_KILLFOCUS) {
                codes.push_back(code);
            }
        }
        return codes;
    }

    ControlParent parent_;
};

TEST_F(ComboBoxControl, EntriesAreKeptWithTheDocumentedAnswers) {
    HWND combo = Make(CBS_DROPDOWNLIST | CBS_SORT);
    EXPECT_EQ(Add(combo, u"Letter"), 0);
    EXPECT_EQ(Add(combo, u"a4"), 0);
    EXPECT_EQ(Add(combo, u"Legal"), 1);
    EXPECT_EQ(SendMessageW(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(u"Zeta")), 0);
    EXPECT_EQ(SendMessageW(combo, CB_INSERTSTRING, 7, reinterpret_cast<LPARAM>(u"B5")), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(Entry(combo, 0), "Zeta");
    EXPECT_EQ(Entry(combo, 3), "Letter");
    EXPECT_EQ(Entry(combo, 4), "<error>");
    EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXTLEN, 1, 0), 2);
    EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXTLEN, 9, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_SETITEMDATA, 2, 77), CB_OKAY);
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, 2, 0), 77);
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, 5, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_FINDSTRING, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(u"LE")),
              2);
    EXPECT_EQ(SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(u"le")),
              CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_DELETESTRING, 0, 0), 3);
    EXPECT_EQ(SendMessageW(combo, CB_DELETESTRING, 3, 0), CB_ERR);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 0);
    EXPECT_TRUE(Heard().empty());
}

TEST_F(ComboBoxControl, SetCurSelSelectsSilentlyAndADropDownListShowsItAsItsText) {
    HWND combo = MakeFilled(CBS_DROPDOWNLIST);
    EXPECT_EQ(Selection(combo), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 2, 0), 2);
    EXPECT_EQ(Selection(combo), 2);
    EXPECT_EQ(Text(combo), "A4");
    EXPECT_EQ(GetWindowTextLengthW(combo), 2);
    // Out of range clears the selection.
    EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 9, 0), CB_ERR);
    EXPECT_EQ(Selection(combo), CB_ERR);
    EXPECT_EQ(Text(combo), "");
    EXPECT_EQ(SendMessageW(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(u"leg")),
              1);
    EXPECT_EQ(Selection(combo), 1);
    // Removing an entry before the selected one moves the selection with it.
    SendMessageW(combo, CB_DELETESTRING, 0, 0);
    EXPECT_EQ(Selection(combo), 0);
    EXPECT_TRUE(Heard().empty());
}

TEST_F(ComboBoxControl, ADroppingComboBoxIsAsHighAsItsFieldUntilItsListDrops) {
    HWND combo = MakeFilled(CBS_DROPDOWNLIST);
    const int field = Height(combo);
    EXPECT_LT(field, 40);
    EXPECT_EQ(field, SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0) + 6);
    EXPECT_EQ(SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0), TRUE);
    EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), TRUE);
    const auto entry = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(Height(combo), field + 4 * entry + 2); // all four fit in the height it was made with
    RECT list{};
    SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&list));
    RECT window{};
    GetWindowRect(combo, &window);
    EXPECT_EQ(list.top, window.top + field);
    EXPECT_EQ(list.bottom, window.bottom);
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0); // already down: nothing more
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_EQ(Height(combo), field);
    EXPECT_EQ(Heard(), (std::vector<WORD>{CBN_DROPDOWN, CBN_CLOSEUP}));
}

TEST_F(ComboBoxControl, AMousePickClosesTheListAndThenTellsTheChange) {
    HWND combo = MakeFilled(CBS_DROPDOWNLIST);
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    std::vector<LRESULT> seen;
    parent_.onNotify = [&](const Sent& sent) {
        if (sent.code == CBN_SELENDOK || sent.code == CBN_SELCHANGE) {
            seen.push_back(Selection(combo));
        }
    };
    ClickField(combo);
    EXPECT_EQ(GetFocus(), combo);
    EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), TRUE);
    Click(combo, EntryPoint(combo, 2));
    EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), FALSE);
    EXPECT_EQ(Selection(combo), 2);
    EXPECT_EQ(Heard(), (std::vector<WORD>{CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
    EXPECT_EQ(seen, (std::vector<LRESULT>{2, 2}));
    EXPECT_EQ(parent_.received.back().from, combo);
    EXPECT_EQ(parent_.received.back().id, 8);
    // A click on the field of a dropped list closes it and keeps the selection.
    parent_.received.clear();
    ClickField(combo);
    ClickField(combo);
    EXPECT_EQ(Heard(), (std::vector<WORD>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
    EXPECT_EQ(Selection(combo), 2);
}

TEST_F(ComboBoxControl, KeysChangeAClosedListAndMoveThroughADroppedOne) {
    HWND combo = MakeFilled(CBS_DROPDOWNLIST);
    Press(combo, VK_DOWN);
    EXPECT_EQ(Selection(combo), 0);
    Press(combo, VK_END);
    EXPECT_EQ(Selection(combo), 3);
    Press(combo, VK_DOWN); // at the end: no change, no word
    SendMessageW(combo, WM_CHAR, 'l', 0);
    EXPECT_EQ(Selection(combo), 0);
    EXPECT_EQ(Heard(), (std::vector<WORD>{CBN_SELCHANGE, CBN_SELCHANGE, CBN_SELCHANGE}));
    EXPECT_EQ(SendMessageW(combo, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTCHARS);
    parent_.received.clear();
    Press(combo, VK_F4);
    EXPECT_EQ(SendMessageW(combo, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS, DLGC_WANTALLKEYS);
    Press(combo, VK_DOWN); // moves the highlight only
    Press(combo, VK_DOWN);
    EXPECT_EQ(Selection(combo), 0);
    Press(combo, VK_RETURN);
    EXPECT_EQ(Selection(combo), 2);
    SendMessageW(combo, WM_SYSKEYDOWN, VK_DOWN, 0); // Alt+Down drops it too
    Press(combo, VK_UP);
    Press(combo, VK_ESCAPE);
    EXPECT_EQ(Selection(combo), 2);
    EXPECT_EQ(Heard(), (std::vector<WORD>{CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE,
                                          CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
}

TEST_F(ComboBoxControl, LosingTheFocusClosesTheListUnchosen) {
    HWND combo = MakeFilled(CBS_DROPDOWNLIST);
    ClickField(combo);
    SetFocus(parent_.window());
    EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), FALSE);
    EXPECT_EQ(parent_.Commands(), (std::vector<WORD>{CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELENDCANCEL,
                                                     CBN_CLOSEUP, CBN_KILLFOCUS}));
}

TEST_F(ComboBoxControl, ADropDownHasAnEditFieldThatTakesTypingAndPicks) {
    HWND combo = MakeFilled(CBS_DROPDOWN);
    SendMessageW(combo, CB_LIMITTEXT, 3, 0);
    for (char16_t character : u"A4x!") {
        SendMessageW(combo, WM_CHAR, character, 0);
    }
    EXPECT_EQ(Text(combo), "A4x");
    SendMessageW(combo, WM_CHAR, '\b', 0);
    EXPECT_EQ(Text(combo), "A4");
    EXPECT_EQ(Heard(),
              (std::vector<WORD>{CBN_EDITUPDATE, CBN_EDITCHANGE, CBN_EDITUPDATE, CBN_EDITCHANGE,
                                 CBN_EDITUPDATE, CBN_EDITCHANGE, CBN_EDITUPDATE, CBN_EDITCHANGE}));
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    EXPECT_EQ(Text(combo), "Legal");
    // A click on the text does not drop the list; one on the button does.
    Click(combo, MAKELPARAM(20, 5));
    EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), FALSE);
    ClickField(combo);
    Click(combo, EntryPoint(combo, 3));
    EXPECT_EQ(Text(combo), "A5");
    SetWindowTextW(combo, L"Custom");
    EXPECT_EQ(Text(combo), "Custom");
}

TEST_F(ComboBoxControl, ASimpleComboBoxShowsItsListAlwaysAndTellsEachPick) {
    HWND combo = MakeFilled(CBS_SIMPLE);
    EXPECT_EQ(Height(combo), 100);
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), FALSE);
    Click(combo, EntryPoint(combo, 1));
    EXPECT_EQ(Selection(combo), 1);
    EXPECT_EQ(Text(combo), "Legal");
    Press(combo, VK_DOWN);
    EXPECT_EQ(Selection(combo), 2);
    EXPECT_EQ(Heard(),
              (std::vector<WORD>{CBN_SELENDOK, CBN_SELCHANGE, CBN_SELENDOK, CBN_SELCHANGE}));
}

TEST_F(ComboBoxControl, AnOwnerDrawnComboBoxIsMeasuredAndDrawnByItsParent) {
    std::vector<MEASUREITEMSTRUCT> measured;
    std::vector<DRAWITEMSTRUCT> drawn;
    parent_.ownerDraw = [&](UINT message, LPARAM item) {
        if (message == WM_MEASUREITEM) {
            auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(item);
            measured.push_back(*measure);
            measure->itemHeight = measure->itemID == static_cast<UINT>(-1) ? 20 : 16;
        } else {
            drawn.push_back(*reinterpret_cast<const DRAWITEMSTRUCT*>(item));
        }
    };
    HWND combo = MakeFilled(CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS);
    ASSERT_EQ(measured.size(), 2u);
    EXPECT_EQ(measured[0].CtlType, static_cast<UINT>(ODT_COMBOBOX));
    EXPECT_EQ(measured[0].itemID, static_cast<UINT>(-1)); // the field first, then the entries
    EXPECT_EQ(measured[1].itemID, 0u);
    EXPECT_EQ(Height(combo), 26);
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0), 16);
    EXPECT_EQ(Entry(combo, 1), "Legal"); // with CBS_HASSTRINGS the texts are kept
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    SendMessageW(combo, CB_SETITEMDATA, 1, 55);
    parent_.Snapshot();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].CtlType, static_cast<UINT>(ODT_COMBOBOX));
    EXPECT_EQ(drawn[0].CtlID, 8u);
    EXPECT_EQ(drawn[0].itemID, 1u);
    EXPECT_EQ(drawn[0].itemData, 55u);
    EXPECT_EQ(drawn[0].hwndItem, combo);
    EXPECT_EQ(drawn[0].itemState & ODS_COMBOBOXEDIT, static_cast<UINT>(ODS_COMBOBOXEDIT));
    drawn.clear();
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    parent_.Snapshot();
    ASSERT_EQ(drawn.size(), 5u); // the field and the four entries
    EXPECT_EQ(drawn[2].itemID, 1u);
    EXPECT_EQ(drawn[2].itemState, static_cast<UINT>(ODS_SELECTED));
    EXPECT_EQ(drawn[2].rcItem.bottom - drawn[2].rcItem.top, 16);
}

TEST_F(ComboBoxControl, APictureShowsTheSelectionAndTheDroppedListOverTheControlBelow) {
    HWND combo = MakeFilled(CBS_DROPDOWNLIST, {10, 10, 130, 110});
    HWND below = parent_.Control(L"ListBox", L"", 0, 9, {10, 40, 130, 110});
    SendMessageW(below, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Hidden"));
    const int field = Height(combo);
    auto picture = parent_.Snapshot();
    EXPECT_EQ(picture.Count(12, 12, 100, 10 + field - 2, Dark), 0u); // nothing selected yet
    SendMessageW(combo, CB_SETCURSEL, 2, 0);
    picture = parent_.Snapshot();
    EXPECT_GT(picture.Count(12, 12, 100, 10 + field - 2, Dark), 5u);
    EXPECT_GT(picture.Count(112, 12, 128, 10 + field - 2, Dark), 5u); // the button's arrow
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    picture = parent_.Snapshot();
    const auto entry = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
    const int listTop = 10 + field + 1;
    // Every entry's text shows over the list box below; the highlighted one is the selection.
    for (int i : {0, 1, 3}) {
        const unsigned top = static_cast<unsigned>(listTop + i * entry);
        EXPECT_GT(picture.Count(12, top, 100, top + static_cast<unsigned>(entry), Dark), 5u);
    }
    EXPECT_GT(picture.Count(12, static_cast<unsigned>(listTop + 2 * entry), 128,
                            static_cast<unsigned>(listTop + 3 * entry),
                            [](int r, int g, int b) { return r == 0 && g == 120 && b == 215; }),
              100u);
}

} // namespace
