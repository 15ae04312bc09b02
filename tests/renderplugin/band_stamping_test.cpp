// What ImageProcessing makes of a band: the gutters and the frame of an N-up sheet cleared in
// raster mode, every band format walked with its own row stride, hostile band headers refused
// without a byte changed, and the watermark's merge and colour rules on a band.
#include <cmath>
#include <numbers>
#include "hooked_job.h"
#include "renderplugin/band_view.h"
#include "renderplugin/stamp_merge.h"
#include "renderplugin/watermark_style.h"

namespace moltr::test {
namespace {

constexpr LONG kWidth = 200;
constexpr LONG kHeight = 100;
constexpr BYTE kInk = 0x00;
constexpr BYTE kSentinel = 0x5A;

GDIINFO SmallPage(LONG width = kWidth, LONG height = kHeight) {
    GDIINFO page = {};
    page.ulLogPixelsX = page.ulLogPixelsY = 600;
    page.ulHorzRes = width;
    page.ulVertRes = height;
    page.szlPhysSize = {width, height};
    return page;
}

// A whole page in one band, all ink, its row padding (when it has any) a sentinel.
struct Band {
    Band(LONG width, LONG height, WORD bits, LONG stride = 0)
        : width(width), height(height), stride(stride ? stride : render::DibStride(width, bits)),
          bytes(static_cast<size_t>(this->stride) * height, kSentinel) {
        header.biSize = sizeof header;
        header.biWidth = width;
        header.biHeight = height;
        header.biPlanes = 1;
        header.biBitCount = bits;
        header.biCompression = BI_RGB;
        header.biSizeImage = static_cast<DWORD>(bytes.size());
        Fill(kInk);
    }
    // Sets every pixel byte, the padding left as it is.
    void Fill(BYTE value) {
        const LONG rowBytes = (width * header.biBitCount + 7) / 8;
        for (LONG y = 0; y < height; ++y) {
            std::fill_n(bytes.begin() + y * stride, rowBytes, value);
        }
    }
    // The first byte of pixel (x, y) of a byte-aligned format.
    BYTE At(LONG x, LONG y) const { return bytes[y * stride + x * (header.biBitCount / 8)]; }
    bool Bit(LONG x, LONG y) const { return (bytes[y * stride + x / 8] >> (7 - x % 8)) & 1; }
    bool PaddingKept() const {
        const LONG rowBytes = (width * header.biBitCount + 7) / 8;
        for (LONG y = 0; y < height; ++y) {
            for (LONG i = rowBytes; i < stride; ++i) {
                if (bytes[y * stride + i] != kSentinel) {
                    return false;
                }
            }
        }
        return true;
    }

    LONG width, height, stride;
    std::vector<BYTE> bytes;
    BITMAPINFOHEADER header = {};
};

// Whether pixel (x, y) lies in a gutter strip or the frame of a 4-up page.
bool InFourUpMask(LONG x, LONG y, LONG width, LONG height) {
    bool frame = x < 4 || x >= width - 4 || y < 4 || y >= height - 4;
    bool gutter =
        (x >= width / 2 - 4 && x < width / 2 + 4) || (y >= height / 2 - 4 && y < height / 2 + 4);
    return frame || gutter;
}

class RenderBands : public ::testing::Test {
protected:
    void SetUp() override {
        hooked_ = std::make_unique<HookedJob>(printer_, SmallPage());
        ASSERT_NE(hooked_->job->plugin(), nullptr);
        hooked_->job->SetJobByte(L"_WMK_ENABLED", 0);
        hooked_->job->SetJobByte(L"_NUP_PAGES", 2); // 4 cells
    }

    HRESULT Process(Band& band, const RGBQUAD* palette = nullptr) {
        PBYTE result = nullptr;
        HRESULT answer = hooked_->job->plugin()->ImageProcessing(
            &hooked_->job->devobj, band.bytes.data(), &band.header,
            reinterpret_cast<PBYTE>(const_cast<RGBQUAD*>(palette)), 0, nullptr, &result);
        EXPECT_EQ(result, band.bytes.data());
        return answer;
    }

    RenderPrinter printer_;
    std::unique_ptr<HookedJob> hooked_;
};

TEST_F(RenderBands, FourUpGuttersAndTheFrameTurnWhite) {
    ASSERT_TRUE(hooked_->StartPage());
    Band band(kWidth, kHeight, 24);
    ASSERT_EQ(Process(band), S_OK);
    for (LONG y = 0; y < kHeight; ++y) {
        for (LONG x = 0; x < kWidth; ++x) {
            ASSERT_EQ(band.At(x, y), InFourUpMask(x, y, kWidth, kHeight) ? 0xFF : kInk)
                << x << "," << y;
        }
    }
}

TEST_F(RenderBands, AWatermarkThatCannotBeMadeLeavesTheGuttersCleared) {
    // A text that fills its field without a NUL was cut off: no watermark from it.
    hooked_->job->SetJobByte(L"_WMK_ENABLED", 1);
    BYTE* text = hooked_->job->JobField(L"_WMK_TEXT");
    ASSERT_NE(text, nullptr);
    for (int i = 0; i < 64; ++i) {
        text[2 * i] = 'X';
        text[2 * i + 1] = 0;
    }
    ASSERT_TRUE(hooked_->StartPage());
    Band band(kWidth, kHeight, 24);
    ASSERT_EQ(Process(band), S_OK);
    EXPECT_EQ(band.At(kWidth / 2, 20), 0xFF);
    EXPECT_EQ(band.At(kWidth / 4, 20), kInk);
}

TEST_F(RenderBands, PaddedRowsKeepTheirPadding) {
    ASSERT_TRUE(hooked_->StartPage());
    // 201 pixels of 3 bytes leave one byte of padding per DIB row.
    Band colour(kWidth + 1, kHeight, 24);
    ASSERT_EQ(colour.stride, 604);
    ASSERT_EQ(Process(colour), S_OK);
    EXPECT_TRUE(colour.PaddingKept());
    EXPECT_EQ(colour.At(kWidth - 1, kHeight / 2), 0xFF); // the frame's right strip
    EXPECT_EQ(colour.At(kWidth, kHeight / 2), kInk);     // beyond the page
    EXPECT_EQ(colour.At(kWidth - 10, 10), kInk);
    Band grey(kWidth + 1, kHeight, 8);
    ASSERT_EQ(Process(grey), S_OK);
    EXPECT_TRUE(grey.PaddingKept());
    EXPECT_EQ(grey.At(kWidth / 2, 20), 0xFF);
    EXPECT_EQ(grey.At(kWidth / 2 + 10, 20), kInk);
}

TEST_F(RenderBands, TheSurfacesRowStrideWinsForItsOwnBits) {
    Band band(kWidth, kHeight, 24, 640);
    hooked_->surface.pvBits = band.bytes.data();
    hooked_->surface.cjBits = static_cast<ULONG>(band.bytes.size());
    hooked_->surface.lDelta = band.stride;
    hooked_->surface.sizlBitmap = {kWidth, kHeight};
    band.header.biSizeImage = 0;
    ASSERT_TRUE(hooked_->StartPage());
    ASSERT_EQ(Process(band), S_OK);
    EXPECT_TRUE(band.PaddingKept());
    for (LONG y : {10L, 60L}) {
        EXPECT_EQ(band.At(kWidth / 2, y), 0xFF);
        EXPECT_EQ(band.At(kWidth / 2 + 5, y), kInk);
    }
}

TEST_F(RenderBands, OneBitBandsClearToTheirWhiteIndex) {
    ASSERT_TRUE(hooked_->StartPage());
    // The renderer's palette: index 0 white, 1 black; the band is all ink.
    const RGBQUAD whiteFirst[2] = {{0xFF, 0xFF, 0xFF, 0}, {0, 0, 0, 0}};
    Band band(kWidth, kHeight, 1);
    std::fill(band.bytes.begin(), band.bytes.end(), 0xFF);
    ASSERT_EQ(Process(band, whiteFirst), S_OK);
    EXPECT_FALSE(band.Bit(0, 50));
    EXPECT_FALSE(band.Bit(kWidth / 2, 20));
    EXPECT_TRUE(band.Bit(kWidth / 4, 20));
    const RGBQUAD blackFirst[2] = {{0, 0, 0, 0}, {0xFF, 0xFF, 0xFF, 0}};
    Band inverse(kWidth, kHeight, 1);
    std::fill(inverse.bytes.begin(), inverse.bytes.end(), 0x00);
    ASSERT_EQ(Process(inverse, blackFirst), S_OK);
    EXPECT_TRUE(inverse.Bit(kWidth / 2, 20));
    EXPECT_FALSE(inverse.Bit(kWidth / 4, 20));
}

TEST_F(RenderBands, BordersOnLeaveTheBandAsItIs) {
    hooked_->job->SetJobByte(L"_NUP_BORDER", 1);
    ASSERT_TRUE(hooked_->StartPage());
    Band band(kWidth, kHeight, 24);
    const std::vector<BYTE> before = band.bytes;
    ASSERT_EQ(Process(band), S_OK);
    EXPECT_EQ(band.bytes, before);
}

TEST_F(RenderBands, ACancelledPageLeavesNoMaskForTheNext) {
    ASSERT_TRUE(hooked_->StartPage());
    Band first(kWidth, kHeight, 24);
    ASSERT_EQ(Process(first), S_OK);
    // The page never ends; the next one is 2-up portrait: one horizontal gutter only.
    hooked_->job->SetJobByte(L"_NUP_PAGES", 1);
    ASSERT_TRUE(hooked_->StartPage());
    Band second(kWidth, kHeight, 24);
    ASSERT_EQ(Process(second), S_OK);
    EXPECT_EQ(second.At(kWidth / 2, 20), kInk);
    EXPECT_EQ(second.At(kWidth / 4, kHeight / 2), 0xFF);
}

TEST_F(RenderBands, HostileHeadersChangeNothing) {
    ASSERT_TRUE(hooked_->StartPage());
    auto spoil = [](BITMAPINFOHEADER& header, int kind) {
        switch (kind) {
        case 0:
            header.biWidth = -kWidth;
            break;
        case 1:
            header.biSizeImage = 100;
            break;
        case 2:
            header.biBitCount = 16;
            break;
        case 3:
            header.biPlanes = 2;
            break;
        case 4:
            header.biHeight = LONG(0x80000000);
            break;
        case 5:
            header.biWidth = 0x40000000;
            break;
        default:
            header.biSize = 8;
            break;
        }
    };
    for (int kind = 0; kind < 7; ++kind) {
        Band band(kWidth, kHeight, 24);
        spoil(band.header, kind);
        const std::vector<BYTE> before = band.bytes;
        EXPECT_EQ(Process(band), S_OK) << kind;
        EXPECT_EQ(band.bytes, before) << kind;
    }
    PBYTE result = nullptr;
    EXPECT_EQ(hooked_->job->plugin()->ImageProcessing(&hooked_->job->devobj, nullptr, nullptr,
                                                      nullptr, 0, nullptr, &result),
              S_OK);
}

// A 24-bit stamp with padded rows: white but for a blue-green-red pixel at (x, y).
struct Stamp {
    Stamp(LONG width, LONG height)
        : stride(render::DibStride(width, 24) + 4),
          bytes(static_cast<size_t>(stride) * height, 0xFF), view{nullptr, width, height, stride} {}
    void Put(LONG x, LONG y, BYTE blue, BYTE green, BYTE red) {
        BYTE* pixel = &bytes[y * stride + x * 3];
        pixel[0] = blue;
        pixel[1] = green;
        pixel[2] = red;
    }
    const render::StampView& View() {
        view.bits = bytes.data();
        return view;
    }
    LONG stride;
    std::vector<BYTE> bytes;
    render::StampView view;
};

constexpr RECT kWhole = {0, 0, 1 << 16, 1 << 16};

render::BandView ViewOf(Band& band) {
    return {band.bytes.data(), band.width, band.height, band.stride, band.header.biBitCount, 0};
}

TEST(RenderStampMerge, OnlyWhiteBandPixelsTakeTheStamp) {
    Band band(5, 3, 24);
    std::fill(band.bytes.begin(), band.bytes.begin() + 15, 0xFF); // row 0 white
    for (LONG i = 15; i < 16; ++i) {
        band.bytes[i] = kSentinel;
    }
    Stamp stamp(5, 3);
    stamp.Put(1, 0, 0x10, 0x20, 0x30);
    stamp.Put(2, 1, 0x10, 0x20, 0x30); // on ink: stays ink
    ASSERT_TRUE(render::MergeStamp(ViewOf(band), stamp.View(), kWhole));
    EXPECT_EQ(band.bytes[3], 0x10);
    EXPECT_EQ(band.bytes[4], 0x20);
    EXPECT_EQ(band.bytes[5], 0x30);
    EXPECT_EQ(band.bytes[0], 0xFF);
    EXPECT_EQ(band.At(2, 1), kInk);
    EXPECT_TRUE(band.PaddingKept());
}

TEST(RenderStampMerge, OnlyTheAreaIsMerged) {
    Band band(6, 4, 24);
    band.Fill(0xFF);
    Stamp stamp(6, 4);
    for (LONG y = 0; y < 4; ++y) {
        for (LONG x = 0; x < 6; ++x) {
            stamp.Put(x, y, 1, 2, 3);
        }
    }
    ASSERT_TRUE(render::MergeStamp(ViewOf(band), stamp.View(), {2, 1, 4, 3}));
    for (LONG y = 0; y < 4; ++y) {
        for (LONG x = 0; x < 6; ++x) {
            bool inside = x >= 2 && x < 4 && y >= 1 && y < 3;
            EXPECT_EQ(band.At(x, y), inside ? 1 : 0xFF) << x << "," << y;
        }
    }
    EXPECT_TRUE(band.PaddingKept());
}

TEST(RenderStampMerge, GreyBandsTakeTheStampsGreyLevel) {
    Band band(6, 2, 8);
    std::fill(band.bytes.begin(), band.bytes.end(), 0xFF);
    band.bytes[6] = band.bytes[7] = kSentinel; // the padding of row 0
    Stamp stamp(6, 2);
    stamp.Put(3, 1, /*blue*/ 40, /*green*/ 100, /*red*/ 200);
    ASSERT_TRUE(render::MergeStamp(ViewOf(band), stamp.View(), kWhole));
    EXPECT_EQ(band.At(3, 1), (200 * 19 + 100 * 37 + 40 * 7) / 63);
    EXPECT_EQ(band.At(2, 1), 0xFF);
    EXPECT_EQ(band.bytes[6], kSentinel);
    // One-bit bands never take a stamp.
    Band mono(16, 2, 1);
    const std::vector<BYTE> before = mono.bytes;
    EXPECT_FALSE(render::MergeStamp(ViewOf(mono), stamp.View(), kWhole));
    EXPECT_EQ(mono.bytes, before);
}

TEST(RenderWatermarkColour, GreysPrintBlackAndFullShadeIsWhite) {
    EXPECT_EQ(render::WatermarkTextColour(RGB(192, 192, 192), 0), RGB(0x0F, 0x0F, 0x0F));
    EXPECT_EQ(render::WatermarkTextColour(RGB(255, 0, 0), 0), RGB(0xFF, 0x0F, 0x0F));
    // 255 - (255 × 127 / 255) = 128 for the empty channels at shade 128.
    EXPECT_EQ(render::WatermarkTextColour(RGB(255, 0, 0), 128), RGB(0xFF, 0x8F, 0x8F));
    COLORREF white = render::WatermarkTextColour(RGB(10, 200, 30), 255);
    EXPECT_EQ(white, RGB(0xFF, 0xFF, 0xFF));
    // A stamp drawn in that colour is all white and leaves the band as it was.
    Band band(4, 2, 24);
    std::fill(band.bytes.begin(), band.bytes.end(), 0xFF);
    const std::vector<BYTE> before = band.bytes;
    Stamp stamp(4, 2);
    stamp.Put(1, 1, GetBValue(white), GetGValue(white), GetRValue(white));
    render::MergeStamp(ViewOf(band), stamp.View(), kWhole);
    EXPECT_EQ(band.bytes, before);
}

TEST(RenderWatermarkGeometry, EscapementFontHeightAndOffset) {
    render::WatermarkStyle style;
    style.angleMode = 1;
    style.degree = 45;
    const long diagonal = long(std::atan(6400.0 / 4800.0) * 180 / std::numbers::pi) * 10;
    EXPECT_EQ(render::WatermarkEscapement(style, 4800, 6400, 1, false, 0), diagonal);
    EXPECT_EQ(render::WatermarkEscapement(style, 0, 6400, 1, false, 0), 450);
    EXPECT_EQ(render::WatermarkEscapement(style, 4800, 6400, 2, false, 0), diagonal + 900);
    // The second sheet of a booklet turns half way round.
    EXPECT_EQ(render::WatermarkEscapement(style, 4800, 6400, 2, true, 1),
              (diagonal + 900 + 1800) % 3600);
    style.angleMode = 2;
    EXPECT_EQ(render::WatermarkEscapement(style, 4800, 6400, 6, false, 0), 900);
    style.angleMode = 3;
    style.degree = 400;
    EXPECT_EQ(render::WatermarkEscapement(style, 4800, 6400, 1, false, 0), 400);
    EXPECT_EQ(render::WatermarkFontHeight(72, 600, 0.5, 7000), -300);
    EXPECT_EQ(render::WatermarkFontHeight(72, 300, 1.0, 7000), -300);
    // The page's longer side bounds the height, and GDI's largest height bounds that.
    EXPECT_EQ(render::WatermarkFontHeight(0xFFFF, 600, 1.0, 7000), -7000);
    EXPECT_EQ(render::WatermarkFontHeight(0xFFFF, 0xFFFF, 16.0, 0xFFFFFFFF), -32767);
    POINT flat = render::WatermarkTextOffset(101, 0);
    EXPECT_EQ(flat.x, 0);
    EXPECT_EQ(flat.y, -50);
    POINT upright = render::WatermarkTextOffset(100, 900);
    EXPECT_EQ(upright.x, -50);
    EXPECT_EQ(upright.y, 0);
    // The inked area: the text's box turned with it, and half a line of room around it.
    RECT flatBox = render::WatermarkTextBounds({500, 300}, {200, 40}, 0, 0, 1000);
    EXPECT_EQ(flatBox.left, 500 - 100 - 24);
    EXPECT_EQ(flatBox.bottom, 300 + 20 + 24);
    RECT turnedBox = render::WatermarkTextBounds({500, 300}, {200, 40}, 900, 0, 1000);
    EXPECT_EQ(turnedBox.left, 500 - 20 - 24);
    EXPECT_EQ(turnedBox.top, 300 - 100 - 24);
}

} // namespace
} // namespace moltr::test
