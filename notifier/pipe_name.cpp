#include "notifier/pipe_name.h"

namespace moltr::notifier {

namespace {

constexpr WCHAR kPipePrefix[] = L"\\\\.\\pipe\\";
constexpr DWORD kPrefixChars = sizeof(kPipePrefix) / sizeof(WCHAR) - 1;

// Characters of `fileName` before its last ".", all of them when it has none.
int StemLength(LPCWSTR fileName) {
    int length = lstrlenW(fileName);
    for (int i = length - 1; i >= 0; --i) {
        if (fileName[i] == L'.') {
            return i;
        }
    }
    return length;
}

} // namespace

LPCWSTR FileNameOf(LPCWSTR path) {
    LPCWSTR name = path;
    for (LPCWSTR c = path; *c != 0; ++c) {
        if (*c == L'\\') {
            name = c + 1;
        }
    }
    return name;
}

bool NotifierPipeName(LPCWSTR path, WCHAR (&name)[kPipeNameChars]) {
    if (path == nullptr) {
        return false;
    }
    LPCWSTR fileName = FileNameOf(path);
    int stem = StemLength(fileName);
    if (stem == 0 || kPrefixChars + stem >= kPipeNameChars) {
        return false;
    }
    for (DWORD i = 0; i < kPrefixChars; ++i) {
        name[i] = kPipePrefix[i];
    }
    for (int i = 0; i < stem; ++i) {
        name[kPrefixChars + i] = fileName[i];
    }
    name[kPrefixChars + stem] = 0;
    return true;
}

} // namespace moltr::notifier
