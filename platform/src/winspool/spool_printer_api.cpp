// Opening printers and their information: OpenPrinterW, ClosePrinter, GetPrinterW, SetPrinterW.
#include <windows.h>
#include <winspool.h>

#include "src/winspool/spool_devmode.h"
#include "src/winspool/spool_drivers.h"
#include "src/winspool/spool_fail.h"
#include "src/winspool/spool_files.h"
#include "src/winspool/spool_handles.h"
#include "src/winspool/spool_job_life.h"
#include "src/winspool/spool_jobs.h"
#include "src/winspool/spool_names.h"
#include "src/winspool/spool_packer.h"
#include "sim/utf.h"

#include <cstddef>
#include <cstring>

static_assert(sizeof(PRINTER_DEFAULTSW) == 24);
static_assert(sizeof(PRINTER_INFO_1W) == 32);
static_assert(sizeof(PRINTER_INFO_2W) == 136 && offsetof(PRINTER_INFO_2W, pDevMode) == 56 &&
              offsetof(PRINTER_INFO_2W, Attributes) == 104);
static_assert(sizeof(PRINTER_INFO_5W) == 32);
static_assert(sizeof(PRINTER_INFO_8W) == 8);

namespace moltr::spool {
namespace {

// Rights that only an administrator of the printer gets.
constexpr ACCESS_MASK kAdministrativeRights =
    PRINTER_ACCESS_ADMINISTER | DELETE | WRITE_DAC | WRITE_OWNER;

// Spooler defaults for the port timeouts of PRINTER_INFO_5 (milliseconds).
constexpr DWORD kDeviceNotSelectedTimeout = 15000;
constexpr DWORD kTransmissionRetryTimeout = 45000;

ACCESS_MASK MapGenericRights(ACCESS_MASK access) {
    ACCESS_MASK mapped = access & ~(GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE | GENERIC_ALL);
    if (access & GENERIC_READ) {
        mapped |= PRINTER_READ;
    }
    if (access & GENERIC_WRITE) {
        mapped |= PRINTER_WRITE;
    }
    if (access & GENERIC_EXECUTE) {
        mapped |= PRINTER_EXECUTE;
    }
    if (access & GENERIC_ALL) {
        mapped |= PRINTER_ALL_ACCESS;
    }
    return mapped;
}

void FillLevel1(const PrinterRecord& p, InfoPacker& packer, BYTE* fixed) {
    auto& info = Fixed<PRINTER_INFO_1W>(fixed);
    info.Flags = PRINTER_ENUM_ICON8;
    info.pDescription = packer.String(p.name + u"," + p.driver + u"," + p.location);
    info.pName = packer.String(p.name);
    info.pComment = packer.String(p.comment);
}

void FillLevel2(const PrinterRecord& p, InfoPacker& packer, BYTE* fixed) {
    auto& info = Fixed<PRINTER_INFO_2W>(fixed);
    info.pDevMode = packer.DevMode(p.devmode);
    info.pServerName = nullptr; // a local printer
    info.pPrinterName = packer.String(p.name);
    info.pShareName = packer.String(p.shareName);
    info.pPortName = packer.String(p.port);
    info.pDriverName = packer.String(p.driver);
    info.pComment = packer.String(p.comment);
    info.pLocation = packer.String(p.location);
    info.pSepFile = packer.String(p.sepFile);
    info.pPrintProcessor = packer.String(p.printProcessor);
    info.pDatatype = packer.String(p.datatype);
    info.pParameters = packer.String(p.parameters);
    info.pSecurityDescriptor = nullptr;
    info.Attributes = p.attributes;
    info.Priority = p.priority;
    info.DefaultPriority = p.defaultPriority;
    info.StartTime = p.startTime;
    info.UntilTime = p.untilTime;
    info.Status = p.status;
    info.cJobs = static_cast<DWORD>(PrinterJobs(p.id).size());
    info.AveragePPM = 0;
}

void FillLevel5(const PrinterRecord& p, InfoPacker& packer, BYTE* fixed) {
    auto& info = Fixed<PRINTER_INFO_5W>(fixed);
    info.pPrinterName = packer.String(p.name);
    info.pPortName = packer.String(p.port);
    info.Attributes = p.attributes;
    info.DeviceNotSelectedTimeout = kDeviceNotSelectedTimeout;
    info.TransmissionRetryTimeout = kTransmissionRetryTimeout;
}

void FillLevel8(const PrinterRecord& p, InfoPacker& packer, BYTE* fixed) {
    Fixed<PRINTER_INFO_8W>(fixed).pDevMode = packer.DevMode(p.devmode);
}

using FillPrinter = void (*)(const PrinterRecord&, InfoPacker&, BYTE*);

constexpr InfoLevel<FillPrinter> kPrinterLevels[] = {
    {1, sizeof(PRINTER_INFO_1W), FillLevel1},
    {2, sizeof(PRINTER_INFO_2W), FillLevel2},
    {5, sizeof(PRINTER_INFO_5W), FillLevel5},
    {8, sizeof(PRINTER_INFO_8W), FillLevel8},
};

// Level 0: the printer control commands.
DWORD ControlPrinter(PrinterRecord& printer, DWORD command, const BYTE* data) {
    switch (command) {
    case PRINTER_CONTROL_PAUSE:
        printer.status |= PRINTER_STATUS_PAUSED;
        return 0;
    case PRINTER_CONTROL_RESUME:
        printer.status &= ~DWORD{PRINTER_STATUS_PAUSED};
        return 0;
    case PRINTER_CONTROL_PURGE:
        PurgeJobs(printer.id);
        return 0;
    case PRINTER_CONTROL_SET_STATUS:
        if (!data) {
            return ERROR_INVALID_PARAMETER;
        }
        std::memcpy(&printer.status, data, sizeof printer.status);
        return 0;
    default:
        return ERROR_INVALID_PRINTER_COMMAND;
    }
}

// Level 2: everything but the status, the job count and the security descriptor.
DWORD ApplyLevel2(PrinterRecord& printer, const BYTE* data) {
    PRINTER_INFO_2W info;
    std::memcpy(&info, data, sizeof info);
    std::u16string_view name = sim::View(info.pPrinterName);
    if (name.empty() || name.find_first_of(u",\\") != std::u16string_view::npos) {
        return ERROR_INVALID_PRINTER_NAME;
    }
    if (!SameName(name, printer.name)) {
        std::optional<PrinterRecord> other = FindPrinter(name);
        if (other && other->id != printer.id) {
            return ERROR_PRINTER_ALREADY_EXISTS;
        }
    }
    std::u16string_view driver = sim::View(info.pDriverName);
    if (driver.empty() || !LoadDriver(driver, NativeEnvironment())) {
        return ERROR_UNKNOWN_PRINTER_DRIVER;
    }
    if (sim::View(info.pPortName).empty() || sim::View(info.pPrintProcessor).empty()) {
        return ERROR_INVALID_PARAMETER;
    }
    if (info.pDevMode) {
        std::vector<BYTE> devmode = CopyDevMode(info.pDevMode);
        if (devmode.empty()) {
            return ERROR_INVALID_PARAMETER;
        }
        printer.devmode = std::move(devmode);
    }
    printer.name = name;
    printer.driver = driver;
    printer.port = sim::View(info.pPortName);
    printer.printProcessor = sim::View(info.pPrintProcessor);
    printer.shareName = sim::View(info.pShareName);
    printer.comment = sim::View(info.pComment);
    printer.location = sim::View(info.pLocation);
    printer.sepFile = sim::View(info.pSepFile);
    printer.datatype = sim::View(info.pDatatype);
    printer.parameters = sim::View(info.pParameters);
    printer.attributes = info.Attributes;
    printer.priority = info.Priority;
    printer.defaultPriority = info.DefaultPriority;
    printer.startTime = info.StartTime;
    printer.untilTime = info.UntilTime;
    return 0;
}

} // namespace
} // namespace moltr::spool

using namespace moltr::spool;

extern "C" {

BOOL WINAPI OpenPrinterW(LPWSTR pPrinterName, LPHANDLE phPrinter, LPPRINTER_DEFAULTSW pDefault) {
    if (!phPrinter) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    *phPrinter = nullptr;
    std::u16string_view name = moltr::sim::View(pPrinterName);
    std::optional<PrinterRecord> printer = name.empty() ? std::nullopt : FindPrinter(name);
    if (!printer) {
        return Fail(ERROR_INVALID_PRINTER_NAME);
    }
    // Without defaults, or without a desired access, a handle may use the printer.
    ACCESS_MASK access = pDefault && pDefault->DesiredAccess
                             ? MapGenericRights(pDefault->DesiredAccess)
                             : ACCESS_MASK{PRINTER_ACCESS_USE};
    if (printer->refuseAllAccess && (access & kAdministrativeRights)) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    PrinterHandle handle;
    handle.printerId = printer->id;
    handle.access = access;
    if (pDefault && pDefault->pDevMode) {
        handle.devmode = CopyDevMode(pDefault->pDevMode);
        if (handle.devmode.empty()) {
            return Fail(ERROR_INVALID_PARAMETER);
        }
    }
    if (pDefault) {
        handle.datatype = moltr::sim::View(pDefault->pDatatype);
    }
    *phPrinter = AddHandle(handle);
    return TRUE;
}

BOOL WINAPI ClosePrinter(HANDLE hPrinter) {
    DWORD error = 0;
    std::optional<HandlePrinter> open = ResolveHandle(hPrinter, error);
    // A job the application left open is complete with what it wrote.
    if (open && open->handle.jobId != 0) {
        CompleteSpooling(DetachJob(hPrinter, open->handle));
    }
    return RemoveHandle(hPrinter) ? TRUE : Fail(ERROR_INVALID_HANDLE);
}

BOOL WINAPI GetPrinterW(HANDLE hPrinter, DWORD Level, LPBYTE pPrinter, DWORD cbBuf,
                        LPDWORD pcbNeeded) {
    DWORD error = 0;
    std::optional<HandlePrinter> open = ResolveHandle(hPrinter, error);
    if (!open) {
        return Fail(error);
    }
    if (!pcbNeeded) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    const InfoLevel<FillPrinter>* level = FindLevel(kPrinterLevels, Level);
    if (!level) {
        return Fail(ERROR_INVALID_LEVEL);
    }
    error =
        PackInfo(level->size, pPrinter, cbBuf, *pcbNeeded, [&](InfoPacker& packer, BYTE* fixed) {
            level->fill(open->printer, packer, fixed);
        });
    return error ? Fail(error) : TRUE;
}

BOOL WINAPI SetPrinterW(HANDLE hPrinter, DWORD Level, LPBYTE pPrinter, DWORD Command) {
    DWORD error = 0;
    std::optional<HandlePrinter> open = ResolveHandle(hPrinter, error);
    if (!open) {
        return Fail(error);
    }
    if (!(open->handle.access & PRINTER_ACCESS_ADMINISTER)) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (Level != 0 && Level != 2) {
        return Fail(ERROR_INVALID_LEVEL);
    }
    if (Level == 2 && (Command != 0 || !pPrinter)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    SpoolLock lock;
    std::optional<PrinterRecord> printer = LoadPrinter(open->handle.printerId);
    if (!lock.held() || !printer) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    error =
        Level == 0 ? ControlPrinter(*printer, Command, pPrinter) : ApplyLevel2(*printer, pPrinter);
    if (!error && !SavePrinter(*printer)) {
        error = ERROR_CANTWRITE;
    }
    return error ? Fail(error) : TRUE;
}

} // extern "C"
