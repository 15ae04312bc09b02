// The driver's imposition of a job's pages on its sheets, through the real render plug-in and
// looked at in the sheets' pictures and the stream: N-up cells by orientation with their page
// borders and a partly filled last sheet, booklet sides in booklet order, copies played as pages
// for a two-sided job the printer makes by hand, and a devmode whose driver part lays out
// nothing.
#include "common/drv_settings.h"
#include "sim/sheet_pictures.h"
#include "src/unidrv/driver_devmode.h"
#include "src/unidrv/job_renderer.h"

#include "job_printer.h"
#include "png_picture.h"

#include <algorithm>
#include <cstring>

namespace {

using moltr::test::JobPrinter;
using moltr::test::JobPrinterSetup;
using moltr::test::Picture;
using moltr::test::ReadPng;
using moltr::unidrv::DriverLayout;
using moltr::unidrv::RenderJob;
using moltr::unidrv::RenderJobRequest;
using moltr::unidrv::RenderJobResult;
namespace sim = moltr::sim;

// A4 at 600 dpi: the sample's printable area, in portrait and landscape.
constexpr unsigned kWidth = 4760;
constexpr unsigned kHeight = 6815;
const std::string kManualFeed = "\x1b&l2H";
const std::string kPageEnd = "\x1b*rC\x0c";

// The sample printer set to print two-sided jobs by hand.
JobPrinterSetup ManualDuplex() {
    JobPrinterSetup setup;
    setup.lines.push_back(
        {"    *_DUPLEXTYPE: =PST_DUPLEXTYPE_HARDWARE", "    *_DUPLEXTYPE: =PST_DUPLEXTYPE_MANUAL"});
    return setup;
}

class SheetImposition : public ::testing::Test {
protected:
    explicit SheetImposition(const JobPrinterSetup& setup = {}) : printer_(setup) {
        std::string error;
        EXPECT_EQ(moltr::unidrv::DefaultJobDevmode(printer_.handle(), &devmode_, &error), S_OK)
            << error;
        EXPECT_EQ(moltr::common::CreateDrvSettings(moltr::common::kModeDocument, printer_.handle(),
                                                   &settings_),
                  S_OK);
    }
    ~SheetImposition() override {
        if (settings_) {
            settings_->Release();
        }
    }

    DEVMODEW* head() { return reinterpret_cast<DEVMODEW*>(devmode_.data()); }
    // The driver's own layout in the job's devmode.
    void Lay(WORD pagesPerSheet, WORD flags) {
        const DriverLayout layout = {pagesPerSheet, flags};
        std::memcpy(devmode_.data() + sizeof(DEVMODEW) +
                        offsetof(moltr::unidrv::DriverPrivatePart, layout),
                    &layout, sizeof layout);
    }
    // One of the plug-in's settings in the job's devmode.
    void Set(const WCHAR* name, BYTE value) {
        EXPECT_EQ(settings_->SetValue(devmode_.data() + moltr::unidrv::kPluginPartOffset, name,
                                      &value, moltr::common::kLayoutDevMode),
                  S_OK);
    }
    void Landscape() {
        head()->dmOrientation = DMORIENT_LANDSCAPE;
        head()->dmFields |= DM_ORIENTATION;
    }
    // Prints `pages` pages as job `jobId`, with pictures of its sheets in `folder`.
    RenderJobResult Print(DWORD pages, const std::string& folder = "sheets", DWORD jobId = 7) {
        folder_ = printer_.root() + "/" + folder;
        EXPECT_TRUE(sim::RequestSheetPictures(jobId, folder_));
        RenderJobRequest request;
        request.printer = printer_.handle();
        request.jobId = jobId;
        request.documentName = L"Imposed";
        request.pages = pages;
        request.devmode = head();
        return RenderJob(request);
    }
    // The first sheet of `pages` pages printed into `folder`; nothing when the job fails.
    std::optional<Picture> FirstSheet(DWORD pages, const std::string& folder) {
        RenderJobResult job = Print(pages, folder);
        EXPECT_EQ(job.result, S_OK) << job.error;
        return job.result == S_OK ? Sheet(1) : std::nullopt;
    }
    std::optional<Picture> Sheet(int number) const {
        char name[32];
        std::snprintf(name, sizeof name, "/sheet-%03d.png", number);
        return ReadPng(folder_ + name);
    }
    // A job of `pages` pages spooled as an application prints it, so that the spooler keeps
    // its record with its page count; its id.
    DWORD SpoolJob(DWORD pages) {
        std::u16string name = JobPrinter::kName;
        PRINTER_DEFAULTSW defaults = {nullptr, head(), PRINTER_ACCESS_USE};
        HANDLE handle = nullptr;
        EXPECT_TRUE(OpenPrinterW(sim::W(name), &handle, &defaults));
        std::u16string document = u"Imposed";
        DOC_INFO_1W info = {sim::W(document), nullptr, nullptr};
        const DWORD id = StartDocPrinterW(handle, 1, reinterpret_cast<BYTE*>(&info));
        EXPECT_NE(id, 0u);
        for (DWORD page = 0; page < pages; ++page) {
            EXPECT_TRUE(StartPagePrinter(handle));
            EXPECT_TRUE(EndPagePrinter(handle));
        }
        EXPECT_TRUE(EndDocPrinter(handle));
        ClosePrinter(handle);
        return id;
    }

    JobPrinter printer_;
    std::vector<BYTE> devmode_;
    moltr::common::IDrvSettings* settings_ = nullptr;
    std::string folder_;
};

class ManualDuplexImposition : public SheetImposition {
protected:
    ManualDuplexImposition() : SheetImposition(ManualDuplex()) {}
};

// The rows [top, top + rows) of a picture, for comparing a cell with another.
std::vector<unsigned char> Rows(const Picture& picture, unsigned top, unsigned rows) {
    const size_t stride = size_t{picture.width} * 3;
    auto from = picture.rgb.begin() + static_cast<std::ptrdiff_t>(top * stride);
    return std::vector<unsigned char>(from, from + static_cast<std::ptrdiff_t>(rows * stride));
}

bool Black(int r, int g, int b) {
    return r == 0 && g == 0 && b == 0;
}

TEST_F(SheetImposition, FourUpOfFivePagesGivesTwoSheetsTheLastWithOneBorderedCell) {
    Lay(4, moltr::unidrv::kLayoutPageBorders);
    Set(L"_NUP_PAGES", 2);
    Set(L"_NUP_BORDER", 1);
    RenderJobResult job = Print(5);
    ASSERT_EQ(job.result, S_OK) << job.error;
    EXPECT_EQ(job.pagesSent, 2u);
    std::optional<Picture> first = Sheet(1);
    std::optional<Picture> last = Sheet(2);
    ASSERT_TRUE(first);
    ASSERT_TRUE(last);
    EXPECT_FALSE(Sheet(3));
    const unsigned w = kWidth / 2, h = kHeight / 2;
    for (unsigned cell = 0; cell < 4; ++cell) {
        const unsigned left = cell % 2 * w, top = cell / 2 * h;
        EXPECT_GT(first->Inked(left, top, left + w, top + h), 10000u) << cell;
        // Only the first cell of the last sheet holds a page.
        const size_t inked = last->Inked(left, top, left + w, top + h);
        EXPECT_EQ(inked > 0, cell == 0) << cell;
    }
    // The page scaled whole into the cell and centred there; its border's four lines, whole,
    // in black.
    const double scale = std::min(double(w) / kWidth, double(h) / kHeight);
    const auto pw = static_cast<unsigned>(kWidth * scale);
    const auto ph = static_cast<unsigned>(kHeight * scale);
    const unsigned x = (w - pw) / 2, y = (h - ph) / 2;
    EXPECT_EQ(last->Count(x, y, x + 1, y + ph, Black), ph);
    EXPECT_EQ(last->Count(x + pw - 1, y, x + pw, y + ph, Black), ph);
    EXPECT_EQ(last->Count(x, y, x + pw, y + 1, Black), pw);
    EXPECT_EQ(last->Count(x, y + ph - 1, x + pw, y + ph, Black), pw);
}

TEST_F(SheetImposition, WithoutBordersTheCellsHaveNoFrameLines) {
    Lay(4, 0);
    Set(L"_NUP_PAGES", 2);
    RenderJobResult job = Print(1);
    ASSERT_EQ(job.result, S_OK) << job.error;
    std::optional<Picture> sheet = Sheet(1);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->Inked(0, 0, 1, kHeight / 2), 0u);
    EXPECT_GT(sheet->Inked(0, 0, kWidth / 2, kHeight / 2), 10000u);
}

// Which of a grid's cells (columns by rows over the sheet) have ink.
std::vector<bool> InkedCells(const Picture& sheet, unsigned columns, unsigned rows) {
    std::vector<bool> inked;
    for (unsigned row = 0; row < rows; ++row) {
        for (unsigned column = 0; column < columns; ++column) {
            const unsigned w = sheet.width / columns, h = sheet.height / rows;
            inked.push_back(sheet.Inked(column * w, row * h, column * w + w, row * h + h) > 0);
        }
    }
    return inked;
}

TEST_F(SheetImposition, TwoUpPortraitStacksItsPagesAndLandscapeSetsThemSideBySide) {
    Lay(2, 0);
    Set(L"_NUP_PAGES", 1);
    std::optional<Picture> sheet = FirstSheet(1, "portrait");
    ASSERT_TRUE(sheet);
    ASSERT_EQ(sheet->width, kWidth);
    EXPECT_EQ(InkedCells(*sheet, 1, 2), (std::vector<bool>{true, false}));
    // Half the page's size, centred across the sheet: its outer quarters stay white.
    EXPECT_EQ(sheet->Inked(0, 0, kWidth / 4 - 2, kHeight), 0u);
    EXPECT_EQ(sheet->Inked(kWidth * 3 / 4 + 2, 0, kWidth, kHeight), 0u);

    Landscape();
    sheet = FirstSheet(2, "landscape");
    ASSERT_TRUE(sheet);
    // The surface keeps the paper's width; the cells follow the orientation.
    ASSERT_EQ(sheet->width, kWidth);
    EXPECT_EQ(InkedCells(*sheet, 2, 1), (std::vector<bool>{true, true}));
    EXPECT_EQ(sheet->Inked(0, 0, kWidth, kHeight / 4 - 2), 0u);
    EXPECT_EQ(sheet->Inked(0, kHeight * 3 / 4 + 2, kWidth, kHeight), 0u);
    EXPECT_FALSE(Sheet(2));
}

TEST_F(SheetImposition, SixUpHasThreeRowsInPortraitAndThreeColumnsInLandscape) {
    Lay(6, 0);
    Set(L"_NUP_PAGES", 3);
    std::optional<Picture> sheet = FirstSheet(5, "portrait");
    ASSERT_TRUE(sheet);
    EXPECT_EQ(InkedCells(*sheet, 2, 3), (std::vector<bool>{true, true, true, true, true, false}));

    Landscape();
    sheet = FirstSheet(5, "landscape");
    ASSERT_TRUE(sheet);
    EXPECT_EQ(InkedCells(*sheet, 3, 2), (std::vector<bool>{true, true, true, true, true, false}));
}

TEST_F(SheetImposition, ABookletOfFivePagesPrintsFourSidesInBookletOrder) {
    // The pages as plain 2-up sheets show what each page looks like in each half.
    Lay(2, 0);
    Set(L"_NUP_PAGES", 1);
    ASSERT_EQ(Print(5, "two-up").result, S_OK);
    std::vector<std::optional<Picture>> plain = {Sheet(1), Sheet(2), Sheet(3)};
    for (const auto& sheet : plain) {
        ASSERT_TRUE(sheet);
    }
    Lay(0, moltr::unidrv::kLayoutBooklet);
    Set(L"_BOOKLET", 2);
    RenderJobResult job = Print(5, "booklet");
    ASSERT_EQ(job.result, S_OK) << job.error;
    EXPECT_EQ(job.pagesSent, 4u);
    EXPECT_FALSE(Sheet(5));
    const unsigned half = kHeight / 2;
    // Each half of a page's picture, by its page number (0 first).
    auto page = [&](unsigned number) { return Rows(*plain[number / 2], number % 2 * half, half); };
    const std::vector<unsigned char> blank(size_t{kWidth} * 3 * half, 0xFF);
    // Padded to eight pages: the fronts carry 8|1 and 6|3, the backs 2|7 and 4|5 (1 first);
    // pages 6 to 8 are blank.
    const int order[4][2] = {{7, 0}, {1, 6}, {5, 2}, {3, 4}};
    for (int side = 0; side < 4; ++side) {
        std::optional<Picture> sheet = Sheet(side + 1);
        ASSERT_TRUE(sheet) << side;
        for (unsigned cell = 0; cell < 2; ++cell) {
            const int number = order[side][cell];
            EXPECT_TRUE(Rows(*sheet, cell * half, half) == (number < 5 ? page(number) : blank))
                << "side " << side << " cell " << cell;
        }
    }
}

TEST_F(SheetImposition, ADevmodeWhoseDriverPartLaysOutNothingPrintsAPageASheet) {
    // The plug-in's settings alone do not impose: the sheets come from the driver.
    Set(L"_NUP_PAGES", 2);
    Set(L"_NUP_BORDER", 1);
    RenderJobResult job = Print(2);
    ASSERT_EQ(job.result, S_OK) << job.error;
    EXPECT_EQ(job.pagesSent, 2u);
    std::optional<Picture> sheet = Sheet(1);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(InkedCells(*sheet, 2, 2), (std::vector<bool>{true, true, true, true}));
    EXPECT_TRUE(Sheet(2));
}

// The sheets sent before the manual feed is chosen, or -1 when it never is.
int SheetsBeforeManualFeed(const RenderJobResult& job) {
    const std::string stream(job.stream.begin(), job.stream.end());
    const size_t feed = stream.find(kManualFeed);
    if (feed == std::string::npos) {
        return -1;
    }
    int sheets = 0;
    for (size_t at = stream.find(kPageEnd); at < feed; at = stream.find(kPageEnd, at + 1)) {
        ++sheets;
    }
    return sheets;
}

TEST_F(ManualDuplexImposition, TwoCopiesOfFivePagesArePlayedAsTenAndSwitchAfterTheSixth) {
    Lay(0, moltr::unidrv::kLayoutProcessorCopies);
    head()->dmDuplex = DMDUP_VERTICAL;
    head()->dmCopies = 2;
    head()->dmFields |= DM_DUPLEX | DM_COPIES;
    const DWORD id = SpoolJob(5);
    RenderJobResult job = Print(5, "copies", id);
    ASSERT_EQ(job.result, S_OK) << job.error;
    EXPECT_EQ(job.pagesSent, 10u);
    EXPECT_EQ(SheetsBeforeManualFeed(job), 6);
    // Uncollated: each page twice in a row.
    for (int sheet = 1; sheet <= 10; sheet += 2) {
        std::optional<Picture> first = Sheet(sheet);
        std::optional<Picture> again = Sheet(sheet + 1);
        ASSERT_TRUE(first && again) << sheet;
        EXPECT_TRUE(first->rgb == again->rgb) << sheet;
    }
    EXPECT_FALSE(Sheet(3)->rgb == Sheet(1)->rgb);
}

TEST_F(ManualDuplexImposition, OneCopyOfFivePagesSwitchesAfterTheThird) {
    Lay(0, moltr::unidrv::kLayoutProcessorCopies);
    head()->dmDuplex = DMDUP_VERTICAL;
    head()->dmFields |= DM_DUPLEX;
    const DWORD id = SpoolJob(5);
    RenderJobResult job = Print(5, "copies", id);
    ASSERT_EQ(job.result, S_OK) << job.error;
    EXPECT_EQ(job.pagesSent, 5u);
    EXPECT_EQ(SheetsBeforeManualFeed(job), 3);
}

} // namespace
