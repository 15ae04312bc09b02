// moltr_rpc_harness DESCRIPTION SETTINGS LANGUAGE PLUGIN OUTPUT: installs the sample driver with
// the render plug-in on this machine's spooler, runs the fixed job and writes its record to OUTPUT.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <vector>

#include "fixed_job.h"
#include "windows_printer.h"

namespace {

bool WriteRecord(LPCWSTR path, const std::vector<BYTE>& record) {
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == record.size();
}

int Fail(const char* step, HRESULT result) {
    std::fprintf(stderr, "moltr_rpc_harness: %s failed (0x%08lx)\n", step,
                 static_cast<unsigned long>(result));
    return 1;
}

} // namespace

int main() {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (args == nullptr || count != 6) {
        std::fprintf(stderr,
                     "usage: moltr_rpc_harness DESCRIPTION SETTINGS LANGUAGE PLUGIN OUTPUT\n");
        return 2;
    }
    const moltr::harness::DriverFiles files = {args[1], args[2], args[3], args[4]};
    HANDLE printer = moltr::harness::AddHarnessPrinter(files);
    if (printer == nullptr) {
        return Fail("adding the printer", HRESULT_FROM_WIN32(GetLastError()));
    }
    WCHAR plugin[MAX_PATH];
    std::vector<BYTE> record;
    HRESULT result = moltr::harness::InstalledPluginPath(printer, plugin, MAX_PATH)
                         ? moltr::harness::RunFixedJob(printer, plugin, record)
                         : HRESULT_FROM_WIN32(GetLastError());
    moltr::harness::RemoveHarnessPrinter(printer);
    if (FAILED(result)) {
        return Fail("the fixed job", result);
    }
    if (!WriteRecord(args[5], record)) {
        return Fail("writing the record", HRESULT_FROM_WIN32(GetLastError()));
    }
    LocalFree(args);
    return 0;
}
