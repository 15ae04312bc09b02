#pragma once
// The symbols by which a printer's description file selects its printer-dependent parts: one per
// printer setting, built from the current PRINTERSETTINGS record.
#include <windows.h>
#include <string>
#include <vector>
#include "store/xpr.h"

namespace moltr::common {

// For every field after _VERSION, in field order, except those whose name contains _RESERVE: a
// CHAR field gives its text up to its first control character (its terminator, a line break...)
// in the ANSI code page (none when that is empty), any other fixed-size field its
// name, "_" and its first at most 64 bytes as lower-case hexadecimal pairs. Fields holding
// references (STRING, XPDSTRUCT, DYNAMIC) give none: their bytes are addresses.
std::vector<std::string> SettingSymbols(store::StructureHandle printerSettings);

// `text` in the ANSI code page.
std::string AnsiText(const WCHAR* text, int length);

} // namespace moltr::common
