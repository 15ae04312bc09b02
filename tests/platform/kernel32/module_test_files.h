#pragma once
// The modules the build makes, as the loader's tests find them and put them on the machine.
#include "sim/machine.h"
#include "sim/utf.h"
#include <windows.h>

#include <filesystem>
#include <string>

namespace moltr::test {

// A resource-only module the build made (next to bin/, in modules/).
inline std::string BuiltModule(const char* fileName) {
#ifdef _WIN32
    WCHAR program[MAX_PATH];
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::filesystem::path exe{sim::View(program)};
#else
    std::filesystem::path exe = std::filesystem::canonical("/proc/self/exe");
#endif
    return (exe.parent_path().parent_path() / "modules" / fileName).string();
}

// Copies a built file to `windowsPath` on the current machine, making its folders.
inline bool CopyToMachine(const std::string& builtFile, const char* windowsPath) {
#ifdef _WIN32
    std::filesystem::path target{sim::Utf16(windowsPath)};
#else
    std::filesystem::path target = sim::HostPath(sim::W(sim::Utf16(windowsPath)));
#endif
    std::error_code ec;
    std::filesystem::create_directories(target.parent_path(), ec);
    return std::filesystem::copy_file(builtFile, target,
                                      std::filesystem::copy_options::overwrite_existing, ec);
}

} // namespace moltr::test
