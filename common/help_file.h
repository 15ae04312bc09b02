#pragma once
// The help file the driver's context help opens.
#include <windows.h>

namespace moltr::common {

// The help path of one resources object: `driverHelpFile`, except on Windows version 6.0, where a
// temporary ".chm" path, made once per object, stands in for it (when it can be made).
class HelpFile {
public:
    LPCWSTR Path(LPCWSTR driverHelpFile);

private:
    WCHAR temporary_[MAX_PATH] = {};
    bool made_ = false;
};

} // namespace moltr::common
