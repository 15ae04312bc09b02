#pragma once
// Conversion of a field's value text to the field's type: decimal numbers truncated to the
// field's width, CHAR arrays as inline text, STRING texts, COLORREF values written RGB(r,g,b), and
// comma-separated lists for arrays. Every element's text is translated first.
#include <windows.h>
#include <optional>
#include <string>
#include <string_view>
#include "compiler/compile_messages.h"
#include "compiler/value_services.h"

namespace moltr::compiler {

// The type of the value being converted, and the field's name for messages.
struct ValueTarget {
    DWORD type = 0;
    WORD elementSize = 0;
    WORD elementCount = 1;
    std::u16string_view fieldName;
};

// Converts `value` (of a token with key `key`) into `destination`, elementSize x elementCount
// zero-filled bytes, for any type but STRING, XPDSTRUCT and DYNAMIC. Returns the result class.
int ConvertValue(Messages& messages, ValueServices& services, const ValueTarget& target,
                 std::u16string_view key, std::u16string_view value, BYTE* destination);

// Converts `value` into the elementCount texts of a STRING field, written to `destination`.
int ConvertStrings(Messages& messages, ValueServices& services, const ValueTarget& target,
                   std::u16string_view key, std::u16string_view value,
                   std::optional<std::u16string>* destination);

} // namespace moltr::compiler
