#pragma once
// The document devmode of the universal driver's user interface: what DocumentPropertiesW answers
// for a printer. The defaults are the GPD's (paper size, portrait, one copy, simplex, colour) with
// the driver's private part and the UI plug-in's part (DevMode OEMDM_SIZE and OEMDM_DEFAULT); the
// printer's own devmode and then the caller's input are merged in, each by its public fields that
// dmFields flags and by the plug-in's OEMDM_MERGE, after OEMDM_CONVERT when the input's plug-in
// part has another size. A printer whose driver names no UI plug-in gets devmodes without a
// plug-in part.
#include <windows.h>

namespace moltr::unidrv {

// DocumentPropertiesW's answer for `printer` (the dialog is never shown: a prompt answers as if
// the user confirmed the settings at once). Mode 0 answers the size of the whole devmode; with
// DM_OUT_BUFFER the devmode is written to `output`, which must have that size, and IDOK is
// answered. A negative answer with the thread's last error for a null output with DM_OUT_BUFFER
// (ERROR_INVALID_PARAMETER), a printer whose driver or GPD cannot be read, or a plug-in that
// fails its devmode calls.
LONG DocumentDevMode(HANDLE printer, LPCWSTR deviceName, DEVMODEW* output, const DEVMODEW* input,
                     DWORD mode);

} // namespace moltr::unidrv
