#include "uiplugin/manual_duplex_handoff.h"

#include <psapi.h>
#include <winspool.h>
#include <vector>
#include "common/drv_settings.h"
#include "common/resources.h"
#include "notifier/manual_duplex_type.h"
#include "notifier/notifier_request.h"
#include "notifier/pipe_name.h"
#include "store/wide_text.h"

namespace moltr::ui {

namespace {

constexpr DWORD kProcessIdRoom = 1024;
constexpr DWORD kModuleNameChars = 64;
constexpr DWORD kStartPauseMs = 500;

// Releases a COM-style object at the end of a scope.
template <class Object> struct Released {
    Object* object = nullptr;
    ~Released() {
        if (object != nullptr) {
            object->Release();
        }
    }
};

bool InSpooler() {
    WCHAR base[MAX_PATH] = {};
    return GetModuleBaseNameW(GetCurrentProcess(), nullptr, base, MAX_PATH) != 0 &&
           store::TextsEqualIgnoringCase(base, L"spoolsv.exe");
}

bool RunsAs(DWORD processId, LPCWSTR fileName) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr) {
        return false;
    }
    HMODULE module = nullptr;
    DWORD needed = 0;
    WCHAR name[kModuleNameChars] = {};
    bool named = EnumProcessModules(process, &module, sizeof module, &needed) &&
                 GetModuleBaseNameW(process, module, name, kModuleNameChars) != 0;
    CloseHandle(process);
    return named && store::TextsEqualIgnoringCase(name, fileName);
}

// The first id is the system's idle process; the newest processes are looked at first.
bool NotifierRuns(LPCWSTR fileName) {
    DWORD ids[kProcessIdRoom];
    DWORD needed = 0;
    if (!EnumProcesses(ids, sizeof ids, &needed)) {
        return false;
    }
    for (DWORD i = needed / sizeof(DWORD); i > 1; --i) {
        if (RunsAs(ids[i - 1], fileName)) {
            return true;
        }
    }
    return false;
}

// The notifier outlives the application, so it inherits none of its handles: open pipes and
// locked files would otherwise stay open as long as it runs.
bool StartNotifier(LPCWSTR path) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(path, nullptr, nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, nullptr,
                        &startup, &started)) {
        return false;
    }
    Sleep(kStartPauseMs);
    CloseHandle(started.hProcess);
    CloseHandle(started.hThread);
    return true;
}

bool PrinterName(HANDLE printer, std::vector<BYTE>& info) {
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    if (needed < sizeof(PRINTER_INFO_2W)) {
        return false;
    }
    info.resize(needed);
    return GetPrinterW(printer, 2, info.data(), needed, &needed) &&
           reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pPrinterName != nullptr;
}

void Announce(HANDLE printer, LPCWSTR notifierPath) {
    WCHAR pipeName[notifier::kPipeNameChars];
    std::vector<BYTE> info;
    if (!notifier::NotifierPipeName(notifierPath, pipeName) || !PrinterName(printer, info)) {
        return;
    }
    notifier::NotifierRequest request = notifier::MakeRequest(
        GetCurrentProcessId(), reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pPrinterName);
    WaitNamedPipeW(pipeName, NMPWAIT_USE_DEFAULT_WAIT);
    HANDLE pipe = CreateFileW(pipeName, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(pipe, &request, notifier::kRequestSize, &written, nullptr);
    CloseHandle(pipe);
}

} // namespace

void HandOffManualDuplex(HANDLE printer, PDEVMODEW) {
    if (printer == INVALID_HANDLE_VALUE) {
        return;
    }
    Released<common::IDrvSettings> settings;
    if (FAILED(common::CreateDrvSettings(common::kModeDocument, printer, &settings.object)) ||
        !notifier::DuplexesByHand(*settings.object) || InSpooler()) {
        return;
    }
    Released<common::IDrvResources> resources;
    if (FAILED(common::CreatePrinterResources(&resources.object, printer, nullptr))) {
        return;
    }
    LPCWSTR path = resources.object->GetNotifierPath();
    if (store::IsEmpty(path)) {
        return;
    }
    if (NotifierRuns(notifier::FileNameOf(path)) || StartNotifier(path)) {
        Announce(printer, path);
    }
}

} // namespace moltr::ui
