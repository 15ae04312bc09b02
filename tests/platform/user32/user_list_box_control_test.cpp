// The list box control: adding, sorting, finding and removing entries with the documented
// answers, the two selection models, a user's picks by mouse and keys told to the parent (and
// nothing told for the application's own changes), keyboard questions to the parent, scrolling,
// owner drawing and what a picture shows.
#include "platform/user32/control_parent.h"
#include "sim/utf.h"

namespace {

using moltr::test::ControlParent;
using moltr::test::Dark;
using moltr::test::Sent;

class ListBoxControl : public ::testing::Test {
protected:
    HWND Make(DWORD style, RECT at = {10, 10, 130, 110}) {
        return parent_.Control(L"ListBox", L"", style, 7, at);
    }
    static LRESULT Add(HWND list, const char16_t* text) {
        return SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    static std::string Text(HWND list, int index) {
        WCHAR text[64] = {};
        const LRESULT length = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index),
                                            reinterpret_cast<LPARAM>(text));
        return length == LB_ERR ? "<error>" : moltr::sim::Utf8(text);
    }
    static LRESULT Height(HWND list) { return SendMessageW(list, LB_GETITEMHEIGHT, 0, 0); }
    static LPARAM Middle(HWND list, int index) {
        RECT item{};
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item));
        return MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    }
    static void Click(HWND list, int index, UINT keys = 0) {
        SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON | keys, Middle(list, index));
        SendMessageW(list, WM_LBUTTONUP, keys, Middle(list, index));
    }

    ControlParent parent_;
};

TEST_F(ListBoxControl, EntriesAreAddedInsertedAndRemovedWithTheDocumentedAnswers) {
    HWND list = Make(LBS_NOTIFY);
    EXPECT_EQ(Add(list, u"Letter"), 0);
    EXPECT_EQ(Add(list, u"A4"), 1);
    EXPECT_EQ(SendMessageW(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(u"Legal")), 0);
    EXPECT_EQ(SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(u"A5")),
              3);
    EXPECT_EQ(SendMessageW(list, LB_INSERTSTRING, 9, reinterpret_cast<LPARAM>(u"B5")), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(Text(list, 1), "Letter");
    EXPECT_EQ(SendMessageW(list, LB_GETTEXTLEN, 3, 0), 2);
    EXPECT_EQ(SendMessageW(list, LB_GETTEXTLEN, 4, 0), LB_ERR);
    EXPECT_EQ(Text(list, 4), "<error>");
    EXPECT_EQ(SendMessageW(list, LB_SETITEMDATA, 2, 0x1234), 0);
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 2, 0), 0x1234);
    EXPECT_EQ(SendMessageW(list, LB_SETITEMDATA, 8, 1), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_DELETESTRING, 0, 0), 3);
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 1, 0), 0x1234); // the data moves with its entry
    EXPECT_EQ(SendMessageW(list, LB_DELETESTRING, 3, 0), LB_ERR);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 0);
    EXPECT_TRUE(parent_.Commands().empty());
}

TEST_F(ListBoxControl, ASortedListPlacesAddedEntriesByTextButInsertsWhereAsked) {
    HWND list = Make(LBS_SORT);
    Add(list, u"letter");
    Add(list, u"A4");
    EXPECT_EQ(Add(list, u"Legal"), 1);
    EXPECT_EQ(Add(list, u"b5"), 1);
    SendMessageW(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(u"Zeta"));
    EXPECT_EQ(Text(list, 0), "Zeta");
    EXPECT_EQ(Text(list, 1), "A4");
    EXPECT_EQ(Text(list, 4), "letter");
}

TEST_F(ListBoxControl, FindingMatchesPrefixesOrWholeTextsRegardlessOfCaseAndWraps) {
    HWND list = Make(0);
    for (const char16_t* text : {u"Letter", u"Legal", u"A4", u"LETTER Small"}) {
        Add(list, text);
    }
    const auto find = [&](UINT message, int after, const char16_t* text) {
        return SendMessageW(list, message, static_cast<WPARAM>(after),
                            reinterpret_cast<LPARAM>(text));
    };
    EXPECT_EQ(find(LB_FINDSTRING, -1, u"le"), 0);
    EXPECT_EQ(find(LB_FINDSTRING, 0, u"le"), 1);
    EXPECT_EQ(find(LB_FINDSTRING, 1, u"letter"), 3);
    EXPECT_EQ(find(LB_FINDSTRING, 3, u"letter"), 0); // from the end round to the start
    EXPECT_EQ(find(LB_FINDSTRINGEXACT, 0, u"letter"), 0);
    EXPECT_EQ(find(LB_FINDSTRINGEXACT, -1, u"Let"), LB_ERR);
    EXPECT_EQ(find(LB_SELECTSTRING, -1, u"a"), 2);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(find(LB_SELECTSTRING, -1, u"x"), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2); // a failed search keeps the selection
}

TEST_F(ListBoxControl, SetCurSelSelectsSilentlyAndOnlyInASingleSelectionList) {
    HWND list = Make(LBS_NOTIFY);
    Add(list, u"One");
    Add(list, u"Two");
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, 1, 0), 1);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageW(list, LB_GETSEL, 1, 0), 1);
    EXPECT_EQ(SendMessageW(list, LB_GETSEL, 0, 0), 0);
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, 5, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_SETSEL, TRUE, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_GETSELCOUNT, 0, 0), LB_ERR);
    // Removing an entry before the selected one moves the selection with it.
    SendMessageW(list, LB_DELETESTRING, 0, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
    // -1 clears the selection and answers LB_ERR all the same.
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_TRUE(parent_.Commands().empty());
}

TEST_F(ListBoxControl, AMultipleSelectionListKeepsASelectionPerEntry) {
    HWND list = Make(LBS_MULTIPLESEL | LBS_NOTIFY);
    for (const char16_t* text : {u"A", u"B", u"C"}) {
        Add(list, text);
    }
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_SETSEL, TRUE, static_cast<LPARAM>(-1)), 0);
    EXPECT_EQ(SendMessageW(list, LB_GETSELCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(list, LB_SETSEL, FALSE, 1), 0);
    EXPECT_EQ(SendMessageW(list, LB_SETSEL, FALSE, 3), LB_ERR);
    int picked[4] = {-1, -1, -1, -1};
    EXPECT_EQ(SendMessageW(list, LB_GETSELITEMS, 4, reinterpret_cast<LPARAM>(picked)), 2);
    EXPECT_EQ(picked[0], 0);
    EXPECT_EQ(picked[1], 2);
    EXPECT_EQ(picked[2], -1);
    // A click toggles the entry clicked and tells the parent.
    Click(list, 1);
    EXPECT_EQ(SendMessageW(list, LB_GETSEL, 1, 0), 1);
    Click(list, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETSEL, 0, 0), 0);
    EXPECT_EQ(parent_.Commands(), (std::vector<WORD>{LBN_SETFOCUS, LBN_SELCHANGE, LBN_SELCHANGE}));
}

TEST_F(ListBoxControl, AnExtendedListSelectsRangesWithShiftAndTogglesWithControl) {
    HWND list = Make(LBS_EXTENDEDSEL);
    for (const char16_t* text : {u"A", u"B", u"C", u"D"}) {
        Add(list, text);
    }
    Click(list, 1);
    Click(list, 3, MK_SHIFT);
    EXPECT_EQ(SendMessageW(list, LB_GETSELCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(list, LB_GETANCHORINDEX, 0, 0), 1);
    EXPECT_EQ(SendMessageW(list, LB_GETCARETINDEX, 0, 0), 3);
    Click(list, 2, MK_CONTROL);
    EXPECT_EQ(SendMessageW(list, LB_GETSEL, 2, 0), 0);
    EXPECT_EQ(SendMessageW(list, LB_GETSELCOUNT, 0, 0), 2);
    Click(list, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETSELCOUNT, 0, 0), 1);
    EXPECT_TRUE(parent_.Commands().empty()); // without LBS_NOTIFY nobody hears
}

TEST_F(ListBoxControl, AUserPickTellsTheParentOncePerChange) {
    HWND list = Make(LBS_NOTIFY);
    for (const char16_t* text : {u"A", u"B", u"C"}) {
        Add(list, text);
    }
    LRESULT seen = -2;
    parent_.onNotify = [&](const Sent& sent) {
        if (sent.code == LBN_SELCHANGE) {
            seen = SendMessageW(list, LB_GETCURSEL, 0, 0);
        }
    };
    Click(list, 2);
    EXPECT_EQ(seen, 2);
    EXPECT_EQ(GetFocus(), list);
    Click(list, 2); // the same entry again is no change
    SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, Middle(list, 2));
    SendMessageW(list, WM_LBUTTONUP, 0, Middle(list, 2));
    EXPECT_EQ(parent_.Commands(), (std::vector<WORD>{LBN_SETFOCUS, LBN_SELCHANGE, LBN_DBLCLK}));
    EXPECT_EQ(parent_.received.back().from, list);
    EXPECT_EQ(parent_.received.back().id, 7);
}

TEST_F(ListBoxControl, KeysMoveTheSelectionAndCharactersFindTheNextEntry) {
    HWND list = Make(LBS_NOTIFY);
    for (const char16_t* text : {u"Apple", u"Banana", u"Blueberry", u"Cherry"}) {
        Add(list, text);
    }
    SendMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    SendMessageW(list, WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 3);
    SendMessageW(list, WM_KEYDOWN, VK_DOWN, 0); // already at the end: no change, no word
    SendMessageW(list, WM_CHAR, 'b', 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    SendMessageW(list, WM_CHAR, 'B', 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2);
    SendMessageW(list, WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(parent_.Commands().size(), 5u);
    EXPECT_EQ(SendMessageW(list, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTCHARS);
}

TEST_F(ListBoxControl, AListThatWantsTheKeyboardAsksItsParentFirst) {
    HWND list = Make(LBS_WANTKEYBOARDINPUT | LBS_OWNERDRAWFIXED);
    SendMessageW(list, LB_ADDSTRING, 0, 11); // without strings the value is the item data
    SendMessageW(list, LB_ADDSTRING, 0, 22);
    EXPECT_EQ(SendMessageW(list, LB_FINDSTRING, static_cast<WPARAM>(-1), 22), 1);
    ULONG_PTR data = 0;
    EXPECT_EQ(SendMessageW(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(&data)),
              static_cast<LRESULT>(sizeof data));
    EXPECT_EQ(data, 22u);
    parent_.received.clear();
    SendMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(list, WM_CHAR, 'x', 0);
    ASSERT_EQ(parent_.received.size(), 2u);
    EXPECT_EQ(parent_.received[0].message, static_cast<UINT>(WM_VKEYTOITEM));
    EXPECT_EQ(parent_.received[0].id, VK_DOWN);
    EXPECT_EQ(parent_.received[0].code, 0); // the caret's entry
    EXPECT_EQ(parent_.received[1].message, static_cast<UINT>(WM_CHARTOITEM));
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1); // -1: the list did its own move
}

TEST_F(ListBoxControl, TheTopEntryFollowsTheCaretAndTheWheel) {
    HWND list = Make(0, {10, 10, 130, 60});
    const LRESULT height = Height(list);
    ASSERT_GT(height, 0);
    const int rows = static_cast<int>(50 / height);
    for (int i = 0; i < 20; ++i) {
        Add(list, u"Entry");
    }
    EXPECT_EQ(SendMessageW(list, LB_SETTOPINDEX, 5, 0), 0);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 5);
    EXPECT_EQ(SendMessageW(list, LB_SETTOPINDEX, 20, 0), LB_ERR);
    SendMessageW(list, LB_SETTOPINDEX, 19, 0); // the last page stays full
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 20 - rows);
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 0);
    SendMessageW(list, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 3);
    SendMessageW(list, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 0);
    SendMessageW(list, WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 20 - rows);
    RECT last{};
    SendMessageW(list, LB_GETITEMRECT, 19, reinterpret_cast<LPARAM>(&last));
    EXPECT_LE(last.bottom, 50);
    EXPECT_EQ(SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, last.top + 1)), 19);
}

TEST_F(ListBoxControl, AnOwnerDrawnListIsMeasuredOnceAndDrawnByItsParent) {
    std::vector<MEASUREITEMSTRUCT> measured;
    std::vector<DRAWITEMSTRUCT> drawn;
    parent_.ownerDraw = [&](UINT message, LPARAM item) {
        if (message == WM_MEASUREITEM) {
            auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(item);
            measured.push_back(*measure);
            measure->itemHeight = 30;
        } else {
            drawn.push_back(*reinterpret_cast<const DRAWITEMSTRUCT*>(item));
        }
    };
    HWND list = Make(LBS_OWNERDRAWFIXED | LBS_HASSTRINGS);
    Add(list, u"One");
    Add(list, u"Two");
    SendMessageW(list, LB_SETITEMDATA, 1, 99);
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    ASSERT_EQ(measured.size(), 1u);
    EXPECT_EQ(measured[0].CtlType, static_cast<UINT>(ODT_LISTBOX));
    EXPECT_EQ(measured[0].CtlID, 7u);
    EXPECT_EQ(Height(list), 30);
    EXPECT_EQ(Text(list, 0), "One");
    parent_.Snapshot();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[1].itemID, 1u);
    EXPECT_EQ(drawn[1].itemData, 99u);
    EXPECT_EQ(drawn[1].itemState, static_cast<UINT>(ODS_SELECTED));
    EXPECT_EQ(drawn[1].hwndItem, list);
    EXPECT_EQ(drawn[1].rcItem.top, 30);
    EXPECT_EQ(drawn[1].rcItem.bottom, 60);
}

TEST_F(ListBoxControl, AVariableListMeasuresEachEntry) {
    int next = 10;
    parent_.ownerDraw = [&](UINT message, LPARAM item) {
        if (message == WM_MEASUREITEM) {
            reinterpret_cast<MEASUREITEMSTRUCT*>(item)->itemHeight = static_cast<UINT>(next);
            next += 10;
        }
    };
    HWND list = Make(LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS);
    Add(list, u"One");
    Add(list, u"Two");
    EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, 1, 0), 20);
    RECT second{};
    SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    EXPECT_EQ(second.top, 10);
    EXPECT_EQ(second.bottom, 30);
}

TEST_F(ListBoxControl, APictureShowsTheEntriesAndTheSelectionHighlighted) {
    HWND list = Make(0);
    Add(list, u"First");
    Add(list, u"Second");
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    const int height = static_cast<int>(Height(list));
    auto picture = parent_.Snapshot();
    // The first entry's text is dark on white, the selected one white on the highlight.
    EXPECT_GT(picture.Count(12, 10, 60, 10 + height, Dark), 5u);
    EXPECT_GT(picture.Count(10, 10 + height, 130, 10 + 2 * height,
                            [](int r, int g, int b) { return r == 0 && g == 120 && b == 215; }),
              100u);
    EXPECT_EQ(picture.At(100, 10 + 3 * height), RGB(255, 255, 255));
    // Disabled, the selection is no longer highlighted and the text is grey.
    EnableWindow(list, FALSE);
    picture = parent_.Snapshot();
    EXPECT_EQ(picture.PixelsOf(RGB(0, 120, 215)), 0u);
    EXPECT_EQ(picture.Count(10, 10, 130, 10 + 2 * height, Dark), 0u);
}

} // namespace

namespace {

struct Deleted {
    UINT type;
    UINT item;
    ULONG_PTR data;
    bool operator==(const Deleted&) const = default;
};
std::vector<Deleted> g_deleted;

LRESULT CALLBACK DeletionOwner(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DELETEITEM) {
        const auto* deleted = reinterpret_cast<const DELETEITEMSTRUCT*>(lParam);
        g_deleted.push_back({deleted->CtlType, deleted->itemID, deleted->itemData});
        return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The parent hears of each entry with item data that goes: removed, reset or destroyed.
TEST(ListControls, EntriesWithDataGoneAreToldToTheParent) {
    moltr::sim::TestMachine machine;
    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    description.lpfnWndProc = DeletionOwner;
    description.lpszClassName = L"DeletionOwner";
    RegisterClassExW(&description);
    for (const WCHAR* className : {L"ListBox", L"ComboBox"}) {
        const bool combo = className[0] == L'C';
        g_deleted.clear();
        HWND owner = CreateWindowExW(0, L"DeletionOwner", L"", WS_POPUP, 0, 0, 200, 200, nullptr,
                                     nullptr, nullptr, nullptr);
        HWND control = CreateWindowExW(0, className, L"", WS_CHILD, 0, 0, 100, 100, owner,
                                       reinterpret_cast<HMENU>(4), nullptr, nullptr);
        for (int i = 0; i < 4; ++i) {
            SendMessageW(control, combo ? CB_ADDSTRING : LB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(u"Entry"));
            SendMessageW(control, combo ? CB_SETITEMDATA : LB_SETITEMDATA, static_cast<WPARAM>(i),
                         i * 10);
        }
        SendMessageW(control, combo ? CB_DELETESTRING : LB_DELETESTRING, 1, 0);
        SendMessageW(control, combo ? CB_DELETESTRING : LB_DELETESTRING, 0, 0); // no data
        SendMessageW(control, combo ? CB_INSERTSTRING : LB_INSERTSTRING, 0,
                     reinterpret_cast<LPARAM>(u"New"));
        SendMessageW(control, combo ? CB_SETITEMDATA : LB_SETITEMDATA, 0, 5);
        SendMessageW(control, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
        SendMessageW(control, combo ? CB_ADDSTRING : LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(u"Last"));
        SendMessageW(control, combo ? CB_SETITEMDATA : LB_SETITEMDATA, 0, 7);
        DestroyWindow(owner);
        const UINT type = combo ? ODT_COMBOBOX : ODT_LISTBOX;
        EXPECT_EQ(g_deleted,
                  (std::vector<Deleted>{
                      {type, 1, 10}, {type, 0, 5}, {type, 1, 20}, {type, 2, 30}, {type, 0, 7}}))
            << moltr::sim::Utf8(className);
    }
}

} // namespace
