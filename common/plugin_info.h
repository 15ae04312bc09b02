#pragma once
// The answer both plug-ins give to the universal driver's GetInfo: their signature or version.
#include <windows.h>

namespace moltr::common {

HRESULT AnswerPluginInfo(DWORD mode, PVOID buffer, DWORD size, PDWORD needed);

} // namespace moltr::common
