#pragma once
// The compile driver: decides when a printer's settings descriptions are compiled, compiles them
// and stores one structure image per root structure in the printer's data, with the "Timestamp"
// of the source file it compiled.
#include <windows.h>
#include <functional>
#include <string>
#include <string_view>
#include <vector>
#include "compiler/compile_messages.h"

namespace moltr::compiler {

struct Compilation;
struct Structure;

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

// Appends the source's tokens to a compilation that holds the built-in description; returns the
// result class.
using SourceReader = std::function<int(Compilation& compilation)>;
// Takes one root whose definition and values compiled (to store it, or not); returns the result
// class, an error ending the compile.
using RootTaker = std::function<int(const std::u16string& name, Structure&& root)>;

// The stages of every compile once the printer and its source are known: the built-in description,
// the source as `read` gives it, the resource modules, macros, exclusions and injections, then
// each root's definition and values for `driverName`, handed to `take`. Returns the worst class.
int CompileDescriptions(const SourceReader& read, std::u16string_view driverName,
                        const RootTaker& take, const MessageSink& sink = nullptr);

} // namespace moltr::compiler
