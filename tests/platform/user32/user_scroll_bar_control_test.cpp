// Scroll bars: the values SetScrollInfo and its kin keep and clamp, on a scroll bar control and
// on a window's own bars; the requests a control's arrows, track, thumb and keys send its
// parent; and where a picture shows the thumb.
#include "platform/user32/control_parent.h"

namespace {

using moltr::test::ControlParent;
using moltr::test::Sent;

// A horizontal bar 200 pixels long and 17 thick: arrows of 17, a track of 166.
constexpr RECT kBar = {10, 10, 210, 27};

class ScrollBarControl : public ::testing::Test {
protected:
    HWND Make(DWORD style = SBS_HORZ, RECT at = kBar, int id = 3) {
        return parent_.Control(L"ScrollBar", L"", style, id, at);
    }
    static SCROLLINFO Info(UINT mask, int min = 0, int max = 0, UINT page = 0, int pos = 0) {
        return SCROLLINFO{sizeof(SCROLLINFO), mask, min, max, page, pos, 0};
    }
    static SCROLLINFO Read(HWND window, int bar) {
        SCROLLINFO info = Info(SIF_ALL);
        EXPECT_TRUE(GetScrollInfo(window, bar, &info));
        return info;
    }
    // The requests the parent got, in order.
    std::vector<WORD> Requests(UINT message = WM_HSCROLL) const {
        std::vector<WORD> requests;
        for (const Sent& sent : parent_.received) {
            if (sent.message == message) {
                requests.push_back(sent.code);
            }
        }
        return requests;
    }
    static void Mouse(HWND bar, UINT message, int x, int y = 8) {
        SendMessageW(bar, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
    }

    ControlParent parent_;
};

TEST_F(ScrollBarControl, SetScrollInfoKeepsThePositionInsideRangeAndPage) {
    HWND bar = Make();
    EXPECT_EQ(Read(bar, SB_CTL).nMax, 0); // a control starts with an empty range
    SCROLLINFO info = Info(SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 95);
    EXPECT_EQ(SetScrollInfo(bar, SB_CTL, &info, TRUE), 91);
    const SCROLLINFO read = Read(bar, SB_CTL);
    EXPECT_EQ(read.nMin, 0);
    EXPECT_EQ(read.nMax, 100);
    EXPECT_EQ(read.nPage, 10u);
    EXPECT_EQ(read.nPos, 91);
    EXPECT_EQ(read.nTrackPos, 91);
    // A page larger than the range is the range; a position below it is its minimum.
    info = Info(SIF_RANGE | SIF_PAGE | SIF_POS, 5, 14, 500, -3);
    EXPECT_EQ(SetScrollInfo(bar, SB_CTL, &info, FALSE), 5);
    EXPECT_EQ(Read(bar, SB_CTL).nPage, 10u);
    // Only what the mask names changes.
    info = Info(SIF_POS, 0, 1000, 0, 7);
    SetScrollInfo(bar, SB_CTL, &info, FALSE);
    EXPECT_EQ(Read(bar, SB_CTL).nMax, 14);
    EXPECT_EQ(Read(bar, SB_CTL).nPos, 5);
}

TEST_F(ScrollBarControl, PositionAndRangeCallsAnswerWhatWasBefore) {
    HWND bar = Make();
    EXPECT_TRUE(SetScrollRange(bar, SB_CTL, 10, 50, FALSE));
    int min = -1;
    int max = -1;
    EXPECT_TRUE(GetScrollRange(bar, SB_CTL, &min, &max));
    EXPECT_EQ(min, 10);
    EXPECT_EQ(max, 50);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 10); // moved into the range
    EXPECT_EQ(SetScrollPos(bar, SB_CTL, 30, TRUE), 10);
    EXPECT_EQ(SetScrollPos(bar, SB_CTL, 99, TRUE), 30);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 50);
    EXPECT_EQ(SendMessageW(bar, SBM_SETRANGE, 0, 20), 50); // it moved the position
    EXPECT_EQ(SendMessageW(bar, SBM_SETRANGE, 0, 30), 0);  // it did not
    EXPECT_EQ(SendMessageW(bar, SBM_GETPOS, 0, 0), 20);
}

TEST_F(ScrollBarControl, BadArgumentsAreRefused) {
    HWND bar = Make();
    SCROLLINFO info = Info(SIF_ALL);
    info.cbSize = 3;
    EXPECT_EQ(SetScrollInfo(bar, SB_CTL, &info, FALSE), 0);
    EXPECT_FALSE(GetScrollInfo(bar, SB_CTL, &info));
    EXPECT_FALSE(GetScrollInfo(bar, SB_CTL, nullptr));
    info = Info(0);
    EXPECT_FALSE(GetScrollInfo(bar, SB_CTL, &info)); // it asks for nothing
    // The size before nTrackPos was added is still taken.
    info = Info(SIF_ALL);
    info.cbSize = offsetof(SCROLLINFO, nTrackPos);
    info.nTrackPos = 77;
    EXPECT_TRUE(GetScrollInfo(bar, SB_CTL, &info));
    EXPECT_EQ(info.nTrackPos, 77);

    SetLastError(0);
    EXPECT_FALSE(SetScrollRange(bar, SB_CTL, -2, INT_MAX, FALSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_SCROLLBAR_RANGE));
    HWND gone = Make(SBS_HORZ, kBar, 4);
    DestroyWindow(gone);
    SetLastError(0);
    EXPECT_EQ(SetScrollPos(gone, SB_HORZ, 1, FALSE), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    SetLastError(0);
    EXPECT_EQ(GetScrollPos(parent_.window(), SB_BOTH), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(ScrollBarControl, AWindowsOwnBarsKeepTheirValues) {
    HWND styled = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VSCROLL, 0, 0, 50, 50,
                                  parent_.window(), nullptr, nullptr, nullptr);
    int min = -1;
    int max = -1;
    EXPECT_TRUE(GetScrollRange(styled, SB_VERT, &min, &max));
    EXPECT_EQ(min, 0);
    EXPECT_EQ(max, 100);
    EXPECT_EQ(SetScrollPos(styled, SB_VERT, 40, TRUE), 0);
    EXPECT_EQ(GetScrollPos(styled, SB_VERT), 40);
    // The other bar, which the window was made without, has nothing to tell.
    SCROLLINFO info = Info(SIF_ALL);
    SetLastError(0);
    EXPECT_FALSE(GetScrollInfo(styled, SB_HORZ, &info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_SCROLLBARS));
    EXPECT_TRUE(GetScrollRange(styled, SB_HORZ, &min, &max));
    EXPECT_EQ(max, 0);
    // Until values are set on it.
    info = Info(SIF_RANGE | SIF_PAGE | SIF_POS, 0, 20, 5, 30);
    EXPECT_EQ(SetScrollInfo(styled, SB_HORZ, &info, TRUE), 16);
    EXPECT_EQ(Read(styled, SB_HORZ).nPage, 5u);
    EXPECT_EQ(GetScrollPos(styled, SB_VERT), 40);
    DestroyWindow(styled);
}

TEST_F(ScrollBarControl, ArrowsAndTrackAskTheParentToScroll) {
    HWND bar = Make();
    SetScrollRange(bar, SB_CTL, 0, 100, FALSE);
    Mouse(bar, WM_LBUTTONDOWN, 5);
    Mouse(bar, WM_LBUTTONUP, 5);
    Mouse(bar, WM_LBUTTONDOWN, 195);
    Mouse(bar, WM_LBUTTONUP, 195);
    Mouse(bar, WM_LBUTTONDOWN, 120); // right of the thumb
    Mouse(bar, WM_LBUTTONUP, 120);
    EXPECT_EQ(Requests(), (std::vector<WORD>{SB_LINELEFT, SB_ENDSCROLL, SB_LINERIGHT, SB_ENDSCROLL,
                                             SB_PAGERIGHT, SB_ENDSCROLL}));
    EXPECT_EQ(parent_.received.front().from, bar);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 0); // moving is the parent's business
    SetScrollPos(bar, SB_CTL, 100, FALSE);
    parent_.received.clear();
    Mouse(bar, WM_LBUTTONDOWN, 60); // now left of the thumb
    EXPECT_EQ(Requests(), std::vector<WORD>{SB_PAGELEFT});
    Mouse(bar, WM_LBUTTONUP, 60);

    EnableWindow(bar, FALSE);
    parent_.received.clear();
    Mouse(bar, WM_LBUTTONDOWN, 5);
    Mouse(bar, WM_LBUTTONUP, 5);
    EXPECT_TRUE(Requests().empty());
}

TEST_F(ScrollBarControl, DraggingTheThumbTracksThenSetsItsPosition) {
    HWND bar = Make();
    SetScrollRange(bar, SB_CTL, 0, 100, FALSE);
    // At 0 the thumb (17 long) starts at 17; half of the room left (149) is 50.
    Mouse(bar, WM_LBUTTONDOWN, 20);
    Mouse(bar, WM_MOUSEMOVE, 20 + 75);
    SCROLLINFO info = Info(SIF_TRACKPOS | SIF_POS);
    GetScrollInfo(bar, SB_CTL, &info);
    EXPECT_EQ(info.nTrackPos, 50);
    EXPECT_EQ(info.nPos, 0);
    Mouse(bar, WM_MOUSEMOVE, 500); // past the end: the highest position
    Mouse(bar, WM_LBUTTONUP, 500);
    EXPECT_EQ(Requests(),
              (std::vector<WORD>{SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL}));
    EXPECT_EQ(parent_.received[0].pos, 50);
    EXPECT_EQ(parent_.received[1].pos, 100);
    EXPECT_EQ(parent_.received[2].pos, 100);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 0);
}

TEST_F(ScrollBarControl, KeysAskAVerticalBarsParentWithWmVscroll) {
    HWND bar = Make(SBS_VERT, {10, 10, 27, 210});
    EXPECT_EQ(SendMessageW(bar, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
    for (WORD key : {VK_DOWN, VK_PRIOR, VK_END}) {
        SendMessageW(bar, WM_KEYDOWN, key, 1);
        SendMessageW(bar, WM_KEYUP, key, 0xC0000001);
    }
    SendMessageW(bar, WM_KEYDOWN, 'A', 1);
    SendMessageW(bar, WM_KEYUP, 'A', 0xC0000001);
    EXPECT_EQ(Requests(WM_VSCROLL), (std::vector<WORD>{SB_LINEDOWN, SB_ENDSCROLL, SB_PAGEUP,
                                                       SB_ENDSCROLL, SB_BOTTOM, SB_ENDSCROLL}));
    EXPECT_TRUE(Requests(WM_HSCROLL).empty());
}

TEST_F(ScrollBarControl, APictureShowsTheThumbWhereThePositionIs) {
    HWND bar = Make();
    SCROLLINFO info = Info(SIF_RANGE | SIF_PAGE, 0, 99, 50);
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
    constexpr COLORREF kThumb = RGB(205, 205, 205);
    auto picture = parent_.Snapshot();
    // Half the range in view: a thumb half the track long (83), at its start.
    EXPECT_EQ(picture.At(10 + 17 + 40, 18), kThumb);
    EXPECT_NE(picture.At(10 + 17 + 120, 18), kThumb);
    // The arrow's glyph.
    EXPECT_GT(picture.Count(10, 10, 27, 27, [](int r, int g, int b) { return r + g + b < 400; }),
              5u);
    SetScrollPos(bar, SB_CTL, 50, TRUE);
    picture = parent_.Snapshot();
    EXPECT_NE(picture.At(10 + 17 + 40, 18), kThumb);
    EXPECT_EQ(picture.At(10 + 17 + 120, 18), kThumb);
    // An empty range has no thumb.
    SetScrollRange(bar, SB_CTL, 0, 0, TRUE);
    EXPECT_EQ(parent_.Snapshot().PixelsOf(kThumb), 0u);
}

} // namespace
