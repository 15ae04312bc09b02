#pragma once
// `moltr devmode PRINTER --document`: the devmode an application gets from DocumentPropertiesW,
// the defaults and then the merge of the changes asked for.
#include <windows.h>
#include <string>
#include <vector>
#include "moltr/json_value.h"
#include "moltr/named_printer.h"
#include "moltr/stored_image.h"

namespace moltr::tool {

// moltr devmode PRINTER --document [--set FIELD=VALUE ...] [--json]; FIELD is a DEVMODEW field
// (dmPaperSize ...) or a private setting (_DUPLEXTYPE ...).
int RunDocumentDevMode(const std::vector<std::string>& args);

// A whole devmode of the printer by field names: {"public": {...}, "private": {...}}, the private
// part empty when the printer has no settings.
JsonValue DevModeJson(const NamedPrinter& printer, const std::vector<BYTE>& devmode);

// The fields of a settings block (`size` bytes laid out by `layout`) that lie inside it, by name:
// single numbers as numbers, anything else as its text.
JsonValue SettingsBlockJson(const StoredStructure& layout, const BYTE* block, size_t size);

// An object of objects as "section:" lines, each member as "  name = value" below.
std::string SectionsText(const JsonValue& sections);

} // namespace moltr::tool
