// The button control: check states by style, clicks by mouse, space bar and BM_CLICK reported
// to the parent after the automatic state change, radio groups, dialog codes, owner drawing,
// images, and what a picture of each kind shows.
#include "platform/user32/control_parent.h"

namespace {

using moltr::test::ControlParent;
using moltr::test::Dark;
using moltr::test::Sent;

class ButtonControl : public ::testing::Test {
protected:
    HWND Make(DWORD style, int id = 5, const WCHAR* text = L"Go", RECT at = {10, 10, 130, 35}) {
        return parent_.Control(L"Button", text, style, id, at);
    }
    static LRESULT Check(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0); }
    static LRESULT State(HWND button) { return SendMessageW(button, BM_GETSTATE, 0, 0); }

    ControlParent parent_;
};

TEST_F(ButtonControl, SetCheckKeepsOnlyTheStatesTheStyleHas) {
    HWND check = Make(BS_CHECKBOX);
    SendMessageW(check, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(Check(check), BST_CHECKED);
    HWND three = Make(BS_3STATE, 6);
    SendMessageW(three, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(Check(three), BST_INDETERMINATE);
    HWND push = Make(BS_PUSHBUTTON, 7);
    SendMessageW(push, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(Check(push), BST_UNCHECKED);
    EXPECT_TRUE(parent_.Commands().empty()); // setting a state notifies nobody
}

TEST_F(ButtonControl, AClickNotifiesOnReleaseAfterTheAutomaticToggle) {
    HWND check = Make(BS_AUTOCHECKBOX);
    LRESULT seen = -1;
    parent_.onNotify = [&](const Sent&) { seen = Check(check); };
    SendMessageW(check, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(State(check) & BST_PUSHED, BST_PUSHED);
    EXPECT_TRUE(parent_.Commands().empty());
    SendMessageW(check, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(parent_.Commands(), std::vector<WORD>{BN_CLICKED});
    EXPECT_EQ(seen, BST_CHECKED);
    EXPECT_EQ(parent_.received.back().id, 5);
    EXPECT_EQ(parent_.received.back().from, check);
    EXPECT_EQ(State(check), BST_CHECKED);
}

TEST_F(ButtonControl, ReleasingOutsideIsNoClick) {
    HWND check = Make(BS_AUTOCHECKBOX);
    SendMessageW(check, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(check, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(500, 5));
    EXPECT_EQ(State(check) & BST_PUSHED, 0); // it pops up while the pointer is away
    SendMessageW(check, WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
    EXPECT_TRUE(parent_.Commands().empty());
    EXPECT_EQ(Check(check), BST_UNCHECKED);
}

TEST_F(ButtonControl, AutoThreeStateCyclesThroughItsStates) {
    HWND three = Make(BS_AUTO3STATE);
    const LRESULT expected[] = {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED};
    for (LRESULT state : expected) {
        SendMessageW(three, BM_CLICK, 0, 0);
        EXPECT_EQ(Check(three), state);
    }
    EXPECT_EQ(parent_.Commands().size(), 3u);
}

TEST_F(ButtonControl, TheSpaceBarClicksOnRelease) {
    HWND push = Make(BS_PUSHBUTTON);
    SendMessageW(push, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(parent_.Commands().empty());
    EXPECT_EQ(State(push), BST_PUSHED);
    SendMessageW(push, WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(parent_.Commands(), std::vector<WORD>{BN_CLICKED});
    SendMessageW(push, WM_KEYUP, VK_SPACE, 0); // a release without a press
    EXPECT_EQ(parent_.Commands().size(), 1u);
}

TEST_F(ButtonControl, ADisabledButtonIgnoresTheMouse) {
    HWND push = Make(BS_PUSHBUTTON);
    EnableWindow(push, FALSE);
    SendMessageW(push, BM_CLICK, 0, 0);
    EXPECT_TRUE(parent_.Commands().empty());
}

TEST_F(ButtonControl, AnAutoRadioButtonUnchecksTheOthersOfItsGroupOnly) {
    HWND first = Make(BS_AUTORADIOBUTTON | WS_GROUP, 11);
    HWND second = Make(BS_AUTORADIOBUTTON, 12);
    HWND plain = Make(BS_RADIOBUTTON, 13);
    HWND nextGroup = Make(BS_AUTORADIOBUTTON | WS_GROUP, 14);
    for (HWND radio : {first, plain, nextGroup}) {
        SendMessageW(radio, BM_SETCHECK, BST_CHECKED, 0);
    }
    SendMessageW(second, BM_CLICK, 0, 0);
    EXPECT_EQ(Check(second), BST_CHECKED);
    EXPECT_EQ(Check(first), BST_UNCHECKED);
    EXPECT_EQ(Check(plain), BST_UNCHECKED);
    EXPECT_EQ(Check(nextGroup), BST_CHECKED);
    // A plain radio button leaves its state to the parent.
    SendMessageW(plain, BM_CLICK, 0, 0);
    EXPECT_EQ(Check(plain), BST_UNCHECKED);
    EXPECT_EQ(Check(second), BST_CHECKED);
}

TEST_F(ButtonControl, DialogCodesFollowTheStyle) {
    const struct {
        DWORD style;
        LRESULT code;
    } cases[] = {
        {BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
        {BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
        {BS_AUTOCHECKBOX, DLGC_BUTTON},
        {BS_AUTORADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
        {BS_GROUPBOX, DLGC_STATIC},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SendMessageW(Make(c.style), WM_GETDLGCODE, 0, 0), c.code) << c.style;
    }
    // BM_SETSTYLE is how the dialog manager moves the default from button to button.
    HWND push = Make(BS_PUSHBUTTON | WS_TABSTOP);
    SendMessageW(push, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(SendMessageW(push, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLongW(push, GWL_STYLE) & WS_TABSTOP, WS_TABSTOP);
}

TEST_F(ButtonControl, FocusShowsInTheStateAndNotifiesWithBsNotify) {
    HWND push = Make(BS_PUSHBUTTON | BS_NOTIFY);
    SendMessageW(push, WM_SETFOCUS, 0, 0);
    EXPECT_EQ(State(push), BST_FOCUS);
    SendMessageW(push, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(State(push), 0);
    EXPECT_EQ(parent_.Commands(), (std::vector<WORD>{BN_SETFOCUS, BN_KILLFOCUS}));
}

TEST_F(ButtonControl, SetImageAnswersThePreviousImageOfThatType) {
    HWND button = Make(BS_PUSHBUTTON | BS_BITMAP);
    HBITMAP one = CreateBitmap(8, 8, 1, 32, nullptr);
    HBITMAP two = CreateBitmap(8, 8, 1, 32, nullptr);
    EXPECT_EQ(SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(one)), 0);
    EXPECT_EQ(SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(two)),
              reinterpret_cast<LRESULT>(one));
    EXPECT_EQ(SendMessageW(button, BM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(two));
    EXPECT_EQ(SendMessageW(button, BM_GETIMAGE, IMAGE_ICON, 0), 0);
    DeleteObject(one);
    DeleteObject(two);
}

TEST_F(ButtonControl, AnOwnerDrawnButtonIsDrawnByItsParent) {
    HWND button = Make(BS_OWNERDRAW, 9);
    DRAWITEMSTRUCT seen{};
    parent_.ownerDraw = [&](UINT message, LPARAM item) {
        if (message == WM_DRAWITEM) {
            seen = *reinterpret_cast<const DRAWITEMSTRUCT*>(item);
        }
    };
    SendMessageW(button, WM_SETFOCUS, 0, 0);
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    parent_.Snapshot();
    EXPECT_EQ(seen.CtlType, static_cast<UINT>(ODT_BUTTON));
    EXPECT_EQ(seen.CtlID, 9u);
    EXPECT_EQ(seen.hwndItem, button);
    EXPECT_EQ(seen.itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
    EXPECT_EQ(seen.itemState, static_cast<UINT>(ODS_SELECTED | ODS_FOCUS));
    EXPECT_EQ(seen.rcItem.right, 120);
    EXPECT_EQ(seen.rcItem.bottom, 25);
}

TEST_F(ButtonControl, APictureShowsTheTextTheCheckMarkAndTheGreyedText) {
    Make(BS_PUSHBUTTON, 1, L"Push", {10, 10, 110, 35});
    HWND check = Make(BS_AUTOCHECKBOX, 2, L"Checked", {10, 50, 110, 70});
    HWND unchecked = Make(BS_AUTOCHECKBOX, 3, L"Unchecked", {10, 80, 110, 100});
    HWND disabled = Make(BS_PUSHBUTTON, 4, L"Off", {10, 110, 110, 135});
    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    EnableWindow(disabled, FALSE);
    (void)unchecked;
    const auto picture = parent_.Snapshot();
    // The push button's label is dark, in its middle.
    EXPECT_GT(picture.Count(30, 15, 90, 30, Dark), 10u);
    // A tick inside the checked box's mark, none in the unchecked one's.
    const int markTop = 50 + (20 - 13) / 2;
    EXPECT_GT(picture.Count(12, markTop + 2, 21, markTop + 11, Dark), 8u);
    EXPECT_EQ(picture.Count(12, 80 + 5, 21, 80 + 14, Dark), 0u);
    EXPECT_EQ(picture.At(15, 80 + 8), RGB(255, 255, 255));
    // Their labels stand right of the marks.
    EXPECT_GT(picture.Count(28, 50, 100, 70, Dark), 10u);
    // A disabled button's text is grey, never black.
    EXPECT_EQ(picture.Count(14, 114, 106, 131, Dark), 0u);
    EXPECT_GT(picture.Count(14, 114, 106, 131,
                            [](int r, int g, int b) { return r == 109 && g == 109 && b == 109; }),
              5u);
}

TEST_F(ButtonControl, TheParentChoosesTheColoursOfACheckBox) {
    Make(BS_CHECKBOX, 2, L"Tinted", {10, 50, 110, 70});
    parent_.brush = CreateSolidBrush(RGB(0, 0, 255));
    parent_.textColour = RGB(255, 0, 0);
    const auto picture = parent_.Snapshot();
    EXPECT_EQ(picture.At(108, 52), RGB(0, 0, 255));
    EXPECT_GT(picture.PixelsOf(RGB(255, 0, 0)), 10u);
    bool asked = false;
    for (const Sent& sent : parent_.received) {
        asked = asked || sent.message == WM_CTLCOLORSTATIC;
    }
    EXPECT_TRUE(asked);
    DeleteObject(parent_.brush);
}

} // namespace
