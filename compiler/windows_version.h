#pragma once
// The running Windows version, as the compiler's version-dependent rules ask for it.
#include <windows.h>

namespace moltr::compiler {

struct WindowsVersion {
    DWORD platform = 0;
    DWORD major = 0;
    DWORD minor = 0;
};

// False when the version cannot be read.
bool RunningWindowsVersion(WindowsVersion& version);

} // namespace moltr::compiler
