// Tooltips: tools added once each, a tracking balloon shown where TTM_TRACKPOSITION puts it and
// hidden again, its title, and its text read back.
#include "platform/comctl32/notified_parent.h"

#include "sim/utf.h"

namespace {

using moltr::test::NotifiedParent;

class Tooltips : public ::testing::Test {
protected:
    void SetUp() override {
        tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_BALLOON | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, parent_.window(), nullptr, nullptr,
                               nullptr);
        ASSERT_NE(tip_, nullptr);
        tool_.cbSize = sizeof tool_;
        tool_.uFlags = TTF_TRACK | TTF_ABSOLUTE;
        tool_.hwnd = parent_.window();
        tool_.uId = 7;
        tool_.lpszText = const_cast<WCHAR*>(L"Only whole numbers");
    }
    void TearDown() override { DestroyWindow(tip_); }

    NotifiedParent parent_;
    HWND tip_ = nullptr;
    TTTOOLINFOW tool_{};
};

TEST_F(Tooltips, EachToolIsAddedOnce) {
    EXPECT_TRUE(SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool_)));
    EXPECT_FALSE(SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool_)));
    EXPECT_EQ(SendMessageW(tip_, TTM_GETTOOLCOUNT, 0, 0), 1);
    TTTOOLINFOW small = tool_;
    small.cbSize = 8;
    small.uId = 8;
    EXPECT_FALSE(SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&small)));
    SendMessageW(tip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool_));
    EXPECT_EQ(SendMessageW(tip_, TTM_GETTOOLCOUNT, 0, 0), 0);
}

TEST_F(Tooltips, ATrackingBalloonShowsWhereItIsPut) {
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool_));
    EXPECT_TRUE(
        SendMessageW(tip_, TTM_SETTITLEW, TTI_WARNING, reinterpret_cast<LPARAM>(L"Copies")));
    SendMessageW(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(120, 80));
    SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool_));
    EXPECT_TRUE(IsWindowVisible(tip_));
    RECT at{};
    GetWindowRect(tip_, &at);
    EXPECT_EQ(at.left, 120);
    EXPECT_EQ(at.top, 80);
    EXPECT_GT(at.right - at.left, 0);
    SendMessageW(tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool_));
    EXPECT_FALSE(IsWindowVisible(tip_));
}

TEST_F(Tooltips, TheTextIsReadBackAndUpdated) {
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool_));
    WCHAR text[8];
    TTTOOLINFOW asked = tool_;
    asked.lpszText = text;
    SendMessageW(tip_, TTM_GETTEXTW, 8, reinterpret_cast<LPARAM>(&asked));
    EXPECT_EQ(moltr::sim::Utf8(text), "Only wh"); // cut to the buffer, terminated
    TTTOOLINFOW updated = tool_;
    updated.lpszText = const_cast<WCHAR*>(L"1-999");
    SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&updated));
    SendMessageW(tip_, TTM_GETTEXTW, 8, reinterpret_cast<LPARAM>(&asked));
    EXPECT_EQ(moltr::sim::Utf8(text), "1-999");
}

} // namespace
