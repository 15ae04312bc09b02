#pragma once
// The DevMode entry of the hooks: the default paper size by the system's locale and the TrueType
// option, written into the public devmode before the private defaults.
#include <windows.h>
#include "prcomoem.h"

namespace moltr::ui {

// Acts on OEMDM_DEFAULT only and then declines with E_PENDING, so the defaults still follow.
HRESULT OverrideDevMode(DWORD mode, POEMDMPARAM param);

} // namespace moltr::ui
