// The tree view: items inserted in place and read back, expansion with TVN_ITEMEXPANDING and
// TVN_ITEMEXPANDED (TVM_EXPAND notifying only until the item has been expanded once), selection
// with TVN_SELCHANGING (which may refuse) and TVN_SELCHANGED, and the user's clicks and keys.
#include "platform/comctl32/notified_parent.h"

#include "sim/utf.h"

#include <string>

namespace {

using moltr::test::NotifiedParent;

class TreeView : public ::testing::Test {
protected:
    void SetUp() override {
        tree_ = parent_.Control(WC_TREEVIEWW, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 4,
                                200, 200);
        ASSERT_NE(tree_, nullptr);
        paper_ = Insert(TVI_ROOT, TVI_LAST, L"Paper", 1);
        size_ = Insert(paper_, TVI_LAST, L"Size", 2);
        source_ = Insert(paper_, TVI_LAST, L"Source", 3);
        colour_ = Insert(TVI_ROOT, TVI_LAST, L"Colour", 4);
        parent_.received.clear();
    }
    HTREEITEM Insert(HTREEITEM parent, HTREEITEM after, const WCHAR* text, LPARAM data) {
        TVINSERTSTRUCTW insert{};
        insert.hParent = parent;
        insert.hInsertAfter = after;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = const_cast<WCHAR*>(text);
        insert.item.lParam = data;
        return reinterpret_cast<HTREEITEM>(
            SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    HTREEITEM Next(UINT relation, HTREEITEM item) const {
        return reinterpret_cast<HTREEITEM>(
            SendMessageW(tree_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
    }
    std::string Text(HTREEITEM item) const {
        WCHAR text[32] = {};
        TVITEMW got{};
        got.mask = TVIF_TEXT;
        got.hItem = item;
        got.pszText = text;
        got.cchTextMax = 32;
        SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&got));
        return moltr::sim::Utf8(text);
    }
    UINT State(HTREEITEM item) const {
        TVITEMW got{};
        got.mask = TVIF_STATE;
        got.hItem = item;
        got.stateMask = ~0U;
        SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&got));
        return got.state;
    }
    std::vector<UINT> Codes() const {
        std::vector<UINT> codes;
        for (const auto& got : parent_.received) {
            codes.push_back(got.code);
        }
        return codes;
    }
    BOOL Expand(UINT action, HTREEITEM item) {
        return static_cast<BOOL>(
            SendMessageW(tree_, TVM_EXPAND, action, reinterpret_cast<LPARAM>(item)));
    }
    BOOL Select(HTREEITEM item) {
        return static_cast<BOOL>(
            SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)));
    }

    NotifiedParent parent_;
    HWND tree_ = nullptr;
    HTREEITEM paper_ = nullptr;
    HTREEITEM size_ = nullptr;
    HTREEITEM source_ = nullptr;
    HTREEITEM colour_ = nullptr;
};

TEST_F(TreeView, ItemsStandWhereTheyWereInserted) {
    EXPECT_EQ(SendMessageW(tree_, TVM_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(Next(TVGN_ROOT, nullptr), paper_);
    EXPECT_EQ(Next(TVGN_NEXT, paper_), colour_);
    EXPECT_EQ(Next(TVGN_CHILD, paper_), size_);
    EXPECT_EQ(Next(TVGN_PARENT, source_), paper_);
    HTREEITEM first = Insert(paper_, TVI_FIRST, L"Type", 5);
    EXPECT_EQ(Next(TVGN_CHILD, paper_), first);
    HTREEITEM sorted = Insert(TVI_ROOT, TVI_SORT, L"Finishing", 6);
    // Before the first sibling that sorts after it: "Paper" (the roots are Paper, Colour).
    EXPECT_EQ(Next(TVGN_ROOT, nullptr), sorted);
    EXPECT_EQ(Next(TVGN_NEXT, sorted), paper_);
    EXPECT_EQ(Text(source_), "Source");
}

TEST_F(TreeView, TheFirstExpandNotifiesAndLaterOnesDoNot) {
    EXPECT_TRUE(Expand(TVE_EXPAND, paper_));
    EXPECT_EQ(Codes(), (std::vector<UINT>{TVN_ITEMEXPANDINGW, TVN_ITEMEXPANDEDW}));
    EXPECT_EQ(parent_.received[1].code, static_cast<UINT>(TVN_ITEMEXPANDEDW));
    EXPECT_TRUE(State(paper_) & TVIS_EXPANDED);
    EXPECT_TRUE(State(paper_) & TVIS_EXPANDEDONCE);
    parent_.received.clear();
    EXPECT_TRUE(Expand(TVE_COLLAPSE, paper_));
    EXPECT_TRUE(Expand(TVE_TOGGLE, paper_));
    EXPECT_TRUE(parent_.received.empty());
    EXPECT_FALSE(Expand(TVE_EXPAND, colour_)); // no children to show
}

TEST_F(TreeView, ARefusedExpandLeavesTheItemClosed) {
    parent_.answer = TRUE;
    EXPECT_FALSE(Expand(TVE_EXPAND, paper_));
    EXPECT_FALSE(State(paper_) & TVIS_EXPANDED);
    EXPECT_EQ(Codes(), (std::vector<UINT>{TVN_ITEMEXPANDINGW}));
}

TEST_F(TreeView, SelectingAsksThenTells) {
    EXPECT_TRUE(Select(source_));
    EXPECT_EQ(Codes(), (std::vector<UINT>{TVN_SELCHANGINGW, TVN_SELCHANGEDW}));
    EXPECT_EQ(Next(TVGN_CARET, nullptr), source_);
    EXPECT_TRUE(State(source_) & TVIS_SELECTED);
    EXPECT_TRUE(State(paper_) & TVIS_EXPANDED); // its parent opened to show it
    parent_.answer = TRUE;
    EXPECT_FALSE(Select(colour_));
    EXPECT_EQ(Next(TVGN_CARET, nullptr), source_);
}

TEST_F(TreeView, ClicksSelectAndOpenThroughTheButton) {
    TVHITTESTINFO hit{};
    RECT row{};
    *reinterpret_cast<HTREEITEM*>(&row) = colour_;
    ASSERT_TRUE(SendMessageW(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&row)));
    SendMessageW(tree_, WM_LBUTTONDOWN, 0, MAKELPARAM(row.left + 2, (row.top + row.bottom) / 2));
    EXPECT_EQ(Next(TVGN_CARET, nullptr), colour_);
    // The button sits in the indent before the label.
    *reinterpret_cast<HTREEITEM*>(&row) = paper_;
    ASSERT_TRUE(SendMessageW(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&row)));
    hit.pt = {row.left - 10, (row.top + row.bottom) / 2};
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(
                  SendMessageW(tree_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit))),
              paper_);
    EXPECT_EQ(hit.flags, static_cast<UINT>(TVHT_ONITEMBUTTON));
    SendMessageW(tree_, WM_LBUTTONDOWN, 0, MAKELPARAM(hit.pt.x, hit.pt.y));
    EXPECT_TRUE(State(paper_) & TVIS_EXPANDED);
}

TEST_F(TreeView, KeysWalkTheVisibleRows) {
    Expand(TVE_EXPAND, paper_);
    Select(paper_);
    SendMessageW(tree_, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(Next(TVGN_CARET, nullptr), size_);
    SendMessageW(tree_, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(tree_, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(Next(TVGN_CARET, nullptr), colour_);
}

TEST_F(TreeView, DeletingTellsForEveryItemGone) {
    EXPECT_TRUE(SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(paper_)));
    EXPECT_EQ(Codes(), (std::vector<UINT>{TVN_DELETEITEMW, TVN_DELETEITEMW, TVN_DELETEITEMW}));
    EXPECT_EQ(SendMessageW(tree_, TVM_GETCOUNT, 0, 0), 1);
    EXPECT_FALSE(SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(paper_)));
    TVITEMW stale{};
    stale.hItem = size_;
    EXPECT_FALSE(SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&stale)));
}

} // namespace
