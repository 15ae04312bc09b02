// Printer change notifications on a printer's jobs: what a new, changed, paused, printed and
// deleted job reports, the refresh and discard protocol, watches across processes, and the
// failure answers.
#include "spool_fixture.h"

#include "sim/spooler_service.h"

#include <sys/wait.h>
#include <unistd.h>

#include <map>

namespace moltr::test {
namespace {

constexpr DWORD kPatience = 20000; // never reached on a sound run

// The job fields the notifier asks for.
WORD kFields[] = {JOB_NOTIFY_FIELD_STATUS,        JOB_NOTIFY_FIELD_DOCUMENT,
                  JOB_NOTIFY_FIELD_MACHINE_NAME,  JOB_NOTIFY_FIELD_TOTAL_PAGES,
                  JOB_NOTIFY_FIELD_PAGES_PRINTED, JOB_NOTIFY_FIELD_DEVMODE};

struct Options {
    explicit Options(DWORD flags = 0, WORD* fields = kFields,
                     DWORD count = sizeof kFields / sizeof kFields[0]) {
        type = {JOB_NOTIFY_TYPE, 0, 0, 0, count, fields};
        options = {2, flags, 1, &type};
    }
    PRINTER_NOTIFY_OPTIONS_TYPE type;
    PRINTER_NOTIFY_OPTIONS options;
};

// One FindNext's items by job and field (numbers only), its flags and change word.
struct Taken {
    std::map<std::pair<DWORD, WORD>, DWORD> numbers;
    std::map<std::pair<DWORD, WORD>, std::u16string> texts;
    DWORD count = 0;
    DWORD flags = 0;
    DWORD changed = 0;
};

Taken Next(HANDLE watch, bool refresh = false) {
    Taken taken;
    Options options(PRINTER_NOTIFY_OPTIONS_REFRESH);
    PPRINTER_NOTIFY_INFO info = nullptr;
    EXPECT_TRUE(FindNextPrinterChangeNotification(watch, &taken.changed,
                                                  refresh ? &options.options : nullptr,
                                                  reinterpret_cast<LPVOID*>(&info)));
    if (!info) {
        return taken;
    }
    EXPECT_EQ(info->Version, 2u);
    taken.count = info->Count;
    taken.flags = info->Flags;
    for (DWORD i = 0; i < info->Count; ++i) {
        const PRINTER_NOTIFY_INFO_DATA& item = info->aData[i];
        EXPECT_EQ(item.Type, JOB_NOTIFY_TYPE);
        const auto key = std::make_pair(item.Id, item.Field);
        if (item.Field == JOB_NOTIFY_FIELD_DOCUMENT ||
            item.Field == JOB_NOTIFY_FIELD_MACHINE_NAME) {
            taken.texts[key] =
                std::u16string(sim::View(static_cast<WCHAR*>(item.NotifyData.Data.pBuf)));
            EXPECT_EQ(item.NotifyData.Data.cbBuf, (taken.texts[key].size() + 1) * 2);
        } else if (item.Field != JOB_NOTIFY_FIELD_DEVMODE) {
            taken.numbers[key] = item.NotifyData.adwData[0];
        }
    }
    EXPECT_TRUE(FreePrinterNotifyInfo(info));
    return taken;
}

// A number item's value; ~0 when the item is not there.
DWORD Num(const Taken& taken, DWORD job, WORD field) {
    auto found = taken.numbers.find({job, field});
    return found == taken.numbers.end() ? ~DWORD{0} : found->second;
}

std::string Txt(const Taken& taken, DWORD job, WORD field) {
    auto found = taken.texts.find({job, field});
    return found == taken.texts.end() ? std::string() : sim::Utf8(found->second);
}

class SpoolNotify : public SpoolTest {
protected:
    void Pages(HANDLE printer, DWORD pages) {
        for (DWORD page = 0; page < pages; ++page) {
            DWORD written = 0;
            char data[] = "page";
            EXPECT_TRUE(StartPagePrinter(printer));
            EXPECT_TRUE(WritePrinter(printer, data, 4, &written));
            EXPECT_TRUE(EndPagePrinter(printer));
        }
    }
    HANDLE Watch(HANDLE printer, DWORD flags = 0) {
        Options options(flags);
        HANDLE watch = FindFirstPrinterChangeNotification(printer, 0, 0, &options.options);
        EXPECT_NE(watch, INVALID_HANDLE_VALUE);
        return watch;
    }
};

TEST_F(SpoolNotify, AJobReportsEveryFieldOnceThenWhatChanges) {
    HANDLE printer = Open(PRINTER_ALL_ACCESS);
    HANDLE watch = Watch(printer);
    EXPECT_EQ(WaitForSingleObject(watch, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    const DWORD job = Start(printer, "Two sides");
    ASSERT_NE(job, 0u);
    ASSERT_EQ(WaitForSingleObject(watch, kPatience), WAIT_OBJECT_0);
    Taken added = Next(watch);
    EXPECT_EQ(added.count, 6u);
    EXPECT_TRUE(added.changed & PRINTER_CHANGE_ADD_JOB);
    EXPECT_EQ(Txt(added, job, JOB_NOTIFY_FIELD_DOCUMENT), "Two sides");
    EXPECT_FALSE(Txt(added, job, JOB_NOTIFY_FIELD_MACHINE_NAME).empty());
    EXPECT_TRUE(Num(added, job, JOB_NOTIFY_FIELD_STATUS) & JOB_STATUS_SPOOLING);
    EXPECT_EQ(WaitForSingleObject(watch, 0), static_cast<DWORD>(WAIT_TIMEOUT));

    // Paused while it spools; once spooled its status is exactly PAUSED, with its pages known.
    EXPECT_TRUE(SetJobW(printer, job, 0, nullptr, JOB_CONTROL_PAUSE));
    Taken paused = Next(watch);
    EXPECT_EQ(paused.count, 1u);
    EXPECT_EQ(Num(paused, job, JOB_NOTIFY_FIELD_STATUS),
              DWORD{JOB_STATUS_SPOOLING | JOB_STATUS_PAUSED});
    Pages(printer, 3);
    EXPECT_TRUE(EndDocPrinter(printer));
    Taken spooled = Next(watch);
    EXPECT_EQ(Num(spooled, job, JOB_NOTIFY_FIELD_STATUS), DWORD{JOB_STATUS_PAUSED});
    EXPECT_EQ(Num(spooled, job, JOB_NOTIFY_FIELD_TOTAL_PAGES), 3u);
    EXPECT_EQ(spooled.numbers.count(std::make_pair(job, WORD{JOB_NOTIFY_FIELD_PAGES_PRINTED})), 0u);

    EXPECT_TRUE(SetJobW(printer, job, 0, nullptr, JOB_CONTROL_RESUME));
    EXPECT_EQ(Num(Next(watch), job, JOB_NOTIFY_FIELD_STATUS), 0u);
    EXPECT_TRUE(SetJobW(printer, job, 0, nullptr, JOB_CONTROL_DELETE));
    ASSERT_EQ(WaitForSingleObject(watch, kPatience), WAIT_OBJECT_0);
    Taken deleted = Next(watch);
    EXPECT_TRUE(Num(deleted, job, JOB_NOTIFY_FIELD_STATUS) & JOB_STATUS_DELETED);
    EXPECT_TRUE(deleted.changed & PRINTER_CHANGE_DELETE_JOB);
    EXPECT_TRUE(FindClosePrinterChangeNotification(watch));
    ClosePrinter(printer);
}

TEST_F(SpoolNotify, RefreshReportsTheWholeCurrentState) {
    HANDLE printer = Open(PRINTER_ALL_ACCESS);
    const DWORD first = Start(printer, "First");
    Pages(printer, 2);
    EndDocPrinter(printer);
    const DWORD second = Start(printer, "Second");
    // Asked for at the start, the current state waits at once.
    HANDLE watch = Watch(printer, PRINTER_NOTIFY_OPTIONS_REFRESH);
    ASSERT_EQ(WaitForSingleObject(watch, 0), WAIT_OBJECT_0);
    Taken initial = Next(watch);
    EXPECT_EQ(initial.count, 12u);
    EXPECT_EQ(Num(initial, first, JOB_NOTIFY_FIELD_TOTAL_PAGES), 2u);
    EXPECT_EQ(Txt(initial, second, JOB_NOTIFY_FIELD_DOCUMENT), "Second");
    // Asked for later, it replaces whatever waited.
    SetJobW(printer, first, 0, nullptr, JOB_CONTROL_PAUSE);
    Taken refreshed = Next(watch, true);
    EXPECT_EQ(refreshed.count, 12u);
    EXPECT_EQ(Num(refreshed, first, JOB_NOTIFY_FIELD_STATUS), DWORD{JOB_STATUS_PAUSED});
    EXPECT_EQ(WaitForSingleObject(watch, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EndDocPrinter(printer);
    FindClosePrinterChangeNotification(watch);
    ClosePrinter(printer);
}

TEST_F(SpoolNotify, TooManyWaitingChangesAreDiscardedUntilARefresh) {
    HANDLE printer = Open(PRINTER_ALL_ACCESS);
    WORD all[JOB_NOTIFY_FIELD_BYTES_PRINTED + 1];
    for (WORD field = 0; field <= JOB_NOTIFY_FIELD_BYTES_PRINTED; ++field) {
        all[field] = field;
    }
    Options options(0, all, sizeof all / sizeof all[0]);
    HANDLE watch = FindFirstPrinterChangeNotification(printer, 0, 0, &options.options);
    constexpr int kJobs = 30; // 30 jobs of 24 fields: more than a watch keeps
    for (int i = 0; i < kJobs; ++i) {
        Start(printer, "Many");
        EndDocPrinter(printer);
    }
    Taken discarded = Next(watch);
    EXPECT_EQ(discarded.flags, DWORD{PRINTER_NOTIFY_INFO_DISCARDED});
    EXPECT_EQ(discarded.count, 0u);
    Taken refreshed = Next(watch, true);
    EXPECT_EQ(refreshed.flags, 0u);
    EXPECT_EQ(refreshed.count, 24u * kJobs);
    FindClosePrinterChangeNotification(watch);
    ClosePrinter(printer);
}

TEST_F(SpoolNotify, AFilterOnlyWatchReportsTheChangeWordAndNoInformation) {
    HANDLE printer = Open(PRINTER_ALL_ACCESS);
    HANDLE watch = FindFirstPrinterChangeNotification(printer, PRINTER_CHANGE_ADD_JOB, 0, nullptr);
    ASSERT_NE(watch, INVALID_HANDLE_VALUE);
    Start(printer, "Filtered");
    ASSERT_EQ(WaitForSingleObject(watch, kPatience), WAIT_OBJECT_0);
    DWORD changed = 0;
    LPVOID info = reinterpret_cast<LPVOID>(1);
    EXPECT_TRUE(FindNextPrinterChangeNotification(watch, &changed, nullptr, &info));
    EXPECT_EQ(info, nullptr);
    EXPECT_TRUE(changed & PRINTER_CHANGE_ADD_JOB);
    // A change outside the filter does not signal it.
    EndDocPrinter(printer);
    EXPECT_EQ(WaitForSingleObject(watch, 30), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(CloseHandle(watch));
    ClosePrinter(printer);
}

TEST_F(SpoolNotify, JobsSpooledAndPrintedByOtherProcessesAreSeenPageByPage) {
    HANDLE printer = Open(PRINTER_ALL_ACCESS);
    HANDLE watch = Watch(printer);
    HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const pid_t writer = ::fork();
    if (writer == 0) {
        HANDLE own = Open(PRINTER_ALL_ACCESS);
        const bool spooled = Start(own, "Elsewhere", u"RAW") != 0;
        Pages(own, 3);
        ::_exit(spooled && EndDocPrinter(own) ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(writer, &status, 0), writer);
    EXPECT_EQ(status, 0);
    const pid_t service = ::fork();
    if (service == 0) {
        sim::RunSpoolerService({true, 100});
        ::_exit(0);
    }
    const HANDLE both[] = {stop, watch};
    std::vector<DWORD> pages;
    bool gone = false;
    while (!gone && WaitForMultipleObjects(2, both, FALSE, kPatience) == WAIT_OBJECT_0 + 1) {
        Taken taken = Next(watch);
        for (const auto& [key, value] : taken.numbers) {
            if (key.second == JOB_NOTIFY_FIELD_PAGES_PRINTED && value) {
                pages.push_back(value);
            }
            gone |= key.second == JOB_NOTIFY_FIELD_STATUS && (value & JOB_STATUS_DELETED);
        }
    }
    ASSERT_EQ(::waitpid(service, &status, 0), service);
    EXPECT_TRUE(gone);
    EXPECT_EQ(pages, (std::vector<DWORD>{1, 2, 3}));
    CloseHandle(stop);
    FindClosePrinterChangeNotification(watch);
    ClosePrinter(printer);
}

TEST_F(SpoolNotify, FailureAnswers) {
    Options options;
    SetLastError(0);
    EXPECT_EQ(FindFirstPrinterChangeNotification(nullptr, 0, 0, &options.options),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    HANDLE printer = Open(PRINTER_ALL_ACCESS);
    EXPECT_EQ(FindFirstPrinterChangeNotification(printer, 0, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    Options badVersion;
    badVersion.options.Version = 1;
    EXPECT_EQ(FindFirstPrinterChangeNotification(printer, 0, 0, &badVersion.options),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    WORD unknown[] = {0x40};
    Options badField(0, unknown, 1);
    EXPECT_EQ(FindFirstPrinterChangeNotification(printer, 0, 0, &badField.options),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    Options noFields(0, nullptr, 3);
    EXPECT_EQ(FindFirstPrinterChangeNotification(printer, 0, 0, &noFields.options),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    DWORD changed = 0;
    EXPECT_FALSE(FindNextPrinterChangeNotification(printer, &changed, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    PRINTER_NOTIFY_INFO foreign{};
    EXPECT_FALSE(FreePrinterNotifyInfo(&foreign));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(FreePrinterNotifyInfo(nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    HANDLE watch = FindFirstPrinterChangeNotification(printer, 0, 0, &options.options);
    EXPECT_FALSE(FindNextPrinterChangeNotification(watch, &changed, &badVersion.options, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_TRUE(FindClosePrinterChangeNotification(watch));
    EXPECT_FALSE(FindClosePrinterChangeNotification(watch));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(WaitForSingleObject(watch, 0), WAIT_FAILED);
    EXPECT_FALSE(FindClosePrinterChangeNotification(printer)); // a printer, not a watch
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    ClosePrinter(printer);
}

} // namespace
} // namespace moltr::test
