#pragma once
// The 24 DDI functions that the plug-in hooks. Each finds its RenderState through the surface's
// PDEV, offers the call to its "before" entry of the hooks, and then calls the driver's own entry
// point. A driver without that entry point gets FALSE (or 0) instead of a call through null.
#include <windows.h>
#include "ddi_types.h"

namespace moltr::render {

inline constexpr ULONG kHookedDdiCount = 24;

// The table that EnableDriver hands to the driver.
const DRVFN* HookedDdiTable();

} // namespace moltr::render
