// wsprintf and wvsprintf of user32: at most 1024 characters with the terminator.
#include "src/kernel32/text_format.h"

using namespace moltr::sim::text;

namespace {

constexpr size_t kMaxOutput = 1024;

template <typename Char> int Print(Char* out, const Char* format, va_list args) {
    if (!out) {
        return 0;
    }
    const FormatResult result = FormatText(out, kMaxOutput - 1, format, args, FormatDialect::User);
    out[result.length] = 0;
    return static_cast<int>(result.length);
}

} // namespace

extern "C" {

int WINAPI wvsprintfW(LPWSTR lpOut, LPCWSTR lpFmt, va_list arglist) {
    return Print(reinterpret_cast<char16_t*>(lpOut), reinterpret_cast<const char16_t*>(lpFmt),
                 arglist);
}

int WINAPI wvsprintfA(LPSTR lpOut, LPCSTR lpFmt, va_list arglist) {
    return Print(lpOut, lpFmt, arglist);
}

int WINAPIV wsprintfW(LPWSTR lpOut, LPCWSTR lpFmt, ...) {
    va_list args;
    va_start(args, lpFmt);
    const int length = wvsprintfW(lpOut, lpFmt, args);
    va_end(args);
    return length;
}

int WINAPIV wsprintfA(LPSTR lpOut, LPCSTR lpFmt, ...) {
    va_list args;
    va_start(args, lpFmt);
    const int length = wvsprintfA(lpOut, lpFmt, args);
    va_end(args);
    return length;
}
}
