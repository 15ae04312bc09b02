#pragma once
// Whether the running Windows is exactly one version: the few behaviours that differ by version
// (the help path on 6.0, the render state on 5.0) ask it this way.
#include <windows.h>

namespace moltr::common {

bool RunsWindowsVersion(DWORD major, DWORD minor);

} // namespace moltr::common
