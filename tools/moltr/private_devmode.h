#pragma once
// The plug-ins' private devmode inside a whole devmode's driver-extra bytes: a block of `size`
// bytes starting with that size and the signature "MOLT".
#include <windows.h>
#include <optional>
#include <string>
#include <vector>
#include "common/drv_settings.h"
#include "moltr/named_printer.h"

namespace moltr::tool {

// The block's offset from the start of `devmode` (a whole devmode); nothing when it has none.
std::optional<size_t> FindPrivateDevMode(const std::vector<BYTE>& devmode, DWORD size);

// The settings object's default private devmode; empty when it gives none.
std::vector<BYTE> DefaultPrivateDevMode(common::IDrvSettings* settings);

// The printer's own devmode as the spooler holds it (PRINTER_INFO_2's); empty when it has none.
std::vector<BYTE> PrinterDevMode(HANDLE printer);

// The printer's compiled OEMDEVMODE, which describes the private devmode, and that devmode's
// size. Returns an error text, empty on success.
std::string PrivateDevModeLayout(const NamedPrinter& printer, StoredStructure& layout, DWORD& size);

} // namespace moltr::tool
