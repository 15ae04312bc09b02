#pragma once
// The answer both plug-ins give to the universal driver's DevMode requests when they add nothing
// of their own: each request goes to the settings object's call of the same meaning.
#include <windows.h>
#include "common/drv_settings.h"
#include "printoem.h"

namespace moltr::common {

// `mode` is one of OEMDM_SIZE, OEMDM_DEFAULT, OEMDM_CONVERT and OEMDM_MERGE (the caller checks).
HRESULT AnswerDevMode(IDrvSettings& settings, DWORD mode, OEMDMPARAM& param);

} // namespace moltr::common
