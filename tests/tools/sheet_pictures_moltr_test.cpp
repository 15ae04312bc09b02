// `moltr print --png DIR`: a picture of each sheet as the printer receives it, with what the
// render plug-in stamped into its bands.
#include "moltr_run.h"
#include "png_picture.h"
#include "sim/machine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace moltr::test {
namespace {

// A4 (paper size 9) at 600 dpi: the sample printer's printable area.
constexpr unsigned kWidth = 4760;
constexpr unsigned kHeight = 6815;

class MoltrSheetPictures : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(0, Moltr("printer add Sample").status);
        ASSERT_EQ(0, Moltr("printer compile Sample").status);
        folder_ = machine_.root() + "/pictures";
    }
    std::optional<Picture> Sheet(const char* name) const { return ReadPng(folder_ + "/" + name); }

    sim::TestMachine machine_;
    std::string folder_;
};

// Red in the settings' RGB (red in the low byte), unshaded: each channel keeps its low four bits
// set, so the watermark's pixels are FF 0F 0F where the page left white.
TEST_F(MoltrSheetPictures, AWatermarkJobsSheetsShowTheWatermarksColour) {
    ASSERT_EQ(0, Moltr("print Sample --pages 2 --set dmPaperSize=9 --set _WMK_ENABLED=1 --set "
                       "_WMK_1STPAGEONLY=0 "
                       "--set _WMK_COLOR=0xFF --set _WMK_SHADE=0 --png " +
                       folder_)
                     .status);
    for (const char* name : {"sheet-001.png", "sheet-002.png"}) {
        std::optional<Picture> sheet = Sheet(name);
        ASSERT_TRUE(sheet) << name;
        EXPECT_EQ(sheet->width, kWidth);
        EXPECT_EQ(sheet->height, kHeight);
        auto watermark = [](int r, int g, int b) { return r == 0xFF && g == 0x0F && b == 0x0F; };
        EXPECT_GT(sheet->Count(0, 0, kWidth, kHeight, watermark), 10000u) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(folder_ + "/sheet-003.png"));
}

// A 400-point watermark runs far beyond the page; it is clipped to the page shrunk by 18 pixels
// on each side, so it reaches that clip's edges and leaves the outer strips of the sheet white.
TEST_F(MoltrSheetPictures, AWatermarkTooLargeForThePageStaysInsideIt) {
    ASSERT_EQ(0, Moltr("print Sample --set dmPaperSize=9 --set _WMK_ENABLED=1 --set _WMK_SIZE=400 "
                       "--set _WMK_COLOR=0xFF --set _WMK_SHADE=0 --png " +
                       folder_)
                     .status);
    std::optional<Picture> sheet = Sheet("sheet-001.png");
    ASSERT_TRUE(sheet);
    ASSERT_EQ(sheet->width, kWidth);
    ASSERT_EQ(sheet->height, kHeight);
    constexpr unsigned kClip = 18;
    auto watermark = [](int r, int g, int b) { return r == 0xFF && g == 0x0F && b == 0x0F; };
    EXPECT_GT(sheet->Count(kClip, kClip, kWidth - kClip, kHeight - kClip, watermark), 1000000u);
    EXPECT_EQ(sheet->Inked(0, 0, kWidth, kClip), 0u);
    EXPECT_EQ(sheet->Inked(0, kHeight - kClip, kWidth, kHeight), 0u);
    EXPECT_EQ(sheet->Inked(0, 0, kClip, kHeight), 0u);
    EXPECT_EQ(sheet->Inked(kWidth - kClip, 0, kWidth, kHeight), 0u);
    // The diagonal text is cut by the clip's top, left and right edges; its first letter's round
    // foot ends just short of the bottom one.
    EXPECT_GT(sheet->Count(kClip, kClip, kWidth - kClip, kClip + 1, watermark), 0u);
    EXPECT_GT(sheet->Count(kClip, kClip, kClip + 1, kHeight - kClip, watermark), 0u);
    EXPECT_GT(sheet->Count(kWidth - kClip - 1, kClip, kWidth - kClip, kHeight - kClip, watermark),
              0u);
}

// The plug-in's N-up settings choose the driver's own layout too: five pages on two sheets, the
// second with its first cell only, and as the page borders mark that cell, only it gets the
// watermark.
TEST_F(MoltrSheetPictures, AFourUpJobWithBordersImposesItsPagesAndWatermarksTheOccupiedCells) {
    ASSERT_EQ(0, Moltr("print Sample --pages 5 --set dmPaperSize=9 --set _NUP_PAGES=2 --set "
                       "_NUP_BORDER=1 --set _WMK_ENABLED=1 --set _WMK_1STPAGEONLY=0 --set "
                       "_WMK_COLOR=0xFF --set _WMK_SHADE=0 --png " +
                       folder_)
                     .status);
    std::optional<Picture> last = Sheet("sheet-002.png");
    ASSERT_TRUE(last);
    EXPECT_FALSE(std::filesystem::exists(folder_ + "/sheet-003.png"));
    auto watermark = [](int r, int g, int b) { return r == 0xFF && g == 0x0F && b == 0x0F; };
    const unsigned w = kWidth / 2, h = kHeight / 2;
    for (unsigned cell = 0; cell < 4; ++cell) {
        const unsigned left = cell % 2 * w, top = cell / 2 * h;
        EXPECT_EQ(last->Inked(left, top, left + w, top + h) > 0, cell == 0) << cell;
        EXPECT_EQ(last->Count(left, top, left + w, top + h, watermark) > 0, cell == 0) << cell;
    }
}

TEST_F(MoltrSheetPictures, ABookletOfFivePagesPrintsFourSides) {
    ASSERT_EQ(0,
              Moltr("print Sample --pages 5 --set dmPaperSize=9 --set _BOOKLET=2 --png " + folder_)
                  .status);
    std::optional<Picture> front = Sheet("sheet-001.png");
    ASSERT_TRUE(front);
    // The first side: the blank eighth page above the first.
    const unsigned width = front->width, half = front->height / 2;
    EXPECT_EQ(front->Inked(0, 0, width, half), 0u);
    EXPECT_GT(front->Inked(0, half, width, 2 * half), 0u);
    EXPECT_TRUE(std::filesystem::exists(folder_ + "/sheet-004.png"));
    EXPECT_FALSE(std::filesystem::exists(folder_ + "/sheet-005.png"));
}

TEST_F(MoltrSheetPictures, WithoutTheOptionNoPicturesAreWritten) {
    ASSERT_EQ(0, Moltr("print Sample").status);
    EXPECT_FALSE(std::filesystem::exists(folder_));
    EXPECT_NE(Moltr("print Sample --png").status, 0);
}

} // namespace
} // namespace moltr::test
