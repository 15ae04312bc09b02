// Administration of the simulated spooler: drivers and printers for tests and tools.
#include "sim/spooler_admin.h"
#include "sim/machine.h"
#include "sim/utf.h"
#include "src/winspool/spool_devmode.h"
#include "src/winspool/spool_drivers.h"
#include "src/winspool/spool_files.h"
#include "src/winspool/spool_forms.h"
#include "src/winspool/spool_jobs.h"
#include "src/winspool/spool_printers.h"
#include "src/unidrv/ui_printer_event.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace moltr::sim {
namespace {

// A host file is copied into the driver files folder; a bare name is taken as already there.
bool PlaceDriverFile(const std::string& file, const std::string& folder, std::u16string& name) {
    if (file.find('/') == std::string::npos) {
        name = Utf16(file);
        return true;
    }
    std::error_code ec;
    fs::path source(file);
    fs::copy_file(source, fs::path(folder) / source.filename(),
                  fs::copy_options::overwrite_existing, ec);
    name = Utf16(source.filename().string());
    return !ec;
}

std::string DriverFilesFolder(const spool::Environment& environment) {
    return HostPath(W(spool::DriverFilesDirectory(environment)));
}

} // namespace

bool InstallDriver(const DriverSetup& setup) {
    const spool::Environment* environment = spool::FindEnvironment(W(setup.environment));
    if (!environment || setup.name.empty() || setup.driverPath.empty() || setup.dataFile.empty() ||
        setup.configFile.empty()) {
        return false;
    }
    spool::SpoolLock lock;
    std::string folder = DriverFilesFolder(*environment);
    std::error_code ec;
    if (!lock.held() || folder.empty() || (fs::create_directories(folder, ec), ec)) {
        return false;
    }
    spool::DriverRecord driver;
    driver.name = setup.name;
    driver.monitor = setup.monitor;
    driver.defaultDataType = setup.defaultDataType;
    bool placed =
        PlaceDriverFile(setup.driverPath, folder, driver.driverPath) &&
        PlaceDriverFile(setup.dataFile, folder, driver.dataFile) &&
        PlaceDriverFile(setup.configFile, folder, driver.configFile) &&
        (setup.helpFile.empty() || PlaceDriverFile(setup.helpFile, folder, driver.helpFile));
    for (const std::string& file : setup.dependentFiles) {
        std::u16string name;
        placed = placed && PlaceDriverFile(file, folder, name);
        driver.dependentFiles.push_back(std::move(name));
    }
    return placed && spool::SaveDriver(driver, *environment);
}

namespace {

bool SaveNewPrinter(const PrinterSetup& setup) {
    if (setup.name.empty() || setup.name.find_first_of(u",\\") != std::u16string::npos ||
        (!setup.devmode.empty() && !spool::IsWholeDevMode(setup.devmode))) {
        return false;
    }
    spool::SpoolLock lock;
    if (!lock.held() || spool::FindPrinter(setup.name) ||
        !spool::LoadDriver(setup.driver, spool::NativeEnvironment())) {
        return false;
    }
    spool::PrinterRecord printer;
    printer.id = spool::NewPrinterId();
    printer.name = setup.name;
    printer.driver = setup.driver;
    printer.port = setup.port;
    printer.printProcessor = setup.printProcessor;
    printer.shareName = setup.shareName;
    printer.comment = setup.comment;
    printer.location = setup.location;
    printer.datatype = u"RAW";
    printer.attributes = setup.attributes;
    printer.refuseAllAccess = setup.refuseAllAccess;
    printer.devmode = setup.devmode;
    return spool::SavePrinter(printer);
}

} // namespace

bool AddPrinter(const PrinterSetup& setup) {
    if (!SaveNewPrinter(setup)) {
        return false;
    }
    // As the spooler does once a printer is added, outside its lock: the driver's user interface
    // initialises it. A driver without a UI plug-in, or a failed step, leaves the printer as added.
    std::u16string name = setup.name;
    moltr::unidrv::InitializePrinter(W(name));
    return true;
}

bool RemovePrinter(std::u16string_view name) {
    spool::SpoolLock lock;
    std::optional<spool::PrinterRecord> printer =
        lock.held() ? spool::FindPrinter(name) : std::nullopt;
    return printer && spool::RemoveAll(spool::PrinterFolder(printer->id));
}

std::vector<std::u16string> Printers() {
    std::vector<std::u16string> names;
    for (const spool::PrinterRecord& printer : spool::AllPrinters()) {
        names.push_back(printer.name);
    }
    return names;
}

bool SetRefuseAllAccess(std::u16string_view name, bool refuse) {
    spool::SpoolLock lock;
    std::optional<spool::PrinterRecord> printer =
        lock.held() ? spool::FindPrinter(name) : std::nullopt;
    if (!printer) {
        return false;
    }
    printer->refuseAllAccess = refuse;
    return spool::SavePrinter(*printer);
}

bool ResetSpooler() {
    spool::SpoolLock lock;
    if (!lock.held()) {
        return false;
    }
    bool removed = spool::RemoveAll(spool::PrintersFolder()) &&
                   spool::RemoveAll(spool::DriversFolder()) &&
                   spool::RemoveAll(spool::SpoolFolder() + "/sequence") &&
                   spool::RemoveAll(spool::FormsPath()) && spool::RemoveAll(spool::JobsFolder()) &&
                   spool::RemoveAll(MachineRoot() + "/ports");
    for (const spool::Environment& environment : spool::Environments()) {
        std::string folder = DriverFilesFolder(environment);
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(folder, ec)) {
            removed = spool::RemoveAll(entry.path().string()) && removed;
        }
    }
    return removed;
}

} // namespace moltr::sim
