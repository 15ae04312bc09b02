#pragma once
// Small helpers of the file tests: whole-file writes and reads through the file functions.
#include "sim/machine.h"
#include "sim/utf.h"
#include <windows.h>

#include <string>

namespace file_test {

inline HANDLE Open(const char* path, DWORD access, DWORD share, DWORD disposition,
                   DWORD flags = 0) {
    return CreateFileW(moltr::sim::W(moltr::sim::Utf16(path)), access, share, nullptr, disposition,
                       flags, nullptr);
}

inline bool Put(const char* path, const std::string& content) {
    HANDLE file = Open(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    BOOL ok =
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == content.size();
}

inline std::string Get(const char* path) {
    HANDLE file = Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE) {
        return "<missing>";
    }
    std::string content;
    char buffer[256];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        content.append(buffer, got);
    }
    CloseHandle(file);
    return content;
}

inline std::u16string Wide(const char* text) {
    return moltr::sim::Utf16(text);
}

} // namespace file_test
