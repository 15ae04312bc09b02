// Image lists: the count as icons are added, replaced and removed, the size they were made
// with, and handles that are no image list.
#include "sim/machine.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

class ImageLists : public ::testing::Test {
protected:
    void SetUp() override {
        icon_ = LoadIconW(nullptr, IDI_APPLICATION);
        ASSERT_NE(icon_, nullptr);
        list_ = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 4);
        ASSERT_NE(list_, nullptr);
    }
    void TearDown() override { ImageList_Destroy(list_); }

    moltr::sim::TestMachine machine_;
    HICON icon_ = nullptr;
    HIMAGELIST list_ = nullptr;
};

TEST_F(ImageLists, AddingIconsCountsThemAndGivesTheirIndex) {
    EXPECT_EQ(ImageList_GetImageCount(list_), 0);
    EXPECT_EQ(ImageList_AddIcon(list_, icon_), 0);
    EXPECT_EQ(ImageList_AddIcon(list_, icon_), 1);
    EXPECT_EQ(ImageList_GetImageCount(list_), 2);
}

TEST_F(ImageLists, ReplacingKeepsTheCount) {
    ImageList_AddIcon(list_, icon_);
    EXPECT_EQ(ImageList_ReplaceIcon(list_, 0, icon_), 0);
    EXPECT_EQ(ImageList_GetImageCount(list_), 1);
    EXPECT_EQ(ImageList_ReplaceIcon(list_, 1, icon_), -1); // no image 1 to replace
    EXPECT_EQ(ImageList_ReplaceIcon(list_, -1, nullptr), -1);
    EXPECT_EQ(ImageList_GetImageCount(list_), 1);
}

TEST_F(ImageLists, RemovingOneOrAll) {
    for (int i = 0; i < 3; ++i) {
        ImageList_AddIcon(list_, icon_);
    }
    EXPECT_TRUE(ImageList_Remove(list_, 1));
    EXPECT_EQ(ImageList_GetImageCount(list_), 2);
    EXPECT_FALSE(ImageList_Remove(list_, 2));
    EXPECT_TRUE(ImageList_Remove(list_, -1));
    EXPECT_EQ(ImageList_GetImageCount(list_), 0);
}

TEST_F(ImageLists, TheSizeIsTheOneAskedFor) {
    int cx = 0;
    int cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(list_, &cx, &cy));
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
    EXPECT_FALSE(ImageList_GetIconSize(list_, nullptr, &cy));
}

TEST_F(ImageLists, TheListsCopiesLeaveTheCallersIconAlone) {
    HICON own = CopyIcon(icon_);
    ImageList_AddIcon(list_, own);
    EXPECT_TRUE(DestroyIcon(own));
    EXPECT_EQ(ImageList_GetImageCount(list_), 1);
}

TEST(ImageListHandles, BadListsAndSizesFail) {
    moltr::sim::TestMachine machine;
    EXPECT_EQ(ImageList_Create(0, 16, ILC_COLOR32, 0, 4), nullptr);
    EXPECT_EQ(ImageList_Create(16, 16, ILC_COLOR32, -1, 4), nullptr);
    auto bogus = reinterpret_cast<HIMAGELIST>(0x1234);
    EXPECT_EQ(ImageList_GetImageCount(bogus), 0);
    EXPECT_FALSE(ImageList_Destroy(bogus));
    EXPECT_EQ(ImageList_AddIcon(bogus, LoadIconW(nullptr, IDI_APPLICATION)), -1);
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32, 0, 4);
    EXPECT_TRUE(ImageList_Destroy(list));
    EXPECT_FALSE(ImageList_Destroy(list)); // gone
}

} // namespace
