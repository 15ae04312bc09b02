#pragma once
// Administration of the simulated machine's print spooler (host build only): installing drivers,
// adding and removing printers, for tests and tools. Every process of the machine sees the result.
#include <windows.h>
#include <winspool.h>
#include <string>
#include <string_view>
#include <vector>

namespace moltr::sim {

// A printer driver to install. Each file is either a host path, copied into the environment's
// driver files directory under its own file name, or a bare file name (no '/'), recorded as
// present there (for the system's own modules such as UNIDRV.DLL).
struct DriverSetup {
    std::u16string name;
    std::u16string environment = u"Windows x64";
    std::string driverPath = "UNIDRV.DLL";
    std::string dataFile;
    std::string configFile = "UNIDRVUI.DLL";
    std::string helpFile;
    std::vector<std::string> dependentFiles;
    std::u16string monitor;
    std::u16string defaultDataType = u"RAW";
};

struct PrinterSetup {
    std::u16string name;
    std::u16string driver;
    std::u16string port = u"LPT1:";
    std::u16string printProcessor = u"winprint";
    std::u16string shareName;
    std::u16string comment;
    std::u16string location;
    DWORD attributes = PRINTER_ATTRIBUTE_LOCAL;
    // The current user may open the printer for use only, not with PRINTER_ALL_ACCESS or
    // PRINTER_ACCESS_ADMINISTER.
    bool refuseAllAccess = false;
    // The printer's default devmode: a whole DEVMODEW (dmSize + dmDriverExtra bytes), or empty.
    std::vector<BYTE> devmode;
};

// Installs or replaces a driver; false for an unknown environment, a missing name, data file,
// driver or configuration file, or a host file that cannot be copied.
bool InstallDriver(const DriverSetup& setup);
// False for an empty name or one with ',' or '\', a name already in use, a driver not installed
// for the machine's environment, or a devmode whose header does not match its length.
bool AddPrinter(const PrinterSetup& setup);
// Removes the printer with its data; open handles to it become invalid.
bool RemovePrinter(std::u16string_view name);
// The printers' names, in the order they were added.
std::vector<std::u16string> Printers();
bool SetRefuseAllAccess(std::u16string_view printer, bool refuse);
// Removes every printer and driver, with the installed driver files.
bool ResetSpooler();

} // namespace moltr::sim
