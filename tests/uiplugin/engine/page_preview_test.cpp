// The page preview: the grid rule, the sheet and its page cells as drawn for every number of pages
// per sheet in both orientations and as a booklet, the pictures and watermark on the pages, the
// caption, the colour rules, what a document devmode sets, and the sizes that leave nothing to
// draw.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <iterator>
#include <string>
#include <vector>
#include "sim/display.h"
#include "sim/utf.h"
#include "uiplugin/engine/engine_sheet.h"
#include "uiplugin/engine/page_preview.h"
#include "uiplugin/engine/preview_layout.h"

namespace moltr::test {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr LONG kLetterWidth = 5100; // 8.5 inches in 1/600 inch
constexpr LONG kLetterLength = 6600;
constexpr LONG kSide = 400;

ui::PreviewState Letter(DWORD pages, DWORD orientation) {
    ui::PreviewState state;
    state.paperWidth = kLetterWidth;
    state.paperLength = kLetterLength;
    state.pagesPerSheet = pages;
    state.orientation = orientation;
    state.pageBorders = true;
    return state;
}

// A memory DC of a control's size with a 32-bit surface, read back pixel by pixel.
class Control {
public:
    Control(LONG width, LONG height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
    }
    ~Control() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    void Paint(const ui::PreviewState& state, const ui::WatermarkRecord& watermark = {}) {
        ui::PaintPagePreview(dc_, {0, 0, width_, height_}, state, watermark, L"8.5 x 11 in");
    }
    COLORREF At(LONG x, LONG y) const { return GetPixel(dc_, x, y); }
    int Count(COLORREF colour, RECT area) const {
        int count = 0;
        for (LONG y = area.top; y < area.bottom; ++y) {
            for (LONG x = area.left; x < area.right; ++x) {
                count += At(x, y) == colour ? 1 : 0;
            }
        }
        return count;
    }
    int Count(COLORREF colour) const { return Count(colour, {0, 0, width_, height_}); }
    // The runs of black pixels along row y.
    int BlackRuns(LONG y) const {
        int runs = 0;
        for (LONG x = 0; x < width_; ++x) {
            runs += At(x, y) == kBlack && (x == 0 || At(x - 1, y) != kBlack) ? 1 : 0;
        }
        return runs;
    }
    HDC dc() const { return dc_; }
    std::vector<COLORREF> Pixels() const {
        std::vector<COLORREF> pixels;
        for (LONG y = 0; y < height_; ++y) {
            for (LONG x = 0; x < width_; ++x) {
                pixels.push_back(At(x, y));
            }
        }
        return pixels;
    }

private:
    LONG width_;
    LONG height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

TEST(PreviewGrid, FourPagesOnASquareAreaFollowTheGapRule) {
    const ui::PageGrid grid = ui::GridOf(Letter(4, 1), 280, 280);
    EXPECT_EQ(grid.gap, 20);
    EXPECT_EQ(grid.cellHeight, 110);
    EXPECT_EQ(grid.rowGap, 20);
    EXPECT_EQ(grid.cellWidth, 110);
    EXPECT_EQ(grid.columnGap, 20);
    EXPECT_EQ(grid.columns, 2);
    EXPECT_EQ(grid.rows, 2);
}

TEST(PreviewGrid, ANarrowAreaRecomputesTheCellsFromItsWidth) {
    // 2 x 1 on 100 x 280: from the height the cells would not fit across (t < Q / 2).
    const ui::PageGrid grid = ui::GridOf(Letter(2, 1), 100, 280);
    const LONG q = (100 + 280) / 28;
    const LONG m = (100 - 3 * q) / 2;
    const LONG d = 100 * 100 / 280;
    EXPECT_EQ(grid.gap, q);
    EXPECT_EQ(grid.cellWidth, m);
    EXPECT_EQ(grid.cellHeight, d * m / 100);
    EXPECT_EQ(grid.columnGap, (100 - 2 * m) / 3);
}

// The expected picture, worked out from the layout rules for a 400 x 400 control and Letter.
struct Expected {
    LONG columns;
    LONG rows;
    RECT sheet;              // in pixels
    std::vector<RECT> cells; // in pixels, row by row
};

Expected Expect(DWORD pages, DWORD orientation) {
    struct Shape {
        DWORD pages;
        LONG columns[2];
        LONG rows[2];
        bool widthOverHeight;
    };
    const Shape shapes[] = {{1, {1, 1}, {1, 1}, true},  {2, {2, 1}, {1, 2}, true},
                            {4, {2, 2}, {2, 2}, false}, {6, {3, 2}, {2, 3}, true},
                            {9, {3, 3}, {3, 3}, false}, {16, {4, 4}, {4, 4}, false}};
    Shape shape = shapes[0];
    for (const Shape& s : shapes) {
        shape = s.pages == pages ? s : shape;
    }
    const bool landscape = orientation == 2;
    const LONG window = kSide * (kLetterLength / (kSide - 40) + 1);
    const LONG pixel = window / kSide;
    const bool across = landscape != (pages == 2 || pages == 6);
    const LONG w = across ? kLetterLength : kLetterWidth;
    const LONG h = across ? kLetterWidth : kLetterLength;
    const LONG left = (window - w) / 2;
    const LONG top = (window - h) / 2;
    Expected expected;
    expected.columns = shape.columns[landscape];
    expected.rows = shape.rows[landscape];
    const auto device = [&](LONG v) { return (v + pixel / 2) / pixel; };
    expected.sheet = {device(left), device(top), device(left + w), device(top + h)};
    LONG m = w, g = h, t = 0, l = 0;
    if (pages > 1) {
        const LONG b = expected.columns, r = expected.rows;
        const LONG q = (w + h) / 28;
        const LONG d = shape.widthOverHeight ? w * 100 / h : h * 100 / w;
        g = (h - q * (r + 1)) / r;
        l = (h - r * g) / (r + 1);
        m = g * 100 / d;
        t = (w - b * m) / (b + 1);
        if (t < q / 2) {
            m = (w - (b + 1) * q) / b;
            g = d * m / 100;
            l = (h - r * g) / (r + 1);
            t = (w - b * m) / (b + 1);
        }
    }
    for (LONG row = 0; row < expected.rows; ++row) {
        for (LONG column = 0; column < expected.columns; ++column) {
            const LONG x = left + t + column * (m + t);
            const LONG y = top + l + row * (g + l);
            expected.cells.push_back({device(x), device(y), device(x + m), device(y + g)});
        }
    }
    return expected;
}

struct GridCase {
    DWORD pages;
    DWORD orientation;
};

class PreviewSheets : public ::testing::TestWithParam<GridCase> {};

TEST_P(PreviewSheets, EachPageCellIsFramedWhereTheRulePutsIt) {
    const GridCase& grid = GetParam();
    Control control(kSide, kSide);
    control.Paint(Letter(grid.pages, grid.orientation));
    const Expected expected = Expect(grid.pages, grid.orientation);
    // Outside the sheet the control's face shows; the sheet is white inside its black edge.
    EXPECT_EQ(control.At(2, 2), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(control.At(expected.sheet.left, (expected.sheet.top + expected.sheet.bottom) / 2),
              kBlack);
    for (const RECT& cell : expected.cells) {
        const LONG probe = cell.top + 2; // inside the margin above the mock text
        if (grid.pages == 1) {
            EXPECT_EQ(control.At(cell.left + 3, probe), kWhite);
            continue;
        }
        // A border one pixel wide on each side of the cell, the sheet's white around it.
        EXPECT_EQ(control.At(cell.left, probe), kBlack) << cell.left << "," << probe;
        EXPECT_EQ(control.At(cell.right - 1, probe), kBlack) << cell.right << "," << probe;
        EXPECT_EQ(control.At(cell.left - 2, probe), kWhite);
        EXPECT_EQ(control.At(cell.left + 1, cell.top), kBlack);
        EXPECT_EQ(control.At(cell.left + 1, cell.bottom - 1), kBlack);
        // The row holds the sheet's two edges and two borders per column.
        EXPECT_EQ(control.BlackRuns(probe), 2 + 2 * expected.columns);
    }
    // Page numbers in blue on every page of a shared sheet, none on a single page.
    const int blue = control.Count(kBlue);
    if (grid.pages == 1) {
        EXPECT_EQ(blue, 0);
    } else {
        for (const RECT& cell : expected.cells) {
            EXPECT_GT(control.Count(kBlue, cell), 0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(PagesAndOrientations, PreviewSheets,
                         ::testing::Values(GridCase{1, 1}, GridCase{1, 2}, GridCase{2, 1},
                                           GridCase{2, 2}, GridCase{4, 1}, GridCase{4, 2},
                                           GridCase{6, 1}, GridCase{6, 2}, GridCase{9, 1},
                                           GridCase{9, 2}, GridCase{16, 1}, GridCase{16, 2}));

TEST(PreviewPages, PageOrderTwoRunsDownTheColumnsFirst) {
    Control rows(kSide, kSide);
    rows.Paint(Letter(4, 1));
    ui::PreviewState state = Letter(4, 1);
    state.pageOrder = 2;
    Control columns(kSide, kSide);
    columns.Paint(state);
    const Expected expected = Expect(4, 1);
    // The pictures stay on the first page; the second page is below it rather than beside it.
    const RECT topRight = expected.cells[1];
    const RECT bottomLeft = expected.cells[2];
    EXPECT_NE(rows.Count(kBlue, topRight), columns.Count(kBlue, topRight));
    EXPECT_EQ(rows.Count(kBlue, topRight), columns.Count(kBlue, bottomLeft));
}

// The pixels of the letter E's grey (monochrome mode) in a box.
int LetterPixels(const Control& control, RECT box) {
    return control.Count(RGB(117, 117, 117), box);
}

TEST(PreviewPages, TheFirstPageCarriesTheLetterAndThePie) {
    Control control(kSide, kSide);
    ui::PreviewState state = Letter(4, 1);
    control.Paint(state);
    const Expected expected = Expect(4, 1);
    EXPECT_GT(LetterPixels(control, expected.cells[0]), 0);
    for (size_t i = 1; i < expected.cells.size(); ++i) {
        EXPECT_EQ(LetterPixels(control, expected.cells[i]), 0) << i;
    }
    // The pie's four greys in the first page's lower right.
    const RECT& first = expected.cells[0];
    const RECT corner = {(first.left + first.right) / 2, (first.top + first.bottom) / 2,
                         first.right, first.bottom};
    for (const COLORREF grey : {RGB(64, 64, 64), RGB(243, 243, 243), RGB(204, 204, 204)}) {
        EXPECT_GT(control.Count(grey, corner), 0);
    }
    // In colour the letter is red.
    state.monochrome = false;
    control.Paint(state);
    EXPECT_EQ(LetterPixels(control, first), 0);
    EXPECT_GT(control.Count(kRed, first), 0);
}

class PreviewBooklets : public ::testing::TestWithParam<DWORD> {};

TEST_P(PreviewBooklets, TwoHalvesWithThePicturesOnTheSecondPage) {
    const DWORD orientation = GetParam();
    ui::PreviewState state = Letter(2, orientation);
    state.layoutType = ui::kPreviewLayoutBooklet;
    Control control(kSide, kSide);
    control.Paint(state);
    const Expected whole = Expect(2, orientation);
    const RECT& sheet = whole.sheet;
    const bool across = orientation != 2;
    const RECT first =
        across ? RECT{sheet.left, sheet.top, (sheet.left + sheet.right) / 2, sheet.bottom}
               : RECT{sheet.left, sheet.top, sheet.right, (sheet.top + sheet.bottom) / 2};
    const RECT second = across ? RECT{first.right, sheet.top, sheet.right, sheet.bottom}
                               : RECT{sheet.left, first.bottom, sheet.right, sheet.bottom};
    EXPECT_EQ(LetterPixels(control, first), 0);
    EXPECT_GT(LetterPixels(control, second), 0);
    EXPECT_GT(control.Count(kBlue, first), 0);
    EXPECT_GT(control.Count(kBlue, second), 0);
    // Bound on the right, the pages run right to left.
    state.rightToLeftBinding = true;
    control.Paint(state);
    if (across) {
        EXPECT_GT(LetterPixels(control, first), 0);
        EXPECT_EQ(LetterPixels(control, second), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Orientations, PreviewBooklets, ::testing::Values(1, 2));

TEST(PreviewWatermark, TheTextIsDrawnOnEveryPageOrOnlyTheFirst) {
    ui::PreviewState state = Letter(4, 1);
    state.watermarkOff = false;
    ui::WatermarkRecord watermark;
    lstrcpynW(watermark.text, L"DRAFT", ui::kWatermarkRecordText);
    lstrcpynW(watermark.faceName, L"Arial", ui::kWatermarkRecordText);
    watermark.size = 72;
    watermark.style = 1;
    watermark.colour = RGB(0, 160, 0);
    watermark.angle = 45;
    Control control(kSide, kSide);
    control.Paint(state, watermark);
    const Expected expected = Expect(4, 1);
    for (const RECT& cell : expected.cells) {
        EXPECT_GT(control.Count(watermark.colour, cell), 10);
    }
    state.watermarkFirstPageOnly = true;
    control.Paint(state, watermark);
    EXPECT_GT(control.Count(watermark.colour, expected.cells[0]), 10);
    EXPECT_EQ(control.Count(watermark.colour, expected.cells[3]), 0);
    state.watermarkOff = true;
    control.Paint(state, watermark);
    EXPECT_EQ(control.Count(watermark.colour), 0);
}

TEST(PreviewWatermark, ALevelTextIsCentredOnItsPage) {
    ui::PreviewState state = Letter(1, 1);
    state.watermarkOff = false;
    ui::WatermarkRecord watermark;
    lstrcpynW(watermark.text, L"MMMM", ui::kWatermarkRecordText);
    watermark.size = 72;
    watermark.colour = RGB(0, 160, 0);
    Control control(kSide, kSide);
    control.Paint(state, watermark);
    const Expected expected = Expect(1, 1);
    const RECT& page = expected.cells[0];
    const LONG centreX = (page.left + page.right) / 2;
    const int left = control.Count(watermark.colour, {page.left, page.top, centreX, page.bottom});
    const int right = control.Count(watermark.colour, {centreX, page.top, page.right, page.bottom});
    EXPECT_GT(left, 20);
    EXPECT_NEAR(left, right, left / 5);
}

class PaletteScreen : public ::testing::Test {
protected:
    void TearDown() override { sim::SetDisplay(saved_); }
    sim::DisplayConfig saved_ = sim::CurrentDisplay();
};

TEST_F(PaletteScreen, TheWatermarkIsInvertedInAndOutOfThePageToTheSameColours) {
    ui::PreviewState state = Letter(4, 1);
    state.watermarkOff = false;
    ui::WatermarkRecord watermark;
    lstrcpynW(watermark.text, L"Confidential", ui::kWatermarkRecordText);
    watermark.size = 96;
    watermark.colour = RGB(0, 160, 0);
    watermark.angle = 30;
    Control direct(kSide, kSide);
    direct.Paint(state, watermark);
    ASSERT_TRUE(sim::SetDisplay({96, 96, 8}));
    Control inverted(kSide, kSide);
    inverted.Paint(state, watermark);
    EXPECT_GT(inverted.Count(watermark.colour), 40);
    EXPECT_EQ(inverted.Pixels(), direct.Pixels());
}

TEST(PreviewColours, TheWatermarkColourRule) {
    EXPECT_EQ(ui::WatermarkColour(RGB(255, 0, 0), 128, 1), RGB(255, 128, 128));
    EXPECT_EQ(ui::WatermarkColour(RGB(10, 20, 30), 0, 1), RGB(10, 20, 30));
    EXPECT_EQ(ui::WatermarkColour(RGB(10, 20, 30), 255, 1), RGB(255, 255, 255));
    EXPECT_EQ(ui::WatermarkColour(RGB(255, 0, 0), 128, 0), RGB(128, 128, 128));
}

TEST(PreviewCaption, InchesLoseTrailingZerosAndMillimetresAreWhole) {
    ui::PreviewState state = Letter(1, 1);
    WCHAR caption[ui::kPreviewCaptionRoom];
    ui::PreviewCaption(state, L" x ", L" in", caption);
    EXPECT_EQ(sim::Utf8(caption), "8.5 x 11 in");
    state.orientation = 2;
    ui::PreviewCaption(state, L" x ", L" in", caption);
    EXPECT_EQ(sim::Utf8(caption), "11 x 8.5 in");
    state.orientation = 1;
    state.units = ui::kPreviewUnitMillimetres;
    state.paperWidth = 4961; // A4
    state.paperLength = 7016;
    ui::PreviewCaption(state, L"/", L"mm", caption);
    EXPECT_EQ(sim::Utf8(caption), "210/297mm");
}

TEST(PreviewCaption, TheCaptionBoxSitsUnderTheSheet) {
    Control control(kSide, kSide);
    control.Paint(Letter(1, 1));
    const Expected expected = Expect(1, 1);
    const LONG centre = (expected.sheet.left + expected.sheet.right) / 2;
    EXPECT_EQ(control.At(centre, expected.sheet.bottom + 2), kBlack);
    EXPECT_GT(control.Count(GetSysColor(COLOR_INFOBK), {expected.sheet.left, expected.sheet.bottom,
                                                        expected.sheet.right, kSide}),
              50);
}

TEST(PreviewMend, NothingIsDrawnWhereASizeWouldDivideByZero) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    // A control no wider than the sheet's margin.
    Control narrow(40, 400);
    narrow.Paint(Letter(4, 1));
    EXPECT_EQ(narrow.Count(face), 40 * 400);
    // A paper without size.
    Control control(kSide, kSide);
    ui::PreviewState state = Letter(4, 1);
    state.paperWidth = 0;
    control.Paint(state);
    EXPECT_EQ(control.Count(face), kSide * kSide);
    // Cells that come out 0 wide: the sheet, but no page on it.
    state = Letter(16, 1);
    state.paperWidth = 1;
    control.Paint(state);
    EXPECT_EQ(control.Count(kBlue), 0);
    state = Letter(1, 1);
    state.scalePercent = 0;
    control.Paint(state);
    EXPECT_EQ(control.Count(RGB(117, 117, 117)), 0);
    // A watermark turned by billions of degrees draws as the angle's place on the circle.
    state = Letter(1, 1);
    state.watermarkOff = false;
    ui::WatermarkRecord watermark;
    lstrcpynW(watermark.text, L"MOLT", ui::kWatermarkRecordText);
    watermark.size = 72;
    watermark.colour = RGB(0, 160, 0);
    watermark.angle = 2000000000;
    control.Paint(state, watermark);
    EXPECT_GT(control.Count(watermark.colour), 20);
    // A text that fills its whole room without a terminator is drawn to the room's end.
    std::fill(std::begin(watermark.text), std::end(watermark.text), L'W');
    watermark.angle = 0;
    control.Paint(state, watermark);
    EXPECT_GT(control.Count(watermark.colour), 20);
    // A tiny control and a huge paper.
    Control tiny(41, 41);
    state = Letter(9, 2);
    state.paperLength = 0x7FFFFFFF / 2;
    tiny.Paint(state);
}

TEST(PreviewState, TheDocumentDevmodeSetsLayoutScaleAndWatermark) {
    EngineSheet sheet;
    sheet.SetDevModeField<BYTE>(L"_NUP_PAGES", 3);
    sheet.SetDevModeField<BYTE>(L"_NUP_BORDER", 1);
    sheet.SetDevModeField<BYTE>(L"_NUP_ORDER", 4);
    sheet.SetDevModeField<WORD>(L"_SCALE_FACTOR", 80);
    sheet.SetDevModeField<BYTE>(L"_WMK_ENABLED", 1);
    sheet.SetDevModeField<BYTE>(L"_WMK_STYLE", 3);
    sheet.SetDevModeField<WORD>(L"_WMK_SIZE", 48);
    sheet.SetDevModeField<WORD>(L"_WMK_SHADE", 128);
    sheet.SetDevModeField<COLORREF>(L"_WMK_COLOR", RGB(255, 0, 0));
    sheet.SetDevModeField<BYTE>(L"_WMK_ANGLE", 3);
    sheet.SetDevModeField<WORD>(L"_WMK_DEGREE", 30);
    DEVMODEW devmode = sheet.PublicDevMode();
    devmode.dmOrientation = DMORIENT_LANDSCAPE;
    devmode.dmPaperSize = DMPAPER_A4;
    devmode.dmFields |= DM_COLOR;
    devmode.dmColor = DMCOLOR_COLOR;
    common::IDrvSettings* settings = nullptr;
    ASSERT_EQ(common::CreateDrvSettings(common::kModeDocument, sheet.Param().hPrinter, &settings),
              S_OK);
    ui::PreviewState state;
    ui::WatermarkRecord watermark;
    ui::FillPreviewState(devmode, settings, sheet.Param().pOEMDM, state, watermark);
    settings->Release();
    EXPECT_EQ(state.pagesPerSheet, 6u);
    EXPECT_TRUE(state.pageBorders);
    EXPECT_EQ(state.pageOrder, 4u);
    EXPECT_EQ(state.scalePercent, 80u);
    EXPECT_TRUE(ui::IsLandscape(state));
    EXPECT_FALSE(state.monochrome);
    EXPECT_FALSE(state.watermarkOff);
    EXPECT_EQ(state.paperWidth, 4961);
    EXPECT_EQ(state.paperLength, 7016);
    EXPECT_EQ(watermark.style, 3);
    EXPECT_EQ(watermark.size, 48);
    EXPECT_EQ(watermark.angle, 30);
    EXPECT_EQ(watermark.colour, RGB(255, 128, 128));
    // The sample's default watermark text and face.
    EXPECT_EQ(sim::Utf8(watermark.text), "Confidential");
    EXPECT_EQ(sim::Utf8(watermark.faceName), "Arial");
}

TEST(PreviewState, ABookletShowsTwoPagesAndTheRightBindingRunsRightToLeft) {
    EngineSheet sheet;
    sheet.SetDevModeField<BYTE>(L"_BOOKLET", 7);
    common::IDrvSettings* settings = nullptr;
    ASSERT_EQ(common::CreateDrvSettings(common::kModeDocument, sheet.Param().hPrinter, &settings),
              S_OK);
    ui::PreviewState state;
    ui::WatermarkRecord watermark;
    ui::FillPreviewState(sheet.PublicDevMode(), settings, sheet.Param().pOEMDM, state, watermark);
    settings->Release();
    EXPECT_TRUE(ui::IsBooklet(state));
    EXPECT_EQ(state.pagesPerSheet, 2u);
    EXPECT_TRUE(state.rightToLeftBinding);
    EXPECT_TRUE(state.monochrome); // no colour asked for
    EXPECT_EQ(state.paperWidth, kLetterWidth);
}

TEST(PreviewState, ADevmodeWithItsOwnSizeUsesItAndAnUnknownPaperHasNone) {
    DEVMODEW devmode{};
    devmode.dmFields = DM_PAPERWIDTH | DM_PAPERLENGTH;
    devmode.dmPaperWidth = 1000; // 100 mm
    devmode.dmPaperLength = 2540;
    const SIZE own = ui::PreviewPaperSize(devmode);
    EXPECT_EQ(own.cx, 2362);
    EXPECT_EQ(own.cy, 6000);
    devmode.dmFields = DM_PAPERSIZE;
    devmode.dmPaperSize = 999;
    EXPECT_EQ(ui::PreviewPaperSize(devmode).cx, 0);
}

} // namespace
} // namespace moltr::test
