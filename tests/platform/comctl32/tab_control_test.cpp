// The tab control: items inserted, read back and deleted, the selection moved by the user only
// when the parent does not refuse TCN_SELCHANGING, and TCN_SELCHANGE after it moved.
#include "platform/comctl32/notified_parent.h"

#include "sim/utf.h"

namespace {

using moltr::test::NotifiedParent;

class TabControl : public ::testing::Test {
protected:
    void SetUp() override {
        tab_ = parent_.Control(WC_TABCONTROLW, 0, 5, 300, 200);
        ASSERT_NE(tab_, nullptr);
    }
    int Insert(int index, const WCHAR* text, int image = -1) {
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
        item.pszText = const_cast<WCHAR*>(text);
        item.iImage = image;
        item.lParam = 1000 + index;
        return static_cast<int>(SendMessageW(tab_, TCM_INSERTITEMW, static_cast<WPARAM>(index),
                                             reinterpret_cast<LPARAM>(&item)));
    }
    int Selected() const { return static_cast<int>(SendMessageW(tab_, TCM_GETCURSEL, 0, 0)); }
    void Click(int index) {
        RECT item{};
        ASSERT_TRUE(SendMessageW(tab_, TCM_GETITEMRECT, static_cast<WPARAM>(index),
                                 reinterpret_cast<LPARAM>(&item)));
        SendMessageW(tab_, WM_LBUTTONDOWN, 0,
                     MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2));
    }

    NotifiedParent parent_;
    HWND tab_ = nullptr;
};

TEST_F(TabControl, ItemsAreInsertedAndReadBack) {
    EXPECT_EQ(Selected(), -1);
    EXPECT_EQ(Insert(0, L"General"), 0);
    EXPECT_EQ(Insert(5, L"Layout"), 1); // past the end: appended
    EXPECT_EQ(SendMessageW(tab_, TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(Selected(), 0); // the first tab is selected
    WCHAR text[4];
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = text;
    item.cchTextMax = 4;
    ASSERT_TRUE(SendMessageW(tab_, TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(moltr::sim::Utf8(text), "Lay"); // cut to the buffer, terminated
    EXPECT_EQ(item.lParam, 1005);
    EXPECT_FALSE(SendMessageW(tab_, TCM_GETITEMW, 2, reinterpret_cast<LPARAM>(&item)));
    EXPECT_TRUE(SendMessageW(tab_, TCM_DELETEITEM, 0, 0));
    EXPECT_EQ(SendMessageW(tab_, TCM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(Selected(), -1); // the selected tab went
}

TEST_F(TabControl, SetCurSelReturnsThePreviousSelectionWithoutNotifying) {
    Insert(0, L"A");
    Insert(1, L"B");
    EXPECT_EQ(SendMessageW(tab_, TCM_SETCURSEL, 1, 0), 0);
    EXPECT_EQ(SendMessageW(tab_, TCM_SETCURSEL, 7, 0), -1);
    EXPECT_EQ(Selected(), 1);
    EXPECT_TRUE(parent_.received.empty());
}

TEST_F(TabControl, TheSelectionFollowsItsTab) {
    Insert(0, L"A");
    Insert(1, L"B");
    Insert(2, L"C");
    SendMessageW(tab_, TCM_SETCURSEL, 2, 0);
    SendMessageW(tab_, TCM_DELETEITEM, 0, 0);
    EXPECT_EQ(Selected(), 1);
    Insert(0, L"Z");
    EXPECT_EQ(Selected(), 2);
}

TEST_F(TabControl, AClickAsksTheParentThenMovesAndTells) {
    Insert(0, L"A");
    Insert(1, L"B");
    Click(1);
    EXPECT_EQ(Selected(), 1);
    ASSERT_EQ(parent_.received.size(), 2u);
    EXPECT_EQ(parent_.received[0].code, static_cast<UINT>(TCN_SELCHANGING));
    EXPECT_EQ(parent_.received[1].code, static_cast<UINT>(TCN_SELCHANGE));
    EXPECT_EQ(parent_.received[1].from, tab_);
}

TEST_F(TabControl, ARefusedChangeKeepsTheSelection) {
    Insert(0, L"A");
    Insert(1, L"B");
    parent_.answer = TRUE;
    Click(1);
    EXPECT_EQ(Selected(), 0);
    ASSERT_EQ(parent_.received.size(), 1u);
    EXPECT_EQ(parent_.received[0].code, static_cast<UINT>(TCN_SELCHANGING));
}

TEST_F(TabControl, AdjustRectGoesBothWays) {
    Insert(0, L"A");
    RECT display{0, 0, 300, 200};
    SendMessageW(tab_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    EXPECT_GT(display.top, 0);
    EXPECT_LT(display.right, 300);
    SendMessageW(tab_, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&display));
    EXPECT_EQ(display.left, 0);
    EXPECT_EQ(display.top, 0);
    EXPECT_EQ(display.right, 300);
    EXPECT_EQ(display.bottom, 200);
}

} // namespace
