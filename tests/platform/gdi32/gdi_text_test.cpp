// Drawing text and lines: ExtTextOutW with alignment, clipping, background modes, escapement and
// right-to-left reading; SaveDC/RestoreDC; MoveToEx/LineTo and Rectangle with pens and brushes.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <cstring>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr LONG kSize = 200;

// A white 24-bit page with a font of its own.
class Page : public ::testing::Test {
protected:
    void SetUp() override {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = kSize;
        info.bmiHeader.biHeight = -kSize;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
        original_ = SelectObject(dc_, bitmap_);
        PatBlt(dc_, 0, 0, kSize, kSize, WHITENESS);
    }
    void TearDown() override {
        SelectObject(dc_, original_);
        DeleteObject(bitmap_);
        if (font_) {
            DeleteObject(SelectObject(dc_, GetStockObject(SYSTEM_FONT)));
        }
        DeleteDC(dc_);
    }
    void UseFont(LONG height, LONG escapement = 0) {
        LOGFONTW font{};
        font.lfHeight = height;
        font.lfEscapement = escapement;
        font.lfOrientation = escapement;
        std::memcpy(font.lfFaceName, u"Arial", sizeof(u"Arial"));
        HFONT made = CreateFontIndirectW(&font);
        HGDIOBJ previous = SelectObject(dc_, made);
        if (font_) {
            DeleteObject(previous);
        }
        font_ = made;
    }
    // The box holding every pixel of `colour`; empty when there is none.
    RECT InkBox(COLORREF colour = kBlack) {
        RECT box = {kSize, kSize, 0, 0};
        for (LONG y = 0; y < kSize; ++y) {
            for (LONG x = 0; x < kSize; ++x) {
                if (GetPixel(dc_, x, y) == colour) {
                    box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                           std::max(box.bottom, y + 1)};
                }
            }
        }
        return box;
    }

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ original_ = nullptr;
    HFONT font_ = nullptr;
};

TEST_F(Page, TextIsDrawnBelowAndRightOfTheTopLeftReference) {
    UseFont(-40);
    SetBkMode(dc_, TRANSPARENT);
    ASSERT_TRUE(ExtTextOutW(dc_, 20, 30, 0, nullptr, L"H", 1, nullptr));
    TEXTMETRICW metric{};
    GetTextMetricsW(dc_, &metric);
    const RECT ink = InkBox();
    // H stands on the baseline and reaches the cap height; nothing is above the cell.
    EXPECT_GE(ink.left, 20);
    EXPECT_LT(ink.left, 20 + 10);
    EXPECT_EQ(ink.bottom, 30 + metric.tmAscent);
    EXPECT_GT(ink.top, 30);
}

TEST_F(Page, RightToLeftReadingLeavesLeftToRightDigitsAsTheyAre) {
    UseFont(-40);
    SetBkMode(dc_, TRANSPARENT);
    ASSERT_TRUE(ExtTextOutW(dc_, 20, 30, 0, nullptr, L"12", 2, nullptr));
    const RECT plain = InkBox();
    PatBlt(dc_, 0, 0, kSize, kSize, WHITENESS);
    ASSERT_TRUE(ExtTextOutW(dc_, 20, 30, ETO_RTLREADING, nullptr, L"12", 2, nullptr));
    const RECT reading = InkBox();
    EXPECT_EQ(reading.left, plain.left);
    EXPECT_EQ(reading.right, plain.right);
    EXPECT_EQ(reading.bottom, plain.bottom);
}

TEST_F(Page, AlignmentMovesTheReference) {
    UseFont(-40);
    SetBkMode(dc_, TRANSPARENT);
    SIZE extent{};
    GetTextExtentPoint32W(dc_, L"HH", 2, &extent);
    SetTextAlign(dc_, TA_CENTER | TA_BASELINE);
    ASSERT_TRUE(ExtTextOutW(dc_, 100, 100, 0, nullptr, L"HH", 2, nullptr));
    const RECT ink = InkBox();
    EXPECT_EQ(ink.bottom, 100);
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 100, 3);
    EXPECT_LE(ink.right - ink.left, extent.cx);
    EXPECT_EQ(GetTextAlign(dc_), static_cast<UINT>(TA_CENTER | TA_BASELINE));
}

TEST_F(Page, OpaqueModeFillsTheCellsInTheBackgroundColour) {
    UseFont(-20);
    SetBkColor(dc_, kRed);
    SIZE extent{};
    GetTextExtentPoint32W(dc_, L"ab", 2, &extent);
    ASSERT_TRUE(ExtTextOutW(dc_, 10, 10, 0, nullptr, L"ab", 2, nullptr));
    const RECT cells = InkBox(kRed);
    EXPECT_EQ(cells.left, 10);
    EXPECT_EQ(cells.top, 10);
    EXPECT_EQ(cells.right, 10 + extent.cx);
    EXPECT_EQ(cells.bottom, 10 + extent.cy);
}

TEST_F(Page, ClippedTextStaysInsideTheRectangle) {
    UseFont(-60);
    SetBkMode(dc_, TRANSPARENT);
    const RECT clip = {0, 0, 30, kSize};
    ASSERT_TRUE(ExtTextOutW(dc_, 10, 10, ETO_CLIPPED, &clip, L"WWW", 3, nullptr));
    const RECT ink = InkBox();
    EXPECT_EQ(ink.right, 30);
    // Opaque with a rectangle paints it first.
    const RECT patch = {150, 150, 160, 155};
    SetBkColor(dc_, kRed);
    ASSERT_TRUE(ExtTextOutW(dc_, 0, 0, ETO_OPAQUE, &patch, L"", 0, nullptr));
    EXPECT_EQ(InkBox(kRed).left, 150);
    EXPECT_EQ(InkBox(kRed).bottom, 155);
}

TEST_F(Page, HugeWidthsAndPositionsDrawWhatFallsOnTheSurface) {
    UseFont(-20);
    const INT widths[] = {INT32_MAX, INT32_MAX, 5};
    SetTextAlign(dc_, TA_UPDATECP);
    MoveToEx(dc_, INT32_MAX - 10, 0, nullptr);
    EXPECT_TRUE(ExtTextOutW(dc_, 0, 0, 0, nullptr, L"abc", 3, widths));
    SetTextAlign(dc_, TA_LEFT);
    EXPECT_TRUE(ExtTextOutW(dc_, 5, 5, 0, nullptr, L"abc", 3, widths));
    EXPECT_NE(InkBox().right, 0); // the first glyph is on the page
}

TEST_F(Page, EscapementTurnsTheBaselineCounterClockwise) {
    UseFont(-30, 900);
    SetBkMode(dc_, TRANSPARENT);
    SetTextAlign(dc_, TA_LEFT | TA_BASELINE);
    ASSERT_TRUE(ExtTextOutW(dc_, 100, 150, 0, nullptr, L"IIII", 4, nullptr));
    const RECT ink = InkBox();
    // Upwards from the reference, the glyphs' tops to the left of it.
    EXPECT_LE(ink.right, 101);
    EXPECT_LT(ink.left, 100);
    EXPECT_LE(ink.bottom, 151);
    EXPECT_GT(ink.bottom - ink.top, ink.right - ink.left);
}

TEST_F(Page, SaveAndRestoreBringBackColoursAndClip) {
    const int level = SaveDC(dc_);
    EXPECT_EQ(level, 1);
    SetTextColor(dc_, kRed);
    IntersectClipRect(dc_, 0, 0, 1, 1);
    EXPECT_EQ(SaveDC(dc_), 2);
    EXPECT_TRUE(RestoreDC(dc_, -2));
    EXPECT_EQ(GetTextColor(dc_), kBlack);
    RECT box{};
    EXPECT_EQ(GetClipBox(dc_, &box), SIMPLEREGION);
    EXPECT_EQ(box.right, kSize);
    SetLastError(0);
    EXPECT_FALSE(RestoreDC(dc_, 1));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(Page, LinesLeaveOutTheirLastPointAndRectanglesTheirOuterEdge) {
    HPEN red = CreatePen(PS_SOLID, 1, kRed);
    HGDIOBJ previous = SelectObject(dc_, red);
    MoveToEx(dc_, 10, 10, nullptr);
    ASSERT_TRUE(LineTo(dc_, 20, 10));
    EXPECT_EQ(GetPixel(dc_, 10, 10), kRed);
    EXPECT_EQ(GetPixel(dc_, 19, 10), kRed);
    EXPECT_EQ(GetPixel(dc_, 20, 10), kWhite);
    POINT at{};
    GetCurrentPositionEx(dc_, &at);
    EXPECT_EQ(at.x, 20);
    SelectObject(dc_, GetStockObject(BLACK_BRUSH));
    ASSERT_TRUE(Rectangle(dc_, 50, 50, 60, 55));
    EXPECT_EQ(GetPixel(dc_, 50, 50), kRed);
    EXPECT_EQ(GetPixel(dc_, 59, 54), kRed);
    EXPECT_EQ(GetPixel(dc_, 55, 52), kBlack);
    EXPECT_EQ(GetPixel(dc_, 60, 52), kWhite);
    EXPECT_EQ(GetPixel(dc_, 55, 55), kWhite);
    SelectObject(dc_, previous);
    DeleteObject(red);
}

TEST_F(Page, RegionsCombineAndClip) {
    HRGN left = CreateRectRgn(0, 0, 10, 10);
    HRGN right = CreateRectRgn(5, 0, 20, 10);
    HRGN both = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(both, left, right, RGN_OR), SIMPLEREGION);
    RECT box{};
    EXPECT_EQ(GetRgnBox(both, &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 20);
    EXPECT_EQ(CombineRgn(both, left, right, RGN_XOR), COMPLEXREGION);
    EXPECT_FALSE(PtInRegion(both, 7, 5));
    EXPECT_TRUE(PtInRegion(both, 2, 5));
    EXPECT_EQ(SelectClipRgn(dc_, both), COMPLEXREGION);
    PatBlt(dc_, 0, 0, kSize, kSize, BLACKNESS);
    EXPECT_EQ(GetPixel(dc_, 7, 5), CLR_INVALID);
    EXPECT_EQ(GetPixel(dc_, 12, 5), kBlack);
    SelectClipRgn(dc_, nullptr);
    EXPECT_EQ(GetPixel(dc_, 7, 5), kWhite);
    EXPECT_EQ(GetPixel(dc_, 30, 5), kWhite);
    for (HRGN region : {left, right, both}) {
        EXPECT_TRUE(DeleteObject(region));
    }
}

} // namespace
