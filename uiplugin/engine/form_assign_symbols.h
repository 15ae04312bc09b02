#pragma once
// The form assignment of a printer (which paper size and media type each paper source holds) and
// the symbols it gives the description file: per source slot the printer settings
// _FORMSIZE_ALLOWED_nn and _FORMTYPE_ALLOWED_nn name the symbol that the description's
// conditional blocks test, and the RTI block defines it.
#include <windows.h>
#include "common/drv_settings.h"

namespace moltr::ui {

// The assignment lists have one entry per possible paper source.
inline constexpr DWORD kFormAssignSlots = 7;

struct FormAssignment {
    // DMPAPER codes; a negative entry is custom medium (entry & 0x7FFF); 0 none.
    SHORT sizes[kFormAssignSlots];
    // The driver's media-type codes; 0 none.
    WORD types[kFormAssignSlots];
    DWORD sources; // _OPTSOURCE: how many sources the printer has
};

// The slots that belong to sources of the printer.
inline DWORD SourceSlots(const FormAssignment& assignment) {
    return assignment.sources < kFormAssignSlots ? assignment.sources : kFormAssignSlots;
}

// _FORMSIZE_LIST, _FORMTYPE_LIST and _OPTSOURCE of the object's printer settings. E_INVALIDARG
// for null arguments, E_FAIL when a setting is missing (the assignment is then all zero).
HRESULT ReadFormAssignment(common::IDrvSettings* settings, FormAssignment* assignment);

// The symbol of a standard paper size or of a media type; null when it has none.
LPCWSTR PaperSizeSymbol(DWORD paper);
LPCWSTR MediaTypeSymbol(DWORD mediaType);

// The identifiers of the printer's custom media (ANSI, as the description file names them), in
// the order of the paper list's custom entries.
struct CustomMediumIdentifiers {
    const char* const* identifiers;
    DWORD count;
};

// The settings hold at most this many characters with the terminator.
inline constexpr DWORD kAllowedSymbolChars = 80;

// Fills _FORMSIZE_ALLOWED_00 to _06 and _FORMTYPE_ALLOWED_00 to _06 of the object's printer
// settings from `assignment`: a slot beyond the printer's sources, an entry of 0, a size or type
// without a symbol, an unknown custom medium and a symbol that does not fit is left empty. The
// settings are saved with the rest of the printer settings. E_INVALIDARG without settings,
// E_FAIL when a setting could not be written (the others are still written).
HRESULT WriteFormAssignSymbols(common::IDrvSettings* settings, const FormAssignment& assignment,
                               const CustomMediumIdentifiers& customMedia);

} // namespace moltr::ui
