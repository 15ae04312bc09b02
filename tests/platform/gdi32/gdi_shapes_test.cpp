// Filled shapes and styled pens: Polygon by the alternate rule, Pie counter-clockwise between its
// radials, the dash patterns of one-pixel pens with their gaps in the background colour, and
// CreateFontW as CreateFontIndirectW.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include <vector>
#include "gdi_surface_canvas.h"

namespace {

using moltr::test::SurfaceCanvas;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// Selects a red brush and no pen for the scope.
struct RedFill {
    explicit RedFill(HDC dc) : dc(dc), brush(CreateSolidBrush(kRed)) {
        oldBrush = SelectObject(dc, brush);
        oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    }
    ~RedFill() {
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(brush);
    }
    HDC dc;
    HBRUSH brush;
    HGDIOBJ oldBrush;
    HGDIOBJ oldPen;
};

TEST(Polygons, ASquareFillsThePixelsInsideItsCorners) {
    SurfaceCanvas canvas(20, 20);
    RedFill fill(canvas.dc());
    const POINT square[] = {{2, 2}, {12, 2}, {12, 12}, {2, 12}};
    ASSERT_TRUE(Polygon(canvas.dc(), square, 4));
    EXPECT_EQ(canvas.Count(kRed), 100);
    EXPECT_EQ(canvas.At(2, 2), kRed);
    EXPECT_EQ(canvas.At(11, 11), kRed);
    EXPECT_EQ(canvas.At(12, 12), kWhite);
}

TEST(Polygons, TheAlternateRuleLeavesTheOverlapOfASelfCrossingOutlineEmpty) {
    SurfaceCanvas canvas(40, 40);
    RedFill fill(canvas.dc());
    // A square traced twice: once outside and once, the same way round, inside it.
    const POINT rings[] = {{0, 0},   {30, 0},  {30, 30}, {0, 30},  {0, 0},
                           {10, 10}, {20, 10}, {20, 20}, {10, 20}, {10, 10}};
    ASSERT_TRUE(Polygon(canvas.dc(), rings, 10));
    EXPECT_EQ(canvas.At(5, 5), kRed);
    EXPECT_EQ(canvas.At(15, 15), kWhite);
}

TEST(Polygons, TheOutlineIsDrawnWithThePenAndBadArgumentsAreRefused) {
    SurfaceCanvas canvas(20, 20);
    const POINT triangle[] = {{1, 1}, {15, 1}, {1, 15}};
    ASSERT_TRUE(Polygon(canvas.dc(), triangle, 3));
    EXPECT_EQ(canvas.At(8, 1), kBlack);
    EXPECT_EQ(canvas.At(1, 8), kBlack);
    EXPECT_EQ(canvas.At(4, 4), kWhite);
    SetLastError(0);
    EXPECT_FALSE(Polygon(canvas.dc(), triangle, 1));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(Polygon(canvas.dc(), nullptr, 3));
    EXPECT_FALSE(Polygon(nullptr, triangle, 3));
}

TEST(Pies, TheSliceRunsCounterClockwiseFromTheFirstRadialToTheSecond) {
    SurfaceCanvas canvas(100, 100);
    RedFill fill(canvas.dc());
    // From the right (0 degrees) to the top (90 degrees): the upper right quarter.
    ASSERT_TRUE(Pie(canvas.dc(), 0, 0, 100, 100, 100, 50, 50, 0));
    EXPECT_EQ(canvas.At(75, 25), kRed);
    EXPECT_EQ(canvas.At(25, 25), kWhite);
    EXPECT_EQ(canvas.At(75, 75), kWhite);
    EXPECT_EQ(canvas.At(95, 5), kWhite); // outside the circle
    // The same radials the other way round: the other three quarters.
    PatBlt(canvas.dc(), 0, 0, 100, 100, WHITENESS);
    ASSERT_TRUE(Pie(canvas.dc(), 0, 0, 100, 100, 50, 0, 100, 50));
    EXPECT_EQ(canvas.At(75, 25), kWhite);
    EXPECT_EQ(canvas.At(25, 25), kRed);
    EXPECT_EQ(canvas.At(75, 75), kRed);
}

TEST(Pies, CoincidingRadialsGiveTheWholeEllipse) {
    SurfaceCanvas canvas(100, 60);
    RedFill fill(canvas.dc());
    ASSERT_TRUE(Pie(canvas.dc(), 0, 0, 100, 60, 100, 30, 100, 30));
    EXPECT_EQ(canvas.At(50, 30), kRed);
    EXPECT_EQ(canvas.At(3, 30), kRed);
    EXPECT_EQ(canvas.At(3, 3), kWhite);
    EXPECT_EQ(canvas.At(50, 58), kRed);
}

TEST(Pies, ThePenOutlinesTheArcAndBothRadii) {
    SurfaceCanvas canvas(100, 100);
    ASSERT_TRUE(Pie(canvas.dc(), 0, 0, 100, 100, 100, 50, 50, 0));
    EXPECT_EQ(canvas.At(75, 50), kBlack);               // the radius to the right
    EXPECT_EQ(canvas.At(50, 25), kBlack);               // the radius to the top
    EXPECT_EQ(canvas.At(75, 25), kWhite);               // the white brush inside
    EXPECT_GT(canvas.Count(kBlack, 80, 5, 100, 20), 0); // the arc
    EXPECT_EQ(canvas.Count(kBlack, 0, 55, 45, 100), 0);
}

// The pixels of a 24-pixel line at row 5 in the pen's style.
std::vector<COLORREF> StyledLine(int style, int width, int mode) {
    SurfaceCanvas canvas(30, 10);
    HPEN pen = CreatePen(style, width, kBlue);
    HGDIOBJ previous = SelectObject(canvas.dc(), pen);
    SetBkColor(canvas.dc(), kRed);
    SetBkMode(canvas.dc(), mode);
    MoveToEx(canvas.dc(), 0, 5, nullptr);
    LineTo(canvas.dc(), 24, 5);
    SelectObject(canvas.dc(), previous);
    DeleteObject(pen);
    std::vector<COLORREF> row;
    for (LONG x = 0; x < 24; ++x) {
        row.push_back(canvas.At(x, 5));
    }
    return row;
}

TEST(StyledPens, DotsAlternateWithGapsInTheBackgroundColourWhenOpaque) {
    const std::vector<COLORREF> row = StyledLine(PS_DOT, 0, OPAQUE);
    for (size_t x = 0; x < row.size(); ++x) {
        EXPECT_EQ(row[x], (x / 3) % 2 == 0 ? kBlue : kRed) << x;
    }
}

TEST(StyledPens, TransparentGapsLeaveThePictureAlone) {
    const std::vector<COLORREF> row = StyledLine(PS_DOT, 1, TRANSPARENT);
    EXPECT_EQ(row[0], kBlue);
    EXPECT_EQ(row[3], kWhite);
    EXPECT_EQ(row[6], kBlue);
}

TEST(StyledPens, DashesAreLongerThanDotsAndWidePensDrawSolid) {
    const std::vector<COLORREF> dash = StyledLine(PS_DASH, 0, OPAQUE);
    EXPECT_EQ(dash[17], kBlue);
    EXPECT_EQ(dash[18], kRed);
    EXPECT_EQ(dash[23], kRed);
    const std::vector<COLORREF> wide = StyledLine(PS_DOT, 3, OPAQUE);
    for (COLORREF colour : wide) {
        EXPECT_EQ(colour, kBlue);
    }
}

TEST(Fonts, CreateFontWMakesTheLogicalFontItsArgumentsDescribe) {
    HFONT font =
        CreateFontW(-20, 7, 450, 450, FW_BOLD, TRUE, FALSE, TRUE, SYMBOL_CHARSET, OUT_TT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Times New Roman");
    ASSERT_NE(font, nullptr);
    LOGFONTW described{};
    ASSERT_EQ(GetObjectW(font, sizeof described, &described), static_cast<int>(sizeof described));
    EXPECT_EQ(described.lfHeight, -20);
    EXPECT_EQ(described.lfWidth, 7);
    EXPECT_EQ(described.lfEscapement, 450);
    EXPECT_EQ(described.lfWeight, FW_BOLD);
    EXPECT_EQ(described.lfItalic, TRUE);
    EXPECT_EQ(described.lfStrikeOut, TRUE);
    EXPECT_EQ(described.lfCharSet, SYMBOL_CHARSET);
    EXPECT_EQ(described.lfOutPrecision, OUT_TT_PRECIS);
    EXPECT_EQ(std::memcmp(described.lfFaceName, u"Times New Roman", sizeof(u"Times New Roman")), 0);
    DeleteObject(font);
}

} // namespace
