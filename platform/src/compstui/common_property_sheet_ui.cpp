// CommonPropertySheetUIW: the sheet's function describes its pages (PROPSHEETUI_REASON_INIT,
// through pfnComPropSheet), gives the sheet's title (PROPSHEETUI_REASON_GET_INFO_HEADER); the
// pages are shown through PropertySheetW in the order of the handle tree; at the end every
// function is told PROPSHEETUI_REASON_DESTROY, the last added first, and the sheet function's
// final Result is the caller's.
#include "src/compstui/sheet_tree.h"

#include <commctrl.h>
#include <compstui.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace moltr::platform::compstui {
namespace {

// The sheet being shown by this thread, until its frame exists.
thread_local Sheet* tShowing = nullptr;

int CALLBACK FrameMade(HWND frame, UINT message, LPARAM) {
    if (message == PSCB_INITIALIZED && tShowing) {
        tShowing->window = frame;
    }
    return 0;
}

DWORD SheetFlags(WORD headerFlags) {
    DWORD flags = PSH_USECALLBACK;
    if (headerFlags & PSUIHDRF_PROPTITLE) {
        flags |= PSH_PROPTITLE;
    }
    if (headerFlags & PSUIHDRF_NOAPPLYNOW) {
        flags |= PSH_NOAPPLYNOW;
    }
    return flags;
}

LONG ShowResult(INT_PTR shown) {
    if (shown < 0) {
        return ERR_CPSUI_GETLASTERROR;
    }
    if (shown == ID_PSREBOOTSYSTEM) {
        return CPSUI_REBOOTSYSTEM;
    }
    return shown == ID_PSRESTARTWINDOWS ? CPSUI_RESTARTWINDOWS : CPSUI_OK;
}

LONG Show(Sheet& sheet, HWND owner) {
    PROPSHEETUI_INFO_HEADER title{sizeof title, 0, nullptr, owner, nullptr, {nullptr}};
    if (CallFunction(&sheet.root, PROPSHEETUI_REASON_GET_INFO_HEADER,
                     reinterpret_cast<LPARAM>(&title)) < 1) {
        return CPSUI_CANCEL;
    }
    const std::vector<Node*> pages = PagesUnder(&sheet.root);
    if (pages.empty()) {
        return ERR_CPSUI_NO_PROPSHEETPAGE;
    }
    if (pages.size() >= MAXPROPPAGES) {
        return ERR_CPSUI_TOO_MANY_PROPSHEETPAGES;
    }
    std::vector<HPROPSHEETPAGE> handles;
    for (Node* page : pages) {
        handles.push_back(page->page);
    }
    const auto start = std::find(pages.begin(), pages.end(), sheet.startPage);
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = SheetFlags(title.Flags);
    header.hwndParent = title.hWndParent;
    header.hInstance = title.hInst;
    header.pszCaption = title.pTitle;
    header.nPages = static_cast<UINT>(handles.size());
    header.nStartPage = start == pages.end() ? 0 : static_cast<UINT>(start - pages.begin());
    header.phpage = handles.data();
    header.pfnCallback = FrameMade;
    Sheet* outer = std::exchange(tShowing, &sheet);
    const INT_PTR shown = PropertySheetW(&header);
    tShowing = outer;
    sheet.window = nullptr;
    // The sheet destroyed the pages it was given, shown or not.
    for (Node* page : pages) {
        page->page = nullptr;
    }
    return ShowResult(shown);
}

void DestroyPages(Node* node) {
    for (Node* page : PagesUnder(node)) {
        DestroyPropertySheetPage(page->page);
        page->page = nullptr;
    }
}

} // namespace
} // namespace moltr::platform::compstui

using namespace moltr::platform::compstui;

extern "C" {

LONG APIENTRY CommonPropertySheetUIW(HWND hWndOwner, PFNPROPSHEETUI pfnPropSheetUI, LPARAM lParam,
                                     LPDWORD pResult) {
    if (!pfnPropSheetUI) {
        return ERR_CPSUI_INVALID_PDATA;
    }
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES |
                                                     ICC_UPDOWN_CLASS | ICC_TAB_CLASSES};
    InitCommonControlsEx(&classes);
    Sheet sheet;
    RegisterSheet(sheet);
    Node& root = sheet.root;
    root.function = pfnPropSheetUI;
    root.info = {sizeof(PROPSHEETUI_INFO),
                 PROPSHEETUI_INFO_VERSION,
                 PSUIINFO_UNICODE,
                 0,
                 HandleOf(&root),
                 ComPropSheet,
                 lParam,
                 0,
                 0};
    root.initialised = true;
    const bool described = CallFunction(&root, PROPSHEETUI_REASON_INIT, lParam) >= 1;
    const LONG result = described ? Show(sheet, hWndOwner) : CPSUI_CANCEL;
    DestroyFunctions(&root, result >= CPSUI_OK);
    DestroyPages(&root);
    if (pResult) {
        *pResult = static_cast<DWORD>(root.info.Result);
    }
    ForgetSheet(sheet);
    return result;
}
}
