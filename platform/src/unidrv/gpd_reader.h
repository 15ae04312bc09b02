#pragma once
// The universal driver's GPD reader: a GPD file with its includes read into a GpdModel. It takes
// the syntax of printer descriptions: comments, *Include (the standard names file is known to
// the reader), *Define symbols and *Ifdef/*Elseif/*Else/*Endif, *Macros value macros (=NAME),
// *Feature and *Option blocks, *Command with *Order, *Cmd strings with <hex> bytes and %d{...}
// parameters, *CallbackID, *switch/*case/*default, and sets aside *IgnoreBlock blocks whole.
// Text that breaks the syntax gives an error naming the file and line.
#include <windows.h>
#include <string>
#include <string_view>
#include "src/unidrv/gpd_entries.h"
#include "src/unidrv/gpd_model.h"

namespace moltr::unidrv {

struct GpdReadResult {
    bool ok = false;
    GpdModel model;
    GpdError error;
};

// Reads GPD text; its *Include files are read through `include`.
GpdReadResult ReadGpdText(std::string_view text, const std::string& file,
                          const GpdIncludeReader& include);
// Reads a GPD file of the machine by its Windows path; includes come from the same folder.
GpdReadResult ReadGpdFile(LPCWSTR path);

// The parts of a *Cmd value; false with a message for a malformed one.
bool ParseGpdCommandString(std::string_view text, std::vector<GpdCommandPart>* parts,
                           std::string* message);

} // namespace moltr::unidrv
