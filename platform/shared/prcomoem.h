#pragma once
// The universal printer driver's COM plug-in interfaces: those a UI plug-in implements
// (IPrintOemUI, IPrintOemUI2, IPrintOemPrintTicketProvider) or calls (IPrintOemDriverUI, the print
// core helpers), and those a render plug-in implements (IPrintOemUni down to IPrintOemUni3) or
// calls (IPrintOemDriverUni). The vtable order is the driver's binary contract.
#include <objbase.h>
#include "printoem.h"

// Handed over by pointer only; the XML object model and streams come from their own headers.
struct IStream;
struct IXMLDOMDocument2;

// Status codes of the print-ticket provider.
#define S_NO_CONFLICT ((HRESULT)0x00040001L)
#define S_CONFLICT_RESOLVED ((HRESULT)0x00040002L)
#define E_VERSION_NOT_SUPPORTED ((HRESULT)0x80040001L)

// Options that BindPrinter answers.
typedef enum {
    OEMPT_DEFAULT = 0x00000000,
    OEMPT_NOSNAPSHOT = 0x00000001,
} OEMPTOPTS,
    *POEMPTOPTS;

// Interface ids, usable in every module without an instantiating <initguid.h>.
// {7F42285E-91D5-11D1-8820-00C04FB961EC}
inline constexpr IID IID_IPrintOemCommon = {
    0x7f42285e, 0x91d5, 0x11d1, {0x88, 0x20, 0x00, 0xc0, 0x4f, 0xb9, 0x61, 0xec}};
// {C6A7A9D0-774C-11D1-947F-00A0C90640B8}
inline constexpr IID IID_IPrintOemUI = {
    0xc6a7a9d0, 0x774c, 0x11d1, {0x94, 0x7f, 0x00, 0xa0, 0xc9, 0x06, 0x40, 0xb8}};
// {292515F9-B54B-489B-9275-BAB56821395E}
inline constexpr IID IID_IPrintOemUI2 = {
    0x292515f9, 0xb54b, 0x489b, {0x92, 0x75, 0xba, 0xb5, 0x68, 0x21, 0x39, 0x5e}};
// {92B05D50-78BC-11D1-9480-00A0C90640B8}
inline constexpr IID IID_IPrintOemDriverUI = {
    0x92b05d50, 0x78bc, 0x11d1, {0x94, 0x80, 0x00, 0xa0, 0xc9, 0x06, 0x40, 0xb8}};
// {D67EBBF0-78BF-11D1-9480-00A0C90640B8}
inline constexpr IID IID_IPrintOemUni = {
    0xd67ebbf0, 0x78bf, 0x11d1, {0x94, 0x80, 0x00, 0xa0, 0xc9, 0x06, 0x40, 0xb8}};
// {B91220AC-15CC-4E7A-A21E-9591F34D6F6C}
inline constexpr IID IID_IPrintOemUni2 = {
    0xb91220ac, 0x15cc, 0x4e7a, {0xa2, 0x1e, 0x95, 0x91, 0xf3, 0x4d, 0x6f, 0x6c}};
// {D6DEEC8D-4C3C-4A28-A7A1-4B8FE8E34A4E}: not yet checked against the driver kit's header.
inline constexpr IID IID_IPrintOemUni3 = {
    0xd6deec8d, 0x4c3c, 0x4a28, {0xa7, 0xa1, 0x4b, 0x8f, 0xe8, 0xe3, 0x4a, 0x4e}};
// {D67EBBF1-78BF-11D1-9480-00A0C90640B8}
inline constexpr IID IID_IPrintOemDriverUni = {
    0xd67ebbf1, 0x78bf, 0x11d1, {0x94, 0x80, 0x00, 0xa0, 0xc9, 0x06, 0x40, 0xb8}};
// {6A8EDC1A-9B8C-4C44-A1DD-2D38E0DAE5C4}: not yet checked against the driver kit's header.
inline constexpr IID IID_IPrintOemPrintTicketProvider = {
    0x6a8edc1a, 0x9b8c, 0x4c44, {0xa1, 0xdd, 0x2d, 0x38, 0xe0, 0xda, 0xe5, 0xc4}};
// {A89EC53E-3905-49C6-9C1A-C0A88117FDB6}
inline constexpr IID IID_IPrintCoreHelper = {
    0xa89ec53e, 0x3905, 0x49c6, {0x9c, 0x1a, 0xc0, 0xa8, 0x81, 0x17, 0xfd, 0xb6}};
// {7E8E51D6-E5EE-4426-817B-958B9444EB79}
inline constexpr IID IID_IPrintCoreHelperUni = {
    0x7e8e51d6, 0xe5ee, 0x4426, {0x81, 0x7b, 0x95, 0x8b, 0x94, 0x44, 0xeb, 0x79}};
// {C2C14F6F-95D3-4D63-96CF-6BD9E6C907C2}
inline constexpr IID IID_IPrintCoreHelperPS = {
    0xc2c14f6f, 0x95d3, 0x4d63, {0x96, 0xcf, 0x6b, 0xd9, 0xe6, 0xc9, 0x07, 0xc2}};

#undef INTERFACE

#define INTERFACE IPrintOemCommon
DECLARE_INTERFACE_(IPrintOemCommon, IUnknown) {
    STDMETHOD(GetInfo)(THIS_ DWORD dwMode, PVOID pBuffer, DWORD cbSize, PDWORD pcbNeeded) PURE;
    STDMETHOD(DevMode)(THIS_ DWORD dwMode, POEMDMPARAM pOemDMParam) PURE;
};
#undef INTERFACE

#define INTERFACE IPrintOemUI
DECLARE_INTERFACE_(IPrintOemUI, IPrintOemCommon) {
    STDMETHOD(PublishDriverInterface)(THIS_ IUnknown * pIUnknown) PURE;
    STDMETHOD(CommonUIProp)(THIS_ DWORD dwMode, POEMCUIPPARAM pOemCUIPParam) PURE;
    STDMETHOD(DocumentPropertySheets)(THIS_ PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) PURE;
    STDMETHOD(DevicePropertySheets)(THIS_ PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) PURE;
    STDMETHOD(DevQueryPrintEx)
    (THIS_ POEMUIOBJ poemuiobj, PDEVQUERYPRINT_INFO pDQPInfo, PDEVMODEW pPublicDM, PVOID pOEMDM)
        PURE;
    STDMETHOD(DeviceCapabilities)
    (THIS_ POEMUIOBJ poemuiobj, HANDLE hPrinter, PWSTR pDeviceName, WORD wCapability, PVOID pOutput,
     PDEVMODEW pPublicDM, PVOID pOEMDM, DWORD dwOld, DWORD * dwResult) PURE;
    STDMETHOD(UpgradePrinter)(THIS_ DWORD dwLevel, PBYTE pDriverUpgradeInfo) PURE;
    STDMETHOD(PrinterEvent)
    (THIS_ PWSTR pPrinterName, INT iDriverEvent, DWORD dwFlags, LPARAM lParam) PURE;
    STDMETHOD(DriverEvent)
    (THIS_ DWORD dwDriverEvent, DWORD dwLevel, LPBYTE pDriverInfo, LPARAM lParam) PURE;
    STDMETHOD(QueryColorProfile)
    (THIS_ HANDLE hPrinter, POEMUIOBJ poemuiobj, PDEVMODEW pPublicDM, PVOID pOEMDM,
     ULONG ulQueryMode, VOID * pvProfileData, ULONG * pcbProfileData, FLONG * pflProfileData) PURE;
    STDMETHOD(FontInstallerDlgProc)(THIS_ HWND hWnd, UINT usMsg, WPARAM wParam, LPARAM lParam) PURE;
    STDMETHOD(UpdateExternalFonts)(THIS_ HANDLE hPrinter, HANDLE hHeap, PWSTR pwstrCartridges) PURE;
};
#undef INTERFACE

#define INTERFACE IPrintOemUI2
DECLARE_INTERFACE_(IPrintOemUI2, IPrintOemUI) {
    STDMETHOD(QueryJobAttributes)
    (THIS_ HANDLE hPrinter, PDEVMODEW pDevmode, DWORD dwLevel, LPBYTE lpAttributeInfo) PURE;
    STDMETHOD(HideStandardUI)(THIS_ DWORD dwMode) PURE;
    STDMETHOD(DocumentEvent)
    (THIS_ HANDLE hPrinter, HDC hdc, INT iEsc, ULONG cbIn, PVOID pbIn, ULONG cbOut, PVOID pbOut,
     PINT piResult) PURE;
};
#undef INTERFACE

#define INTERFACE IPrintOemDriverUI
DECLARE_INTERFACE_(IPrintOemDriverUI, IUnknown) {
    STDMETHOD(DrvGetDriverSetting)
    (THIS_ PVOID pci, PCSTR Feature, PVOID pOutput, DWORD cbSize, PDWORD pcbNeeded,
     PDWORD pdwOptionsReturned) PURE;
    STDMETHOD(DrvUpgradeRegistrySetting)(THIS_ HANDLE hPrinter, PCSTR pFeature, PCSTR pOption) PURE;
    STDMETHOD(DrvUpdateUISetting)
    (THIS_ PVOID pci, PVOID pOptItem, DWORD dwPreviousSelection, DWORD dwMode) PURE;
};
#undef INTERFACE

#define INTERFACE IPrintCoreHelper
DECLARE_INTERFACE_(IPrintCoreHelper, IUnknown) {
    STDMETHOD(SetOptions)
    (THIS_ PDEVMODEW pDevmode, DWORD cbSize, BOOL bResolveConflicts,
     const PRINT_FEATURE_OPTION* pFOPairs, DWORD cPairs, DWORD* pcPairsWritten, DWORD* pdwResult)
        PURE;
    STDMETHOD(EnumConstrainedOptions)
    (THIS_ PDEVMODEW pDevmode, DWORD cbSize, PCSTR pszFeatureKeyword,
     PCSTR * *pConstrainedOptionList, DWORD * pdwNumOptions) PURE;
    STDMETHOD(WhyConstrained)
    (THIS_ PDEVMODEW pDevmode, DWORD cbSize, PCSTR pszFeatureKeyword, PCSTR pszOptionKeyword,
     const PRINT_FEATURE_OPTION** ppFOConstraints, DWORD* pdwNumOptions) PURE;
    STDMETHOD(GetOption)
    (THIS_ PDEVMODEW pDevmode, DWORD cbSize, PCSTR pszFeatureRequested, PCSTR * ppszOption) PURE;
    STDMETHOD(EnumFeatures)(THIS_ PCSTR * *pFeatureList, DWORD * pdwNumFeatures) PURE;
    STDMETHOD(EnumOptions)
    (THIS_ PCSTR pszFeatureKeyword, PCSTR * *pOptionList, DWORD * pdwNumOptions) PURE;
    STDMETHOD(GetFontSubstitution)(THIS_ PCWSTR pszTrueTypeFontName, PCWSTR * ppszDevFontName) PURE;
    STDMETHOD(SetFontSubstitution)(THIS_ PCWSTR pszTrueTypeFontName, PCWSTR pszDevFontName) PURE;
    STDMETHOD(CreateInstanceOfMSXMLObject)
    (THIS_ REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID * ppv)
        PURE;
};
#undef INTERFACE

#define INTERFACE IPrintCoreHelperUni
DECLARE_INTERFACE_(IPrintCoreHelperUni, IPrintCoreHelper) {
    STDMETHOD(CreateGDLSnapshot)
    (THIS_ PDEVMODEW pDevmode, DWORD cbSize, DWORD dwFlags, IStream * *ppSnapshotStream) PURE;
    STDMETHOD(CreateDefaultGDLSnapshot)(THIS_ DWORD dwFlags, IStream * *ppSnapshotStream) PURE;
};
#undef INTERFACE

#define INTERFACE IPrintCoreHelperPS
DECLARE_INTERFACE_(IPrintCoreHelperPS, IPrintCoreHelper) {
    STDMETHOD(GetBaseAttribute)
    (THIS_ PCSTR pszAttribute, DWORD * pdwDataType, PBYTE * ppbData, DWORD * pcbSize) PURE;
    STDMETHOD(GetFeatureAttribute)
    (THIS_ PCSTR pszFeatureKeyword, PCSTR pszAttribute, DWORD * pdwDataType, PBYTE * ppbData,
     DWORD * pcbSize) PURE;
    STDMETHOD(GetOptionAttribute)
    (THIS_ PCSTR pszFeatureKeyword, PCSTR pszOptionKeyword, PCSTR pszAttribute, DWORD * pdwDataType,
     PBYTE * ppbData, DWORD * pcbSize) PURE;
};
#undef INTERFACE

#define INTERFACE IPrintOemPrintTicketProvider
DECLARE_INTERFACE_(IPrintOemPrintTicketProvider, IUnknown) {
    STDMETHOD(GetSupportedVersions)
    (THIS_ HANDLE hPrinter, INT * ppVersions[], INT * cVersions) PURE;
    STDMETHOD(BindPrinter)
    (THIS_ HANDLE hPrinter, INT version, POEMPTOPTS pOptions, INT * pDevModeId, INT * cNamespaces,
     BSTR * *ppNamespaces) PURE;
    STDMETHOD(PublishPrintTicketHelper)(THIS_ IUnknown * pHelper) PURE;
    STDMETHOD(QueryDeviceDefaultNamespace)(THIS_ BSTR * pbstrNamespaceUri) PURE;
    STDMETHOD(ConvertPrintTicketToDevMode)
    (THIS_ IXMLDOMDocument2 * pPrintTicket, ULONG cbDevmode, PDEVMODEW pDevmode,
     ULONG cbDrvPrivateSize, PVOID pPrivateDevmode) PURE;
    STDMETHOD(ConvertDevModeToPrintTicket)
    (THIS_ ULONG cbDevmode, PDEVMODEW pDevmode, ULONG cbDrvPrivateSize, PVOID pPrivateDevmode,
     IXMLDOMDocument2 * pPrintTicket) PURE;
    STDMETHOD(CompletePrintCapabilities)
    (THIS_ IXMLDOMDocument2 * pPrintTicket, IXMLDOMDocument2 * pCapabilities) PURE;
    STDMETHOD(ExpandIntentOptions)(THIS_ IXMLDOMDocument2 * pPrintTicket) PURE;
    STDMETHOD(ValidatePrintTicket)(THIS_ IXMLDOMDocument2 * pBaseTicket) PURE;
};
#undef INTERFACE

#define INTERFACE IPrintOemEngine
DECLARE_INTERFACE_(IPrintOemEngine, IPrintOemCommon) {
    STDMETHOD(EnableDriver)(THIS_ DWORD DriverVersion, DWORD cbSize, PDRVENABLEDATA pded) PURE;
    STDMETHOD(DisableDriver)(THIS) PURE;
    STDMETHOD(EnablePDEV)
    (THIS_ PDEVOBJ pdevobj, PWSTR pPrinterName, ULONG cPatterns, HSURF * phsurfPatterns,
     ULONG cjGdiInfo, GDIINFO * pGdiInfo, ULONG cjDevInfo, DEVINFO * pDevInfo, DRVENABLEDATA * pded,
     PDEVOEM * pDevOem) PURE;
    STDMETHOD(DisablePDEV)(THIS_ PDEVOBJ pdevobj) PURE;
    STDMETHOD(ResetPDEV)(THIS_ PDEVOBJ pdevobjOld, PDEVOBJ pdevobjNew) PURE;
};
#undef INTERFACE

#define INTERFACE IPrintOemUni
DECLARE_INTERFACE_(IPrintOemUni, IPrintOemEngine) {
    STDMETHOD(PublishDriverInterface)(THIS_ IUnknown * pIUnknown) PURE;
    STDMETHOD(GetImplementedMethod)(THIS_ PSTR pMethodName) PURE;
    STDMETHOD(DriverDMS)(THIS_ PVOID pDevObj, PVOID pBuffer, DWORD cbSize, PDWORD pcbNeeded) PURE;
    STDMETHOD(CommandCallback)
    (THIS_ PDEVOBJ pdevobj, DWORD dwCallbackID, DWORD dwCount, PDWORD pdwParams, INT * piResult)
        PURE;
    STDMETHOD(ImageProcessing)
    (THIS_ PDEVOBJ pdevobj, PBYTE pSrcBitmap, PBITMAPINFOHEADER pBitmapInfoHeader,
     PBYTE pColorTable, DWORD dwCallbackID, PIPPARAMS pIPParams, PBYTE * ppbResult) PURE;
    STDMETHOD(FilterGraphics)(THIS_ PDEVOBJ pdevobj, PBYTE pBuf, DWORD dwLen) PURE;
    STDMETHOD(Compression)
    (THIS_ PDEVOBJ pdevobj, PBYTE pInBuf, PBYTE pOutBuf, DWORD dwInLen, DWORD dwOutLen,
     INT * piResult) PURE;
    STDMETHOD(HalftonePattern)
    (THIS_ PDEVOBJ pdevobj, PBYTE pHTPattern, DWORD dwHTPatternX, DWORD dwHTPatternY,
     DWORD dwHTNumPatterns, DWORD dwCallbackID, PBYTE pResource, DWORD dwResourceSize) PURE;
    STDMETHOD(MemoryUsage)(THIS_ PDEVOBJ pdevobj, POEMMEMORYUSAGE pMemoryUsage) PURE;
    STDMETHOD(TTYGetInfo)
    (THIS_ PDEVOBJ pdevobj, DWORD dwInfoIndex, PVOID pOutputBuf, DWORD dwSize, DWORD * pcbcNeeded)
        PURE;
    STDMETHOD(DownloadFontHeader)
    (THIS_ PDEVOBJ pdevobj, PUNIFONTOBJ pUFObj, DWORD * pdwResult) PURE;
    STDMETHOD(DownloadCharGlyph)
    (THIS_ PDEVOBJ pdevobj, PUNIFONTOBJ pUFObj, HGLYPH hGlyph, PDWORD pdwWidth, DWORD * pdwResult)
        PURE;
    STDMETHOD(TTDownloadMethod)(THIS_ PDEVOBJ pdevobj, PUNIFONTOBJ pUFObj, DWORD * pdwResult) PURE;
    STDMETHOD(OutputCharStr)
    (THIS_ PDEVOBJ pdevobj, PUNIFONTOBJ pUFObj, DWORD dwType, DWORD dwCount, PVOID pGlyph) PURE;
    STDMETHOD(SendFontCmd)(THIS_ PDEVOBJ pdevobj, PUNIFONTOBJ pUFObj, PFINVOCATION pFInv) PURE;
    STDMETHOD(TextOutAsBitmap)
    (THIS_ SURFOBJ * pso, STROBJ * pstro, FONTOBJ * pfo, CLIPOBJ * pco, RECTL * prclExtra,
     RECTL * prclOpaque, BRUSHOBJ * pboFore, BRUSHOBJ * pboOpaque, POINTL * pptlOrg, MIX mix) PURE;
};
#undef INTERFACE

#define INTERFACE IPrintOemUni2
DECLARE_INTERFACE_(IPrintOemUni2, IPrintOemUni) {
    STDMETHOD(WritePrinter)
    (THIS_ PDEVOBJ pdevobj, PVOID pBuf, DWORD cbBuffer, PDWORD pcbWritten) PURE;
    STDMETHOD(GetPDEVAdjustment)
    (THIS_ PDEVOBJ pdevobj, DWORD dwAdjustType, PVOID pBuf, DWORD cbBuffer, BOOL * pbAdjustmentDone)
        PURE;
};
#undef INTERFACE

// Its one method is reserved for the driver; the parameter list is not yet checked against the
// driver kit's header.
#define INTERFACE IPrintOemUni3
DECLARE_INTERFACE_(IPrintOemUni3, IPrintOemUni2) {
    STDMETHOD(DownloadPattern)
    (THIS_ PDEVOBJ pdevobj, PBYTE pBuffer, DWORD dwCallbackID, DWORD dwPatternSize) PURE;
};
#undef INTERFACE

#define INTERFACE IPrintOemDriverUni
DECLARE_INTERFACE_(IPrintOemDriverUni, IUnknown) {
    STDMETHOD(DrvGetDriverSetting)
    (THIS_ PVOID pdriverobj, PCSTR Feature, PVOID pOutput, DWORD cbSize, PDWORD pcbNeeded,
     PDWORD pdwOptionsReturned) PURE;
    STDMETHOD(DrvWriteSpoolBuf)
    (THIS_ PDEVOBJ pdevobj, PVOID pBuffer, DWORD cbSize, DWORD * pdwResult) PURE;
    STDMETHOD(DrvXMoveTo)(THIS_ PDEVOBJ pdevobj, INT x, DWORD dwFlags, INT * piResult) PURE;
    STDMETHOD(DrvYMoveTo)(THIS_ PDEVOBJ pdevobj, INT y, DWORD dwFlags, INT * piResult) PURE;
    STDMETHOD(DrvGetStandardVariable)
    (THIS_ PDEVOBJ pdevobj, DWORD dwIndex, PVOID pBuffer, DWORD cbSize, PDWORD pcbNeeded) PURE;
    STDMETHOD(DrvGetGPDData)
    (THIS_ PDEVOBJ pdevobj, DWORD dwType, PVOID pInputData, PVOID pBuffer, DWORD cbSize,
     PDWORD pcbNeeded) PURE;
    STDMETHOD(DrvUniTextOut)
    (THIS_ SURFOBJ * pso, STROBJ * pstro, FONTOBJ * pfo, CLIPOBJ * pco, RECTL * prclExtra,
     RECTL * prclOpaque, BRUSHOBJ * pboFore, BRUSHOBJ * pboOpaque, POINTL * pptlBrushOrg, MIX mix)
        PURE;
    STDMETHOD(DrvWriteAbortBuf)
    (THIS_ PDEVOBJ pdevobj, PVOID pBuffer, DWORD cbSize, DWORD dwWait) PURE;
};
#undef INTERFACE
