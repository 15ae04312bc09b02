// The watermark in the bands that ImageProcessing receives: drawn with GDI text behind the page,
// in the colour its shade gives, in the cells that hold a page, on the first sheet only when
// asked, never in 1-bit bands.
#include "hooked_job.h"
#include "renderplugin/band_view.h"

namespace moltr::test {
namespace {

constexpr LONG kWidth = 800;
constexpr LONG kHeight = 600;

GDIINFO Page() {
    GDIINFO page = {};
    page.ulLogPixelsX = page.ulLogPixelsY = 600;
    page.ulHorzRes = page.szlPhysSize.cx = kWidth;
    page.ulVertRes = page.szlPhysSize.cy = kHeight;
    return page;
}

// A white band of the whole page; `width` beyond the page's leaves padding to watch.
struct WhiteBand {
    WhiteBand(WORD bits, LONG width = kWidth)
        : width(width), stride(render::DibStride(width, bits)),
          bytes(static_cast<size_t>(stride) * kHeight, 0xFF) {
        header = {sizeof header,
                  width,
                  kHeight,
                  1,
                  bits,
                  BI_RGB,
                  static_cast<DWORD>(bytes.size()),
                  0,
                  0,
                  0,
                  0};
    }
    const BYTE* Pixel(LONG x, LONG y) const {
        return &bytes[y * stride + x * (header.biBitCount / 8)];
    }
    // The pixels of [left, right) × [top, bottom) that are not white.
    int Inked(LONG left, LONG top, LONG right, LONG bottom) const {
        int count = 0;
        const int size = header.biBitCount / 8;
        for (LONG y = top; y < bottom; ++y) {
            for (LONG x = left; x < right; ++x) {
                const BYTE* p = Pixel(x, y);
                count += std::any_of(p, p + size, [](BYTE b) { return b != 0xFF; }) ? 1 : 0;
            }
        }
        return count;
    }
    LONG width, stride;
    std::vector<BYTE> bytes;
    BITMAPINFOHEADER header;
};

class RenderWatermark : public ::testing::Test {
protected:
    void SetUp() override {
        hooked_ = std::make_unique<HookedJob>(printer_, Page());
        ASSERT_NE(hooked_->job->plugin(), nullptr);
        RenderJob& job = *hooked_->job;
        job.SetJobByte(L"_WMK_ENABLED", 1);
        job.SetJobByte(L"_WMK_1STPAGEONLY", 0);
        job.SetJobByte(L"_WMK_ANGLE", 2);
        job.SetJobByte(L"_NUP_PAGES", 0);
        job.SetJobByte(L"_NUP_BORDER", 0);
        SetWord(L"_WMK_SIZE", 20);
        SetWord(L"_WMK_SHADE", 0);
        SetColour(RGB(128, 128, 128));
    }
    void SetWord(const WCHAR* name, WORD value) { hooked_->job->SetJob(name, &value); }
    void SetColour(COLORREF colour) { hooked_->job->SetJob(L"_WMK_COLOR", &colour); }

    // Starts a page; with more than one cell, frames the cells in `framed` as the imposition
    // draws the page borders.
    void StartSheet(std::initializer_list<size_t> framed = {}) {
        ASSERT_TRUE(hooked_->StartPage());
        POINTL origin = {};
        ASSERT_TRUE(
            hooked_->Hook<PFN_DrvStartBanding>(INDEX_DrvStartBanding)(&hooked_->surface, &origin));
        const render::CellTable& cells = hooked_->state().cells;
        for (size_t cell : framed) {
            const POINTL c = cells.centre[cell];
            const LONG l = c.x - cells.width / 2 + 2, r = c.x + cells.width / 2 - 2;
            const LONG t = c.y - cells.height / 2 + 2, b = c.y + cells.height / 2 - 2;
            hooked_->Line(l, t, r, t);
            hooked_->Line(r, t, r, b);
            hooked_->Line(r, b, l, b);
            hooked_->Line(l, b, l, t);
        }
    }
    // Hands the band to ImageProcessing; false when no watermark layer could be made for it.
    bool Stamp(WhiteBand& band) {
        PBYTE result = nullptr;
        EXPECT_EQ(hooked_->job->plugin()->ImageProcessing(&hooked_->job->devobj, band.bytes.data(),
                                                          &band.header, nullptr, 0, nullptr,
                                                          &result),
                  S_OK);
        return hooked_->state().watermark != nullptr;
    }

    RenderPrinter printer_;
    std::unique_ptr<HookedJob> hooked_;
};

TEST_F(RenderWatermark, GreysPrintBlack) {
    StartSheet();
    WhiteBand band(24);
    ASSERT_TRUE(Stamp(band));
    int black = 0;
    for (size_t i = 0; i + 2 < band.bytes.size(); i += 3) {
        const BYTE* p = &band.bytes[i];
        EXPECT_TRUE(p[0] == p[1] && p[1] == p[2]) << "a grey stays grey";
        black += p[0] == 0x0F ? 1 : 0;
    }
    EXPECT_GT(black, 100);
}

TEST_F(RenderWatermark, RedKeepsItsChannelsAndGreyBandsTakeItsGreyLevel) {
    SetColour(RGB(255, 0, 0));
    StartSheet();
    WhiteBand colour(24, kWidth + 1);
    ASSERT_TRUE(Stamp(colour));
    BYTE darkestGreen = 0xFF;
    for (LONG y = 0; y < kHeight; ++y) {
        for (LONG x = 0; x < kWidth; ++x) {
            const BYTE* p = colour.Pixel(x, y);
            EXPECT_EQ(p[2], 0xFF) << "red stays full";
            darkestGreen = std::min(darkestGreen, p[1]);
        }
        EXPECT_EQ(colour.bytes[y * colour.stride + colour.stride - 1], 0xFF) << "padding";
    }
    EXPECT_EQ(darkestGreen, 0x0F);
    hooked_->SendPage();
    StartSheet();
    WhiteBand grey(8, kWidth + 1);
    ASSERT_TRUE(Stamp(grey));
    EXPECT_EQ(*std::min_element(grey.bytes.begin(), grey.bytes.end()),
              (255 * 19 + 15 * 37 + 15 * 7) / 63);
}

TEST_F(RenderWatermark, FullShadeLeavesTheBandAsItIs) {
    SetWord(L"_WMK_SHADE", 255);
    StartSheet();
    WhiteBand band(24);
    ASSERT_TRUE(Stamp(band));
    EXPECT_EQ(band.Inked(0, 0, kWidth, kHeight), 0);
}

TEST_F(RenderWatermark, TheNextBandStartsWhiteUnderAWatermark) {
    StartSheet();
    WhiteBand band(24);
    ASSERT_TRUE(Stamp(band));
    std::vector<BYTE> next(4096, 0x00);
    hooked_->surface.pvBits = next.data();
    hooked_->surface.cjBits = static_cast<ULONG>(next.size());
    hooked_->surface.iBitmapFormat = BMF_24BPP;
    hooked_->log.bands = {{0, kHeight / 2}};
    POINTL origin = {};
    ASSERT_TRUE(hooked_->Hook<PFN_DrvNextBand>(INDEX_DrvNextBand)(&hooked_->surface, &origin));
    EXPECT_EQ(std::count(next.begin(), next.end(), 0xFF), 4096);
}

// The largest size draws as the size whose em height is the page's longer side (800 pixels at
// 600 dpi: 96 points), no taller.
TEST_F(RenderWatermark, AHugeSizeDrawsNoTallerThanThePage) {
    SetWord(L"_WMK_SIZE", 0xFFFF);
    StartSheet();
    WhiteBand huge(24);
    ASSERT_TRUE(Stamp(huge));
    ASSERT_TRUE(hooked_->SendPage());
    SetWord(L"_WMK_SIZE", 96);
    StartSheet();
    WhiteBand bound(24);
    ASSERT_TRUE(Stamp(bound));
    EXPECT_GT(huge.Inked(0, 0, kWidth, kHeight), 1000);
    EXPECT_TRUE(huge.bytes == bound.bytes);
}

// The layer inks only the part of a slanted text that crosses each band: stamped band by band,
// the page gets the same pixels as stamped in one band, at every angle.
TEST_F(RenderWatermark, BandByBandInksAsOneWholeBandDoes) {
    constexpr LONG kRows = 50;
    hooked_->job->SetJobByte(L"_WMK_ANGLE", 3);
    SetWord(L"_WMK_SIZE", 40);
    std::vector<BYTE> cleared(4096);
    for (WORD degrees : {0, 30, 45, 90, 135, 200, 315}) {
        SCOPED_TRACE(degrees);
        SetWord(L"_WMK_DEGREE", degrees);
        StartSheet();
        WhiteBand whole(24);
        ASSERT_TRUE(Stamp(whole));
        ASSERT_TRUE(hooked_->SendPage());
        hooked_->log.bands.clear();
        hooked_->log.nextBand = 0;
        for (LONG y = kRows; y < kHeight; y += kRows) {
            hooked_->log.bands.push_back({0, y});
        }
        StartSheet();
        WhiteBand banded(24);
        for (LONG y = 0; y < kHeight; y += kRows) {
            BITMAPINFOHEADER header = banded.header;
            header.biHeight = std::min(kRows, kHeight - y);
            header.biSizeImage = static_cast<DWORD>(banded.stride * header.biHeight);
            PBYTE result = nullptr;
            ASSERT_EQ(hooked_->job->plugin()->ImageProcessing(
                          &hooked_->job->devobj, banded.bytes.data() + y * banded.stride, &header,
                          nullptr, 0, nullptr, &result),
                      S_OK);
            hooked_->surface.pvBits = cleared.data();
            hooked_->surface.cjBits = static_cast<ULONG>(cleared.size());
            POINTL origin = {};
            ASSERT_TRUE(
                hooked_->Hook<PFN_DrvNextBand>(INDEX_DrvNextBand)(&hooked_->surface, &origin));
        }
        EXPECT_GT(whole.Inked(0, 0, kWidth, kHeight), 500);
        EXPECT_TRUE(banded.bytes == whole.bytes);
    }
}

TEST_F(RenderWatermark, OneBitBandsGetNone) {
    StartSheet();
    WhiteBand band(1);
    std::fill(band.bytes.begin(), band.bytes.end(), 0x00); // 1 is ink
    const std::vector<BYTE> before = band.bytes;
    EXPECT_FALSE(Stamp(band));
    EXPECT_EQ(band.bytes, before);
}

TEST_F(RenderWatermark, APartlyFilledSheetMarksOnlyItsFramedCells) {
    hooked_->job->SetJobByte(L"_NUP_PAGES", 2);
    StartSheet({0});
    WhiteBand band(24);
    ASSERT_TRUE(Stamp(band));
    EXPECT_GT(band.Inked(8, 8, kWidth / 2 - 8, kHeight / 2 - 8), 0);
    EXPECT_EQ(band.Inked(kWidth / 2 + 8, 8, kWidth - 8, kHeight / 2 - 8), 0);
    EXPECT_EQ(band.Inked(8, kHeight / 2 + 8, kWidth - 8, kHeight - 8), 0);
}

TEST_F(RenderWatermark, FirstPageOnlyMarksTheFirstCellOfTheFirstSheet) {
    hooked_->job->SetJobByte(L"_WMK_1STPAGEONLY", 1);
    hooked_->job->SetJobByte(L"_NUP_PAGES", 2);
    StartSheet({0, 1, 2, 3});
    WhiteBand first(24);
    ASSERT_TRUE(Stamp(first));
    EXPECT_GT(first.Inked(8, 8, kWidth / 2 - 8, kHeight / 2 - 8), 0);
    EXPECT_EQ(first.Inked(kWidth / 2 + 8, 8, kWidth - 8, kHeight - 8), 0);
    EXPECT_EQ(first.Inked(8, kHeight / 2 + 8, kWidth / 2 - 8, kHeight - 8), 0);
    ASSERT_TRUE(hooked_->SendPage());
    StartSheet({0, 1, 2, 3});
    WhiteBand second(24);
    EXPECT_FALSE(Stamp(second));
    EXPECT_EQ(second.Inked(0, 0, kWidth, kHeight), 0);
}

} // namespace
} // namespace moltr::test
