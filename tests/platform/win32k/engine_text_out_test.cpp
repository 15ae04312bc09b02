// EngTextOut on band surfaces of 1, 8 and 24 bits: glyph images from the string, glyphs drawn by
// the engine's font, the opaque and extra rectangles, the clip, padded rows and bad surfaces.
#include <gtest/gtest.h>
#include <windows.h>
#include <wingdi.h>
#include <winddi.h>
#include <algorithm>
#include <vector>
#include "src/gdi32/gdi_font_faces.h"

namespace {

constexpr LONG kWidth = 40;
constexpr LONG kRows = 20;
constexpr BYTE kSentinel = 0x5A;
constexpr LONG kGlyph = 8;

// A band whose rows are padded beyond their pixels, with sentinel bytes before and after.
class Band {
public:
    Band(ULONG format, LONG bytesPerPixel, BYTE white) {
        LONG used = format == BMF_1BPP ? (kWidth + 7) / 8 : kWidth * bytesPerPixel;
        stride_ = used + 5;
        bytes_.assign(static_cast<size_t>(stride_ * kRows) + 2 * kGuard, kSentinel);
        for (LONG y = 0; y < kRows; ++y) {
            std::fill_n(Row(y), used, white);
        }
        surface.iType = STYPE_BITMAP;
        surface.iBitmapFormat = format;
        surface.sizlBitmap = {kWidth, kRows};
        surface.pvBits = surface.pvScan0 = Row(0);
        surface.lDelta = stride_;
        surface.cjBits = static_cast<ULONG>(stride_ * kRows);
        surface.fjBitmap = BMF_TOPDOWN;
    }
    BYTE* Row(LONG y) { return bytes_.data() + kGuard + static_cast<size_t>(y * stride_); }
    bool Guarded() const {
        return std::all_of(bytes_.begin(), bytes_.begin() + kGuard,
                           [](BYTE b) { return b == kSentinel; }) &&
               std::all_of(bytes_.end() - kGuard, bytes_.end(),
                           [](BYTE b) { return b == kSentinel; });
    }
    // The padding of every row is untouched.
    bool PaddingKept(LONG used) {
        for (LONG y = 0; y < kRows; ++y) {
            if (!std::all_of(Row(y) + used, Row(y) + stride_,
                             [](BYTE b) { return b == kSentinel; })) {
                return false;
            }
        }
        return true;
    }
    SURFOBJ surface{};

private:
    static constexpr size_t kGuard = 16;
    LONG stride_ = 0;
    std::vector<BYTE> bytes_;
};

// A solid square glyph image.
struct SquareGlyph {
    GLYPHBITS bits;
    BYTE more[kGlyph];
};

SquareGlyph Square() {
    SquareGlyph glyph{};
    glyph.bits.sizlBitmap = {kGlyph, kGlyph};
    std::fill_n(glyph.bits.aj, kGlyph, BYTE{0xFF});
    return glyph;
}

// One glyph at `at`, from `definition`.
struct OneGlyph {
    GLYPHPOS position{};
    WCHAR text[2] = {u'x', 0};
    STROBJ string{};
    OneGlyph(GLYPHDEF* definition, POINTL at, HGLYPH glyph = 0) {
        position = {glyph, definition, at};
        string = {1, SO_HORIZONTAL, 0, {at.x, at.y, at.x + kGlyph, at.y + kGlyph}, &position, text};
    }
};

TEST(EngTextOut, DrawsGlyphImagesInTheForeColourOnEachFormat) {
    SquareGlyph glyph = Square();
    GLYPHDEF definition{};
    definition.pgb = &glyph.bits;
    OneGlyph one(&definition, {4, 2});
    BRUSHOBJ fore = {0x00102030, nullptr, 0}; // 0x00BBGGRR

    Band colour(BMF_24BPP, 3, 0xFF);
    ASSERT_TRUE(EngTextOut(&colour.surface, &one.string, nullptr, nullptr, nullptr, nullptr, &fore,
                           nullptr, nullptr, R2_COPYPEN));
    const BYTE* inside = colour.Row(2) + 4 * 3;
    EXPECT_EQ(inside[0], 0x10); // blue first in memory
    EXPECT_EQ(inside[1], 0x20);
    EXPECT_EQ(inside[2], 0x30);
    EXPECT_EQ(colour.Row(2)[3 * 3], 0xFF);            // left of the glyph
    EXPECT_EQ(colour.Row(2)[(4 + kGlyph) * 3], 0xFF); // right of it
    EXPECT_EQ(colour.Row(2 + kGlyph)[4 * 3], 0xFF);   // below it
    EXPECT_TRUE(colour.PaddingKept(kWidth * 3));
    EXPECT_TRUE(colour.Guarded());

    Band grey(BMF_8BPP, 1, 0xFF);
    BRUSHOBJ level = {0x80, nullptr, 0};
    ASSERT_TRUE(EngTextOut(&grey.surface, &one.string, nullptr, nullptr, nullptr, nullptr, &level,
                           nullptr, nullptr, R2_COPYPEN));
    EXPECT_EQ(grey.Row(5)[7], 0x80);
    EXPECT_EQ(grey.Row(5)[3], 0xFF);
    EXPECT_TRUE(grey.PaddingKept(kWidth));

    Band mono(BMF_1BPP, 0, 0x00);
    BRUSHOBJ ink = {1, nullptr, 0};
    ASSERT_TRUE(EngTextOut(&mono.surface, &one.string, nullptr, nullptr, nullptr, nullptr, &ink,
                           nullptr, nullptr, R2_COPYPEN));
    // Columns 4 to 11: the low half of byte 0 and the high half of byte 1.
    EXPECT_EQ(mono.Row(3)[0], 0x0F);
    EXPECT_EQ(mono.Row(3)[1], 0xF0);
    EXPECT_EQ(mono.Row(1)[0], 0x00);
    EXPECT_TRUE(mono.PaddingKept((kWidth + 7) / 8));
    EXPECT_TRUE(mono.Guarded());
}

TEST(EngTextOut, KeepsToTheClipAndTheSurface) {
    SquareGlyph glyph = Square();
    GLYPHDEF definition{};
    definition.pgb = &glyph.bits;
    BRUSHOBJ fore = {0, nullptr, 0};
    Band band(BMF_8BPP, 1, 0xFF);
    CLIPOBJ clip{};
    clip.iDComplexity = DC_RECT;
    clip.rclBounds = {6, 0, 8, kRows};
    OneGlyph clipped(&definition, {4, 4});
    ASSERT_TRUE(EngTextOut(&band.surface, &clipped.string, nullptr, &clip, nullptr, nullptr, &fore,
                           nullptr, nullptr, R2_COPYPEN));
    for (LONG x = 0; x < kWidth; ++x) {
        EXPECT_EQ(band.Row(6)[x], x == 6 || x == 7 ? 0 : 0xFF) << x;
    }
    // A glyph hanging over every edge draws only its part within the surface.
    for (POINTL at : {POINTL{-4, -4}, POINTL{kWidth - 4, kRows - 4}}) {
        OneGlyph edge(&definition, at);
        ASSERT_TRUE(EngTextOut(&band.surface, &edge.string, nullptr, nullptr, nullptr, nullptr,
                               &fore, nullptr, nullptr, R2_COPYPEN));
    }
    EXPECT_EQ(band.Row(0)[0], 0);
    EXPECT_EQ(band.Row(kRows - 1)[kWidth - 1], 0);
    EXPECT_TRUE(band.PaddingKept(kWidth));
    EXPECT_TRUE(band.Guarded());
}

TEST(EngTextOut, PaintsTheOpaqueRectangleUnderAndTheExtraRectanglesOver) {
    STROBJ empty{};
    Band band(BMF_8BPP, 1, 0xFF);
    RECTL opaque = {0, 0, 10, 2};
    RECTL extra[] = {{2, 1, 4, 3}, {0, 0, 0, 0}, {20, 10, 30, 12}};
    BRUSHOBJ fore = {0x10, nullptr, 0};
    BRUSHOBJ back = {0x70, nullptr, 0};
    ASSERT_TRUE(EngTextOut(&band.surface, &empty, nullptr, nullptr, extra, &opaque, &fore, &back,
                           nullptr, R2_COPYPEN));
    EXPECT_EQ(band.Row(0)[0], 0x70);
    EXPECT_EQ(band.Row(1)[2], 0x10);
    EXPECT_EQ(band.Row(2)[3], 0x10);
    EXPECT_EQ(band.Row(2)[0], 0xFF);
    EXPECT_EQ(band.Row(10)[20], 0xFF); // after the terminating rectangle
}

TEST(EngTextOut, DrawsGlyphIndicesWithTheEnginesFont) {
    LOGFONTW logical{};
    logical.lfHeight = -16;
    lstrcpynW(logical.lfFaceName, L"Arial", LF_FACESIZE);
    auto font = moltr::platform::RealiseFont(logical);
    ASSERT_NE(font, nullptr);
    FONTOBJ engineFont{};
    engineFont.pvProducer = const_cast<moltr::platform::RealisedFont*>(font.get());
    // The first glyph of the face that inks anything, and its image.
    moltr::platform::GlyphImage image;
    HGLYPH index = 1;
    auto inks = [&] {
        return font->Render(index, true, 0, 0, image) &&
               std::any_of(image.bits.begin(), image.bits.end(), [](BYTE b) { return b != 0; });
    };
    while (index < 512 && !inks()) {
        ++index;
    }
    ASSERT_LT(index, 512u);
    GLYPHDEF none{};
    OneGlyph one(&none, {4, 16}, index);
    Band band(BMF_24BPP, 3, 0xFF);
    BRUSHOBJ fore = {0, nullptr, 0};
    ASSERT_TRUE(EngTextOut(&band.surface, &one.string, &engineFont, nullptr, nullptr, nullptr,
                           &fore, nullptr, nullptr, R2_COPYPEN));
    // The pen is at the baseline: the image's top row lies `top` rows above it.
    LONG inked = 0;
    for (LONG y = 0; y < kRows; ++y) {
        for (LONG x = 0; x < kWidth; ++x) {
            const LONG column = x - 4 - image.left;
            const LONG row = y - 16 + image.top;
            const bool ink = column >= 0 && column < image.width && row >= 0 && row < image.rows &&
                             ((image.bits[row * image.pitch + column / 8] >> (7 - column % 8)) & 1);
            EXPECT_EQ(band.Row(y)[x * 3], ink ? 0 : 0xFF) << x << "," << y;
            inked += ink;
        }
    }
    EXPECT_GT(inked, 0);
    EXPECT_TRUE(band.PaddingKept(kWidth * 3));
}

TEST(EngTextOut, RefusesWhatIsNoDrawableSurface) {
    STROBJ empty{};
    Band band(BMF_8BPP, 1, 0xFF);
    EXPECT_FALSE(EngTextOut(nullptr, &empty, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, R2_COPYPEN));
    EXPECT_FALSE(EngTextOut(&band.surface, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, R2_COPYPEN));
    SURFOBJ device = band.surface;
    device.iType = STYPE_DEVICE;
    SetLastError(0);
    EXPECT_FALSE(EngTextOut(&device, &empty, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, R2_COPYPEN));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    SURFOBJ jpeg = band.surface;
    jpeg.iBitmapFormat = BMF_JPEG;
    EXPECT_FALSE(EngTextOut(&jpeg, &empty, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, R2_COPYPEN));
}

TEST(GdiFlush, HasNothingToWaitFor) {
    EXPECT_TRUE(GdiFlush());
}

} // namespace
