#pragma once
// The GDI and window-manager structures and constants that <windows.h> brings on Windows. The
// common property sheets, property pages, common controls and themes have their own headers, as
// in the SDK (<compstui.h>, <prsht.h>, <commctrl.h>, <uxtheme.h>).
#include "win/types.h"
#include "win/gdi_types.h"
#include "win/user_types.h"
