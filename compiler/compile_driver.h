#pragma once
// The compile driver: decides when a printer's settings descriptions are compiled, compiles them
// and stores one structure image per root structure in the printer's data, with the "Timestamp"
// of the source file it compiled.
#include <windows.h>
#include <string>
#include <string_view>
#include <vector>
#include "compiler/compile_messages.h"

namespace moltr::compiler {

inline constexpr int kPathChars = 260;

// What the driver takes from the printer for one compile.
struct CompileRequestData {
    WCHAR printerName[kPathChars];
    WCHAR driverName[kPathChars];
    WCHAR sourcePath[kPathChars];
    DWORD embedded; // the source is the driver's GPD carrying the XPD text between its tag lines
};

// The printer-data value holding the source file's creation and last-write times.
inline constexpr WCHAR kTimestampValue[] = L"Timestamp";

// Whether a driver's data file is read as a GPD carrying the XPD text between its tag lines (any
// file whose name does not contain .XPD), not as a plain XPD file.
bool IsEmbeddedSource(std::u16string_view dataFile);

// Compiles the descriptions of the printer behind `printer`: the driver's first dependent .XPD
// file, else its GPD. Returns the result class; the UI plug-in ignores it and retries its own work.
// Every message raised goes to `sink`.
int CompileForPrinter(HANDLE printer, const MessageSink& sink = nullptr);

// Compiles `request` when the printer has no "Timestamp" yet (every root is stored) or the source
// changed since (every root but OEMDEVMODE and those whose name contains SETTINGS, which keep what
// the UI plug-in wrote). Returns the result class, 0 when nothing needed doing. The names of the
// roots stored are added to `stored` when given.
int CompileRequest(const CompileRequestData& request, const MessageSink& sink = nullptr,
                   std::vector<std::u16string>* stored = nullptr);

} // namespace moltr::compiler
