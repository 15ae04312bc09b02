// The printer's driver and the spooler's directories: GetPrinterDriverW,
// GetPrinterDriverDirectoryW, GetPrintProcessorDirectoryW.
#include <windows.h>
#include <winspool.h>

#include "src/winspool/spool_drivers.h"
#include "src/winspool/spool_fail.h"
#include "src/winspool/spool_handles.h"
#include "src/winspool/spool_names.h"
#include "src/winspool/spool_packer.h"
#include "sim/machine.h"
#include "sim/utf.h"

#include <cstddef>
#include <cstring>

static_assert(sizeof(DRIVER_INFO_3W) == 80 && offsetof(DRIVER_INFO_3W, pDependentFiles) == 56);
static_assert(sizeof(DRIVER_INFO_4W) == 88 && offsetof(DRIVER_INFO_4W, pszzPreviousNames) == 80);

namespace moltr::spool {
namespace {

constexpr DWORD kDriverVersion = 3;

// Only the local machine's spooler is reachable: by no name or by its own.
bool IsLocalServer(const WCHAR* name) {
    std::u16string_view server = sim::View(name);
    return server.empty() ||
           SameName(server, u"\\\\" + sim::Utf16(sim::CurrentConfig().computerName));
}

// Levels 3 and 4 share their first ten members; level 4 adds the previous names (none here).
void FillDriverInfo(const DriverRecord& driver, const Environment& environment, DWORD level,
                    InfoPacker& packer, BYTE* fixed) {
    const std::u16string folder = DriverFilesDirectory(environment) + u"\\";
    auto path = [&](const std::u16string& file) {
        return file.empty() ? nullptr : packer.String(folder + file);
    };
    std::vector<std::u16string> dependents;
    for (const std::u16string& file : driver.dependentFiles) {
        dependents.push_back(folder + file);
    }
    auto& info = *reinterpret_cast<DRIVER_INFO_3W*>(fixed);
    info.cVersion = kDriverVersion;
    info.pName = packer.String(driver.name);
    info.pEnvironment = packer.String(environment.name);
    info.pDriverPath = path(driver.driverPath);
    info.pDataFile = path(driver.dataFile);
    info.pConfigFile = path(driver.configFile);
    info.pHelpFile = path(driver.helpFile);
    info.pDependentFiles = packer.MultiString(dependents);
    info.pMonitorName = packer.OptionalString(driver.monitor);
    info.pDefaultDataType = packer.OptionalString(driver.defaultDataType);
    if (level == 4) {
        reinterpret_cast<DRIVER_INFO_4W*>(fixed)->pszzPreviousNames = nullptr;
    }
}

// The directory as a plain string at the start of the buffer; sizes in bytes.
BOOL GetDirectory(const WCHAR* server, const WCHAR* environmentName, DWORD level, BYTE* buffer,
                  DWORD size, DWORD* needed, std::u16string (*directoryOf)(const Environment&)) {
    if (!IsLocalServer(server)) {
        return Fail(RPC_S_SERVER_UNAVAILABLE);
    }
    if (level != 1) {
        return Fail(ERROR_INVALID_LEVEL);
    }
    const Environment* environment = FindEnvironment(environmentName);
    if (!environment) {
        return Fail(ERROR_INVALID_ENVIRONMENT);
    }
    if (!needed) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    std::u16string directory = directoryOf(*environment);
    size_t bytes = (directory.size() + 1) * sizeof(char16_t);
    *needed = static_cast<DWORD>(bytes);
    if (size < bytes) {
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    if (!buffer) {
        return Fail(ERROR_INVALID_USER_BUFFER);
    }
    std::memcpy(buffer, directory.c_str(), bytes);
    return TRUE;
}

} // namespace
} // namespace moltr::spool

using namespace moltr::spool;

extern "C" {

BOOL WINAPI GetPrinterDriverW(HANDLE hPrinter, LPWSTR pEnvironment, DWORD Level, LPBYTE pDriverInfo,
                              DWORD cbBuf, LPDWORD pcbNeeded) {
    DWORD error = 0;
    std::optional<HandlePrinter> open = ResolveHandle(hPrinter, error);
    if (!open) {
        return Fail(error);
    }
    if (Level != 3 && Level != 4) {
        return Fail(ERROR_INVALID_LEVEL);
    }
    const Environment* environment = FindEnvironment(pEnvironment);
    if (!environment) {
        return Fail(ERROR_INVALID_ENVIRONMENT);
    }
    if (!pcbNeeded) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    std::optional<DriverRecord> driver = LoadDriver(open->printer.driver, *environment);
    if (!driver) {
        return Fail(ERROR_UNKNOWN_PRINTER_DRIVER);
    }
    size_t fixedSize = Level == 3 ? sizeof(DRIVER_INFO_3W) : sizeof(DRIVER_INFO_4W);
    error =
        PackInfo(fixedSize, pDriverInfo, cbBuf, *pcbNeeded, [&](InfoPacker& packer, BYTE* fixed) {
            FillDriverInfo(*driver, *environment, Level, packer, fixed);
        });
    return error ? Fail(error) : TRUE;
}

BOOL WINAPI GetPrinterDriverDirectoryW(LPWSTR pName, LPWSTR pEnvironment, DWORD Level,
                                       LPBYTE pDriverDirectory, DWORD cbBuf, LPDWORD pcbNeeded) {
    return GetDirectory(pName, pEnvironment, Level, pDriverDirectory, cbBuf, pcbNeeded,
                        DriverDirectory);
}

BOOL WINAPI GetPrintProcessorDirectoryW(LPWSTR pName, LPWSTR pEnvironment, DWORD Level,
                                        LPBYTE pPrintProcessorInfo, DWORD cbBuf,
                                        LPDWORD pcbNeeded) {
    return GetDirectory(pName, pEnvironment, Level, pPrintProcessorInfo, cbBuf, pcbNeeded,
                        PrintProcessorDirectory);
}

} // extern "C"
