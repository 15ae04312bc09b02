#include "notifier/printer_watches.h"

#include <winspool.h>
#include "notifier/co_settings.h"
#include "notifier/printer_monitor.h"

namespace moltr::notifier {

namespace {

DWORD PdlTypeOf(HANDLE printer) {
    ISettings* settings = nullptr;
    DWORD type = 0;
    if (SUCCEEDED(CreateSettings(printer, &settings))) {
        if (FAILED(settings->GetPDLType(&type))) {
            type = 0;
        }
        settings->Release();
    }
    return type;
}

PrinterWatch* OpenPrinterWatch(NotifierState& state, LPCWSTR name) {
    NotifierState::Lock lock(state);
    PrinterWatch* watch = state.FreePrinter();
    if (watch == nullptr) {
        return nullptr;
    }
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_READ};
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(name), &printer, &defaults)) {
        return nullptr;
    }
    *watch = {};
    watch->printer = printer;
    lstrcpynW(watch->name, name, kPrinterNameChars);
    watch->stopEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    watch->pdlType = PdlTypeOf(printer);
    return watch;
}

// A new entry with its monitor thread; a thread that cannot start stops the program.
PrinterWatch* StartWatch(NotifierState& state, LPCWSTR name) {
    PrinterWatch* watch = OpenPrinterWatch(state, name);
    if (watch != nullptr && (watch->stopEvent == nullptr || !StartPrinterMonitor(state, *watch))) {
        state.Stop();
    }
    return watch;
}

} // namespace

PrinterWatch* WatchPrinter(NotifierState& state, LPCWSTR name) {
    return FindOrOpen(
        state, [&] { return state.FindPrinter(name); }, [&] { return StartWatch(state, name); });
}

void ShutPrinterWatches(NotifierState& state) {
    for (PrinterWatch& watch : state.Printers()) {
        if (watch.printer == nullptr) {
            continue;
        }
        if (watch.monitorThread != nullptr) {
            if (WaitForSingleObject(watch.monitorThread, 0) == WAIT_TIMEOUT) {
                SetEvent(watch.stopEvent);
                WaitForSingleObject(watch.monitorThread, INFINITE);
            }
            CloseHandle(watch.monitorThread);
        }
        if (watch.stopEvent != nullptr) {
            CloseHandle(watch.stopEvent);
        }
        ClosePrinter(watch.printer);
        watch = {};
    }
}

} // namespace moltr::notifier
