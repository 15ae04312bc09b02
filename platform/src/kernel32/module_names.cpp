// Module names and handles: GetModuleFileNameW, GetModuleHandleW and GetModuleHandleExW.
#include "src/kernel32/module_table.h"
#include "sim/machine.h"
#include "sim/utf.h"

#include <windows.h>
#include <algorithm>
#include <string>

using namespace moltr::platform;

namespace {

// The module a name stands for: a path names the image with that file, a bare name the image with
// that base name.
HMODULE ModuleByName(LPCWSTR moduleName) {
    const std::u16string name = NormalizeModuleName(std::u16string(moltr::sim::View(moduleName)));
    if (IsBareModuleName(name)) {
        return ImageByBaseName(name);
    }
    if (UpperName(name) == UpperName(ProcessImagePath())) {
        return ExecutableImage();
    }
    std::string hostFile = CanonicalHostFile(name);
    return hostFile.empty() ? nullptr : ImageOfFile(hostFile);
}

} // namespace

extern "C" {

DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
    std::u16string path;
    if (!hModule || hModule == ExecutableImage()) {
        path = ProcessImagePath();
    } else if (!IsDataModuleHandle(hModule)) {
        std::string hostFile = ImageHostFile(hModule);
        if (!hostFile.empty()) {
            path = moltr::sim::WindowsPath(hostFile);
        }
    }
    if (path.empty()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    if (!lpFilename && nSize) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // A path that does not fit is cut to the buffer, terminator included.
    const DWORD length = static_cast<DWORD>(path.size());
    const DWORD copied = std::min<DWORD>(length, nSize ? nSize - 1 : 0);
    std::copy_n(path.data(), copied, reinterpret_cast<char16_t*>(lpFilename));
    if (nSize) {
        lpFilename[copied] = 0;
    }
    if (length >= nSize) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return nSize;
    }
    return length;
}

HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName) {
    HMODULE module = lpModuleName ? ModuleByName(lpModuleName) : ExecutableImage();
    if (!module) {
        SetLastError(ERROR_MOD_NOT_FOUND);
    }
    return module;
}

BOOL WINAPI GetModuleHandleExW(DWORD dwFlags, LPCWSTR lpModuleName, HMODULE* phModule) {
    constexpr DWORD kKnownFlags = GET_MODULE_HANDLE_EX_FLAG_PIN |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT |
                                  GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS;
    constexpr DWORD kPinUnchanged =
        GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    if (phModule) {
        *phModule = nullptr;
    }
    if (!phModule || (dwFlags & ~kKnownFlags) || (dwFlags & kPinUnchanged) == kPinUnchanged) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    HMODULE module = nullptr;
    if (dwFlags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS) {
        module = ImageContaining(lpModuleName);
    } else {
        module = lpModuleName ? ModuleByName(lpModuleName) : ExecutableImage();
    }
    const bool referenced =
        module && ((dwFlags & GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT) ||
                   ReferenceImage(module, dwFlags & GET_MODULE_HANDLE_EX_FLAG_PIN));
    if (!referenced) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return FALSE;
    }
    *phModule = module;
    return TRUE;
}
}
