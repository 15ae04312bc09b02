#pragma once
// What the user may do with the printer's settings on the printer sheet.
#include <windows.h>

namespace moltr::ui {

inline constexpr DWORD kAccessNone = 1;     // no printer access: the sheet only shows
inline constexpr DWORD kAccessFull = 2;     // printer settings are stored on apply
inline constexpr DWORD kAccessElevated = 4; // storing needs elevated rights

// Opens `printer` with every right to find out; on exactly Windows Vista also tries to write the
// settings file `settingsFile` (may be null), which needs elevation there.
DWORD ComputeAccessLevel(LPCWSTR printer, LPCWSTR settingsFile);

} // namespace moltr::ui
