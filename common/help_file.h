#pragma once
// The help file the driver's context help opens.
#include <windows.h>

namespace moltr::common {

// `driverHelpFile`, except on Windows version 6.0, where a temporary ".chm" path made once per
// process stands in for it (when it can be made).
LPCWSTR HelpFilePath(LPCWSTR driverHelpFile);

} // namespace moltr::common
