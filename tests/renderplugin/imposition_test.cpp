// The render plug-in's DDI hooks as the universal driver calls them during a job: the N-up cells
// and their page borders, pattern origins, thin lines, the page count of a manual two-sided job
// with its switch to the manual feed, and the job's end. The driver's own entry points record
// what reaches them.
#include "hooked_job.h"
#include "renderplugin/edge_markers.h"
#include "renderplugin/nup_layout.h"

namespace moltr::test {
namespace {

// A job spooled as an application prints it: `pages` pages with the devmode `devmode`.
DWORD SpoolJob(const DEVMODEW& devmode, int pages) {
    std::u16string name = RenderPrinter::kName;
    PRINTER_DEFAULTSW defaults = {nullptr, const_cast<DEVMODEW*>(&devmode), PRINTER_ACCESS_USE};
    HANDLE handle = nullptr;
    EXPECT_TRUE(OpenPrinterW(sim::W(name), &handle, &defaults));
    std::u16string document = u"Report";
    DOC_INFO_1W info = {sim::W(document), nullptr, nullptr};
    DWORD id = StartDocPrinterW(handle, 1, reinterpret_cast<BYTE*>(&info));
    EXPECT_NE(id, 0u);
    for (int page = 0; page < pages; ++page) {
        EXPECT_TRUE(StartPagePrinter(handle));
        EXPECT_TRUE(EndPagePrinter(handle));
    }
    EXPECT_TRUE(EndDocPrinter(handle));
    ClosePrinter(handle);
    return id;
}

const std::string kManualFeed = "\x1b&l2H";

// The page after whose end the manual feed is written, 0 for none.
int SwitchPage(HookedJob& hooked, DWORD jobId, int pages) {
    EXPECT_TRUE(hooked.StartDoc(jobId));
    int switched = 0;
    for (int page = 1; page <= pages; ++page) {
        hooked.job->capture.stream.clear();
        EXPECT_TRUE(hooked.StartPage());
        EXPECT_TRUE(hooked.SendPage());
        std::string written(hooked.job->capture.stream.begin(), hooked.job->capture.stream.end());
        if (written.find(kManualFeed) != std::string::npos) {
            EXPECT_EQ(switched, 0) << "a second switch after page " << page;
            switched = page;
        }
    }
    EXPECT_TRUE(hooked.EndDoc());
    return switched;
}

TEST(RenderImpositionCells, EachCountLaysOutItsRowsOfCells) {
    const LONG w = 4800, h = 6000;
    struct Case {
        DWORD count;
        bool landscape;
        std::vector<POINTL> centres;
        LONG width, height;
        double factor;
    };
    const double a = double(h) / w, b = double(w) / h;
    const std::vector<Case> cases = {
        {1, false, {{w / 2, h / 2}}, w, h, 1.0},
        {2, true, {{w / 4, h / 2}, {w * 3 / 4, h / 2}}, w / 2, h, std::min(a, b / 2)},
        {2, false, {{w / 2, h / 4}, {w / 2, h * 3 / 4}}, w, h / 2, std::min(a / 2, b)},
        {4,
         true,
         {{w / 4, h / 4},
          {w / 2 + w / 4, h / 4},
          {w / 4, h / 4 + h / 2},
          {w / 2 + w / 4, h / 4 + h / 2}},
         w / 2,
         h / 2,
         0.5},
        {6,
         true,
         {{w / 6, h / 4},
          {3 * (w / 6), h / 4},
          {5 * (w / 6), h / 4},
          {w / 6, 3 * (h / 4)},
          {3 * (w / 6), 3 * (h / 4)},
          {5 * (w / 6), 3 * (h / 4)}},
         w / 3,
         h / 2,
         std::min(a / 2, b / 3)},
        {6,
         false,
         {{w / 4, h / 6},
          {3 * (w / 4), h / 6},
          {w / 4, 3 * (h / 6)},
          {3 * (w / 4), 3 * (h / 6)},
          {w / 4, 5 * (h / 6)},
          {3 * (w / 4), 5 * (h / 6)}},
         w / 2,
         h / 3,
         std::min(a / 3, b / 2)},
    };
    for (const Case& c : cases) {
        render::CellTable table = render::LayOutCells(c.count, c.landscape, w, h);
        for (size_t i = 0; i < c.centres.size(); ++i) {
            EXPECT_EQ(table.centre[i].x, c.centres[i].x) << c.count << " cell " << i;
            EXPECT_EQ(table.centre[i].y, c.centres[i].y) << c.count << " cell " << i;
        }
        EXPECT_EQ(table.width, c.width) << c.count;
        EXPECT_EQ(table.height, c.height) << c.count;
        EXPECT_DOUBLE_EQ(table.factor, c.factor) << c.count;
    }
    // 9 and 16: row by row, (r × H) / 3 and (r × H) / 4 below the first row.
    const LONG w9 = 4801, h9 = 6001;
    render::CellTable nine = render::LayOutCells(9, false, w9, h9);
    const LONG x9[] = {w9 / 6, w9 / 3 + w9 / 6, (2 * w9) / 3 + w9 / 6};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(nine.centre[r * 3 + c].x, x9[c]);
            EXPECT_EQ(nine.centre[r * 3 + c].y, h9 / 6 + (r * h9) / 3);
        }
    }
    EXPECT_DOUBLE_EQ(nine.factor, 1.0 / 3.0);
    render::CellTable sixteen = render::LayOutCells(16, true, w9, h9);
    const LONG x16[] = {w9 / 8, w9 / 4 + w9 / 8, (2 * w9) / 4 + w9 / 8, (3 * w9) / 4 + w9 / 8};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(sixteen.centre[r * 4 + c].x, x16[c]);
            EXPECT_EQ(sixteen.centre[r * 4 + c].y, h9 / 8 + (r * h9) / 4);
        }
    }
    EXPECT_EQ(sixteen.width, w9 / 4);
    EXPECT_DOUBLE_EQ(sixteen.factor, 0.25);
}

TEST(RenderImpositionCells, TheIndexTableRepeatsAndBookletForcesTwoCells) {
    EXPECT_EQ(render::NupCount(8), 4u);
    EXPECT_EQ(render::NupCount(2), 4u);
    EXPECT_EQ(render::NupCount(11), 16u);
    EXPECT_EQ(render::NupCount(12), 1u);
    RenderPrinter printer;
    HookedJob hooked(printer);
    ASSERT_NE(hooked.job->plugin(), nullptr);
    hooked.job->SetJobByte(L"_NUP_PAGES", 5);
    hooked.job->SetJobByte(L"_BOOKLET", 8);
    ASSERT_TRUE(hooked.StartPage());
    EXPECT_EQ(hooked.state().nupCount, 2u);
    EXPECT_TRUE(hooked.state().booklet);
}

TEST(RenderImpositionMarkers, PageBordersMarkTheCellsTheyFrame) {
    RenderPrinter printer;
    HookedJob hooked(printer);
    ASSERT_NE(hooked.job->plugin(), nullptr);
    hooked.job->SetJobByte(L"_NUP_PAGES", 2); // 4 cells
    ASSERT_TRUE(hooked.StartPage());
    const LONG w = hooked.geometry().ulHorzRes, h = hooked.geometry().ulVertRes;
    // The frame of the top-left cell, drawn in the band that starts at the top of the page.
    EXPECT_TRUE(hooked.Line(10, 10, 10, h / 2 - 10));            // left
    EXPECT_TRUE(hooked.Line(10, 10, w / 2 - 10, 10));            // top
    EXPECT_TRUE(hooked.Line(w / 2 - 10, 10, w / 2 - 10, h / 2)); // right
    // A horizontal line that ends exactly on the top-right cell's centre marks nothing there.
    EXPECT_TRUE(hooked.Line(w / 2 + 10, 20, w / 2 + w / 4, 20));
    EXPECT_TRUE(hooked.Line(w / 2 + 10, 30, w / 2 + 10, h / 2 - 10));
    EXPECT_TRUE(hooked.Line(w - 10, 30, w - 10, h / 2 - 10));
    // A diagonal marks nothing.
    EXPECT_TRUE(hooked.Line(10, h / 2 + 10, w / 2 - 10, h - 10));
    EXPECT_TRUE(render::CellOccupied(hooked.state(), 0));
    EXPECT_FALSE(render::CellOccupied(hooked.state(), 1));
    EXPECT_FALSE(render::CellOccupied(hooked.state(), 2));
    // The next page starts without markers.
    ASSERT_TRUE(hooked.SendPage());
    ASSERT_TRUE(hooked.StartPage());
    EXPECT_FALSE(render::CellOccupied(hooked.state(), 0));
}

TEST(RenderImpositionMarkers, LinesInALaterBandCountFromItsOrigin) {
    RenderPrinter printer;
    HookedJob hooked(printer);
    ASSERT_NE(hooked.job->plugin(), nullptr);
    hooked.job->SetJobByte(L"_NUP_PAGES", 1); // 2 cells, portrait: one above the other
    ASSERT_TRUE(hooked.StartPage());
    const LONG w = hooked.geometry().ulHorzRes, h = hooked.geometry().ulVertRes;
    POINTL origin = {};
    hooked.log.bands = {{0, h / 2}};
    ASSERT_TRUE(hooked.Hook<PFN_DrvStartBanding>(INDEX_DrvStartBanding)(&hooked.surface, &origin));
    ASSERT_TRUE(hooked.Hook<PFN_DrvNextBand>(INDEX_DrvNextBand)(&hooked.surface, &origin));
    // The lower cell's left, top and bottom edges, in the coordinates of the band at h / 2.
    EXPECT_TRUE(hooked.Line(10, 10, 10, h / 2 - 10));
    EXPECT_TRUE(hooked.Line(10, 10, w - 10, 10));
    EXPECT_TRUE(hooked.Line(10, h / 2 - 10, w - 10, h / 2 - 10));
    EXPECT_FALSE(render::CellOccupied(hooked.state(), 0));
    EXPECT_TRUE(render::CellOccupied(hooked.state(), 1));
}

TEST(RenderImpositionDrawing, PatternOriginsFollowTheBandOnACopy) {
    RenderPrinter printer;
    HookedJob hooked(printer);
    ASSERT_NE(hooked.job->plugin(), nullptr);
    POINTL origin = {};
    hooked.log.bands = {{0, 640}};
    ASSERT_TRUE(hooked.Hook<PFN_DrvStartBanding>(INDEX_DrvStartBanding)(&hooked.surface, &origin));
    ASSERT_TRUE(hooked.Hook<PFN_DrvNextBand>(INDEX_DrvNextBand)(&hooked.surface, &origin));
    auto blit = hooked.Hook<PFN_DrvBitBlt>(INDEX_DrvBitBlt);
    RECTL rect = {0, 0, 8, 8};
    POINTL brushOrigin = {100, 700};
    ASSERT_TRUE(blit(&hooked.surface, nullptr, nullptr, nullptr, nullptr, &rect, nullptr, nullptr,
                     nullptr, &brushOrigin, 0xF0F0));
    EXPECT_EQ(hooked.log.brushOrigin.x, 100);
    EXPECT_EQ(hooked.log.brushOrigin.y, 60);
    EXPECT_NE(hooked.log.brushOriginPointer, &brushOrigin);
    EXPECT_EQ(brushOrigin.y, 700);
    // A copy from a source surface keeps its origin.
    SURFOBJ source = {};
    ASSERT_TRUE(blit(&hooked.surface, &source, nullptr, nullptr, nullptr, &rect, nullptr, nullptr,
                     nullptr, &brushOrigin, 0xCCCC));
    EXPECT_EQ(hooked.log.brushOriginPointer, &brushOrigin);
}

LONG StrokeWidth(HookedJob& hooked, LONG width, FLONG flags, const LINEATTRS** seen) {
    LINEATTRS line = {};
    line.fl = flags;
    line.elWidth.l = width;
    auto stroke = hooked.Hook<PFN_DrvStrokePath>(INDEX_DrvStrokePath);
    EXPECT_TRUE(stroke(&hooked.surface, nullptr, nullptr, nullptr, nullptr, nullptr, &line, 0));
    EXPECT_EQ(line.elWidth.l, width) << "GDI's own attributes stay as they are";
    *seen = hooked.log.line == &line ? &line : nullptr;
    return hooked.log.lineWidth;
}

TEST(RenderImpositionDrawing, OnePixelCosmeticLinesWidenAbove300Dpi) {
    RenderPrinter printer;
    const LINEATTRS* same = nullptr;
    {
        HookedJob fine(printer, 600);
        ASSERT_NE(fine.job->plugin(), nullptr);
        EXPECT_EQ(StrokeWidth(fine, 1, 0, &same), 2);
        EXPECT_EQ(same, nullptr);
        EXPECT_EQ(StrokeWidth(fine, 3, 0, &same), 3);
        EXPECT_NE(same, nullptr);
    }
    HookedJob coarse(printer, 300);
    ASSERT_NE(coarse.job->plugin(), nullptr);
    EXPECT_EQ(StrokeWidth(coarse, 1, 0, &same), 1);
}

TEST(RenderImpositionDrawing, TextTurnsBlackOnABrushRecordWhenAsked) {
    RenderPrinter printer;
    HookedJob hooked(printer);
    ASSERT_NE(hooked.job->plugin(), nullptr);
    render::RenderState& state = hooked.state();
    state.printTextBlack = true;
    auto textOut = hooked.Hook<PFN_DrvTextOut>(INDEX_DrvTextOut);
    // A white 24-bit band of 40 by 20 pixels and a string of one solid 8 by 8 glyph at (4, 2).
    constexpr LONG kBandWidth = 40, kBandRows = 20, kStride = kBandWidth * 3;
    std::vector<BYTE> band(kStride * kBandRows, 0xFF);
    hooked.surface.pvBits = hooked.surface.pvScan0 = band.data();
    hooked.surface.cjBits = static_cast<ULONG>(band.size());
    hooked.surface.lDelta = kStride;
    hooked.surface.sizlBitmap = {kBandWidth, kBandRows};
    hooked.surface.iType = STYPE_BITMAP;
    hooked.surface.iBitmapFormat = BMF_24BPP;
    struct {
        GLYPHBITS bits;
        BYTE more[8];
    } square = {};
    square.bits.sizlBitmap = {8, 8};
    std::fill_n(square.bits.aj, 8, BYTE{0xFF});
    GLYPHDEF definition = {};
    definition.pgb = &square.bits;
    GLYPHPOS position = {0, &definition, {4, 2}};
    STROBJ text = {};
    text.cGlyphs = 1;
    text.pgp = &position;
    text.rclBkGround = {0, 0, kBandWidth, kBandRows};
    BRUSHOBJ fore = {0x0000FF, nullptr, 0};
    // Raster mode: the engine draws the text, in black; the driver is told of the area without
    // drawing.
    ASSERT_TRUE(textOut(&hooked.surface, &text, nullptr, nullptr, nullptr, nullptr, &fore, nullptr,
                        nullptr, 0));
    EXPECT_EQ(fore.iSolidColor, 0x0000FFu);
    EXPECT_EQ(band[2 * kStride + 4 * 3 + 2], 0x00) << "the glyph's red turned black";
    EXPECT_EQ(band[2 * kStride + 3 * 3 + 2], 0xFF) << "beside the glyph";
    EXPECT_EQ(std::count(hooked.log.blits.begin(), hooked.log.blits.end(), ROP4(0xAAAA)), 1);
    // White text and black text keep their brush and the driver's drawing.
    hooked.log = {};
    BRUSHOBJ white = {0xFFFFFF, nullptr, 0};
    ASSERT_TRUE(textOut(&hooked.surface, &text, nullptr, nullptr, nullptr, nullptr, &white, nullptr,
                        nullptr, 0));
    EXPECT_EQ(hooked.log.textColours, std::vector<ULONG>{0xFFFFFF});
    EXPECT_TRUE(hooked.log.blits.empty());
    // Outside raster mode the driver draws with a black record of the brush.
    state.deviceFlags &= ~render::kDeviceRasterMode;
    hooked.log = {};
    ASSERT_TRUE(textOut(&hooked.surface, &text, nullptr, nullptr, nullptr, nullptr, &fore, nullptr,
                        nullptr, 0));
    EXPECT_EQ(hooked.log.textColours, std::vector<ULONG>{0});
    EXPECT_EQ(fore.iSolidColor, 0x0000FFu);
}

class RenderManualDuplex : public ::testing::Test {
protected:
    RenderManualDuplex() : printer_(ManualDuplexPrinter()) {}

    RenderPrinter printer_;
};

// Spools a two-sided job of `pages` pages and `copies` copies with the devmode of `hooked`.
DWORD SpoolTwoSided(HookedJob& hooked, int pages, short copies = 1) {
    hooked.job->publicDevMode.dmDuplex = DMDUP_VERTICAL;
    hooked.job->publicDevMode.dmCopies = copies;
    return SpoolJob(hooked.job->publicDevMode, pages);
}

// The page after which a manual two-sided job switches to the manual feed, by the pages spooled,
// the copies asked for and the pages the driver sends (each copy's pages again).
struct SwitchCase {
    const char* what;
    int pages;
    short copies;
    int sentPages;
    int switchAfter;
};

void PrintTo(const SwitchCase& c, std::ostream* out) {
    *out << c.what;
}

constexpr SwitchCase kSwitchCases[] = {
    {"five sheets switch after the third", 5, 1, 5, 3},
    {"two copies count as the replayed pages", 5, 2, 10, 6},
    {"a one-page job never multiplies by the copies", 1, 3, 3, 1},
};

class RenderManualDuplexSwitch : public RenderManualDuplex,
                                 public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(RenderManualDuplexSwitch, TheFeedSwitchesAfterTheFrontsOfEveryCopy) {
    const SwitchCase& c = GetParam();
    HookedJob hooked(printer_);
    ASSERT_NE(hooked.job->plugin(), nullptr);
    DWORD id = SpoolTwoSided(hooked, c.pages, c.copies);
    EXPECT_EQ(SwitchPage(hooked, id, c.sentPages), c.switchAfter) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Jobs, RenderManualDuplexSwitch, ::testing::ValuesIn(kSwitchCases));

TEST_F(RenderManualDuplex, TheBackSidesTurnAndTakeThePageSize) {
    HookedJob hooked(printer_);
    ASSERT_NE(hooked.job->plugin(), nullptr);
    DWORD id = SpoolTwoSided(hooked, 2);
    ASSERT_TRUE(hooked.StartDoc(id));
    ASSERT_TRUE(hooked.StartPage());
    hooked.job->capture.stream.clear();
    ASSERT_TRUE(hooked.SendPage());
    // Portrait raster pages bound on the long edge come back reversed; the page is Letter less
    // its margins, in decipoints.
    const GDIINFO& page = hooked.geometry();
    long width = long((page.szlPhysSize.cx - 2.0 * page.ptlPhysOffset.x) / 600 * 720);
    long height = long((page.szlPhysSize.cy - 2.0 * page.ptlPhysOffset.y) / 600 * 720);
    std::string expected = kManualFeed + "\x1b&l2O\x1b&l8c1E\x1b*c" + std::to_string(width) + "x" +
                           std::to_string(height) + "Y\x1b*p0x0Y\x1b*c0T";
    EXPECT_EQ(std::string(hooked.job->capture.stream.begin(), hooked.job->capture.stream.end()),
              expected);
    // The next page's orientation is the back side's too.
    auto [result, bytes] = hooked.job->Callback(300);
    EXPECT_EQ(result, S_OK);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), 5)),
              "\x1b&l2O");
}

// The orientation the back sides of a portrait vector job turn to on paper of `inches` length.
std::string VectorBackSide(const RenderPrinter& printer, LONG inches) {
    GDIINFO page = Letter(600);
    page.szlPhysSize.cy = inches * 600;
    HookedJob hooked(printer, page);
    if (hooked.job->plugin() == nullptr) {
        return "";
    }
    hooked.state().deviceFlags &= ~render::kDeviceRasterMode;
    DWORD id = SpoolTwoSided(hooked, 2);
    EXPECT_TRUE(hooked.StartDoc(id));
    EXPECT_TRUE(hooked.StartPage());
    hooked.job->capture.stream.clear();
    EXPECT_TRUE(hooked.SendPage());
    std::string written(hooked.job->capture.stream.begin(), hooked.job->capture.stream.end());
    EXPECT_EQ(written.substr(0, kManualFeed.size()), kManualFeed);
    return written.substr(kManualFeed.size(), 5);
}

TEST_F(RenderManualDuplex, VectorBackSidesTurnByThePapersLength) {
    // Long-edge devices: the back side is upright on paper up to 12 inches, reversed beyond.
    EXPECT_EQ(VectorBackSide(printer_, 11), "\x1b&l0O");
    EXPECT_EQ(VectorBackSide(printer_, 14), "\x1b&l2O");
}

TEST_F(RenderManualDuplex, ASecondDocumentOnTheDeviceCountsItsOwnJob) {
    HookedJob hooked(printer_);
    ASSERT_NE(hooked.job->plugin(), nullptr);
    DWORD first = SpoolTwoSided(hooked, 5);
    DWORD second = SpoolTwoSided(hooked, 2);
    EXPECT_EQ(SwitchPage(hooked, first, 5), 3);
    EXPECT_EQ(SwitchPage(hooked, second, 2), 1);
}

TEST_F(RenderManualDuplex, AResetDeviceCarriesTheJobOn) {
    HookedJob hooked(printer_);
    ASSERT_NE(hooked.job->plugin(), nullptr);
    DWORD id = SpoolTwoSided(hooked, 5);
    ASSERT_TRUE(hooked.StartDoc(id));
    for (int page = 0; page < 2; ++page) {
        ASSERT_TRUE(hooked.StartPage());
        ASSERT_TRUE(hooked.SendPage());
    }
    // The devmode changes: a new PDEV goes on with the job from the old one.
    RenderModule module;
    RenderJob next(module, printer_.handle(), &kOwnTable, &hooked.geometry());
    ASSERT_NE(next.plugin(), nullptr);
    next.publicDevMode.dmDuplex = DMDUP_VERTICAL;
    ASSERT_EQ(hooked.job->plugin()->ResetPDEV(&hooked.job->devobj, &next.devobj), S_OK);
    EXPECT_EQ(hooked.state().jobId, 0u);
    SURFOBJ surface = {};
    surface.dhpdev = reinterpret_cast<DHPDEV>(&next.devobj);
    auto startPage = hooked.Hook<PFN_DrvStartPage>(INDEX_DrvStartPage);
    auto sendPage = hooked.Hook<PFN_DrvSendPage>(INDEX_DrvSendPage);
    ASSERT_TRUE(startPage(&surface));
    ASSERT_TRUE(sendPage(&surface));
    EXPECT_EQ(std::string(next.capture.stream.begin(), next.capture.stream.end()).substr(0, 5),
              kManualFeed);
}

} // namespace
} // namespace moltr::test
