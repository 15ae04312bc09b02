// Bitmaps and raster operations: CreateCompatibleDC on no device, CreateBitmap,
// CreateCompatibleBitmap, CreateDIBSection, GetObjectW, SetPixel/GetPixel, BitBlt, PatBlt,
// FillRect and ExtFloodFill.
#include "sim/windows_admin.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include <vector>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

struct DibInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

DibInfo Info(LONG width, LONG height, WORD bits) {
    DibInfo info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = bits;
    info.header.biCompression = BI_RGB;
    for (int i = 0; i < 256; ++i) {
        const BYTE level = static_cast<BYTE>(i);
        info.colours[i] = {level, level, level, 0};
    }
    return info;
}

// A memory DC with a DIB section selected, released at the end of the test.
struct Canvas {
    Canvas(LONG width, LONG height, WORD bits, DibInfo info) {
        info.header.biWidth = width;
        info.header.biHeight = height;
        info.header.biBitCount = bits;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                  reinterpret_cast<void**>(&bits_), nullptr, 0);
        previous = SelectObject(dc, bitmap);
    }
    Canvas(LONG width, LONG height, WORD bits) : Canvas(width, height, bits, Info(0, 0, 0)) {}
    ~Canvas() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    BYTE* bits() const { return bits_; }
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    BYTE* bits_ = nullptr;
};

// A DC with a monochrome bitmap of its own.
struct MonoCanvas {
    MonoCanvas(LONG width, LONG height) {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(dc, width, height);
        previous = SelectObject(dc, bitmap);
    }
    ~MonoCanvas() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
};

TEST(Bitmaps, MemoryDcOnNoDeviceStartsWithOneMonochromePixel) {
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    BITMAP info{};
    ASSERT_EQ(GetObjectW(GetCurrentObject(dc, OBJ_BITMAP), sizeof info, &info),
              static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 1);
    EXPECT_EQ(info.bmHeight, 1);
    EXPECT_EQ(info.bmBitsPixel, 1);
    // So a bitmap compatible with it is monochrome too.
    HBITMAP mask = CreateCompatibleBitmap(dc, 10, 3);
    ASSERT_EQ(GetObjectW(mask, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmBitsPixel, 1);
    EXPECT_EQ(info.bmWidthBytes, 2); // rows padded to words
    EXPECT_EQ(info.bmBits, nullptr);
    EXPECT_TRUE(DeleteObject(mask));
    EXPECT_TRUE(DeleteDC(dc));
}

TEST(Bitmaps, CompatibleBitmapOfTheScreenIsColourAndEmptySizeGivesTheStockBitmap) {
    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateCompatibleBitmap(screen, 5, 2);
    BITMAP info{};
    ASSERT_EQ(GetObjectW(colour, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmBitsPixel, 32);
    EXPECT_EQ(info.bmWidthBytes, 20);
    HBITMAP empty = CreateCompatibleBitmap(screen, 0, 4);
    ASSERT_EQ(GetObjectW(empty, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 1);
    EXPECT_EQ(info.bmBitsPixel, 1);
    EXPECT_TRUE(DeleteObject(colour));
    ReleaseDC(nullptr, screen);
}

TEST(Bitmaps, DibSectionRowsArePaddedToDwordsInTheOrderAsked) {
    for (LONG height : {3L, -3L}) {
        Canvas canvas(5, height, 24);
        ASSERT_NE(canvas.bits(), nullptr);
        DIBSECTION section{};
        ASSERT_EQ(GetObjectW(canvas.bitmap, sizeof section, &section),
                  static_cast<int>(sizeof section));
        EXPECT_EQ(section.dsBm.bmWidthBytes, 16); // 15 bytes of pixels, padded
        EXPECT_EQ(section.dsBm.bmHeight, 3);
        EXPECT_EQ(section.dsBm.bmBits, canvas.bits());
        EXPECT_EQ(section.dsBmih.biHeight, height);
        EXPECT_EQ(SetPixel(canvas.dc, 1, 0, RGB(1, 2, 3)), RGB(1, 2, 3));
        // The top row is the first in memory for a top-down DIB, the last for a bottom-up one.
        const BYTE* top = canvas.bits() + (height < 0 ? 0 : 2 * 16);
        EXPECT_EQ(top[3], 3); // blue, green, red
        EXPECT_EQ(top[4], 2);
        EXPECT_EQ(top[5], 1);
        EXPECT_EQ(GetPixel(canvas.dc, 1, 0), RGB(1, 2, 3));
    }
}

TEST(Bitmaps, PaletteDibsTakeTheNearestColourOfTheirTable) {
    Canvas grey(4, 1, 8);
    EXPECT_EQ(SetPixel(grey.dc, 2, 0, RGB(100, 100, 102)), RGB(101, 101, 101));
    EXPECT_EQ(grey.bits()[2], 101);
    DibInfo two = Info(0, 0, 0);
    two.colours[0] = {0, 0, 255, 0}; // red
    two.colours[1] = {255, 0, 0, 0}; // blue
    Canvas mono(9, 1, 1, two);
    EXPECT_EQ(SetPixel(mono.dc, 8, 0, RGB(0, 0, 200)), kBlue);
    EXPECT_EQ(mono.bits()[1], 0x80); // the ninth pixel is the top bit of the second byte
    EXPECT_EQ(GetPixel(mono.dc, 0, 0), kRed);
}

TEST(Bitmaps, BadBitmapRequestsFail) {
    DibInfo info = Info(4, 4, 24);
    void* bits = &info;
    info.header.biCompression = BI_RLE8;
    SetLastError(0);
    EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits,
                               nullptr, 0),
              nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(bits, nullptr);
    info = Info(4, 4, 8);
    info.header.biClrUsed = 257;
    EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits,
                               nullptr, 0),
              nullptr);
    EXPECT_EQ(CreateBitmap(0, 4, 1, 1, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(4, 4, 2, 1, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(4, 4, 1, 3, nullptr), nullptr);
}

TEST(Bitmaps, PixelsOutsideTheBitmapOrTheClipAreInvalid) {
    Canvas canvas(4, 4, 24);
    EXPECT_EQ(GetPixel(canvas.dc, 4, 0), CLR_INVALID);
    EXPECT_EQ(SetPixel(canvas.dc, -1, 0, kRed), CLR_INVALID);
    EXPECT_EQ(IntersectClipRect(canvas.dc, 0, 0, 2, 2), SIMPLEREGION);
    EXPECT_EQ(SetPixel(canvas.dc, 3, 3, kRed), CLR_INVALID);
    EXPECT_EQ(canvas.bits()[12 * 0 + 9], 0);
}

TEST(RasterOperations, CopyInvertAndMask) {
    Canvas source(2, 1, 24);
    Canvas target(2, 1, 24);
    SetPixel(source.dc, 0, 0, RGB(0x0F, 0xF0, 0x33));
    SetPixel(source.dc, 1, 0, kWhite);
    SetPixel(target.dc, 0, 0, RGB(0xFF, 0x00, 0x11));
    SetPixel(target.dc, 1, 0, RGB(0x12, 0x34, 0x56));
    ASSERT_TRUE(BitBlt(target.dc, 0, 0, 2, 1, source.dc, 0, 0, SRCINVERT));
    EXPECT_EQ(GetPixel(target.dc, 0, 0), RGB(0x0F ^ 0xFF, 0xF0, 0x33 ^ 0x11));
    ASSERT_TRUE(BitBlt(target.dc, 0, 0, 2, 1, source.dc, 0, 0, SRCAND));
    EXPECT_EQ(GetPixel(target.dc, 0, 0), RGB(0x0F & 0xF0, 0xF0 & 0xF0, 0x33 & 0x22));
    EXPECT_EQ(GetPixel(target.dc, 1, 0), RGB(0x12 ^ 0xFF, 0x34 ^ 0xFF, 0x56 ^ 0xFF));
    ASSERT_TRUE(BitBlt(target.dc, 1, 0, 1, 1, source.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(target.dc, 1, 0), RGB(0x0F, 0xF0, 0x33));
    ASSERT_TRUE(PatBlt(target.dc, 0, 0, 2, 1, DSTINVERT));
    EXPECT_EQ(GetPixel(target.dc, 1, 0), RGB(0xF0, 0x0F, 0xCC));
}

TEST(RasterOperations, ColourIntoMonochromeUsesTheSourceBackground) {
    Canvas colour(3, 1, 24);
    SetPixel(colour.dc, 0, 0, kRed);
    SetPixel(colour.dc, 1, 0, kBlue);
    SetPixel(colour.dc, 2, 0, kWhite);
    SetBkColor(colour.dc, kBlue);
    MonoCanvas mask(3, 1);
    ASSERT_TRUE(BitBlt(mask.dc, 0, 0, 3, 1, colour.dc, 0, 0, SRCCOPY));
    // The background colour becomes white (1); every other colour, white included, black.
    EXPECT_EQ(GetPixel(mask.dc, 0, 0), kBlack);
    EXPECT_EQ(GetPixel(mask.dc, 1, 0), kWhite);
    EXPECT_EQ(GetPixel(mask.dc, 2, 0), kBlack);
}

TEST(RasterOperations, MonochromeIntoColourUsesTheTargetColours) {
    MonoCanvas mask(2, 1);
    SetPixel(mask.dc, 0, 0, kWhite);
    Canvas colour(2, 1, 24);
    SetTextColor(colour.dc, kRed);
    SetBkColor(colour.dc, kBlue);
    ASSERT_TRUE(BitBlt(colour.dc, 0, 0, 2, 1, mask.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(colour.dc, 0, 0), kBlue); // 1 bits take the background colour
    EXPECT_EQ(GetPixel(colour.dc, 1, 0), kRed);  // 0 bits the text colour
}

TEST(RasterOperations, BlitIsClippedToTheSourceAndTheTargetClip) {
    Canvas source(2, 2, 24);
    PatBlt(source.dc, 0, 0, 2, 2, WHITENESS);
    Canvas target(4, 4, 24);
    ExcludeClipRect(target.dc, 0, 0, 1, 4);
    ASSERT_TRUE(BitBlt(target.dc, 0, 0, 4, 4, source.dc, 0, 0, SRCCOPY));
    SelectClipRgn(target.dc, nullptr);
    EXPECT_EQ(GetPixel(target.dc, 0, 0), kBlack); // excluded
    EXPECT_EQ(GetPixel(target.dc, 1, 1), kWhite);
    EXPECT_EQ(GetPixel(target.dc, 2, 0), kBlack); // beyond the source
    EXPECT_EQ(GetPixel(target.dc, 1, 2), kBlack);
}

TEST(RasterOperations, BlitOntoItselfReadsTheSourceFirst) {
    Canvas canvas(3, 1, 24);
    SetPixel(canvas.dc, 0, 0, kRed);
    ASSERT_TRUE(BitBlt(canvas.dc, 1, 0, 2, 1, canvas.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(canvas.dc, 1, 0), kRed);
    EXPECT_EQ(GetPixel(canvas.dc, 2, 0), kBlack);
}

TEST(RasterOperations, FillRectPaintsTheBrushInsideTheRectangleOnly) {
    Canvas canvas(4, 2, 24);
    HBRUSH red = CreateSolidBrush(kRed);
    const RECT area = {1, 0, 3, 1};
    EXPECT_NE(FillRect(canvas.dc, &area, red), 0);
    EXPECT_EQ(GetPixel(canvas.dc, 0, 0), kBlack);
    EXPECT_EQ(GetPixel(canvas.dc, 1, 0), kRed);
    EXPECT_EQ(GetPixel(canvas.dc, 2, 0), kRed);
    EXPECT_EQ(GetPixel(canvas.dc, 3, 0), kBlack);
    EXPECT_EQ(GetPixel(canvas.dc, 1, 1), kBlack);
    LOGBRUSH brush{};
    EXPECT_EQ(GetObjectW(red, sizeof brush, &brush), static_cast<int>(sizeof brush));
    EXPECT_EQ(brush.lbColor, kRed);
    EXPECT_TRUE(DeleteObject(red));
    SetLastError(0);
    EXPECT_EQ(FillRect(canvas.dc, &area, red), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(FloodFill, SurfaceFillStopsAtOtherColours) {
    Canvas canvas(5, 3, 24);
    // A wall at column 2 keeps the fill on the left.
    HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    const RECT wall = {2, 0, 3, 3};
    FillRect(canvas.dc, &wall, white);
    HBRUSH red = CreateSolidBrush(kRed);
    HGDIOBJ previous = SelectObject(canvas.dc, red);
    ASSERT_TRUE(ExtFloodFill(canvas.dc, 0, 1, kBlack, FLOODFILLSURFACE));
    for (LONG y = 0; y < 3; ++y) {
        EXPECT_EQ(GetPixel(canvas.dc, 0, y), kRed);
        EXPECT_EQ(GetPixel(canvas.dc, 1, y), kRed);
        EXPECT_EQ(GetPixel(canvas.dc, 2, y), kWhite);
        EXPECT_EQ(GetPixel(canvas.dc, 4, y), kBlack);
    }
    // A start point of another colour fills nothing.
    EXPECT_FALSE(ExtFloodFill(canvas.dc, 2, 0, kBlack, FLOODFILLSURFACE));
    EXPECT_EQ(GetPixel(canvas.dc, 2, 0), kWhite);
    SelectObject(canvas.dc, previous);
    DeleteObject(red);
}

TEST(FloodFill, BorderFillStopsAtTheBorderColour) {
    Canvas canvas(5, 1, 24);
    SetPixel(canvas.dc, 3, 0, kBlue);
    SelectObject(canvas.dc, GetStockObject(WHITE_BRUSH));
    ASSERT_TRUE(ExtFloodFill(canvas.dc, 0, 0, kBlue, FLOODFILLBORDER));
    EXPECT_EQ(GetPixel(canvas.dc, 2, 0), kWhite);
    EXPECT_EQ(GetPixel(canvas.dc, 3, 0), kBlue);
    EXPECT_EQ(GetPixel(canvas.dc, 4, 0), kBlack);
}

TEST(GdiObjects, EveryObjectMadeHereIsFreed) {
    const size_t before = moltr::sim::GdiObjectCount();
    {
        Canvas canvas(3, 3, 8);
        MonoCanvas mask(3, 3);
    }
    EXPECT_EQ(moltr::sim::GdiObjectCount(), before);
}

} // namespace
