// The spooler service over the queue: RAW jobs sent as they are, other jobs rendered page by page
// (here by a fake renderer that writes known bytes), in id order, with paused, deleted and failed
// jobs, printers that keep printed jobs, and the ports the bytes go to.
#include "platform/winspool/spool_fixture.h"
#include "sim/module_registry.h"
#include "sim/spooler_service.h"
#include "src/spoolsv/spooler_service.h"

#include <psapi.h>

#include <cstring>

namespace moltr::test {
namespace {

using sim::Utf8;
using unidrv::RenderJobRequest;
using unidrv::RenderJobResult;

constexpr char16_t kEmf[] = u"NT EMF 1.008";

// What the fake renderer saw of a job.
struct SeenJob {
    DWORD jobId = 0;
    std::string document;
    DWORD pages = 0;
    SHORT copies = 0;
    std::vector<DWORD> pagesPrintedAfterEachPage;
};

class SpoolerService : public SpoolTest {
protected:
    DWORD Spool(const char* document, DWORD pages, const char16_t* datatype,
                const std::string& data = {}, DEVMODEW* devmode = nullptr,
                const char* printer = kPrinter) {
        WideArg name(printer);
        PRINTER_DEFAULTSW defaults = {nullptr, devmode, PRINTER_ACCESS_USE};
        HANDLE handle = nullptr;
        EXPECT_TRUE(OpenPrinterW(name, &handle, &defaults));
        WideArg doc(document);
        std::u16string type = datatype;
        DOC_INFO_1W info = {doc, nullptr, sim::W(type)};
        DWORD id = StartDocPrinterW(handle, 1, reinterpret_cast<BYTE*>(&info));
        for (DWORD page = 0; page < pages; ++page) {
            StartPagePrinter(handle);
            DWORD written = 0;
            if (page == 0 && !data.empty()) {
                WritePrinter(handle, const_cast<char*>(data.data()),
                             static_cast<DWORD>(data.size()), &written);
            }
            EndPagePrinter(handle);
        }
        EXPECT_TRUE(EndDocPrinter(handle));
        ClosePrinter(handle);
        return id;
    }

    // Writes "<document>:<page>;" for each page and calls back 302 then 450.
    spoolsv::RenderFunction Fake(HRESULT answer = S_OK) {
        return [this, answer](const RenderJobRequest& request) {
            RenderJobResult result;
            SeenJob seen{request.jobId,
                         Utf8(request.documentName),
                         request.pages,
                         request.devmode ? request.devmode->dmCopies : SHORT{0},
                         {}};
            result.callbackIds = {302};
            for (DWORD page = 1; page <= request.pages; ++page) {
                const std::string bytes = seen.document + ":" + std::to_string(page) + ";";
                result.stream.insert(result.stream.end(), bytes.begin(), bytes.end());
                result.pagesSent = page;
                if (!request.pageSent(page)) {
                    break;
                }
                seen.pagesPrintedAfterEachPage.push_back(
                    PagesPrinted(request.printer, request.jobId));
            }
            result.callbackIds.push_back(450);
            result.result = answer;
            seen_.push_back(seen);
            return result;
        };
    }

    static DWORD PagesPrinted(HANDLE printer, DWORD id) {
        DWORD needed = 0;
        GetJobW(printer, id, 1, nullptr, 0, &needed);
        std::vector<BYTE> buffer(needed ? needed : 1);
        if (!GetJobW(printer, id, 1, buffer.data(), needed, &needed)) {
            return 0xFFFFFFFF;
        }
        return reinterpret_cast<JOB_INFO_1W*>(buffer.data())->PagesPrinted;
    }

    // The job's status, or nothing once it has left the queue.
    std::optional<DWORD> Status(DWORD id, const char* printer = kPrinter) {
        HANDLE handle = Open(PRINTER_ACCESS_USE, printer);
        DWORD needed = 0;
        GetJobW(handle, id, 1, nullptr, 0, &needed);
        std::vector<BYTE> buffer(needed ? needed : 1);
        std::optional<DWORD> status;
        if (GetJobW(handle, id, 1, buffer.data(), needed, &needed)) {
            status = reinterpret_cast<JOB_INFO_1W*>(buffer.data())->Status;
        }
        ClosePrinter(handle);
        return status;
    }

    std::string Port(const char16_t* port = u"LPT1:") { return ReadBytes(sim::PortFile(port)); }

    void Control(DWORD id, DWORD command) {
        HANDLE handle = Open(PRINTER_ACCESS_USE);
        EXPECT_TRUE(SetJobW(handle, id, 0, nullptr, command));
        ClosePrinter(handle);
    }

    std::vector<SeenJob> seen_;
};

TEST_F(SpoolerService, ARawJobGoesToThePortAsItIsAndLeavesTheQueue) {
    const std::string data("\x1b%-12345X@PJL\r\n\0\xff", 17);
    DWORD id = Spool("raw", 2, u"RAW", data);
    spoolsv::SpoolerService service(Fake(), 0);
    EXPECT_TRUE(service.PrintNext());
    EXPECT_FALSE(service.PrintNext());
    EXPECT_TRUE(seen_.empty());
    EXPECT_EQ(Port(), data);
    std::optional<sim::PrintedJob> printed = sim::FindPrintedJob(u"Test Laser", id);
    ASSERT_TRUE(printed);
    EXPECT_EQ(std::string(printed->bytes.begin(), printed->bytes.end()), data);
    EXPECT_EQ(printed->pages, 2u);
    EXPECT_TRUE(printed->callbackIds.empty());
    EXPECT_FALSE(Status(id));
}

TEST_F(SpoolerService, RendersJobsInIdOrderPageByPageWithTheirDevModes) {
    DEVMODEW devmode{};
    devmode.dmSize = sizeof devmode;
    devmode.dmFields = DM_COPIES;
    devmode.dmCopies = 3;
    DWORD first = Spool("first", 2, kEmf, {}, &devmode);
    DWORD second = Spool("second", 1, kEmf);
    spoolsv::SpoolerService(Fake(), 0).PrintAll();
    ASSERT_EQ(seen_.size(), 2u);
    EXPECT_EQ(seen_[0].jobId, first);
    EXPECT_EQ(seen_[0].document, "first");
    EXPECT_EQ(seen_[0].pages, 2u);
    EXPECT_EQ(seen_[0].copies, 3);
    EXPECT_EQ(seen_[0].pagesPrintedAfterEachPage, (std::vector<DWORD>{1, 2}));
    EXPECT_EQ(seen_[1].jobId, second);
    EXPECT_EQ(Port(), "first:1;first:2;second:1;");
    std::optional<sim::PrintedJob> printed = sim::FindPrintedJob(u"test laser", second);
    ASSERT_TRUE(printed);
    EXPECT_EQ(std::string(printed->bytes.begin(), printed->bytes.end()), "second:1;");
    EXPECT_EQ(printed->callbackIds, (std::vector<DWORD>{302, 450}));
    EXPECT_FALSE(sim::FindPrintedJob(u"Test Laser", second + 1));
}

TEST_F(SpoolerService, PausedJobsWaitAndAPrinterThatKeepsPrintedJobsKeepsThem) {
    sim::PrinterSetup keeper;
    keeper.name = u"Keeper";
    keeper.driver = sim::Utf16(kDriver);
    keeper.port = u"FILE:";
    keeper.attributes |= PRINTER_ATTRIBUTE_KEEPPRINTEDJOBS;
    ASSERT_TRUE(sim::AddPrinter(keeper));
    DWORD paused = Spool("paused", 1, kEmf);
    Control(paused, JOB_CONTROL_PAUSE);
    DWORD kept = Spool("kept", 2, kEmf, {}, nullptr, "Keeper");
    spoolsv::SpoolerService service(Fake(), 0);
    service.PrintAll();
    ASSERT_EQ(seen_.size(), 1u);
    EXPECT_EQ(Status(kept, "Keeper"), std::optional<DWORD>(JOB_STATUS_PRINTED));
    EXPECT_EQ(Port(u"file:"), "kept:1;kept:2;");
    EXPECT_EQ(Status(paused), std::optional<DWORD>(JOB_STATUS_PAUSED));
    Control(paused, JOB_CONTROL_RESUME);
    service.PrintAll();
    ASSERT_EQ(seen_.size(), 2u);
    EXPECT_EQ(Port(), "paused:1;");
}

TEST_F(SpoolerService, AJobDeletedWhileItPrintsStopsAndSendsNothing) {
    DWORD id = Spool("doomed", 3, kEmf);
    spoolsv::RenderFunction fake = Fake();
    spoolsv::SpoolerService service(
        [&](const RenderJobRequest& request) {
            EXPECT_TRUE(SetJobW(request.printer, request.jobId, 0, nullptr, JOB_CONTROL_DELETE));
            EXPECT_EQ(Status(id), std::optional<DWORD>(JOB_STATUS_PRINTING | JOB_STATUS_DELETING));
            return fake(request);
        },
        0);
    service.PrintAll();
    ASSERT_EQ(seen_.size(), 1u);
    EXPECT_TRUE(seen_[0].pagesPrintedAfterEachPage.empty()); // stopped at the first page
    EXPECT_FALSE(Status(id));
    EXPECT_EQ(Port(), "");
}

TEST_F(SpoolerService, AFailedJobStaysInErrorAndTheQueueMovesOn) {
    DWORD failed = Spool("failed", 1, kEmf);
    DWORD next = Spool("next", 1, kEmf);
    HRESULT answer = E_NOTIMPL;
    spoolsv::RenderFunction fake = Fake();
    spoolsv::RenderFunction failing = Fake(E_NOTIMPL);
    spoolsv::SpoolerService service(
        [&](const RenderJobRequest& request) {
            HRESULT now = answer;
            answer = S_OK;
            return (now == S_OK ? fake : failing)(request);
        },
        0);
    service.PrintAll();
    EXPECT_EQ(Status(failed), std::optional<DWORD>(JOB_STATUS_ERROR));
    EXPECT_FALSE(Status(next));
    EXPECT_EQ(Port(), "next:1;");
    EXPECT_FALSE(service.PrintNext());
    // A restart queues it again.
    Control(failed, JOB_CONTROL_RESTART);
    EXPECT_TRUE(service.PrintNext());
    EXPECT_EQ(Port(), "next:1;failed:1;");
}

TEST_F(SpoolerService, TheServiceProcessPresentsItselfAsTheSpooler) {
    DWORD id = Spool("raw", 1, u"raw", "bytes");
    sim::RunSpoolerService(sim::SpoolerServiceOptions{true, 0});
    WCHAR name[MAX_PATH];
    EXPECT_EQ(GetModuleBaseNameW(GetCurrentProcess(), nullptr, name, MAX_PATH), 11u);
    EXPECT_EQ(Utf8(name), "spoolsv.exe");
    sim::SetProcessImagePath(nullptr);
    EXPECT_EQ(Port(), "bytes");
    EXPECT_FALSE(Status(id));
}

TEST_F(SpoolerService, PortsAreFilesOfTheMachineNamedAfterThePort) {
    const std::string ports = machine_.root() + "/ports/";
    EXPECT_EQ(sim::PortFile(u"LPT1:"), ports + "LPT1");
    EXPECT_EQ(sim::PortFile(u"lpt1:"), ports + "LPT1");
    EXPECT_EQ(sim::PortFile(u"\\\\server\\queue"), ports + "__SERVER_QUEUE");
    EXPECT_EQ(sim::PortFile(u"../x"), ports + ".._X");
    EXPECT_EQ(sim::PortFile(u".."), ports + "_..");
    std::vector<sim::PortInfo> all = sim::Ports();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(Utf8(all[0].name), "LPT1:");
    EXPECT_EQ(all[0].file, ports + "LPT1");
    ASSERT_EQ(all[0].printers.size(), 1u);
    EXPECT_EQ(Utf8(all[0].printers[0]), kPrinter);
}

TEST_F(SpoolerService, AResetSpoolerForgetsWhatThePortsReceived) {
    DWORD id = Spool("before", 1, u"RAW", "old bytes");
    spoolsv::SpoolerService(Fake(), 0).PrintAll();
    ASSERT_TRUE(sim::FindPrintedJob(u"Test Laser", id));
    ASSERT_TRUE(sim::ResetSpooler());
    SetUp(); // the same driver and printer again
    EXPECT_FALSE(sim::FindPrintedJob(u"Test Laser", id));
    EXPECT_FALSE(std::filesystem::exists(sim::PortFile(u"LPT1:")));
    EXPECT_EQ(Spool("after", 1, u"RAW", "new"), id); // ids start again
}

} // namespace
} // namespace moltr::test
