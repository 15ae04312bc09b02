// The pages the renderer draws, looked at in the pictures of the sheets it prints: the page's
// number, its colour patch and grey rectangle in 24-bit colour, 8-bit grey and 1-bit monochrome
// bands, one picture per sheet, and the grey bands in the PCL 5 and PCL XL streams.
#include "src/unidrv/job_renderer.h"
#include "sim/sheet_pictures.h"

#include "job_printer.h"
#include "png_picture.h"

namespace {

using moltr::test::JobPrinter;
using moltr::test::JobPrinterSetup;
using moltr::test::Picture;
using moltr::test::ReadPng;
using moltr::unidrv::RenderJob;
using moltr::unidrv::RenderJobRequest;
using moltr::unidrv::RenderJobResult;

constexpr DWORD kJob = 7;
// A4 at 600 dpi: the sample's printable area.
constexpr unsigned kWidth = 4760;
constexpr unsigned kHeight = 6815;
constexpr unsigned kDpi = 600;
// A patch square is half an inch wide.
constexpr size_t kSquare = (kDpi / 2) * (kDpi / 2);

// The sample's monochrome colour mode rendered in grey levels.
JobPrinterSetup GreyBands(JobPrinterSetup setup = {}) {
    setup.lines.push_back({"        *DevBPP: 1", "        *DevBPP: 1\n        *DrvBPP: 8"});
    return setup;
}

JobPrinterSetup PclXl() {
    JobPrinterSetup setup;
    setup.sample = "MOLTR4KX.GPD";
    setup.driverName = "MOLTR ColorLaser 4000 PCL6";
    return setup;
}

class PagePictures : public ::testing::Test {
protected:
    // Prints `pages` pages in `colour` mode, with pictures of the sheets.
    RenderJobResult Print(const JobPrinter& printer, DWORD pages, short colour) {
        folder_ = printer.root() + "/sheets";
        EXPECT_TRUE(moltr::sim::RequestSheetPictures(kJob, folder_));
        DEVMODEW devmode = {};
        devmode.dmSize = sizeof devmode;
        devmode.dmFields = DM_COLOR;
        devmode.dmColor = colour;
        RenderJobRequest request;
        request.printer = printer.handle();
        request.jobId = kJob;
        request.documentName = L"Pictures";
        request.pages = pages;
        request.devmode = &devmode;
        return RenderJob(request);
    }
    std::optional<Picture> Sheet(int number) const {
        char name[32];
        std::snprintf(name, sizeof name, "/sheet-%03d.png", number);
        return ReadPng(folder_ + name);
    }

    std::string folder_;
};

auto Exactly(int red, int green, int blue) {
    return [=](int r, int g, int b) { return r == red && g == green && b == blue; };
}

TEST_F(PagePictures, AColourPageShowsItsNumberItsPatchAndItsGreyRectangle) {
    JobPrinter printer;
    RenderJobResult job = Print(printer, 1, DMCOLOR_COLOR);
    ASSERT_EQ(job.result, S_OK) << job.error;
    std::optional<Picture> sheet = Sheet(1);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->width, kWidth);
    EXPECT_EQ(sheet->height, kHeight);
    EXPECT_EQ(sheet->Count(0, 0, kWidth, kHeight, Exactly(0xFF, 0, 0)), kSquare);
    EXPECT_EQ(sheet->Count(0, 0, kWidth, kHeight, Exactly(0, 0xFF, 0)), kSquare);
    EXPECT_EQ(sheet->Count(0, 0, kWidth, kHeight, Exactly(0, 0, 0xFF)), kSquare);
    EXPECT_GT(sheet->Count(0, 0, kWidth, kHeight, Exactly(0xFF, 0xFF, 0)), kSquare / 3);
    EXPECT_GT(sheet->Count(0, 0, kWidth, kHeight, Exactly(0x80, 0x80, 0x80)), 4 * kSquare);
    // The number, a quarter of the page high, stands in the middle of its top part; the corners
    // inside the frame stay white.
    const unsigned top = kDpi / 2 + kDpi / 4;
    EXPECT_GT(sheet->Inked(kWidth / 2 - kDpi, top, kWidth / 2 + kDpi, top + kHeight / 4), 50000u);
    EXPECT_EQ(sheet->Inked(kWidth - 2 * kDpi, kDpi, kWidth - kDpi, 2 * kDpi), 0u);
    EXPECT_EQ(sheet->Inked(kDpi, kHeight - 2 * kDpi, 2 * kDpi, kHeight - kDpi), 0u);
}

TEST_F(PagePictures, EachSheetHasItsPictureWithItsOwnNumber) {
    JobPrinter printer;
    RenderJobResult job = Print(printer, 2, DMCOLOR_COLOR);
    ASSERT_EQ(job.result, S_OK) << job.error;
    std::optional<Picture> first = Sheet(1);
    std::optional<Picture> second = Sheet(2);
    ASSERT_TRUE(first);
    ASSERT_TRUE(second);
    EXPECT_FALSE(Sheet(3));
    EXPECT_NE(first->rgb, second->rgb);
}

TEST_F(PagePictures, AMonochromePageIsBlackAndWhiteWithItsColoursInk) {
    JobPrinter printer;
    RenderJobResult job = Print(printer, 1, DMCOLOR_MONOCHROME);
    ASSERT_EQ(job.result, S_OK) << job.error;
    std::optional<Picture> sheet = Sheet(1);
    ASSERT_TRUE(sheet);
    const size_t black = sheet->Count(0, 0, kWidth, kHeight, Exactly(0, 0, 0));
    const size_t white = sheet->Count(0, 0, kWidth, kHeight, Exactly(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(black + white, size_t{kWidth} * kHeight);
    // Red, green, blue and the grey rectangle are darker than mid-grey; yellow is not.
    EXPECT_GT(black, 3 * kSquare + 4 * kSquare);
}

TEST_F(PagePictures, GreyBandsCarryEachColoursGreyLevelAndPrintDithered) {
    JobPrinter printer(GreyBands());
    RenderJobResult job = Print(printer, 1, DMCOLOR_MONOCHROME);
    ASSERT_EQ(job.result, S_OK) << job.error;
    std::optional<Picture> sheet = Sheet(1);
    ASSERT_TRUE(sheet);
    // The luminance of red (30%), green (59%), blue (11%) and the grey rectangle's 0x80.
    for (int level : {255 * 30 / 100, 255 * 59 / 100, 255 * 11 / 100}) {
        EXPECT_EQ(sheet->Count(0, 0, kWidth, kHeight, Exactly(level, level, level)), kSquare)
            << level;
    }
    EXPECT_GT(sheet->Count(0, 0, kWidth, kHeight, Exactly(0x80, 0x80, 0x80)), 4 * kSquare);
    // The printer takes one bit a pixel: the grey rows go in the monochrome raster mode.
    std::string stream(job.stream.begin(), job.stream.end());
    EXPECT_NE(stream.find("\x1b*r1U"), std::string::npos);
    EXPECT_NE(stream.find("\x1b*r1A"), std::string::npos);
}

TEST_F(PagePictures, APclXlPrinterTakesGreyBandsAsEightBitGreyImages) {
    JobPrinter printer(GreyBands(PclXl()));
    RenderJobResult job = Print(printer, 1, DMCOLOR_MONOCHROME);
    ASSERT_EQ(job.result, S_OK) << job.error;
    std::optional<Picture> sheet = Sheet(1);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->Count(0, 0, kWidth, kHeight, Exactly(76, 76, 76)), kSquare);
    // The grey colour space (ubyte 1, attribute 03) and images of eight bits (ubyte 2,
    // attribute 62).
    const std::string stream(job.stream.begin(), job.stream.end());
    EXPECT_NE(stream.find("\xC0\x01\xF8\x03"), std::string::npos);
    EXPECT_NE(stream.find("\xC0\x02\xF8\x62"), std::string::npos);
}

} // namespace
