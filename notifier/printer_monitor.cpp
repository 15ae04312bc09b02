#include "notifier/printer_monitor.h"

#include <winspool.h>
#include <new>
#include "notifier/job_handling.h"
#include "notifier/notification_items.h"
#include "notifier/spooler_job_actions.h"

namespace moltr::notifier {

namespace {

// The job fields asked for, in the order the notifier has always asked for them.
constexpr WORD kJobFields[] = {
    JOB_NOTIFY_FIELD_STATUS,       JOB_NOTIFY_FIELD_STATUS_STRING,   JOB_NOTIFY_FIELD_DOCUMENT,
    JOB_NOTIFY_FIELD_MACHINE_NAME, JOB_NOTIFY_FIELD_PRINTER_NAME,    JOB_NOTIFY_FIELD_USER_NAME,
    JOB_NOTIFY_FIELD_DRIVER_NAME,  JOB_NOTIFY_FIELD_START_TIME,      JOB_NOTIFY_FIELD_TIME,
    JOB_NOTIFY_FIELD_DATATYPE,     JOB_NOTIFY_FIELD_PRINT_PROCESSOR, JOB_NOTIFY_FIELD_PARAMETERS,
    JOB_NOTIFY_FIELD_NOTIFY_NAME,  JOB_NOTIFY_FIELD_TOTAL_PAGES,     JOB_NOTIFY_FIELD_PAGES_PRINTED,
    JOB_NOTIFY_FIELD_SUBMITTED,    JOB_NOTIFY_FIELD_BYTES_PRINTED,   JOB_NOTIFY_FIELD_TOTAL_BYTES,
    JOB_NOTIFY_FIELD_PRIORITY,     JOB_NOTIFY_FIELD_POSITION,
};
static_assert(sizeof(kJobFields) / sizeof(kJobFields[0]) == 20);

constexpr DWORD kSliceMs = 250;

class Monitor {
public:
    Monitor(NotifierState& state, PrinterWatch& watch)
        : watch_(watch), actions_(state, watch.printer), handling_(state, watch, actions_) {}

    void Run() {
        PRINTER_NOTIFY_OPTIONS_TYPE type = {
            JOB_NOTIFY_TYPE, 0, 0, 0, 20, const_cast<PWORD>(kJobFields)};
        options_ = {2, PRINTER_NOTIFY_OPTIONS_REFRESH, 1, &type};
        HANDLE change = FindFirstPrinterChangeNotification(watch_.printer, 0, 0, &options_);
        if (change == nullptr || change == INVALID_HANDLE_VALUE) {
            return;
        }
        watch_.change = change;
        Follow(change);
        // Nothing the notifier paused may stay paused once nobody watches it.
        handling_.ReleaseHeldJobs();
        FindClosePrinterChangeNotification(change);
    }

private:
    void Follow(HANDLE change) {
        const HANDLE handles[2] = {change, watch_.stopEvent};
        for (;;) {
            DWORD woken = WaitForMultipleObjects(2, handles, FALSE, kSliceMs);
            if (woken == WAIT_OBJECT_0) {
                Changed(change);
            } else if (woken != WAIT_TIMEOUT) {
                return; // the stop event, or waits that no longer work
            }
        }
    }

    void Changed(HANDLE change) {
        DWORD changes = 0;
        PPRINTER_NOTIFY_INFO info = nullptr;
        if (FindNextPrinterChangeNotification(change, &changes, nullptr,
                                              reinterpret_cast<LPVOID*>(&info)) != TRUE) {
            return;
        }
        bool refresh = false;
        // Changes were lost: the current state of every job takes their place.
        if (info != nullptr && (info->Flags & PRINTER_NOTIFY_INFO_DISCARDED) != 0) {
            FreePrinterNotifyInfo(info);
            info = nullptr;
            if (FindNextPrinterChangeNotification(change, &changes, &options_,
                                                  reinterpret_cast<LPVOID*>(&info)) != TRUE) {
                return;
            }
            refresh = true;
        }
        if (info != nullptr) {
            HandleNotifyItems(*info, handling_, refresh);
            FreePrinterNotifyInfo(info);
        }
    }

    PrinterWatch& watch_;
    SpoolerJobActions actions_;
    JobHandling handling_;
    PRINTER_NOTIFY_OPTIONS options_ = {};
};

DWORD WINAPI MonitorThread(LPVOID parameter) {
    auto* watch = static_cast<std::pair<NotifierState*, PrinterWatch*>*>(parameter);
    Monitor monitor(*watch->first, *watch->second);
    delete watch;
    monitor.Run();
    return 0;
}

} // namespace

bool StartPrinterMonitor(NotifierState& state, PrinterWatch& watch) {
    auto* parameter = new (std::nothrow) std::pair<NotifierState*, PrinterWatch*>(&state, &watch);
    if (parameter == nullptr) {
        return false;
    }
    watch.monitorThread = CreateThread(nullptr, 0, MonitorThread, parameter, 0, nullptr);
    if (watch.monitorThread == nullptr) {
        delete parameter;
        return false;
    }
    return true;
}

} // namespace moltr::notifier
