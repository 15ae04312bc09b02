#pragma once
// Printers: one folder per printer, named by an id that is never used again, so that a handle to
// a removed printer cannot reach a new printer of the same name.
#include <windows.h>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace moltr::spool {

struct PrinterRecord {
    uint64_t id = 0;
    std::u16string name;
    std::u16string shareName;
    std::u16string port;
    std::u16string driver;
    std::u16string comment;
    std::u16string location;
    std::u16string sepFile;
    std::u16string printProcessor;
    std::u16string datatype;
    std::u16string parameters;
    DWORD attributes = 0;
    DWORD priority = 1;
    DWORD defaultPriority = 0;
    DWORD startTime = 0;
    DWORD untilTime = 0;
    DWORD status = 0;
    // The current user may not administer the printer (nor ask for all access).
    bool refuseAllAccess = false;
    // A whole DEVMODEW, or empty.
    std::vector<BYTE> devmode;
};

std::optional<PrinterRecord> LoadPrinter(uint64_t id);
std::optional<PrinterRecord> FindPrinter(std::u16string_view name);
// In the order they were added.
std::vector<PrinterRecord> AllPrinters();
// The caller holds the spooler's lock for these.
bool SavePrinter(const PrinterRecord& printer);
uint64_t NewPrinterId();

std::string PrintersFolder();
std::string PrinterFolder(uint64_t id);

} // namespace moltr::spool
