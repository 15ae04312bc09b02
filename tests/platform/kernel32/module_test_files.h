#pragma once
// The modules the build makes, as the loader's tests find them and put them on the machine.
#include "sim/machine.h"
#include "sim/utf.h"
#include <windows.h>

#include <filesystem>
#include <string>

namespace moltr::test {

// The file of this program, as the build made it.
inline std::filesystem::path ThisProgramFile() {
#ifdef _WIN32
    WCHAR program[MAX_PATH];
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    return std::filesystem::path(sim::View(program));
#else
    return std::filesystem::canonical("/proc/self/exe");
#endif
}

// A resource-only module the build made (next to bin/, in modules/).
inline std::string BuiltModule(const char* fileName) {
    return (ThisProgramFile().parent_path().parent_path() / "modules" / fileName).string();
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
