#include "compiler/windows_version.h"

namespace moltr::compiler {

bool RunningWindowsVersion(WindowsVersion& version) {
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExW(&info)) {
        return false;
    }
    version.platform = info.dwPlatformId;
    version.major = info.dwMajorVersion;
    version.minor = info.dwMinorVersion;
    return true;
}

} // namespace moltr::compiler
