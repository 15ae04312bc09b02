#pragma once
// The XPD names of the field types (BYTE ... DYNAMIC) and their codes.
#include <windows.h>
#include <string_view>

namespace moltr::compiler {

// The type code for an exact, upper-case type name; 0 for any other text.
DWORD FieldTypeFromName(std::u16string_view name);
// The type name of a code; empty for an unknown code.
std::u16string_view FieldTypeName(DWORD type);

} // namespace moltr::compiler
