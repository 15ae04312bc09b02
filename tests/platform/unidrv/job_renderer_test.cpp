// The renderer's whole job through the real render plug-in: the order of its callbacks, the
// structure of the PCL 5 and PCL XL streams, the pages it reports, the run-length rows, what bad
// input gets, and golden streams of whole jobs.
#include "src/unidrv/job_renderer.h"
#include "common/drv_settings.h"
#include "src/unidrv/driver_devmode.h"
#include "src/unidrv/pclxl_stream.h"
#include "src/unidrv/raster_compression.h"

#include "job_printer.h"
#include "sim/module_registry.h"
#include "sim/spooler_service.h"

#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>

namespace {

using moltr::test::JobPrinter;
using moltr::test::JobPrinterSetup;
using moltr::unidrv::RenderJob;
using moltr::unidrv::RenderJobRequest;
using moltr::unidrv::RenderJobResult;
namespace pclxl = moltr::unidrv::pclxl;
namespace sim = moltr::sim;

// 2026-03-04 05:06:07.890 UTC as a FILETIME.
constexpr ULONGLONG kFrozenClock = 134170743678900000ULL;

JobPrinterSetup PclXl() {
    JobPrinterSetup setup;
    setup.sample = "MOLTR4KX.GPD";
    setup.driverName = "MOLTR ColorLaser 4000 PCL6";
    return setup;
}

JobPrinterSetup Ejl(JobPrinterSetup setup = {}) {
    setup.lines.push_back({"*Define: _ENABLEPJL_01", "*Define: _ENABLEPJL_00"});
    setup.lines.push_back({"    *_ENABLEPJL: 1", "    *_ENABLEPJL: 0"});
    return setup;
}

RenderJobResult Print(const JobPrinter& printer, DWORD pages = 1, const DEVMODEW* devmode = nullptr,
                      std::function<bool(DWORD)> pageSent = {}) {
    RenderJobRequest request;
    request.printer = printer.handle();
    request.jobId = 7;
    request.documentName = L"Report";
    request.pages = pages;
    request.devmode = devmode;
    request.pageSent = std::move(pageSent);
    return RenderJob(request);
}

std::string Text(const std::vector<BYTE>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST(RenderJobCallbacks, APjlJobCallsTheHeaderCopiesDuplexSourcePageSideAndEnd) {
    JobPrinter printer;
    RenderJobResult job = Print(printer, 2);
    ASSERT_EQ(job.result, S_OK) << job.error;
    // JOB_SETUP: header, uncollated copies, simplex; DOC_SETUP: copies; per page PAGE_SETUP:
    // the form source, the page side; JOB_FINISH: the end of the job.
    EXPECT_EQ(job.callbackIds, (std::vector<DWORD>{303, 209, 304, 309, 110, 300, 110, 300, 450}));
    EXPECT_EQ(job.pagesSent, 2u);
}

TEST(RenderJobCallbacks, AnEjlJobTakesTheEjlHeaderAndCopies) {
    JobPrinter ejl(Ejl());
    RenderJobResult job = Print(ejl);
    ASSERT_EQ(job.result, S_OK) << job.error;
    EXPECT_EQ(job.callbackIds, (std::vector<DWORD>{302, 274, 304, 309, 110, 300, 450}));
}

TEST(RenderJobCallbacks, APclXlJobSetsItsColourPerPageAndEndsThePageByTheCopies) {
    JobPrinter printer(PclXl());
    RenderJobResult job = Print(printer);
    ASSERT_EQ(job.result, S_OK) << job.error;
    EXPECT_EQ(job.callbackIds, (std::vector<DWORD>{303, 209, 304, 120, 300, 154, 311, 450}));
}

TEST(RenderJobStream, APcl5JobIsPjlAroundPclRasterWithAFormFeedPerPage) {
    JobPrinter printer;
    RenderJobResult job = Print(printer, 3);
    ASSERT_EQ(job.result, S_OK) << job.error;
    std::string stream = Text(job.stream);
    // Until the spooler keeps jobs, the plug-in finds no job record and writes the short header.
    EXPECT_EQ(stream.rfind("\x1b%-12345X@PJL JOB\n", 0), 0u);
    EXPECT_NE(stream.find("@PJL ENTER LANGUAGE=PCL\n\x1b"
                          "E"),
              std::string::npos);
    EXPECT_EQ(Count(stream, "\x1b*r3U"), 1u); // the colour mode, once per document
    EXPECT_EQ(Count(stream, "\x1b*r1A"), Count(stream, "\x1b*rC"));
    EXPECT_GE(Count(stream, "\x1b*r1A"), 3u);
    EXPECT_GE(Count(stream, "\x1b*b1M"), 3u);
    EXPECT_EQ(Count(stream, "\x1b*rC\x0c"), 3u);
    const std::string end = "\x1b*rC\x0c\x1b%-12345X@PJL EOJ\n\x1b%-12345X";
    EXPECT_EQ(stream.substr(stream.size() - end.size()), end);
}

TEST(RenderJobDevmode, TheDefaultDevmodeCarriesThePluginsPartAndTheJobsChangesReachTheStream) {
    JobPrinter printer;
    std::vector<BYTE> devmode;
    std::string error;
    ASSERT_EQ(moltr::unidrv::DefaultJobDevmode(printer.handle(), &devmode, &error), S_OK) << error;
    auto* head = reinterpret_cast<DEVMODEW*>(devmode.data());
    ASSERT_EQ(devmode.size(), size_t{head->dmSize} + head->dmDriverExtra);
    EXPECT_EQ(head->dmPaperSize, DMPAPER_A4);
    EXPECT_EQ(head->dmColor, DMCOLOR_COLOR);
    DWORD size = 0;
    const BYTE* part = moltr::unidrv::PluginPart(*head, &size);
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(std::memcmp(part + 4, "MOLT", 4), 0);
    // The colour set-up's driver-configuration blocks come from the private part's colour
    // method; without one there are none. Three copies go to the copies command.
    moltr::common::IDrvSettings* settings = nullptr;
    ASSERT_EQ(
        moltr::common::CreateDrvSettings(moltr::common::kModeDocument, printer.handle(), &settings),
        S_OK);
    BYTE none = 0;
    EXPECT_EQ(settings->SetValue(const_cast<BYTE*>(part), L"_COLORMETHOD", &none,
                                 moltr::common::kLayoutDevMode),
              S_OK);
    settings->Release();
    head->dmCopies = 3;
    std::string before = Text(Print(printer).stream);
    RenderJobResult job = Print(printer, 1, head);
    ASSERT_EQ(job.result, S_OK) << job.error;
    std::string stream = Text(job.stream);
    EXPECT_NE(before.find("\x1b*o4W"), std::string::npos);
    EXPECT_EQ(stream.find("\x1b*o4W"), std::string::npos);
    EXPECT_NE(stream.find("\x1b&l3X"), std::string::npos);
}

TEST(RenderJobStream, AnEjlJobStartsWithTheEjlEntry) {
    JobPrinter printer(Ejl());
    RenderJobResult job = Print(printer);
    ASSERT_EQ(job.result, S_OK) << job.error;
    std::string stream = Text(job.stream);
    EXPECT_EQ(stream.rfind("\x1b\x01@EJL \n", 0), 0u);
    EXPECT_NE(stream.find("@EJL EN LA=PCL5C\n"), std::string::npos);
    EXPECT_EQ(Count(stream, "\x1b*rC\x0c"), 1u);
}

TEST(RenderJobStream, APclXlJobIsOneSessionWithAPagePerPageAndItsImagesInside) {
    JobPrinter printer(PclXl());
    RenderJobResult job = Print(printer, 2);
    ASSERT_EQ(job.result, S_OK) << job.error;
    pclxl::Reader reader;
    reader.Feed(job.stream);
    EXPECT_TRUE(reader.wellFormed());
    EXPECT_TRUE(reader.headerSeen());
    EXPECT_FALSE(reader.sessionOpen());
    using pclxl::Operator;
    std::vector<Operator> operators;
    size_t images = 0;
    for (Operator op : reader.operators()) {
        // The colour treatment operators of the plug-in's set-up are not the page's structure.
        if (op == Operator::kBeginSession || op == Operator::kOpenDataSource ||
            op == Operator::kBeginPage || op == Operator::kEndPage ||
            op == Operator::kCloseDataSource || op == Operator::kEndSession) {
            operators.push_back(op);
        }
        images += op == Operator::kReadImage;
    }
    EXPECT_EQ(operators,
              (std::vector<Operator>{Operator::kBeginSession, Operator::kOpenDataSource,
                                     Operator::kBeginPage, Operator::kEndPage, Operator::kBeginPage,
                                     Operator::kEndPage, Operator::kCloseDataSource,
                                     Operator::kEndSession}));
    EXPECT_GE(images, 2u);
    std::string stream = Text(job.stream);
    EXPECT_EQ(stream.rfind("\x1b%-12345X@PJL JOB\n", 0), 0u);
    EXPECT_NE(stream.find("@PJL ENTER LANGUAGE=PCLXL\n) HP-PCL XL;2;0\n"), std::string::npos);
}

// The session operators the GPD leaves out come after the document's set-up, the page's after
// the page's.
TEST(RenderJobStream, AGpdWithoutSessionOrPageOperatorsGetsTheDriversOwn) {
    JobPrinterSetup setup = PclXl();
    setup.lines.push_back(
        {"*Cmd: \"<C0 00 F8 86 D1 58 02 58 02 F8 89 C0 00 F8 8F 41 C0 00 F8 88 C0 "
         "01 F8 82 48>\"",
         "*Cmd: \"<20>\""});
    setup.lines.push_back({"    *Cmd: \"<43>\"", "    *Cmd: \"<20>\""});
    JobPrinter printer(setup);
    RenderJobResult job = Print(printer);
    ASSERT_EQ(job.result, S_OK) << job.error;
    pclxl::Reader reader;
    reader.Feed(job.stream);
    EXPECT_TRUE(reader.wellFormed());
    EXPECT_FALSE(reader.sessionOpen());
    const std::vector<pclxl::Operator>& ops = reader.operators();
    ASSERT_GE(ops.size(), 3u);
    EXPECT_EQ(ops[0], pclxl::Operator::kBeginSession);
    EXPECT_EQ(ops[1], pclxl::Operator::kOpenDataSource);
    auto begin = std::find(ops.begin(), ops.end(), pclxl::Operator::kBeginPage);
    auto image = std::find(ops.begin(), ops.end(), pclxl::Operator::kBeginImage);
    auto end = std::find(ops.begin(), ops.end(), pclxl::Operator::kEndPage);
    EXPECT_EQ(std::count(ops.begin(), ops.end(), pclxl::Operator::kBeginPage), 1);
    EXPECT_LT(begin, image);
    EXPECT_LT(image, end);
    EXPECT_EQ(std::count(ops.begin(), ops.end(), pclxl::Operator::kEndPage), 1);
}

TEST(RenderJobPages, EachPageIsReportedAndAFalseAnswerStopsTheJobAfterItsDocument) {
    JobPrinter printer;
    std::vector<DWORD> reported;
    RenderJobResult all = Print(printer, 4, nullptr, [&](DWORD sent) {
        reported.push_back(sent);
        return true;
    });
    ASSERT_EQ(all.result, S_OK) << all.error;
    EXPECT_EQ(reported, (std::vector<DWORD>{1, 2, 3, 4}));
    EXPECT_EQ(Count(Text(all.stream), "\x1b*rC\x0c"), 4u);
    RenderJobResult stopped = Print(printer, 4, nullptr, [](DWORD sent) { return sent < 2; });
    EXPECT_EQ(stopped.result, S_OK);
    EXPECT_EQ(stopped.pagesSent, 2u);
    std::string stream = Text(stopped.stream);
    EXPECT_EQ(Count(stream, "\x1b*rC\x0c"), 2u);
    EXPECT_NE(stream.find("@PJL EOJ"), std::string::npos);
}

// Decodes PCL 5 run-length data: pairs of a count less one and the byte.
std::vector<BYTE> DecodeRunLength(const std::vector<BYTE>& data) {
    std::vector<BYTE> row;
    for (size_t i = 0; i + 1 < data.size(); i += 2) {
        row.insert(row.end(), data[i] + 1u, data[i + 1]);
    }
    return row;
}

// Decodes PackBits.
std::vector<BYTE> DecodePackBits(const std::vector<BYTE>& data) {
    std::vector<BYTE> row;
    for (size_t i = 0; i < data.size();) {
        BYTE control = data[i++];
        if (control < 128) {
            row.insert(row.end(), data.begin() + i, data.begin() + i + control + 1);
            i += control + 1;
        } else if (control > 128) {
            row.insert(row.end(), 257u - control, data[i++]);
        }
    }
    return row;
}

TEST(RenderJobRaster, RowsDecodeBackFromBothRunLengthEncodings) {
    std::mt19937 random(5);
    for (size_t size : {1, 2, 255, 256, 257, 1000}) {
        std::vector<BYTE> row(size);
        for (size_t i = 0; i < size; ++i) {
            // Runs and noise.
            row[i] = (i / 37) % 2 ? static_cast<BYTE>(random()) : static_cast<BYTE>(i / 300);
        }
        std::vector<BYTE> runs;
        moltr::unidrv::AppendRunLength(row.data(), row.size(), &runs);
        EXPECT_EQ(DecodeRunLength(runs), row) << size;
        std::vector<BYTE> packed;
        moltr::unidrv::AppendPackBits(row.data(), row.size(), &packed);
        EXPECT_EQ(DecodePackBits(packed), row) << size;
    }
    std::vector<BYTE> white(638, 0xFF);
    std::vector<BYTE> runs;
    moltr::unidrv::AppendRunLength(white.data(), white.size(), &runs);
    EXPECT_EQ(runs, (std::vector<BYTE>{255, 0xFF, 255, 0xFF, 125, 0xFF}));
}

TEST(RenderJobRaster, AMonochromeJobsRowsHoldThePagesFrame) {
    JobPrinter printer;
    DEVMODEW devmode = {};
    devmode.dmSize = sizeof devmode;
    devmode.dmFields = DM_COLOR;
    devmode.dmColor = DMCOLOR_MONOCHROME;
    RenderJobResult job = Print(printer, 1, &devmode);
    ASSERT_EQ(job.result, S_OK) << job.error;
    std::string stream = Text(job.stream);
    EXPECT_NE(stream.find("\x1b*r1U"), std::string::npos);
    // Every row of the first raster block: the frame's top line is ink across the frame, its
    // sides in every row down to its bottom line.
    size_t block = stream.find("\x1b*r1A\x1b*b1M");
    ASSERT_NE(block, std::string::npos);
    size_t at = block + 10;
    size_t inkRows = 0;
    size_t widest = 0;
    while (stream.compare(at, 3, "\x1b*b") == 0) {
        size_t end = stream.find('W', at);
        size_t size = std::stoul(stream.substr(at + 3, end - at - 3));
        std::vector<BYTE> data(stream.begin() + end + 1, stream.begin() + end + 1 + size);
        std::vector<BYTE> row = DecodeRunLength(data);
        inkRows += std::count(row.begin(), row.end(), 0) != static_cast<long>(row.size());
        widest = std::max(widest, row.size());
        at = end + 1 + size;
    }
    EXPECT_EQ(stream.compare(at, 4, "\x1b*rC"), 0);
    EXPECT_GT(inkRows, 100u);
    // The A4 printable width at 600 dpi in bytes, less the right margin of the frame.
    EXPECT_LE(widest, (4760u + 7) / 8);
    EXPECT_GT(widest, 500u);
}

TEST(RenderJobRaster, WithoutCompressionTheRowsGoAsTheyAre) {
    JobPrinterSetup setup;
    setup.lines = {{"    *DefaultOption: NORMAL", "    *DefaultOption: NONE"}};
    JobPrinter printer(setup);
    RenderJobResult job = Print(printer);
    ASSERT_EQ(job.result, S_OK) << job.error;
    std::string stream = Text(job.stream);
    EXPECT_EQ(Count(stream, "\x1b*b1M"), 0u);
    EXPECT_GE(Count(stream, "\x1b*b0M"), 1u);
    // A colour row is three planes of the whole width: 4760 pixels in 595 bytes each.
    EXPECT_GE(Count(stream, "\x1b*b595V"), 2u);
    EXPECT_GE(Count(stream, "\x1b*b595W"), 1u);
}

TEST(RenderJobFailures, AMissingGpdIsReportedAsAMissingFile) {
    JobPrinter printer;
    std::filesystem::remove(printer.root() +
                            "/c/Windows/System32/spool/drivers/x64/3/MOLTR4KC.GPD");
    RenderJobResult job = Print(printer);
    EXPECT_EQ(job.result, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(job.stream.empty());
    EXPECT_FALSE(job.error.empty());
}

TEST(RenderJobFailures, ABrokenGpdNamesItsLine) {
    JobPrinterSetup setup;
    setup.lines = {{"*Feature: Duplex", "*Feature: Duplex\n{ {"}};
    JobPrinter printer(setup);
    RenderJobResult job = Print(printer);
    EXPECT_EQ(job.result, HRESULT_FROM_WIN32(ERROR_INVALID_DATA));
    EXPECT_NE(job.error.find("MOLTR4KC.GPD("), std::string::npos) << job.error;
}

// The test plug-in, installed with the printer; it is told how to behave through its module.
class StubJob : public ::testing::Test {
protected:
    void Behave(BOOL imageProcessing, const char* failing) {
        if (!stub_) {
            stub_ = LoadLibraryW(L"C:\\Windows\\System32\\spool\\drivers\\x64\\3\\STUBRPC.DLL");
            ASSERT_NE(stub_, nullptr);
        }
        auto behave = reinterpret_cast<void(WINAPI*)(BOOL, const char*)>(
            reinterpret_cast<void*>(GetProcAddress(stub_, "StubBehave")));
        ASSERT_NE(behave, nullptr);
        behave(imageProcessing, failing);
    }
    void TearDown() override {
        if (stub_) {
            Behave(FALSE, "");
            FreeLibrary(stub_);
        }
    }

    static JobPrinterSetup StubSetup() {
        JobPrinterSetup setup;
        setup.plugin = "STUBRPC.DLL";
        return setup;
    }

    JobPrinter printer_{StubSetup()};
    HMODULE stub_ = nullptr;
};

TEST_F(StubJob, APluginThatHooksNothingGetsItsCallbacksAndEachBandThroughImageProcessing) {
    Behave(TRUE, "");
    RenderJobResult job = Print(printer_);
    ASSERT_EQ(job.result, S_OK) << job.error;
    std::string stream = Text(job.stream);
    // Without a private devmode the driver's defaults choose: PJL, uncollated, simplex.
    EXPECT_EQ(stream.rfind("3 publishedcb303()cb209()cb304()", 0), 0u);
    EXPECT_NE(stream.find("cb309(1)"), std::string::npos);
    // A4 at 600 dpi: the printable area's 13631 / 2 rows in bands of 146 (2 MiB of 24-bit rows
    // of 4760 pixels).
    EXPECT_EQ(Count(stream, "ip"), (6815u + 145) / 146);
    EXPECT_NE(stream.find("ip0+146;"), std::string::npos);
    EXPECT_NE(stream.find("ip6716+99;"), std::string::npos);
    // The driver's own drawing entries drew the page.
    EXPECT_NE(stream.find("\x1b*r1A"), std::string::npos);
    EXPECT_EQ(stream.substr(stream.size() - 8), "\x0c"
                                                "cb450()");
}

TEST_F(StubJob, APluginCallThatFailsEndsTheJobWithItsAnswer) {
    for (const char* method : {"DevMode", "EnableDriver", "EnablePDEV"}) {
        Behave(FALSE, method);
        RenderJobResult job = Print(printer_);
        EXPECT_EQ(job.result, E_FAIL) << method;
        EXPECT_TRUE(job.callbackIds.empty()) << method;
    }
    Behave(TRUE, "ImageProcessing");
    RenderJobResult job = Print(printer_, 3);
    EXPECT_EQ(job.result, E_FAIL);
    EXPECT_EQ(job.pagesSent, 0u);
    // The document is still ended, with the job's trailer.
    EXPECT_EQ(Text(job.stream).substr(job.stream.size() - 7), "cb450()");
}

TEST(RenderJobFailures, HostileDevmodeSizesAreRefusedOrLeftAtTheDefaults) {
    JobPrinter printer;
    DEVMODEW shortOne = {};
    shortOne.dmSize = 8;
    EXPECT_EQ(Print(printer, 1, &shortOne).result, E_INVALIDARG);
    // A driver part and a plug-in part that claim more than the devmode holds.
    struct {
        DEVMODEW head;
        DWORD driver[4];
        DWORD plugin[2];
    } hostile = {};
    hostile.head.dmSize = sizeof(DEVMODEW);
    hostile.head.dmDriverExtra = sizeof hostile.driver + sizeof hostile.plugin;
    hostile.driver[0] = sizeof hostile.driver;
    hostile.driver[1] = 'U' | ('D' << 8) | ('R' << 16) | ('V' << 24);
    hostile.plugin[0] = 0xFFFFFFF0;
    hostile.plugin[1] = 'M' | ('O' << 8) | ('L' << 16) | ('T' << 24);
    EXPECT_EQ(Print(printer, 1, &hostile.head).result, S_OK);
    hostile.driver[0] = 0xFFFFFFFF;
    EXPECT_EQ(Print(printer, 1, &hostile.head).result, S_OK);
}

// Golden streams: whole jobs as an application spools them (a document name, two pages) on a
// machine with a frozen clock ahead of UTC, printed by the spooler service. To write them anew
// after a deliberate change, run this test with MOLTR_WRITE_GOLDEN=1 and check the new files'
// text by eye (the PJL or EJL header with the job's names and time, the page commands, the
// raster or PCL XL, the end of job) before committing them.
void ExpectGolden(const JobPrinterSetup& base, const char* file) {
    JobPrinterSetup setup = base;
    setup.machine.clock = kFrozenClock;
    setup.machine.timeZoneBias = -60;
    JobPrinter printer(setup);
    // The application's devmode: the document defaults, in monochrome to keep the files small.
    std::u16string name = JobPrinter::kName;
    LONG size = DocumentPropertiesW(nullptr, printer.handle(), sim::W(name), nullptr, nullptr, 0);
    ASSERT_GT(size, 0);
    std::vector<BYTE> buffer(static_cast<size_t>(size));
    auto* devmode = reinterpret_cast<DEVMODEW*>(buffer.data());
    ASSERT_EQ(DocumentPropertiesW(nullptr, printer.handle(), sim::W(name), devmode, nullptr,
                                  DM_OUT_BUFFER),
              IDOK);
    devmode->dmFields |= DM_COLOR;
    devmode->dmColor = DMCOLOR_MONOCHROME;
    PRINTER_DEFAULTSW defaults = {nullptr, devmode, PRINTER_ACCESS_USE};
    HANDLE handle = nullptr;
    ASSERT_TRUE(OpenPrinterW(sim::W(name), &handle, &defaults));
    std::u16string document = u"Quarterly report";
    std::u16string datatype = u"NT EMF 1.008";
    DOC_INFO_1W info = {sim::W(document), nullptr, sim::W(datatype)};
    DWORD id = StartDocPrinterW(handle, 1, reinterpret_cast<BYTE*>(&info));
    EXPECT_NE(id, 0u);
    for (int page = 0; page < 2; ++page) {
        EXPECT_TRUE(StartPagePrinter(handle));
        EXPECT_TRUE(EndPagePrinter(handle));
    }
    EXPECT_TRUE(EndDocPrinter(handle));
    ClosePrinter(handle);
    sim::RunSpoolerService(sim::SpoolerServiceOptions{true, 0});
    sim::SetProcessImagePath(nullptr);
    std::optional<sim::PrintedJob> job = sim::FindPrintedJob(JobPrinter::kName, id);
    ASSERT_TRUE(job);
    EXPECT_EQ(job->pages, 2u);
    std::filesystem::path path = std::filesystem::path(MOLTR_GOLDEN_DIR) / file;
    if (std::getenv("MOLTR_WRITE_GOLDEN")) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(job->bytes.data()),
                   static_cast<std::streamsize>(job->bytes.size()));
    }
    std::ifstream in(path, std::ios::binary);
    std::vector<BYTE> golden((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(job->bytes.size(), golden.size()) << file;
    EXPECT_TRUE(job->bytes == golden) << file;
}

TEST(RenderJobGolden, APjlJob) {
    ExpectGolden({}, "pcl5_pjl.prn");
}

TEST(RenderJobGolden, AnEjlJob) {
    ExpectGolden(Ejl(), "pcl5_ejl.prn");
}

TEST(RenderJobGolden, APclXlJob) {
    ExpectGolden(PclXl(), "pclxl.prn");
}

} // namespace
