// The list view in report mode: columns and rows with their texts, state changes asked for with
// LVN_ITEMCHANGING and told with LVN_ITEMCHANGED, single selection, check boxes, and the user's
// clicks.
#include "platform/comctl32/notified_parent.h"

#include "sim/utf.h"

#include <string>

namespace {

using moltr::test::NotifiedParent;

class ListView : public ::testing::Test {
protected:
    void SetUp() override {
        list_ = parent_.Control(WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL, 3, 300, 200);
        ASSERT_NE(list_, nullptr);
        Column(0, L"Form", 120);
        Column(1, L"Tray", 100);
        Row(0, L"A4");
        Row(1, L"Letter");
        parent_.received.clear();
    }
    void Column(int index, const WCHAR* caption, int width) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<WCHAR*>(caption);
        column.cx = width;
        ASSERT_EQ(SendMessageW(list_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                               reinterpret_cast<LPARAM>(&column)),
                  index);
    }
    int Row(int index, const WCHAR* text) {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = index;
        item.pszText = const_cast<WCHAR*>(text);
        item.lParam = 50 + index;
        return static_cast<int>(
            SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    BOOL SetState(int index, UINT state, UINT mask) {
        LVITEMW item{};
        item.state = state;
        item.stateMask = mask;
        return static_cast<BOOL>(SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                                              reinterpret_cast<LPARAM>(&item)));
    }
    UINT State(int index, UINT mask) const {
        return static_cast<UINT>(
            SendMessageW(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(index), mask));
    }
    std::string Text(int index, int column) const {
        WCHAR text[32] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 32;
        SendMessageW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item));
        return moltr::sim::Utf8(text);
    }
    void ClickRow(int index, int x) {
        RECT row{};
        ASSERT_TRUE(SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(index),
                                 reinterpret_cast<LPARAM>(&row)));
        SendMessageW(list_, WM_LBUTTONDOWN, 0, MAKELPARAM(x, (row.top + row.bottom) / 2));
    }

    NotifiedParent parent_;
    HWND list_ = nullptr;
};

TEST_F(ListView, RowsKeepATextPerColumn) {
    LVITEMW tray{};
    tray.iSubItem = 1;
    tray.pszText = const_cast<WCHAR*>(L"Tray 2");
    EXPECT_TRUE(SendMessageW(list_, LVM_SETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&tray)));
    EXPECT_EQ(Text(1, 0), "Letter");
    EXPECT_EQ(Text(1, 1), "Tray 2");
    EXPECT_EQ(Text(0, 1), "");
    EXPECT_EQ(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(list_, LVM_GETCOLUMNWIDTH, 1, 0), 100);
    EXPECT_EQ(Row(0, L"A3"), 0); // inserted before the others
    EXPECT_EQ(Text(1, 0), "A4");
}

TEST_F(ListView, AStateChangeIsAskedForThenTold) {
    EXPECT_TRUE(SetState(1, LVIS_SELECTED, LVIS_SELECTED));
    ASSERT_EQ(parent_.received.size(), 2u);
    EXPECT_EQ(parent_.received[0].code, static_cast<UINT>(LVN_ITEMCHANGING));
    EXPECT_EQ(parent_.received[1].code, static_cast<UINT>(LVN_ITEMCHANGED));
    EXPECT_EQ(State(1, LVIS_SELECTED), static_cast<UINT>(LVIS_SELECTED));
    EXPECT_EQ(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 1);
    parent_.received.clear();
    EXPECT_TRUE(SetState(1, LVIS_SELECTED, LVIS_SELECTED)); // no change, no notification
    EXPECT_TRUE(parent_.received.empty());
}

TEST_F(ListView, ARefusedChangeKeepsTheState) {
    parent_.answer = TRUE;
    EXPECT_FALSE(SetState(0, LVIS_SELECTED, LVIS_SELECTED));
    EXPECT_EQ(State(0, LVIS_SELECTED), 0u);
}

TEST_F(ListView, SingleSelectionUnselectsTheOtherRow) {
    SetState(0, LVIS_SELECTED, LVIS_SELECTED);
    SetState(1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(State(0, LVIS_SELECTED), 0u);
    EXPECT_EQ(State(1, LVIS_SELECTED), static_cast<UINT>(LVIS_SELECTED));
}

TEST_F(ListView, AClickSelectsAndFocusesTheRow) {
    ClickRow(1, 30);
    EXPECT_EQ(State(1, LVIS_SELECTED | LVIS_FOCUSED),
              static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
}

TEST_F(ListView, CheckBoxesToggleOnTheBoxAndTheSpaceKey) {
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    Row(2, L"Legal");
    EXPECT_EQ(State(2, LVIS_STATEIMAGEMASK), static_cast<UINT>(INDEXTOSTATEIMAGEMASK(1)));
    ClickRow(2, 5);
    EXPECT_EQ(State(2, LVIS_STATEIMAGEMASK), static_cast<UINT>(INDEXTOSTATEIMAGEMASK(2)));
    SendMessageW(list_, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(State(2, LVIS_STATEIMAGEMASK), static_cast<UINT>(INDEXTOSTATEIMAGEMASK(1)));
}

TEST_F(ListView, DeletingTellsTheParent) {
    EXPECT_TRUE(SendMessageW(list_, LVM_DELETEITEM, 0, 0));
    EXPECT_FALSE(SendMessageW(list_, LVM_DELETEITEM, 5, 0));
    EXPECT_TRUE(SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0));
    ASSERT_EQ(parent_.received.size(), 3u);
    EXPECT_EQ(parent_.received[0].code, static_cast<UINT>(LVN_DELETEITEM));
    EXPECT_EQ(parent_.received[1].code, static_cast<UINT>(LVN_DELETEALLITEMS));
    EXPECT_EQ(parent_.received[2].code, static_cast<UINT>(LVN_DELETEITEM));
    EXPECT_EQ(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0), 0);
}

} // namespace
