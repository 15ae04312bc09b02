#pragma once
// The families of PDL types that choose the plug-in's commands.
#include <windows.h>

namespace moltr::render {

inline bool IsPcl5(DWORD pdlType) {
    return pdlType >= 40 && pdlType <= 49;
}

inline bool IsPclXl(DWORD pdlType) {
    return pdlType >= 50 && pdlType <= 59;
}

} // namespace moltr::render
