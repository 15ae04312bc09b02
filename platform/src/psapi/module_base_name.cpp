// GetModuleBaseNameW for the modules of the calling process, the only process the simulation
// reaches: the file name of the module's path, as GetModuleFileNameW reports that path.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <vector>

namespace {

// Long enough for any module path of the machine.
constexpr DWORD kPathCapacity = 32768;

LPCWSTR BaseName(LPCWSTR path, DWORD length) {
    LPCWSTR base = path;
    for (DWORD i = 0; i < length; ++i) {
        if (path[i] == L'\\' || path[i] == L'/') {
            base = path + i + 1;
        }
    }
    return base;
}

} // namespace

extern "C" {

DWORD WINAPI GetModuleBaseNameW(HANDLE hProcess, HMODULE hModule, LPWSTR lpBaseName, DWORD nSize) {
    if (hProcess != GetCurrentProcess()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (!lpBaseName || nSize == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::vector<WCHAR> path(kPathCapacity);
    const DWORD length = GetModuleFileNameW(hModule, path.data(), kPathCapacity);
    if (length == 0 || length >= kPathCapacity) {
        return 0; // GetModuleFileNameW set the error
    }
    LPCWSTR base = BaseName(path.data(), length);
    const DWORD baseLength = static_cast<DWORD>(path.data() + length - base);
    // A name that does not fit is cut to the buffer, its terminator included.
    const DWORD copied = std::min(baseLength, nSize - 1);
    std::copy_n(base, copied, lpBaseName);
    lpBaseName[copied] = 0;
    return copied;
}
}
