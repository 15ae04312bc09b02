#pragma once
// The universal driver's own page layout in a whole devmode (its private part, after the public
// one), kept in step with the plug-in's settings that choose it, as the document property sheet
// keeps them: pages per sheet from _NUP_PAGES, page borders from _NUP_BORDER, booklet from
// _BOOKLET, and the copies left to the print processor for a two-sided job the printer makes by
// hand.
#include <windows.h>
#include <string>
#include <vector>
#include "moltr/named_printer.h"

namespace moltr::tool {

// Sets the driver's layout in `devmode` (a whole devmode DocumentPropertiesW gave for `printer`)
// from the settings it carries. Returns an error text, empty on success.
std::string MatchDriverLayout(const NamedPrinter& printer, std::vector<BYTE>& devmode);

} // namespace moltr::tool
