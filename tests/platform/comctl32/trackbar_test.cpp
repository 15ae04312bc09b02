// The trackbar: its position kept inside the range, ticks by frequency, and the user's moves
// reported to the parent as WM_HSCROLL requests followed by TB_ENDTRACK.
#include "platform/comctl32/notified_parent.h"

namespace {

using moltr::test::NotifiedParent;

class Trackbar : public ::testing::Test {
protected:
    void SetUp() override {
        bar_ = parent_.Control(TRACKBAR_CLASSW, TBS_AUTOTICKS, 6);
        ASSERT_NE(bar_, nullptr);
    }
    LRESULT Pos() const { return SendMessageW(bar_, TBM_GETPOS, 0, 0); }

    NotifiedParent parent_;
    HWND bar_ = nullptr;
};

TEST_F(Trackbar, TheDefaultRangeIsZeroToHundred) {
    EXPECT_EQ(SendMessageW(bar_, TBM_GETRANGEMIN, 0, 0), 0);
    EXPECT_EQ(SendMessageW(bar_, TBM_GETRANGEMAX, 0, 0), 100);
    EXPECT_EQ(Pos(), 0);
}

TEST_F(Trackbar, PositionsAreClampedToTheRange) {
    SendMessageW(bar_, TBM_SETRANGE, TRUE, MAKELONG(10, 50));
    SendMessageW(bar_, TBM_SETPOS, TRUE, 70);
    EXPECT_EQ(Pos(), 50);
    SendMessageW(bar_, TBM_SETPOS, TRUE, 3);
    EXPECT_EQ(Pos(), 10);
    SendMessageW(bar_, TBM_SETPOS, TRUE, 30);
    SendMessageW(bar_, TBM_SETRANGEMAX, TRUE, 20); // the position follows a narrowed range
    EXPECT_EQ(Pos(), 20);
}

TEST_F(Trackbar, TicksFollowTheFrequency) {
    SendMessageW(bar_, TBM_SETRANGE, TRUE, MAKELONG(0, 10));
    SendMessageW(bar_, TBM_SETTICFREQ, 5, 0);
    // 0 and 10 at the ends, 5 between them.
    EXPECT_EQ(SendMessageW(bar_, TBM_GETNUMTICS, 0, 0), 3);
    SendMessageW(bar_, TBM_SETTICFREQ, 1, 0);
    EXPECT_EQ(SendMessageW(bar_, TBM_GETNUMTICS, 0, 0), 11);
}

TEST_F(Trackbar, KeysMoveByLineAndPageAndReportToTheParent) {
    SendMessageW(bar_, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(Pos(), 1);
    SendMessageW(bar_, WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(Pos(), 21); // a page is a fifth of the range
    SendMessageW(bar_, WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(Pos(), 100);
    SendMessageW(bar_, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(Pos(), 100);
    ASSERT_EQ(parent_.received.size(), 8u);
    EXPECT_EQ(parent_.received[0].message, static_cast<UINT>(WM_HSCROLL));
    EXPECT_EQ(parent_.received[0].code, static_cast<UINT>(TB_LINEDOWN));
    EXPECT_EQ(parent_.received[0].from, bar_);
    EXPECT_EQ(parent_.received[1].code, static_cast<UINT>(TB_ENDTRACK));
    EXPECT_EQ(parent_.received[2].code, static_cast<UINT>(TB_PAGEDOWN));
    EXPECT_EQ(parent_.received[4].code, static_cast<UINT>(TB_BOTTOM));
}

TEST_F(Trackbar, AClickDragsTheThumbThere) {
    RECT client{};
    GetClientRect(bar_, &client);
    SendMessageW(bar_, WM_LBUTTONDOWN, 0, MAKELPARAM(client.right - 1, 5));
    EXPECT_EQ(Pos(), 100);
    ASSERT_EQ(parent_.received.size(), 3u);
    EXPECT_EQ(parent_.received[1].code, static_cast<UINT>(TB_THUMBPOSITION));
    EXPECT_EQ(parent_.received[1].pos, 100);
}

TEST_F(Trackbar, AVerticalTrackbarReportsWithVScroll) {
    HWND vertical = parent_.Control(TRACKBAR_CLASSW, TBS_VERT, 7, 30, 200);
    SendMessageW(vertical, WM_KEYDOWN, VK_DOWN, 0);
    ASSERT_FALSE(parent_.received.empty());
    EXPECT_EQ(parent_.received[0].message, static_cast<UINT>(WM_VSCROLL));
}

} // namespace
