#pragma once
// The devmode that `moltr print` gives its job, as an application builds it: the printer's
// default, then the caller's FIELD=VALUE changes to public fields (by their DEVMODEW names) and to
// private ones (by their setting names).
#include <windows.h>
#include <string>
#include <vector>
#include "moltr/named_printer.h"

namespace moltr::tool {

// The printer's default devmode with the plug-ins' defaults: today the printer's default devmode
// as the spooler holds it, or a bare public devmode when it holds none. Returns an error text.
std::string ApplicationDevMode(const NamedPrinter& printer, std::vector<BYTE>& devmode);

// Applies one FIELD=VALUE (numbers decimal or 0x hexadecimal, texts as given); a public field
// also sets its dmFields bit. Returns an error text, empty on success.
std::string ApplyDevModeSetting(const NamedPrinter& printer, const std::string& setting,
                                std::vector<BYTE>& devmode);

} // namespace moltr::tool
