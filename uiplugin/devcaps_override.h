#pragma once
// The DeviceCapabilities entry of the hooks: the paper extents of the model and the name of the
// first paper bin.
#include <windows.h>
#include "common/drv_settings.h"
#include "prcomoem.h"

namespace moltr::ui {

// The characters of one DC_BINNAMES entry, the terminating NUL included.
inline constexpr UINT kBinNameChars = 24;

// DC_MINEXTENT and DC_MAXEXTENT answer a POINTS pair in tenths of a millimetre (width in the low
// word, length in the high word) from the paper-limit table; DC_BINNAMES with room for at least
// one bin names the first bin. Everything else declines.
HRESULT OverrideDeviceCapabilities(POEMUIOBJ uiObject, HANDLE printer, PWSTR deviceName,
                                   WORD capability, PVOID output, PDEVMODEW devmode,
                                   PVOID privateDevMode, DWORD old, DWORD* result,
                                   common::IDrvSettings* settings);

} // namespace moltr::ui
