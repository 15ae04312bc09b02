// Sizes and offsets of the Windows structures the product relies on, the same in both builds.
#include <windows.h>
#include <commctrl.h>
#include <compstui.h>
#include <winddiui.h>
#include <winspool.h>
#include <uxtheme.h>
#include <prcomoem.h>

#include <cstddef>
#include <type_traits>

static_assert(sizeof(WCHAR) == 2);
static_assert(sizeof(DWORD) == 4 && sizeof(LONG) == 4);
static_assert(sizeof(HANDLE) == 8 && sizeof(ULONG_PTR) == 8);
static_assert(sizeof(GUID) == 16);

// The public device mode: the merge and repair code reads and writes these fields in place.
static_assert(sizeof(DEVMODEW) == 220);
static_assert(offsetof(DEVMODEW, dmSpecVersion) == 64);
static_assert(offsetof(DEVMODEW, dmSize) == 68);
static_assert(offsetof(DEVMODEW, dmDriverExtra) == 70);
static_assert(offsetof(DEVMODEW, dmFields) == 72);
static_assert(offsetof(DEVMODEW, dmOrientation) == 76);
static_assert(offsetof(DEVMODEW, dmPaperSize) == 78);
static_assert(offsetof(DEVMODEW, dmPaperLength) == 80);
static_assert(offsetof(DEVMODEW, dmPaperWidth) == 82);
static_assert(offsetof(DEVMODEW, dmScale) == 84);
static_assert(offsetof(DEVMODEW, dmCopies) == 86);
static_assert(offsetof(DEVMODEW, dmDefaultSource) == 88);
static_assert(offsetof(DEVMODEW, dmPrintQuality) == 90);
static_assert(offsetof(DEVMODEW, dmColor) == 92);
static_assert(offsetof(DEVMODEW, dmDuplex) == 94);
static_assert(offsetof(DEVMODEW, dmYResolution) == 96);
static_assert(offsetof(DEVMODEW, dmTTOption) == 98);
static_assert(offsetof(DEVMODEW, dmCollate) == 100);
static_assert(offsetof(DEVMODEW, dmFormName) == 102);
static_assert(offsetof(DEVMODEW, dmLogPixels) == 166);
static_assert(offsetof(DEVMODEW, dmNup) == 180);
static_assert(offsetof(DEVMODEW, dmMediaType) == 196);
static_assert(offsetof(DEVMODEW, dmDitherType) == 200);

// Fonts and text metrics: the resources object builds and measures its dialog font.
static_assert(sizeof(LOGFONTW) == 92);
static_assert(offsetof(LOGFONTW, lfCharSet) == 23);
static_assert(offsetof(LOGFONTW, lfFaceName) == 28);
static_assert(sizeof(TEXTMETRICW) == 60);
static_assert(offsetof(TEXTMETRICW, tmFirstChar) == 44);
static_assert(offsetof(TEXTMETRICW, tmCharSet) == 56);

// Bitmaps: the render plug-in stamps watermarks into the bands that Unidrv describes this way.
static_assert(sizeof(BITMAPINFOHEADER) == 40);
static_assert(sizeof(BITMAPINFO) == 44);
static_assert(sizeof(RGBQUAD) == 4);
static_assert(sizeof(BITMAPFILEHEADER) == 14);
static_assert(sizeof(BITMAP) == 32);
static_assert(sizeof(DIBSECTION) == 104);

// Dialog templates: the resources object walks and rebuilds them byte by byte.
static_assert(sizeof(DLGTEMPLATE) == 18);
static_assert(offsetof(DLGTEMPLATE, cdit) == 8);
static_assert(offsetof(DLGTEMPLATE, x) == 10);
static_assert(sizeof(DLGITEMTEMPLATE) == 18);
static_assert(offsetof(DLGITEMTEMPLATE, id) == 16);
// Items follow each other at DWORD boundaries, headers and strings at WORD boundaries only.
static_assert(alignof(DLGTEMPLATE) == 2 && alignof(DLGITEMTEMPLATE) == 2);

static_assert(sizeof(MSG) == 48);
static_assert(sizeof(NMHDR) == 24);
static_assert(sizeof(WNDCLASSW) == 72);
static_assert(sizeof(WNDCLASSEXW) == 80);
static_assert(sizeof(PAINTSTRUCT) == 72);
static_assert(sizeof(DRAWITEMSTRUCT) == 64);
static_assert(sizeof(HELPINFO) == 40);

// Property pages: the UI plug-in hands compstui the full page description, or on Windows 2000
// the form without the activation context.
static_assert(sizeof(PROPSHEETPAGEW) == 96);
static_assert(offsetof(PROPSHEETPAGEW, hInstance) == 8);
static_assert(offsetof(PROPSHEETPAGEW, pResource) == 16);
static_assert(offsetof(PROPSHEETPAGEW, pfnDlgProc) == 40);
static_assert(offsetof(PROPSHEETPAGEW, lParam) == 48);
static_assert(offsetof(PROPSHEETPAGEW, hActCtx) == 88);
static_assert(offsetof(PROPSHEETPAGEW, pcRefParent) + sizeof(UINT*) == 72);
static_assert(offsetof(PROPSHEETPAGEW, pszHeaderSubTitle) + sizeof(LPCWSTR) == 88);
static_assert(sizeof(PROPSHEETHEADERW) == 96);
static_assert(sizeof(PSHNOTIFY) == 32);

// compstui's option items: the settings object reads and writes Sel, pSel, UserData and Flags in
// place, and builds the types and parameters itself.
static_assert(sizeof(OPTITEM) == 88);
static_assert(offsetof(OPTITEM, Level) == 2);
static_assert(offsetof(OPTITEM, DlgPageIdx) == 3);
static_assert(offsetof(OPTITEM, Flags) == 4);
static_assert(offsetof(OPTITEM, UserData) == 8);
static_assert(offsetof(OPTITEM, pName) == 16);
static_assert(offsetof(OPTITEM, Sel) == 24);
static_assert(offsetof(OPTITEM, pSel) == 24);
static_assert(offsetof(OPTITEM, pExtChkBox) == 32);
static_assert(offsetof(OPTITEM, pOptType) == 40);
static_assert(offsetof(OPTITEM, HelpIndex) == 48);
static_assert(offsetof(OPTITEM, DMPubID) == 52);
static_assert(offsetof(OPTITEM, UserItemID) == 53);
static_assert(offsetof(OPTITEM, pOIExt) == 56);
static_assert(sizeof(OPTTYPE) == 48);
static_assert(offsetof(OPTTYPE, Type) == 2);
static_assert(offsetof(OPTTYPE, Flags) == 3);
static_assert(offsetof(OPTTYPE, Count) == 4);
static_assert(offsetof(OPTTYPE, BegCtrlID) == 6);
static_assert(offsetof(OPTTYPE, pOptParam) == 8);
static_assert(offsetof(OPTTYPE, Style) == 16);
static_assert(sizeof(OPTPARAM) == 48);
static_assert(offsetof(OPTPARAM, Flags) == 2);
static_assert(offsetof(OPTPARAM, Style) == 3);
static_assert(offsetof(OPTPARAM, pData) == 8);
static_assert(offsetof(OPTPARAM, IconID) == 16);
static_assert(offsetof(OPTPARAM, lParam) == 24);
static_assert(sizeof(EXTCHKBOX) == 64);
static_assert(sizeof(EXTPUSH) == 64);
static_assert(sizeof(OIEXT) == 56);
static_assert(sizeof(CPSUICBPARAM) == 64);
static_assert(offsetof(CPSUICBPARAM, Reason) == 2);
static_assert(offsetof(CPSUICBPARAM, hDlg) == 8);
static_assert(offsetof(CPSUICBPARAM, pOptItem) == 16);
static_assert(offsetof(CPSUICBPARAM, cOptItem) == 24);
static_assert(offsetof(CPSUICBPARAM, pCurItem) == 32);
static_assert(offsetof(CPSUICBPARAM, OldSel) == 40);
static_assert(offsetof(CPSUICBPARAM, UserData) == 48);
static_assert(offsetof(CPSUICBPARAM, Result) == 56);
static_assert(sizeof(DLGPAGE) == 40);
static_assert(sizeof(COMPROPSHEETUI) == 128);
static_assert(offsetof(COMPROPSHEETUI, UserData) == 24);
static_assert(offsetof(COMPROPSHEETUI, pHelpFile) == 32);
static_assert(offsetof(COMPROPSHEETUI, pfnCallBack) == 40);
static_assert(offsetof(COMPROPSHEETUI, pOptItem) == 48);
static_assert(offsetof(COMPROPSHEETUI, pDlgPage) == 56);
static_assert(offsetof(COMPROPSHEETUI, cOptItem) == 64);
static_assert(offsetof(COMPROPSHEETUI, cDlgPage) == 66);
static_assert(offsetof(COMPROPSHEETUI, IconID) == 72);
static_assert(sizeof(PROPSHEETUI_INFO) == 48);
static_assert(offsetof(PROPSHEETUI_INFO, Version) == 2);
static_assert(offsetof(PROPSHEETUI_INFO, Reason) == 6);
static_assert(offsetof(PROPSHEETUI_INFO, hComPropSheet) == 8);
static_assert(offsetof(PROPSHEETUI_INFO, pfnComPropSheet) == 16);
static_assert(offsetof(PROPSHEETUI_INFO, lParamInit) == 24);
static_assert(offsetof(PROPSHEETUI_INFO, UserData) == 32);
static_assert(offsetof(PROPSHEETUI_INFO, Result) == 40);
static_assert(sizeof(PROPSHEETUI_INFO_HEADER) == 40);
static_assert(sizeof(SETRESULT_INFO) == 24);
static_assert(sizeof(INSERTPSUIPAGE_INFO) == 32);
static_assert(sizeof(PSPINFO) == 32);
static_assert(sizeof(CPSUIDATABLOCK) == 16);

// Common controls.
static_assert(sizeof(TCITEMW) == 40);
static_assert(sizeof(NMUPDOWN) == 32);
static_assert(sizeof(UDACCEL) == 8);

// The universal driver's plug-in structures, which it fills and the plug-ins read in place.
static_assert(sizeof(OEM_DMEXTRAHEADER) == 12);
static_assert(offsetof(OEM_DMEXTRAHEADER, dwSignature) == 4);
static_assert(offsetof(OEM_DMEXTRAHEADER, dwVersion) == 8);
static_assert(sizeof(OEMDMPARAM) == 72);
static_assert(offsetof(OEMDMPARAM, pdriverobj) == 8);
static_assert(offsetof(OEMDMPARAM, hPrinter) == 16);
static_assert(offsetof(OEMDMPARAM, hModule) == 24);
static_assert(offsetof(OEMDMPARAM, pPublicDMIn) == 32);
static_assert(offsetof(OEMDMPARAM, pPublicDMOut) == 40);
static_assert(offsetof(OEMDMPARAM, pOEMDMIn) == 48);
static_assert(offsetof(OEMDMPARAM, pOEMDMOut) == 56);
static_assert(offsetof(OEMDMPARAM, cbBufSize) == 64);
static_assert(sizeof(OEMUIOBJ) == 16);
static_assert(sizeof(OEMUIPROCS) == 16);
static_assert(sizeof(OEMCUIPPARAM) == 120);
static_assert(offsetof(OEMCUIPPARAM, poemuiobj) == 8);
static_assert(offsetof(OEMCUIPPARAM, hPrinter) == 16);
static_assert(offsetof(OEMCUIPPARAM, pPrinterName) == 24);
static_assert(offsetof(OEMCUIPPARAM, hOEMHeap) == 40);
static_assert(offsetof(OEMCUIPPARAM, pPublicDM) == 48);
static_assert(offsetof(OEMCUIPPARAM, pOEMDM) == 56);
static_assert(offsetof(OEMCUIPPARAM, dwFlags) == 64);
static_assert(offsetof(OEMCUIPPARAM, pDrvOptItems) == 72);
static_assert(offsetof(OEMCUIPPARAM, cDrvOptItems) == 80);
static_assert(offsetof(OEMCUIPPARAM, pOEMOptItems) == 88);
static_assert(offsetof(OEMCUIPPARAM, cOEMOptItems) == 96);
static_assert(offsetof(OEMCUIPPARAM, pOEMUserData) == 104);
static_assert(offsetof(OEMCUIPPARAM, OEMCUIPCallback) == 112);
static_assert(sizeof(OEMUIPSPARAM) == 88);
static_assert(offsetof(OEMUIPSPARAM, pOEMUserData) == 64);
static_assert(offsetof(OEMUIPSPARAM, dwFlags) == 72);
static_assert(offsetof(OEMUIPSPARAM, pOemEntry) == 80);
static_assert(sizeof(DEVQUERYPRINT_INFO) == 40);
static_assert(sizeof(DEVOBJ) == 64);
static_assert(offsetof(DEVOBJ, pdevOEM) == 8);
static_assert(offsetof(DEVOBJ, hEngine) == 16);
static_assert(offsetof(DEVOBJ, hPrinter) == 24);
static_assert(offsetof(DEVOBJ, hOEM) == 32);
static_assert(offsetof(DEVOBJ, pPublicDM) == 40);
static_assert(offsetof(DEVOBJ, pOEMDM) == 48);
static_assert(offsetof(DEVOBJ, pDrvProcs) == 56);
static_assert(sizeof(PUBLISHERINFO) == 8);
static_assert(sizeof(OEMMEMORYUSAGE) == 12);
static_assert(sizeof(IPPARAMS) == 32);
static_assert(offsetof(IPPARAMS, ptOffset) == 4);
static_assert(offsetof(IPPARAMS, pHalftoneOption) == 16);
static_assert(offsetof(IPPARAMS, bBlankBand) == 28);
static_assert(sizeof(UNIFONTOBJ) == 24);
static_assert(sizeof(FINVOCATION) == 16);
static_assert(sizeof(PRINT_FEATURE_OPTION) == 16);

// The device-driver interface: the render plug-in copies GDIINFO and DEVINFO, walks the function
// table and passes the engine's objects on.
static_assert(sizeof(SURFOBJ) == 80);
static_assert(offsetof(SURFOBJ, dhpdev) == 16);
static_assert(offsetof(SURFOBJ, sizlBitmap) == 32);
static_assert(offsetof(SURFOBJ, pvBits) == 48);
static_assert(offsetof(SURFOBJ, pvScan0) == 56);
static_assert(offsetof(SURFOBJ, lDelta) == 64);
static_assert(offsetof(SURFOBJ, iBitmapFormat) == 72);
static_assert(offsetof(SURFOBJ, iType) == 76);
static_assert(sizeof(BRUSHOBJ) == 24);
static_assert(sizeof(CLIPOBJ) == 24);
static_assert(offsetof(CLIPOBJ, iDComplexity) == 20);
static_assert(sizeof(XLATEOBJ) == 24);
static_assert(sizeof(STROBJ) == 48);
static_assert(offsetof(STROBJ, pgp) == 32);
static_assert(sizeof(FONTOBJ) == 64);
static_assert(sizeof(PATHOBJ) == 8);
static_assert(sizeof(GLYPHPOS) == 24);
static_assert(sizeof(LINEATTRS) == 40);
static_assert(offsetof(LINEATTRS, elWidth) == 12);
static_assert(offsetof(LINEATTRS, pstyle) == 24);
static_assert(sizeof(XFORML) == 24);
static_assert(sizeof(BLENDOBJ) == 4);
static_assert(sizeof(COLORINFO) == 120);
static_assert(sizeof(GDIINFO) == 320);
static_assert(offsetof(GDIINFO, ulLogPixelsX) == 40);
static_assert(offsetof(GDIINFO, ptlPhysOffset) == 88);
static_assert(offsetof(GDIINFO, szlPhysSize) == 96);
static_assert(offsetof(GDIINFO, ciDevice) == 108);
static_assert(offsetof(GDIINFO, ulHTOutputFormat) == 240);
static_assert(offsetof(GDIINFO, pHTPatA) == 280);
static_assert(sizeof(DEVINFO) == 312);
static_assert(offsetof(DEVINFO, cFonts) == 280);
static_assert(offsetof(DEVINFO, cxDither) == 288);
static_assert(offsetof(DEVINFO, cyDither) == 290);
static_assert(offsetof(DEVINFO, hpalDefault) == 296);
static_assert(sizeof(DRVFN) == 16);
static_assert(sizeof(DRVENABLEDATA) == 16);
static_assert(offsetof(DRVENABLEDATA, pdrvfn) == 8);

// The plug-in interfaces extend each other as the driver queries them.
static_assert(std::is_base_of_v<IPrintOemCommon, IPrintOemUI>);
static_assert(std::is_base_of_v<IPrintOemUI, IPrintOemUI2>);
static_assert(std::is_base_of_v<IPrintOemCommon, IPrintOemEngine>);
static_assert(std::is_base_of_v<IPrintOemEngine, IPrintOemUni>);
static_assert(std::is_base_of_v<IPrintOemUni, IPrintOemUni2>);
static_assert(std::is_base_of_v<IPrintOemUni2, IPrintOemUni3>);
static_assert(std::is_base_of_v<IPrintCoreHelper, IPrintCoreHelperUni>);
static_assert(std::is_base_of_v<IPrintCoreHelper, IPrintCoreHelperPS>);
static_assert(std::is_base_of_v<IUnknown, IPrintOemPrintTicketProvider>);
static_assert(std::is_base_of_v<IUnknown, IPrintOemDriverUI>);
static_assert(std::is_base_of_v<IUnknown, IPrintOemDriverUni>);

// The spooler's information levels, which the product reads from buffers the spooler packs.
static_assert(sizeof(PRINTER_INFO_1W) == 32);
static_assert(sizeof(PRINTER_INFO_2W) == 136);
static_assert(offsetof(PRINTER_INFO_2W, pPrinterName) == 8);
static_assert(offsetof(PRINTER_INFO_2W, pPortName) == 24);
static_assert(offsetof(PRINTER_INFO_2W, pDriverName) == 32);
static_assert(offsetof(PRINTER_INFO_2W, pDevMode) == 56);
static_assert(offsetof(PRINTER_INFO_2W, pPrintProcessor) == 72);
static_assert(offsetof(PRINTER_INFO_2W, pSecurityDescriptor) == 96);
static_assert(offsetof(PRINTER_INFO_2W, Attributes) == 104);
static_assert(offsetof(PRINTER_INFO_2W, Status) == 124);
static_assert(offsetof(PRINTER_INFO_2W, AveragePPM) == 132);
static_assert(sizeof(PRINTER_INFO_5W) == 32);
static_assert(sizeof(PRINTER_INFO_8W) == 8);
static_assert(sizeof(DRIVER_INFO_3W) == 80);
static_assert(offsetof(DRIVER_INFO_3W, pName) == 8);
static_assert(offsetof(DRIVER_INFO_3W, pDataFile) == 32);
static_assert(offsetof(DRIVER_INFO_3W, pHelpFile) == 48);
static_assert(offsetof(DRIVER_INFO_3W, pDependentFiles) == 56);
static_assert(offsetof(DRIVER_INFO_3W, pDefaultDataType) == 72);
static_assert(sizeof(FORM_INFO_1W) == 40);
static_assert(offsetof(FORM_INFO_1W, pName) == 8);
static_assert(offsetof(FORM_INFO_1W, Size) == 16);
static_assert(offsetof(FORM_INFO_1W, ImageableArea) == 24);
static_assert(sizeof(JOB_INFO_2W) == 160);
static_assert(offsetof(JOB_INFO_2W, pDocument) == 32);
static_assert(offsetof(JOB_INFO_2W, pDevMode) == 80);
static_assert(offsetof(JOB_INFO_2W, Status) == 104);
static_assert(offsetof(JOB_INFO_2W, TotalPages) == 124);
static_assert(offsetof(JOB_INFO_2W, Submitted) == 132);
static_assert(offsetof(JOB_INFO_2W, Time) == 148);
static_assert(offsetof(JOB_INFO_2W, PagesPrinted) == 152);

// Process start-up records and printer change notifications, read by the hand-off and the notifier.
static_assert(sizeof(STARTUPINFOW) == 104);
static_assert(sizeof(PROCESS_INFORMATION) == 24);
static_assert(sizeof(PRINTER_NOTIFY_OPTIONS_TYPE) == 24);
static_assert(offsetof(PRINTER_NOTIFY_OPTIONS_TYPE, pFields) == 16);
static_assert(sizeof(PRINTER_NOTIFY_OPTIONS) == 24);
static_assert(offsetof(PRINTER_NOTIFY_OPTIONS, pTypes) == 16);
static_assert(sizeof(PRINTER_NOTIFY_INFO_DATA) == 32);
static_assert(offsetof(PRINTER_NOTIFY_INFO_DATA, NotifyData) == 16);
static_assert(offsetof(PRINTER_NOTIFY_INFO, aData) == 16);
