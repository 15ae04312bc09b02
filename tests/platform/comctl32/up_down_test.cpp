// The up-down control: UDN_DELTAPOS before every move, a non-zero answer refusing it, the range
// clamping or wrapping, and the buddy's text with UDS_SETBUDDYINT written and read back.
#include "platform/comctl32/notified_parent.h"

#include "sim/utf.h"

namespace {

using moltr::test::NotifiedParent;

class UpDown : public ::testing::Test {
protected:
    HWND Make(DWORD style) {
        buddy_ = parent_.Control(L"Edit", 0, 8, 60, 20);
        HWND upDown = parent_.Control(UPDOWN_CLASSW, style, 9, 16, 20);
        SendMessageW(upDown, UDM_SETRANGE32, 0, 10);
        return upDown;
    }
    static void Up(HWND upDown) { SendMessageW(upDown, WM_LBUTTONDOWN, 0, MAKELPARAM(8, 2)); }
    static void Down(HWND upDown) { SendMessageW(upDown, WM_LBUTTONDOWN, 0, MAKELPARAM(8, 18)); }
    static LRESULT Pos(HWND upDown) { return SendMessageW(upDown, UDM_GETPOS32, 0, 0); }
    std::string BuddyText() const {
        WCHAR text[32];
        GetWindowTextW(buddy_, text, 32);
        return moltr::sim::Utf8(text);
    }

    NotifiedParent parent_;
    HWND buddy_ = nullptr;
};

TEST_F(UpDown, TheDefaultRangeRunsFromHundredDownToZero) {
    HWND upDown = parent_.Control(UPDOWN_CLASSW, 0, 9, 16, 20);
    int low = 0;
    int high = 0;
    SendMessageW(upDown, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                 reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(low, 100);
    EXPECT_EQ(high, 0);
    // The up arrow moves towards the maximum: down from 0 stays at 0.
    Up(upDown);
    ASSERT_EQ(parent_.received.size(), 2u);
    EXPECT_EQ(parent_.received[0].upDown.iDelta, -1);
    EXPECT_EQ(Pos(upDown), 0);
}

TEST_F(UpDown, DeltaPosComesBeforeTheMoveThenTheScrollMessage) {
    HWND upDown = Make(0);
    SendMessageW(upDown, UDM_SETPOS32, 0, 4);
    Up(upDown);
    EXPECT_EQ(Pos(upDown), 5);
    ASSERT_EQ(parent_.received.size(), 2u);
    EXPECT_EQ(parent_.received[0].code, static_cast<UINT>(UDN_DELTAPOS));
    EXPECT_EQ(parent_.received[0].upDown.iPos, 4);
    EXPECT_EQ(parent_.received[0].upDown.iDelta, 1);
    EXPECT_EQ(parent_.received[1].message, static_cast<UINT>(WM_VSCROLL));
    EXPECT_EQ(parent_.received[1].code, static_cast<UINT>(SB_THUMBPOSITION));
    EXPECT_EQ(parent_.received[1].pos, 5);
}

TEST_F(UpDown, ANonZeroAnswerRefusesTheMove) {
    HWND upDown = Make(0);
    SendMessageW(upDown, UDM_SETPOS32, 0, 4);
    parent_.answer = 1;
    Down(upDown);
    EXPECT_EQ(Pos(upDown), 4);
    ASSERT_EQ(parent_.received.size(), 1u); // no scroll message
}

TEST_F(UpDown, TheEndsClampOrWrap) {
    HWND clamped = Make(0);
    SendMessageW(clamped, UDM_SETPOS32, 0, 10);
    Up(clamped);
    EXPECT_EQ(Pos(clamped), 10);
    HWND wrapped = Make(UDS_WRAP);
    SendMessageW(wrapped, UDM_SETPOS32, 0, 10);
    Up(wrapped);
    EXPECT_EQ(Pos(wrapped), 0);
    EXPECT_EQ(SendMessageW(wrapped, UDM_SETPOS32, 0, 99), 0); // the previous position
    EXPECT_EQ(Pos(wrapped), 10);                              // clamped
}

TEST_F(UpDown, TheBuddyShowsThePosition) {
    HWND upDown = Make(UDS_SETBUDDYINT);
    EXPECT_EQ(SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy_), 0), 0);
    EXPECT_EQ(BuddyText(), "0");
    Up(upDown);
    EXPECT_EQ(BuddyText(), "1");
    SendMessageW(upDown, UDM_SETRANGE32, 0, 5000);
    SendMessageW(upDown, UDM_SETPOS32, 0, 1234);
    EXPECT_EQ(BuddyText(), "1,234");
}

TEST_F(UpDown, NoThousandsLeavesTheDigitsAlone) {
    HWND upDown = Make(UDS_SETBUDDYINT | UDS_NOTHOUSANDS | UDS_AUTOBUDDY);
    SendMessageW(upDown, UDM_SETRANGE32, 0, 5000);
    SendMessageW(upDown, UDM_SETPOS32, 0, 1234);
    // UDS_AUTOBUDDY took the edit made just before it.
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(upDown, UDM_GETBUDDY, 0, 0)), buddy_);
    EXPECT_EQ(BuddyText(), "1234");
}

TEST_F(UpDown, GetPosReadsTheBuddysText) {
    HWND upDown = Make(UDS_SETBUDDYINT);
    SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy_), 0);
    SetWindowTextW(buddy_, L"7");
    BOOL error = TRUE;
    EXPECT_EQ(SendMessageW(upDown, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), 7);
    EXPECT_FALSE(error);
    SetWindowTextW(buddy_, L"seven");
    EXPECT_EQ(SendMessageW(upDown, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), 7);
    EXPECT_TRUE(error);
    SetWindowTextW(buddy_, L"70"); // outside the range
    SendMessageW(upDown, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error));
    EXPECT_TRUE(error);
}

} // namespace
