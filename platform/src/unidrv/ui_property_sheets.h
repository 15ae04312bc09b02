#pragma once
// The universal driver's property sheets, which CommonPropertySheetUIW runs through the
// driver's DrvDocumentPropertySheets and DrvDevicePropertySheets (declared in winddiui.h).
//
// On PROPSHEETUI_REASON_INIT the driver settles the devmode (the printer's, the caller's input
// merged in), builds its own items (ui_standard_items.h), loads the UI plug-in and makes its two
// CommonUIProp calls: the counting one with the driver's items only, then the one with the zeroed
// array of cOEMOptItems items, which lies right behind the driver's own in one array. That array
// becomes one compstui page (CPSFUNC_ADD_PCOMPROPSHEETUIW); the plug-in's own pages follow through
// CPSFUNC_ADD_PFNPROPSHEETUIW, whose function passes each call on to the plug-in's
// DocumentPropertySheets or DevicePropertySheets with an OEMUIPSPARAM as lParamInit.
//
// Every compstui callback of the page reaches the plug-in's OEMCUIPCallback; a change of one of
// the driver's items updates the devmode at once, as DrvUpdateUISetting does for a change the
// plug-in makes. CPSUICB_REASON_APPLYNOW (OK and Apply) writes the driver's items into the
// devmode, lets the plug-in store its part, and on the printer sheet stores the installable
// options and the form-to-tray table in the printer's data, unless the sheet was opened without
// permission (DPS_NOPERMISSION). PROPSHEETUI_REASON_SET_RESULT with CPSUI_OK copies the whole
// devmode to the document header's pdmOut; anything else leaves it untouched.
//
// Without a PROPSHEETUI_INFO, DrvDocumentPropertySheets answers like DocumentPropertiesW
// without a prompt: the devmode's size for fMode 0, else the devmode in pdmOut.
#include <windows.h>
#include <compstui.h>
#include <winddiui.h>
