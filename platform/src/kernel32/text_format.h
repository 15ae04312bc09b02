#pragma once
// The printf engine behind wsprintf and the strsafe printf functions.
//
// Microsoft's conventions hold in both: in a wide format %s and %c take wide arguments and %S and
// %C narrow ones, in a narrow format the other way round; h always means narrow and l or w wide.
// Text of the other width is converted through the ANSI code page. %ld and %lu are 32-bit as long
// is on Windows, %I64d and %lld 64-bit, %Id pointer-sized.
#include <windows.h>
#include <cstdarg>
#include <cstddef>

namespace moltr::sim::text {

enum class FormatDialect {
    // user32's wsprintf: flags - # 0 only, no '*', no %o and no floating point. A character after
    // '%' that starts no field is copied, so "%%" gives "%".
    User,
    // The C runtime's _vsnprintf and _vsnwprintf, as strsafe uses them.
    Crt,
};

struct FormatResult {
    size_t length;  // characters written, no terminator
    bool truncated; // the text did not fit
};

// Formats into out[0, capacity), stopping once it is full. Nothing is terminated.
FormatResult FormatText(char16_t* out, size_t capacity, const char16_t* format, va_list args,
                        FormatDialect dialect);
FormatResult FormatText(char* out, size_t capacity, const char* format, va_list args,
                        FormatDialect dialect);

} // namespace moltr::sim::text
