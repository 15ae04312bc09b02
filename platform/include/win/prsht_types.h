#pragma once
// Property sheets and pages: the page and sheet descriptions, their flags, notifications and
// messages.
#include "win/types.h"
#include "win/user_types.h"
#include "win/user.h"

#include <cstddef>

#define MAXPROPPAGES 100

#define PSP_DEFAULT 0x00000000
#define PSP_DLGINDIRECT 0x00000001
#define PSP_USEHICON 0x00000002
#define PSP_USEICONID 0x00000004
#define PSP_USETITLE 0x00000008
#define PSP_RTLREADING 0x00000010
#define PSP_HASHELP 0x00000020
#define PSP_USEREFPARENT 0x00000040
#define PSP_USECALLBACK 0x00000080
#define PSP_PREMATURE 0x00000400
#define PSP_HIDEHEADER 0x00000800
#define PSP_USEHEADERTITLE 0x00001000
#define PSP_USEHEADERSUBTITLE 0x00002000
#define PSP_USEFUSIONCONTEXT 0x00004000

#define PSPCB_ADDREF 0
#define PSPCB_RELEASE 1
#define PSPCB_CREATE 2

#define PSH_DEFAULT 0x00000000
#define PSH_PROPTITLE 0x00000001
#define PSH_USEHICON 0x00000002
#define PSH_USEICONID 0x00000004
#define PSH_PROPSHEETPAGE 0x00000008
#define PSH_WIZARDHASFINISH 0x00000010
#define PSH_WIZARD 0x00000020
#define PSH_USEPSTARTPAGE 0x00000040
#define PSH_NOAPPLYNOW 0x00000080
#define PSH_USECALLBACK 0x00000100
#define PSH_HASHELP 0x00000200
#define PSH_MODELESS 0x00000400
#define PSH_RTLREADING 0x00000800
#define PSH_WIZARDCONTEXTHELP 0x00001000
#define PSH_WIZARD97 0x01000000
#define PSH_WATERMARK 0x00008000
#define PSH_USEHBMWATERMARK 0x00010000
#define PSH_USEHPLWATERMARK 0x00020000
#define PSH_STRETCHWATERMARK 0x00040000
#define PSH_HEADER 0x00080000
#define PSH_USEHBMHEADER 0x00100000
#define PSH_NOCONTEXTHELP 0x02000000

#define PSCB_INITIALIZED 1
#define PSCB_PRECREATE 2
#define PSCB_BUTTONPRESSED 3

#define PSN_FIRST (0U - 200U)
#define PSN_LAST (0U - 299U)
#define PSN_SETACTIVE (PSN_FIRST - 0)
#define PSN_KILLACTIVE (PSN_FIRST - 1)
#define PSN_APPLY (PSN_FIRST - 2)
#define PSN_RESET (PSN_FIRST - 3)
#define PSN_HELP (PSN_FIRST - 5)
#define PSN_WIZBACK (PSN_FIRST - 6)
#define PSN_WIZNEXT (PSN_FIRST - 7)
#define PSN_WIZFINISH (PSN_FIRST - 8)
#define PSN_QUERYCANCEL (PSN_FIRST - 9)
#define PSN_GETOBJECT (PSN_FIRST - 10)
#define PSN_TRANSLATEACCELERATOR (PSN_FIRST - 12)
#define PSN_QUERYINITIALFOCUS (PSN_FIRST - 13)

#define PSNRET_NOERROR 0
#define PSNRET_INVALID 1
#define PSNRET_INVALID_NOCHANGEPAGE 2
#define PSNRET_MESSAGEHANDLED 3

#define PSM_SETCURSEL (WM_USER + 101)
#define PSM_REMOVEPAGE (WM_USER + 102)
#define PSM_ADDPAGE (WM_USER + 103)
#define PSM_CHANGED (WM_USER + 104)
#define PSM_RESTARTWINDOWS (WM_USER + 105)
#define PSM_REBOOTSYSTEM (WM_USER + 106)
#define PSM_CANCELTOCLOSE (WM_USER + 107)
#define PSM_QUERYSIBLINGS (WM_USER + 108)
#define PSM_UNCHANGED (WM_USER + 109)
#define PSM_APPLY (WM_USER + 110)
#define PSM_SETTITLEW (WM_USER + 120)
#define PSM_SETWIZBUTTONS (WM_USER + 112)
#define PSM_PRESSBUTTON (WM_USER + 113)
#define PSM_SETCURSELID (WM_USER + 114)
#define PSM_SETFINISHTEXTW (WM_USER + 121)
#define PSM_GETTABCONTROL (WM_USER + 116)
#define PSM_ISDIALOGMESSAGE (WM_USER + 117)
#define PSM_GETCURRENTPAGEHWND (WM_USER + 118)
#define PSM_INSERTPAGE (WM_USER + 119)
#define PSM_SETHEADERTITLEW (WM_USER + 126)
#define PSM_SETHEADERSUBTITLEW (WM_USER + 128)
#define PSM_HWNDTOINDEX (WM_USER + 129)
#define PSM_INDEXTOHWND (WM_USER + 130)
#define PSM_PAGETOINDEX (WM_USER + 131)
#define PSM_INDEXTOPAGE (WM_USER + 132)
#define PSM_IDTOINDEX (WM_USER + 133)
#define PSM_INDEXTOID (WM_USER + 134)
#define PSM_GETRESULT (WM_USER + 135)
#define PSM_RECALCPAGESIZES (WM_USER + 136)

#define PSWIZB_BACK 0x00000001
#define PSWIZB_NEXT 0x00000002
#define PSWIZB_FINISH 0x00000004
#define PSWIZB_DISABLEDFINISH 0x00000008

#define PSBTN_BACK 0
#define PSBTN_NEXT 1
#define PSBTN_FINISH 2
#define PSBTN_OK 3
#define PSBTN_APPLYNOW 4
#define PSBTN_CANCEL 5
#define PSBTN_HELP 6
#define PSBTN_MAX 6

#define ID_PSRESTARTWINDOWS 0x2
#define ID_PSREBOOTSYSTEM (ID_PSRESTARTWINDOWS | 0x1)
#define PSM_SETTITLE PSM_SETTITLEW
#define PSM_SETFINISHTEXT PSM_SETFINISHTEXTW
#define PSM_SETHEADERTITLE PSM_SETHEADERTITLEW
#define PSM_SETHEADERSUBTITLE PSM_SETHEADERSUBTITLEW

#pragma pack(push, 8)

struct _PSP;
typedef struct _PSP* HPROPSHEETPAGE;
struct _PROPSHEETPAGEW;
typedef UINT(CALLBACK* LPFNPSPCALLBACKW)(HWND hwnd, UINT uMsg, struct _PROPSHEETPAGEW* ppsp);
typedef LPFNPSPCALLBACKW LPFNPSPCALLBACK;
typedef LPCDLGTEMPLATE PROPSHEETPAGE_RESOURCE;

// The full page description; the shorter forms that older comctl32 versions take are its
// prefixes, whose sizes PROPSHEETPAGEW_V1_SIZE and PROPSHEETPAGEW_V2_SIZE give.
typedef struct _PROPSHEETPAGEW {
    DWORD dwSize;
    DWORD dwFlags;
    HINSTANCE hInstance;
    union {
        LPCWSTR pszTemplate;
        PROPSHEETPAGE_RESOURCE pResource;
    };
    union {
        HICON hIcon;
        LPCWSTR pszIcon;
    };
    LPCWSTR pszTitle;
    DLGPROC pfnDlgProc;
    LPARAM lParam;
    LPFNPSPCALLBACKW pfnCallback;
    UINT* pcRefParent;
    LPCWSTR pszHeaderTitle;
    LPCWSTR pszHeaderSubTitle;
    HANDLE hActCtx;
} PROPSHEETPAGEW, *LPPROPSHEETPAGEW;
typedef const PROPSHEETPAGEW* LPCPROPSHEETPAGEW;
typedef PROPSHEETPAGEW PROPSHEETPAGE;
typedef LPPROPSHEETPAGEW LPPROPSHEETPAGE;
typedef LPCPROPSHEETPAGEW LPCPROPSHEETPAGE;

#define PROPSHEETPAGEW_V1_SIZE (offsetof(PROPSHEETPAGEW, pcRefParent) + sizeof(UINT*))
#define PROPSHEETPAGEW_V2_SIZE (offsetof(PROPSHEETPAGEW, pszHeaderSubTitle) + sizeof(LPCWSTR))
#define PROPSHEETPAGE_V1_SIZE PROPSHEETPAGEW_V1_SIZE
#define PROPSHEETPAGE_V2_SIZE PROPSHEETPAGEW_V2_SIZE

typedef int(CALLBACK* PFNPROPSHEETCALLBACK)(HWND, UINT, LPARAM);

typedef struct _PROPSHEETHEADERW {
    DWORD dwSize;
    DWORD dwFlags;
    HWND hwndParent;
    HINSTANCE hInstance;
    union {
        HICON hIcon;
        LPCWSTR pszIcon;
    };
    LPCWSTR pszCaption;
    UINT nPages;
    union {
        UINT nStartPage;
        LPCWSTR pStartPage;
    };
    union {
        LPCPROPSHEETPAGEW ppsp;
        HPROPSHEETPAGE* phpage;
    };
    PFNPROPSHEETCALLBACK pfnCallback;
    union {
        HBITMAP hbmWatermark;
        LPCWSTR pszbmWatermark;
    };
    HPALETTE hplWatermark;
    union {
        HBITMAP hbmHeader;
        LPCWSTR pszbmHeader;
    };
} PROPSHEETHEADERW, *LPPROPSHEETHEADERW;
typedef const PROPSHEETHEADERW* LPCPROPSHEETHEADERW;
typedef PROPSHEETHEADERW PROPSHEETHEADER;
#define PROPSHEETHEADERW_V1_SIZE                                                                   \
    (offsetof(PROPSHEETHEADERW, pfnCallback) + sizeof(PFNPROPSHEETCALLBACK))
#define PROPSHEETHEADER_V1_SIZE PROPSHEETHEADERW_V1_SIZE
typedef LPCPROPSHEETHEADERW LPCPROPSHEETHEADER;

typedef BOOL(CALLBACK* LPFNADDPROPSHEETPAGE)(HPROPSHEETPAGE, LPARAM);
typedef BOOL(CALLBACK* LPFNADDPROPSHEETPAGES)(LPVOID, LPFNADDPROPSHEETPAGE, LPARAM);

typedef struct _PSHNOTIFY {
    NMHDR hdr;
    LPARAM lParam;
} PSHNOTIFY, *LPPSHNOTIFY;

#pragma pack(pop)

extern "C" {
HPROPSHEETPAGE WINAPI CreatePropertySheetPageW(LPCPROPSHEETPAGEW constPropSheetPagePointer);
BOOL WINAPI DestroyPropertySheetPage(HPROPSHEETPAGE hPSPage);
INT_PTR WINAPI PropertySheetW(LPCPROPSHEETHEADERW lppsph);
}
#define CreatePropertySheetPage CreatePropertySheetPageW

// The messages to a sheet as its pages send them.
inline BOOL PropSheet_SetCurSel(HWND hDlg, HPROPSHEETPAGE hpage, int index) {
    return static_cast<BOOL>(SendMessageW(hDlg, PSM_SETCURSEL, static_cast<WPARAM>(index),
                                          reinterpret_cast<LPARAM>(hpage)));
}
inline void PropSheet_RemovePage(HWND hDlg, int index, HPROPSHEETPAGE hpage) {
    SendMessageW(hDlg, PSM_REMOVEPAGE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(hpage));
}
inline BOOL PropSheet_AddPage(HWND hDlg, HPROPSHEETPAGE hpage) {
    return static_cast<BOOL>(SendMessageW(hDlg, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(hpage)));
}
inline BOOL PropSheet_Changed(HWND hDlg, HWND hwnd) {
    return static_cast<BOOL>(SendMessageW(hDlg, PSM_CHANGED, reinterpret_cast<WPARAM>(hwnd), 0));
}
inline void PropSheet_UnChanged(HWND hDlg, HWND hwnd) {
    SendMessageW(hDlg, PSM_UNCHANGED, reinterpret_cast<WPARAM>(hwnd), 0);
}
inline void PropSheet_RestartWindows(HWND hDlg) {
    SendMessageW(hDlg, PSM_RESTARTWINDOWS, 0, 0);
}
inline void PropSheet_RebootSystem(HWND hDlg) {
    SendMessageW(hDlg, PSM_REBOOTSYSTEM, 0, 0);
}
inline int PropSheet_QuerySiblings(HWND hDlg, WPARAM wParam, LPARAM lParam) {
    return static_cast<int>(SendMessageW(hDlg, PSM_QUERYSIBLINGS, wParam, lParam));
}
inline BOOL PropSheet_Apply(HWND hDlg) {
    return static_cast<BOOL>(SendMessageW(hDlg, PSM_APPLY, 0, 0));
}
inline void PropSheet_SetTitle(HWND hDlg, DWORD wStyle, LPCWSTR lpszText) {
    SendMessageW(hDlg, PSM_SETTITLEW, wStyle, reinterpret_cast<LPARAM>(lpszText));
}
inline BOOL PropSheet_PressButton(HWND hDlg, int iButton) {
    return static_cast<BOOL>(SendMessageW(hDlg, PSM_PRESSBUTTON, static_cast<WPARAM>(iButton), 0));
}
inline HWND PropSheet_GetTabControl(HWND hDlg) {
    return reinterpret_cast<HWND>(SendMessageW(hDlg, PSM_GETTABCONTROL, 0, 0));
}
inline HWND PropSheet_GetCurrentPageHwnd(HWND hDlg) {
    return reinterpret_cast<HWND>(SendMessageW(hDlg, PSM_GETCURRENTPAGEHWND, 0, 0));
}
inline HWND PropSheet_IndexToHwnd(HWND hDlg, int i) {
    return reinterpret_cast<HWND>(SendMessageW(hDlg, PSM_INDEXTOHWND, static_cast<WPARAM>(i), 0));
}
inline int PropSheet_HwndToIndex(HWND hDlg, HWND hwnd) {
    return static_cast<int>(SendMessageW(hDlg, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(hwnd), 0));
}
inline LRESULT PropSheet_IndexToId(HWND hDlg, int i) {
    return SendMessageW(hDlg, PSM_INDEXTOID, static_cast<WPARAM>(i), 0);
}
inline int PropSheet_IdToIndex(HWND hDlg, LPARAM id) {
    return static_cast<int>(SendMessageW(hDlg, PSM_IDTOINDEX, 0, id));
}
inline int PropSheet_GetResult(HWND hDlg) {
    return static_cast<int>(SendMessageW(hDlg, PSM_GETRESULT, 0, 0));
}
