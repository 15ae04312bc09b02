// The system's own folders and temporary file names.
#include "src/core/wide_text.h"
#include "sim/utf.h"

#include <string>

using namespace moltr::sim;

namespace {

constexpr char16_t kWindowsDirectory[] = u"C:\\Windows";
constexpr char16_t kSystemDirectory[] = u"C:\\Windows\\system32";

std::u16string Variable(const char16_t* name) {
    WCHAR buffer[MAX_PATH + 1];
    DWORD length = GetEnvironmentVariableW(reinterpret_cast<LPCWSTR>(name), buffer, MAX_PATH + 1);
    return length > 0 && length <= MAX_PATH ? std::u16string(View(buffer)) : std::u16string();
}

std::u16string Hex(UINT value) {
    static const char16_t digits[] = u"0123456789ABCDEF";
    std::u16string out;
    do {
        out.insert(out.begin(), digits[value & 15]);
        value >>= 4;
    } while (value);
    return out;
}

} // namespace

extern "C" {

UINT WINAPI GetWindowsDirectoryW(LPWSTR lpBuffer, UINT uSize) {
    return CopyOut(kWindowsDirectory, lpBuffer, uSize);
}

UINT WINAPI GetSystemDirectoryW(LPWSTR lpBuffer, UINT uSize) {
    return CopyOut(kSystemDirectory, lpBuffer, uSize);
}

// The first of TMP, TEMP and USERPROFILE that is set, else the Windows folder; always ending in a
// backslash. Whether the folder exists is not checked.
DWORD WINAPI GetTempPathW(DWORD nBufferLength, LPWSTR lpBuffer) {
    std::u16string path;
    for (const char16_t* name : {u"TMP", u"TEMP", u"USERPROFILE"}) {
        if (path.empty()) {
            path = Variable(name);
        }
    }
    if (path.empty()) {
        path = kWindowsDirectory;
    }
    if (path.back() != u'\\') {
        path += u'\\';
    }
    return CopyOut(path, lpBuffer, nBufferLength);
}

// "<path>\<up to 3 characters of prefix><hex>.TMP"; with uUnique 0 the number is chosen so that
// the file is new, and the file is created.
UINT WINAPI GetTempFileNameW(LPCWSTR lpPathName, LPCWSTR lpPrefixString, UINT uUnique,
                             LPWSTR lpTempFileName) {
    if (!lpPathName || !lpTempFileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::u16string base(View(lpPathName));
    if (!base.empty() && base.back() != u'\\' && base.back() != u'/') {
        base += u'\\';
    }
    base += View(lpPrefixString).substr(0, 3);
    auto name = [&](UINT number) { return base + Hex(number & 0xFFFF) + u".TMP"; };
    if (name(0xFFFF).size() >= MAX_PATH) {
        SetLastError(ERROR_BUFFER_OVERFLOW);
        return 0;
    }
    if (uUnique != 0) {
        CopyOut(name(uUnique), lpTempFileName, MAX_PATH);
        return uUnique;
    }
    UINT number = GetTickCount() & 0xFFFF;
    for (UINT tries = 0; tries < 0xFFFF; ++tries, number = (number + 1) & 0xFFFF) {
        if (number == 0) {
            number = 1;
        }
        std::u16string candidate = name(number);
        HANDLE file = CreateFileW(W(candidate), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            CopyOut(candidate, lpTempFileName, MAX_PATH);
            SetLastError(ERROR_SUCCESS);
            return number;
        }
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ACCESS_DENIED &&
            error != ERROR_SHARING_VIOLATION) {
            SetLastError(error == ERROR_PATH_NOT_FOUND ? ERROR_DIRECTORY : error);
            return 0;
        }
    }
    SetLastError(ERROR_FILE_EXISTS);
    return 0;
}
}
