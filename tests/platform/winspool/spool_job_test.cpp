// A job's life through the spooler client API: StartDocPrinterW to EndDocPrinter, what GetJobW and
// EnumJobsW report of it (with their sizing protocol), and SetJobW's commands, failures included.
#include "spool_fixture.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

namespace moltr::test {
namespace {

using sim::Utf8;

constexpr DWORD kNoJob = 0;

class SpoolJobs : public SpoolTest {
protected:
    // A whole job of `pages` pages with `data` written on the first.
    DWORD Spool(HANDLE printer, const char* document, DWORD pages, const std::string& data = {}) {
        DWORD job = Start(printer, document);
        for (DWORD page = 0; page < pages; ++page) {
            EXPECT_TRUE(StartPagePrinter(printer));
            DWORD written = 0;
            if (page == 0 && !data.empty()) {
                EXPECT_TRUE(WritePrinter(printer, const_cast<char*>(data.data()),
                                         static_cast<DWORD>(data.size()), &written));
                EXPECT_EQ(written, data.size());
            }
            EXPECT_TRUE(EndPagePrinter(printer));
        }
        EXPECT_TRUE(EndDocPrinter(printer));
        return job;
    }

    // GetJobW through its sizing protocol; empty when it fails.
    std::vector<BYTE> Job(HANDLE printer, DWORD id, DWORD level) {
        DWORD needed = 0;
        if (GetJobW(printer, id, level, nullptr, 0, &needed) ||
            GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            return {};
        }
        std::vector<BYTE> buffer(needed);
        DWORD again = 0;
        if (!GetJobW(printer, id, level, buffer.data(), needed, &again) || again != needed) {
            return {};
        }
        return buffer;
    }

    JOB_INFO_2W Level2(const std::vector<BYTE>& buffer) {
        JOB_INFO_2W info{};
        if (buffer.size() >= sizeof info) {
            std::memcpy(&info, buffer.data(), sizeof info);
        }
        return info;
    }

    std::vector<DWORD> Queue(HANDLE printer) {
        DWORD needed = 0, count = 0;
        EnumJobsW(printer, 0, 100, 1, nullptr, 0, &needed, &count);
        std::vector<BYTE> buffer(needed + 1);
        EXPECT_TRUE(EnumJobsW(printer, 0, 100, 1, buffer.data(), needed, &needed, &count));
        std::vector<DWORD> ids;
        for (DWORD i = 0; i < count; ++i) {
            ids.push_back(reinterpret_cast<JOB_INFO_1W*>(buffer.data())[i].JobId);
        }
        return ids;
    }
};

TEST_F(SpoolJobs, AJobRecordsWhoSubmittedItWhenWithWhatAndItsPages) {
    SYSTEMTIME frozen = {2026, 3, 3, 4, 5, 6, 7, 89};
    FILETIME clock{};
    ASSERT_TRUE(SystemTimeToFileTime(&frozen, &clock));
    sim::MachineConfig config = sim::CurrentConfig();
    config.clock = (ULONGLONG{clock.dwHighDateTime} << 32) | clock.dwLowDateTime;
    config.userName = "alice";
    config.computerName = "DESK9";
    ASSERT_TRUE(sim::UpdateConfig(config));
    HANDLE printer = Open(PRINTER_ACCESS_USE);
    DWORD id = Spool(printer, "Quarterly report", 3, "raw bytes");
    ASSERT_NE(id, kNoJob);

    std::vector<BYTE> buffer = Job(printer, id, 2);
    ASSERT_FALSE(buffer.empty());
    JOB_INFO_2W info = Level2(buffer);
    EXPECT_EQ(info.JobId, id);
    EXPECT_EQ(Utf8(info.pDocument), "Quarterly report");
    EXPECT_EQ(Utf8(info.pPrinterName), kPrinter);
    EXPECT_EQ(Utf8(info.pUserName), "alice");
    EXPECT_EQ(Utf8(info.pMachineName), "\\\\DESK9");
    EXPECT_EQ(Utf8(info.pDriverName), kDriver);
    EXPECT_EQ(Utf8(info.pDatatype), "RAW");
    EXPECT_EQ(Utf8(info.pPrintProcessor), "winprint");
    EXPECT_EQ(info.Status, 0u);
    EXPECT_EQ(info.TotalPages, 3u);
    EXPECT_EQ(info.PagesPrinted, 0u);
    EXPECT_EQ(info.Size, 9u);
    EXPECT_EQ(info.Position, 1u);
    EXPECT_EQ(info.Priority, static_cast<DWORD>(DEF_PRIORITY));
    EXPECT_EQ(std::memcmp(&info.Submitted, &frozen, sizeof frozen), 0);
    EXPECT_EQ(info.pDevMode, nullptr); // the printer has no devmode
    for (const WCHAR* text : {info.pDocument, info.pUserName, info.pMachineName}) {
        EXPECT_TRUE(Inside(text, WideBytes(text), buffer.data(), buffer.size()));
    }
    ClosePrinter(printer);
}

TEST_F(SpoolJobs, TheJobTakesTheDevModeAndDatatypeTheHandleWasOpenedWith) {
    DEVMODEW devmode{};
    devmode.dmSize = sizeof devmode;
    devmode.dmDriverExtra = 0;
    devmode.dmFields = DM_COPIES;
    devmode.dmCopies = 4;
    std::u16string datatype = u"NT EMF 1.008";
    WideArg name(kPrinter);
    PRINTER_DEFAULTSW defaults = {sim::W(datatype), &devmode, PRINTER_ACCESS_USE};
    HANDLE printer = nullptr;
    ASSERT_TRUE(OpenPrinterW(name, &printer, &defaults));
    DWORD id = Start(printer, "With devmode");
    ASSERT_NE(id, kNoJob);
    std::vector<BYTE> buffer = Job(printer, id, 2);
    JOB_INFO_2W info = Level2(buffer);
    ASSERT_NE(info.pDevMode, nullptr);
    EXPECT_EQ(info.pDevMode->dmCopies, 4);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(info.pDevMode) % 8, 0u);
    EXPECT_TRUE(Inside(info.pDevMode, sizeof devmode, buffer.data(), buffer.size()));
    EXPECT_EQ(Utf8(info.pDatatype), "NT EMF 1.008");
    EXPECT_EQ(info.Status, static_cast<DWORD>(JOB_STATUS_SPOOLING));
    EXPECT_TRUE(EndDocPrinter(printer));
    EXPECT_EQ(Level2(Job(printer, id, 2)).Status, 0u);
    ClosePrinter(printer);

    DEVMODEW broken{};
    broken.dmSize = 4; // shorter than any devmode
    defaults.pDevMode = &broken;
    SetLastError(0);
    EXPECT_FALSE(OpenPrinterW(name, &printer, &defaults));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(SpoolJobs, PageAndDataCallsNeedAStartedDocumentAndADocumentStartsOnce) {
    HANDLE printer = Open(PRINTER_ACCESS_USE);
    DWORD written = 7;
    char data[] = "x";
    SetLastError(0);
    EXPECT_FALSE(WritePrinter(printer, data, 1, &written));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SPL_NO_STARTDOC));
    EXPECT_EQ(written, 0u);
    for (BOOL (*call)(HANDLE) : {StartPagePrinter, EndPagePrinter, EndDocPrinter, AbortPrinter}) {
        SetLastError(0);
        EXPECT_FALSE(call(printer));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SPL_NO_STARTDOC));
    }
    ASSERT_NE(Start(printer, "First"), kNoJob);
    SetLastError(0);
    EXPECT_EQ(Start(printer, "Second"), kNoJob);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PRINTER_STATE));
    DOC_INFO_1W info = {nullptr, nullptr, nullptr};
    EXPECT_EQ(StartDocPrinterW(printer, 2, reinterpret_cast<BYTE*>(&info)), kNoJob);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_LEVEL));
    EXPECT_EQ(StartDocPrinterW(nullptr, 1, reinterpret_cast<BYTE*>(&info)), kNoJob);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_TRUE(EndDocPrinter(printer));
    ClosePrinter(printer);
}

TEST_F(SpoolJobs, IdsIncreaseAndAbortedJobsLeaveTheQueue) {
    HANDLE printer = Open(PRINTER_ACCESS_USE);
    DWORD first = Spool(printer, "one", 1);
    DWORD aborted = Start(printer, "aborted");
    EXPECT_TRUE(AbortPrinter(printer));
    DWORD third = Spool(printer, "three", 1);
    EXPECT_GT(aborted, first);
    EXPECT_GT(third, aborted);
    EXPECT_EQ(Queue(printer), (std::vector<DWORD>{first, third}));
    SetLastError(0);
    DWORD needed = 5;
    EXPECT_FALSE(GetJobW(printer, aborted, 1, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(needed, 0u);
    ClosePrinter(printer);
}

TEST_F(SpoolJobs, ClosingAHandleCompletesTheJobItLeftOpen) {
    HANDLE printer = Open(PRINTER_ACCESS_USE);
    DWORD id = Start(printer, "left open");
    ClosePrinter(printer);
    printer = Open(PRINTER_ACCESS_USE);
    EXPECT_EQ(Level2(Job(printer, id, 2)).Status, 0u);
    ClosePrinter(printer);
}

TEST_F(SpoolJobs, GetJobTellsTheSizeNeededAndLeavesASmallBufferAlone) {
    HANDLE printer = Open(PRINTER_ACCESS_USE);
    DWORD id = Spool(printer, "sized", 1);
    DWORD needed = 0;
    SetLastError(0);
    EXPECT_FALSE(GetJobW(printer, id, 1, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    const DWORD strings = static_cast<DWORD>((sizeof "Test Laser" + sizeof "\\\\MOLTRHOST" +
                                              sizeof "user" + sizeof "sized" + sizeof "RAW") *
                                             sizeof(WCHAR));
    EXPECT_EQ(needed, sizeof(JOB_INFO_1W) + strings);
    std::vector<BYTE> buffer(needed + 8, 0x5A);
    DWORD again = 0;
    EXPECT_FALSE(GetJobW(printer, id, 1, buffer.data(), needed - 1, &again));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(again, needed);
    EXPECT_EQ(buffer[0], 0x5A);
    ASSERT_TRUE(GetJobW(printer, id, 1, buffer.data(), needed, &again));
    const auto& info = *reinterpret_cast<JOB_INFO_1W*>(buffer.data());
    EXPECT_EQ(Utf8(info.pDocument), "sized");
    EXPECT_EQ(info.pStatus, nullptr);
    EXPECT_EQ(buffer[needed], 0x5A); // nothing written past what it needs
    EXPECT_FALSE(GetJobW(printer, id, 3, buffer.data(), needed, &again));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_LEVEL));
    EXPECT_FALSE(GetJobW(printer, id, 1, buffer.data(), needed, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    ClosePrinter(printer);
}

TEST_F(SpoolJobs, AJobBelongsToItsOwnPrinter) {
    sim::PrinterSetup other;
    other.name = u"Other Laser";
    other.driver = sim::Utf16(kDriver);
    ASSERT_TRUE(sim::AddPrinter(other));
    HANDLE mine = Open(PRINTER_ACCESS_USE);
    HANDLE theirs = Open(PRINTER_ACCESS_USE, "Other Laser");
    DWORD id = Spool(mine, "mine", 1);
    DWORD needed = 0;
    SetLastError(0);
    EXPECT_FALSE(GetJobW(theirs, id, 1, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(SetJobW(theirs, id, 0, nullptr, JOB_CONTROL_DELETE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_TRUE(Queue(theirs).empty());
    ClosePrinter(mine);
    ClosePrinter(theirs);
}

TEST_F(SpoolJobs, EnumJobsAnswersTheRangeAskedForWithTheirPositions) {
    HANDLE printer = Open(PRINTER_ACCESS_USE);
    DWORD ids[3] = {Spool(printer, "a", 1), Spool(printer, "b", 2), Spool(printer, "c", 3)};
    DWORD needed = 0, count = 9;
    SetLastError(0);
    EXPECT_FALSE(EnumJobsW(printer, 1, 5, 2, nullptr, 0, &needed, &count));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(count, 0u);
    std::vector<BYTE> buffer(needed);
    ASSERT_TRUE(EnumJobsW(printer, 1, 5, 2, buffer.data(), needed, &needed, &count));
    ASSERT_EQ(count, 2u);
    const auto* jobs = reinterpret_cast<JOB_INFO_2W*>(buffer.data());
    EXPECT_EQ(jobs[0].JobId, ids[1]);
    EXPECT_EQ(jobs[0].Position, 2u);
    EXPECT_EQ(jobs[0].TotalPages, 2u);
    EXPECT_EQ(Utf8(jobs[1].pDocument), "c");
    EXPECT_EQ(jobs[1].Position, 3u);
    EXPECT_TRUE(EnumJobsW(printer, 3, 5, 1, nullptr, 0, &needed, &count));
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(needed, 0u);
    EXPECT_FALSE(EnumJobsW(printer, 0, 5, 4, nullptr, 0, &needed, &count));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_LEVEL));

    PRINTER_INFO_2W info{};
    std::vector<BYTE> printerInfo(4096);
    ASSERT_TRUE(GetPrinterW(printer, 2, printerInfo.data(), 4096, &needed));
    std::memcpy(&info, printerInfo.data(), sizeof info);
    EXPECT_EQ(info.cJobs, 3u);
    ClosePrinter(printer);
}

TEST_F(SpoolJobs, SetJobPausesResumesAndDeletes) {
    HANDLE printer = Open(PRINTER_ACCESS_USE);
    DWORD id = Spool(printer, "controlled", 1);
    EXPECT_TRUE(SetJobW(printer, id, 0, nullptr, JOB_CONTROL_PAUSE));
    EXPECT_EQ(Level2(Job(printer, id, 2)).Status, static_cast<DWORD>(JOB_STATUS_PAUSED));
    EXPECT_TRUE(SetJobW(printer, id, 0, nullptr, JOB_CONTROL_RESUME));
    EXPECT_EQ(Level2(Job(printer, id, 2)).Status, 0u);
    SetLastError(0);
    EXPECT_FALSE(SetJobW(printer, id, 0, nullptr, 99));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(SetJobW(printer, id, 1, nullptr, JOB_CONTROL_PAUSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_LEVEL));
    EXPECT_FALSE(SetJobW(printer, id + 100, 0, nullptr, JOB_CONTROL_PAUSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_TRUE(SetJobW(printer, id, 0, nullptr, JOB_CONTROL_DELETE));
    EXPECT_TRUE(Queue(printer).empty());
    ClosePrinter(printer);
}

TEST_F(SpoolJobs, AJobDeletedWhileItSpoolsTakesNoMoreDataAndGoesAtItsEnd) {
    HANDLE writer = Open(PRINTER_ACCESS_USE);
    HANDLE admin = Open(PRINTER_ACCESS_USE);
    DWORD id = Start(writer, "cancelled");
    EXPECT_TRUE(SetJobW(admin, id, 0, nullptr, JOB_CONTROL_CANCEL));
    EXPECT_EQ(Level2(Job(admin, id, 2)).Status,
              static_cast<DWORD>(JOB_STATUS_SPOOLING | JOB_STATUS_DELETING));
    char data[] = "late";
    DWORD written = 0;
    SetLastError(0);
    EXPECT_FALSE(WritePrinter(writer, data, 4, &written));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PRINT_CANCELLED));
    EXPECT_TRUE(EndDocPrinter(writer));
    EXPECT_TRUE(Queue(admin).empty());
    ClosePrinter(writer);
    ClosePrinter(admin);
}

TEST_F(SpoolJobs, PurgingThePrinterEmptiesItsQueue) {
    HANDLE admin = Open(PRINTER_ALL_ACCESS);
    Spool(admin, "a", 1);
    Spool(admin, "b", 1);
    EXPECT_TRUE(SetPrinterW(admin, 0, nullptr, PRINTER_CONTROL_PURGE));
    EXPECT_TRUE(Queue(admin).empty());
    ClosePrinter(admin);
}

TEST_F(SpoolJobs, AClientIdentityNamesTheJobsUserAndMachine) {
    sim::SetClientIdentity(u"bob", u"\\\\LAPTOP");
    HANDLE printer = Open(PRINTER_ACCESS_USE);
    DWORD id = Spool(printer, "remote", 1);
    sim::SetClientIdentity(u"", u"");
    DWORD local = Spool(printer, "local", 1);
    std::vector<BYTE> remoteBuffer = Job(printer, id, 2);
    std::vector<BYTE> localBuffer = Job(printer, local, 2);
    JOB_INFO_2W remote = Level2(remoteBuffer);
    JOB_INFO_2W own = Level2(localBuffer);
    EXPECT_EQ(Utf8(remote.pUserName), "bob");
    EXPECT_EQ(Utf8(remote.pMachineName), "\\\\LAPTOP");
    EXPECT_EQ(Utf8(own.pUserName), "user");
    EXPECT_EQ(Utf8(own.pMachineName), "\\\\MOLTRHOST");
    ClosePrinter(printer);
}

TEST_F(SpoolJobs, AJobSpooledByAnotherProcessIsInTheQueue) {
    pid_t child = ::fork();
    if (child == 0) {
        WideArg name(kPrinter);
        HANDLE printer = nullptr;
        DOC_INFO_1W info = {nullptr, nullptr, nullptr};
        std::u16string document = u"from the child";
        info.pDocName = sim::W(document);
        bool spooled = OpenPrinterW(name, &printer, nullptr) &&
                       StartDocPrinterW(printer, 1, reinterpret_cast<BYTE*>(&info)) != 0 &&
                       StartPagePrinter(printer) && EndPagePrinter(printer) &&
                       EndDocPrinter(printer) && ClosePrinter(printer);
        ::_exit(spooled ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    HANDLE printer = Open(PRINTER_ACCESS_USE);
    std::vector<DWORD> queue = Queue(printer);
    ASSERT_EQ(queue.size(), 1u);
    JOB_INFO_2W info = Level2(Job(printer, queue[0], 2));
    EXPECT_EQ(info.TotalPages, 1u);
    DWORD mine = Spool(printer, "from the parent", 1);
    EXPECT_GT(mine, queue[0]);
    ClosePrinter(printer);
}

} // namespace
} // namespace moltr::test
