// The modules of a process: EnumProcessModules, GetModuleBaseNameW and GetModuleFileNameExW. For
// the calling process they are its loaded modules; of another process the machine knows only the
// main module, its image, which is all the record says.
#include "src/kernel32/module_table.h"
#include "src/kernel32/process_object.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <vector>

using namespace moltr::platform;

namespace {

// Long enough for any module path of the machine.
constexpr DWORD kPathCapacity = 32768;
// Another process's main module, at the image base a Windows x64 program has by default.
const HMODULE kOtherMainModule = reinterpret_cast<HMODULE>(0x140000000ULL);

constexpr ACCESS_MASK kReadAccess = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;

// The process a module call reads, or null with the error set.
std::shared_ptr<ProcessObject> ReadableProcess(HANDLE process) {
    std::shared_ptr<ProcessObject> object = ProcessOfHandle(process);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
    } else if (!object->Allows(kReadAccess)) {
        SetLastError(ERROR_ACCESS_DENIED);
        object.reset();
    } else if (object->IsSignalled()) {
        // An ended process has no memory left to read.
        SetLastError(ERROR_PARTIAL_COPY);
        object.reset();
    }
    return object;
}

// The module's path; empty with the error set when the process has no such module.
std::u16string ModulePath(ProcessObject& process, HMODULE module) {
    if (process.IsCurrent()) {
        std::vector<WCHAR> path(kPathCapacity);
        const DWORD length = GetModuleFileNameW(module, path.data(), kPathCapacity);
        return length == 0 || length >= kPathCapacity
                   ? std::u16string()
                   : std::u16string(reinterpret_cast<const char16_t*>(path.data()), length);
    }
    if (module && module != kOtherMainModule) {
        SetLastError(ERROR_INVALID_HANDLE);
        return {};
    }
    return process.ImagePath();
}

// Copies as much as fits with a terminator; returns the characters copied.
DWORD CopyCut(std::u16string_view text, LPWSTR buffer, DWORD size) {
    const DWORD copied = std::min(static_cast<DWORD>(text.size()), size - 1);
    std::copy_n(text.data(), copied, reinterpret_cast<char16_t*>(buffer));
    buffer[copied] = 0;
    return copied;
}

DWORD ModuleName(HANDLE process, HMODULE module, LPWSTR buffer, DWORD size, bool baseOnly) {
    std::shared_ptr<ProcessObject> object = ReadableProcess(process);
    if (!object) {
        return 0;
    }
    if (!buffer || size == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::u16string path = ModulePath(*object, module);
    if (path.empty()) {
        return 0; // the error is set
    }
    return CopyCut(baseOnly ? BaseNameOf(path) : path, buffer, size);
}

} // namespace

extern "C" {

BOOL WINAPI EnumProcessModules(HANDLE hProcess, HMODULE* lphModule, DWORD cb, LPDWORD lpcbNeeded) {
    std::shared_ptr<ProcessObject> object = ReadableProcess(hProcess);
    if (!object) {
        return FALSE;
    }
    if (!lpcbNeeded || (cb && !lphModule)) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    const HMODULE main = object->IsCurrent() ? ExecutableImage() : kOtherMainModule;
    *lpcbNeeded = sizeof(HMODULE);
    if (cb >= sizeof(HMODULE)) {
        lphModule[0] = main;
    }
    return TRUE;
}

DWORD WINAPI GetModuleBaseNameW(HANDLE hProcess, HMODULE hModule, LPWSTR lpBaseName, DWORD nSize) {
    return ModuleName(hProcess, hModule, lpBaseName, nSize, true);
}

DWORD WINAPI GetModuleFileNameExW(HANDLE hProcess, HMODULE hModule, LPWSTR lpFilename,
                                  DWORD nSize) {
    return ModuleName(hProcess, hModule, lpFilename, nSize, false);
}
}
