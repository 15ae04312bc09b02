#include "windows_printer.h"

#include <strsafe.h>
#include <winspool.h>

#include <memory>

#include "compiler/compile_driver.h"

namespace moltr::harness {
namespace {

constexpr WCHAR kDriverName[] = L"MOLTR ColorLaser 4000 PCL5c";
constexpr WCHAR kPrinterName[] = L"MOLTR harness printer";
constexpr WCHAR kEnvironment[] = L"Windows x64";

// The file's name after its last separator.
LPCWSTR BaseName(LPCWSTR path) {
    LPCWSTR base = path;
    for (LPCWSTR at = path; *at != L'\0'; ++at) {
        if (*at == L'\\' || *at == L'/') {
            base = at + 1;
        }
    }
    return base;
}

// Copies `source` into the driver directory and answers its path there.
bool CopyToDriverDirectory(LPCWSTR directory, LPCWSTR source, WCHAR* target, size_t size) {
    return SUCCEEDED(StringCchPrintfW(target, size, L"%s\\%s", directory, BaseName(source))) &&
           CopyFileW(source, target, FALSE);
}

bool InstallDriver(const DriverFiles& files) {
    WCHAR directory[MAX_PATH];
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, const_cast<LPWSTR>(kEnvironment), 1,
                                    reinterpret_cast<LPBYTE>(directory), sizeof directory,
                                    &needed)) {
        return false;
    }
    WCHAR description[MAX_PATH], settings[MAX_PATH], language[MAX_PATH], plugin[MAX_PATH];
    if (!CopyToDriverDirectory(directory, files.description, description, MAX_PATH) ||
        !CopyToDriverDirectory(directory, files.settings, settings, MAX_PATH) ||
        !CopyToDriverDirectory(directory, files.language, language, MAX_PATH) ||
        !CopyToDriverDirectory(directory, files.plugin, plugin, MAX_PATH)) {
        return false;
    }
    // The dependent files as a list of names, each ended by a NUL, the list by another.
    WCHAR dependent[3 * MAX_PATH + 1] = {};
    size_t at = 0;
    for (LPCWSTR file : {settings, language, plugin}) {
        const int length = lstrlenW(file);
        CopyMemory(dependent + at, file, length * sizeof(WCHAR));
        at += length + 1;
    }
    DRIVER_INFO_3W driver = {};
    driver.cVersion = 3;
    driver.pName = const_cast<LPWSTR>(kDriverName);
    driver.pEnvironment = const_cast<LPWSTR>(kEnvironment);
    // The universal driver is not part of this spooler: its files are the spooler's own driver,
    // whose user interface adding a printer calls for the printer's default devmode.
    driver.pDriverPath = const_cast<LPWSTR>(L"wineps.drv");
    driver.pConfigFile = const_cast<LPWSTR>(L"wineps.drv");
    driver.pDataFile = description;
    driver.pDependentFiles = dependent;
    return AddPrinterDriverW(nullptr, 3, reinterpret_cast<LPBYTE>(&driver));
}

HANDLE OpenHarnessPrinter() {
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    return OpenPrinterW(const_cast<LPWSTR>(kPrinterName), &printer, &defaults) ? printer : nullptr;
}

} // namespace

HANDLE AddHarnessPrinter(const DriverFiles& files) {
    if (HANDLE left = OpenHarnessPrinter()) {
        RemoveHarnessPrinter(left);
    }
    if (!InstallDriver(files)) {
        return nullptr;
    }
    PRINTER_INFO_2W info = {};
    info.pPrinterName = const_cast<LPWSTR>(kPrinterName);
    info.pPortName = const_cast<LPWSTR>(L"FILE:");
    info.pDriverName = const_cast<LPWSTR>(kDriverName);
    info.pPrintProcessor = const_cast<LPWSTR>(L"winprint");
    info.pDatatype = const_cast<LPWSTR>(L"RAW");
    HANDLE added = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
    if (added == nullptr) {
        return nullptr;
    }
    ClosePrinter(added);
    HANDLE printer = OpenHarnessPrinter();
    if (printer != nullptr && compiler::CompileForPrinter(printer) >= compiler::kError) {
        RemoveHarnessPrinter(printer);
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return printer;
}

void RemoveHarnessPrinter(HANDLE printer) {
    DeletePrinter(printer);
    ClosePrinter(printer);
}

bool InstalledPluginPath(HANDLE printer, WCHAR* path, DWORD size) {
    DWORD needed = 0;
    GetPrinterDriverW(printer, nullptr, 3, nullptr, 0, &needed);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        return false;
    }
    auto block = std::make_unique<BYTE[]>(needed);
    if (!GetPrinterDriverW(printer, nullptr, 3, block.get(), needed, &needed)) {
        return false;
    }
    const auto* driver = reinterpret_cast<const DRIVER_INFO_3W*>(block.get());
    for (LPCWSTR file = driver->pDependentFiles; file != nullptr && *file != L'\0';
         file += lstrlenW(file) + 1) {
        if (lstrcmpiW(BaseName(file), L"MOLTRRPC.DLL") == 0) {
            return SUCCEEDED(StringCchCopyW(path, size, file));
        }
    }
    SetLastError(ERROR_FILE_NOT_FOUND);
    return false;
}

} // namespace moltr::harness
