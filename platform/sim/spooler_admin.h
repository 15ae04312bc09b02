#pragma once
// Administration of the simulated machine's print spooler (host build only): installing drivers,
// adding and removing printers, for tests and tools. Every process of the machine sees the result.
#include <windows.h>
#include <winspool.h>
#include <optional>
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
// Removes every printer, driver and job, with the installed driver files and what the ports
// received (job ids start again).
bool ResetSpooler();

// The user and the client machine ("\\NAME") that the spooler records for the jobs this process
// starts, as for a job that a remote client submits; empty texts give back the machine's own user
// and "\\" with its computer name.
void SetClientIdentity(std::u16string_view userName, std::u16string_view machineName);

// Ports. A printer's port is a file of the machine: ports/NAME under its root, where NAME is the
// port's name in upper case, without its final ':', every character but letters, digits, '.',
// '-' and '_' written as '_' ("LPT1:" is ports/LPT1). The spooler service appends each printed
// job's bytes to it and a line about the job to ports/NAME.jobs beside it.
struct PortInfo {
    std::u16string name;
    std::string file; // host path; the file exists once a job has printed there
    std::vector<std::u16string> printers;
};
// The ports of the machine's printers, by name.
std::vector<PortInfo> Ports();
// The host file of a port; empty when there is no machine.
std::string PortFile(std::u16string_view port);

struct PrintedJob {
    DWORD jobId = 0;
    DWORD pages = 0;
    std::vector<BYTE> bytes;
    // Every callback id the renderer called for the job, in order.
    std::vector<DWORD> callbackIds;
};
// What the spooler service sent to the port of `printer` for the job; nothing when the job has
// not printed there.
std::optional<PrintedJob> FindPrintedJob(std::u16string_view printer, DWORD jobId);

} // namespace moltr::sim
