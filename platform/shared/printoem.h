#pragma once
// The universal printer driver's plug-in structures and constants: what the driver passes to its
// OEM plug-ins in devmode, property-sheet and rendering calls. Both builds use these declarations;
// the Windows SDK headers do not carry them.
#include <windows.h>
#include <compstui.h>
#include <winddi.h>
#include <winddiui.h>

// IPrintOemCommon::GetInfo requests.
#define OEMGI_GETSIGNATURE 1
#define OEMGI_GETINTERFACEVERSION 2
#define OEMGI_GETVERSION 3
#define OEMGI_GETPUBLISHERINFO 4
#define OEMGI_GETREQUESTEDHELPERINTERFACES 5

#define PRINTER_OEMINTF_VERSION 0x00010000

// Helper interfaces a plug-in may ask for through OEMGI_GETREQUESTEDHELPERINTERFACES.
#define OEMPUBLISH_DEFAULT 0x00000000
#define OEMPUBLISH_IPRINTCOREHELPER 0x00000001

// IPrintOemCommon::DevMode requests.
#define OEMDM_SIZE 1
#define OEMDM_DEFAULT 2
#define OEMDM_CONVERT 3
#define OEMDM_MERGE 4

// IPrintOemUI::CommonUIProp and the mode of IPrintOemDriverUI::DrvUpdateUISetting.
#define OEMCUIP_DOCPROP 1
#define OEMCUIP_PRNPROP 2

// PUBLISHERINFO.dwMode.
#define OEM_MODE_PUBLISHER 0x00000001

// IPrintOemUni::TTYGetInfo requests.
#define OEMTTY_INFO_MARGINS 1
#define OEMTTY_INFO_CODEPAGE 2
#define OEMTTY_INFO_NUM_UFMS 3
#define OEMTTY_INFO_UFM_IDS 4

// UNIFONTOBJ.dwFlags.
#define UFOFLAG_TTFONT 0x00000001
#define UFOFLAG_TTDOWNLOAD_BITMAP 0x00000002
#define UFOFLAG_TTDOWNLOAD_TTOUTLINE 0x00000004
#define UFOFLAG_TTOUTLINE_BOLD_SIM 0x00000008
#define UFOFLAG_TTOUTLINE_ITALIC_SIM 0x00000010
#define UFOFLAG_TTOUTLINE_VERTICAL 0x00000020
#define UFOFLAG_TTSUBSTITUTED 0x00000040

// UNIFONTOBJ.pfnGetInfo requests.
#define UFO_GETINFO_FONTOBJ 1
#define UFO_GETINFO_GLYPHSTRING 2
#define UFO_GETINFO_GLYPHBITMAP 3
#define UFO_GETINFO_GLYPHWIDTH 4
#define UFO_GETINFO_MEMORY 5
#define UFO_GETINFO_STDVARIABLE 6

// IPrintOemUni::TTDownloadMethod answers.
#define TTDOWNLOAD_DONTCARE 0
#define TTDOWNLOAD_GRAPHICS 1
#define TTDOWNLOAD_BITMAP 2
#define TTDOWNLOAD_TTOUTLINE 3

// IPrintOemUni::OutputCharStr glyph kinds.
#define TYPE_UNICODE 1
#define TYPE_TRANSDATA 2
#define TYPE_GLYPHHANDLE 3
#define TYPE_GLYPHID 4

// IPrintOemUni2::GetPDEVAdjustment requests.
#define PDEV_ADJUST_PAPER_MARGIN_TYPE 1
#define PDEV_HOSTFONT_ENABLED_TYPE 2
#define PDEV_USE_TRUE_COLOR_TYPE 3

// IPrintOemDriverUni::DrvXMoveTo and DrvYMoveTo flags.
#define MV_UPDATE 0x0001
#define MV_RELATIVE 0x0002
#define MV_GRAPHICS 0x0004
#define MV_PHYSICAL 0x0008
#define MV_SENDXMOVECMD 0x0010
#define MV_SENDYMOVECMD 0x0020

// IPrintOemDriverUni::DrvGetGPDData requests.
#define GPD_OEMCUSTOMDATA 1

// IPrintCoreHelper::SetOptions flags and results.
#define SETOPTIONS_FLAG_RESOLVE_CONFLICT 0x00000001
#define SETOPTIONS_FLAG_KEEP_CONFLICT 0x00000002
#define SETOPTIONS_RESULT_NO_CONFLICT 0
#define SETOPTIONS_RESULT_CONFLICT_RESOLVED 1
#define SETOPTIONS_RESULT_CONFLICT_REMAINED 2

#pragma pack(push, 8)

// The header that every plug-in's private devmode starts with.
typedef struct _OEM_DMEXTRAHEADER {
    DWORD dwSize;
    DWORD dwSignature;
    DWORD dwVersion;
} OEM_DMEXTRAHEADER, *POEM_DMEXTRAHEADER;

typedef struct _OEMDMPARAM {
    DWORD cbSize;
    PVOID pdriverobj;
    HANDLE hPrinter;
    HANDLE hModule;
    PDEVMODEW pPublicDMIn;
    PDEVMODEW pPublicDMOut;
    PVOID pOEMDMIn;
    PVOID pOEMDMOut;
    DWORD cbBufSize;
} OEMDMPARAM, *POEMDMPARAM;

typedef struct _PUBLISHERINFO {
    DWORD dwMode;
    WORD wMinoutlinePPEM;
    WORD wMaxbitmapPPEM;
} PUBLISHERINFO, *PPUBLISHERINFO;

// The driver's own services as plain functions, from before IPrintOemDriverUI.
typedef BOOL(APIENTRY* PFN_DrvGetDriverSetting)(PVOID pdriverobj, PCSTR Feature, PVOID pOutput,
                                                DWORD cbSize, PDWORD pcbNeeded,
                                                PDWORD pdwOptionsReturned);
typedef BOOL(APIENTRY* PFN_DrvUpdateUISetting)(PVOID pdriverobj, PVOID pOptItem,
                                               DWORD dwPreviousSelection, DWORD dwMode);

typedef struct _OEMUIPROCS {
    PFN_DrvGetDriverSetting DrvGetDriverSetting;
    PFN_DrvUpdateUISetting DrvUpdateUISetting;
} OEMUIPROCS, *POEMUIPROCS;

typedef struct _OEMUIOBJ {
    DWORD cbSize;
    POEMUIPROCS pOemUIProcs;
} OEMUIOBJ, *POEMUIOBJ;

typedef struct _OEMCUIPPARAM* POEMCUIPPARAM;
typedef LONG(APIENTRY* OEMCUIPCALLBACK)(PCPSUICBPARAM pCallbackParam, POEMCUIPPARAM pOemCUIPParam);

typedef struct _OEMCUIPPARAM {
    DWORD cbSize;
    POEMUIOBJ poemuiobj;
    HANDLE hPrinter;
    PWSTR pPrinterName;
    HANDLE hModule;
    HANDLE hOEMHeap;
    PDEVMODEW pPublicDM;
    PVOID pOEMDM;
    DWORD dwFlags;
    POPTITEM pDrvOptItems;
    DWORD cDrvOptItems;
    POPTITEM pOEMOptItems;
    DWORD cOEMOptItems;
    PVOID pOEMUserData;
    OEMCUIPCALLBACK OEMCUIPCallback;
} OEMCUIPPARAM;

// Passed as lParam with Document/DevicePropertySheets.
typedef struct _OEMUIPSPARAM {
    DWORD cbSize;
    POEMUIOBJ poemuiobj;
    HANDLE hPrinter;
    PWSTR pPrinterName;
    HANDLE hModule;
    HANDLE hOEMHeap;
    PDEVMODEW pPublicDM;
    PVOID pOEMDM;
    PVOID pOEMUserData;
    DWORD dwFlags;
    PVOID pOemEntry;
} OEMUIPSPARAM, *POEMUIPSPARAM;

typedef struct _DEVQUERYPRINT_INFO {
    WORD cbSize;
    WORD Level;
    HANDLE hPrinter;
    PDEVMODEW pDevMode;
    LPWSTR pszErrorStr;
    DWORD cchErrorStr;
    DWORD cchNeeded;
} DEVQUERYPRINT_INFO, *PDEVQUERYPRINT_INFO;

// The renderer's device object: the plug-in keeps its per-PDEV state in pdevOEM.
typedef PVOID PDEVOEM;
struct _DRVPROCS;
typedef struct _DRVPROCS* PDRVPROCS;

typedef struct _DEVOBJ {
    DWORD dwSize;
    PDEVOEM pdevOEM;
    HANDLE hEngine;
    HANDLE hPrinter;
    HANDLE hOEM;
    PDEVMODEW pPublicDM;
    PVOID pOEMDM;
    PDRVPROCS pDrvProcs;
} DEVOBJ, *PDEVOBJ;

typedef struct _OEMMEMORYUSAGE {
    DWORD dwFixedMemoryUsage;
    DWORD dwPercentMemoryUsage;
    DWORD dwMaxBandSize;
} OEMMEMORYUSAGE, *POEMMEMORYUSAGE;

typedef struct _IPPARAMS {
    DWORD dwSize;
    POINT ptOffset;
    PSTR pHalftoneOption;
    BOOL bBanding;
    BOOL bBlankBand;
} IPPARAMS, *PIPPARAMS;

typedef struct _UNIFONTOBJ* PUNIFONTOBJ;
typedef BOOL(APIENTRY* PFNGETINFO)(PUNIFONTOBJ pUFObj, DWORD dwInfoID, PVOID pData,
                                   DWORD dwDataSize, PDWORD pcbNeeded);

typedef struct _UNIFONTOBJ {
    ULONG ulFontID;
    DWORD dwFlags;
    IFIMETRICS* pIFIMetrics;
    PFNGETINFO pfnGetInfo;
} UNIFONTOBJ;

typedef struct _FINVOCATION {
    DWORD dwCount;
    PBYTE pubCommand;
} FINVOCATION, *PFINVOCATION;

typedef struct _PRINT_FEATURE_OPTION {
    LPCSTR pszFeature;
    LPCSTR pszOption;
} PRINT_FEATURE_OPTION, *PPRINT_FEATURE_OPTION;

#pragma pack(pop)
