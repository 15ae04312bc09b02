#pragma once
// The devmode an application gets on this machine: DocumentPropertiesW's defaults for the
// printer, the caller's FIELD=VALUE changes to public fields (by their DEVMODEW names) and to
// private ones (by their setting names), then DocumentPropertiesW's merge of those changes.
#include <windows.h>
#include <span>
#include <string>
#include <vector>
#include "moltr/named_printer.h"

namespace moltr::tool {

// A public DEVMODEW field, typed as the settings fields are, with the dmFields bit a change sets.
struct PublicDevModeField {
    const char* name;
    DWORD offset;
    DWORD type;
    WORD elementSize;
    WORD elementCount;
    DWORD bit;
};

// The public fields FIELD=VALUE may set.
std::span<const PublicDevModeField> PublicDevModeFields();

// The public field named `name`; null when FIELD=VALUE cannot set it.
const PublicDevModeField* FindPublicDevModeField(const std::string& name);

// DocumentPropertiesW's devmode for the printer with each of `settings` (FIELD=VALUE, numbers
// decimal or 0x hexadecimal, texts as given; a value that does not fit its field is refused)
// merged in, and the driver's page layout kept in step with them (driver_layout.h). Returns an
// error text, empty on success.
std::string ApplicationDevMode(const NamedPrinter& printer,
                               const std::vector<std::string>& settings,
                               std::vector<BYTE>& devmode);

} // namespace moltr::tool
