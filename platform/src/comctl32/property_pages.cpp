// Property sheet pages: CreatePropertySheetPageW and DestroyPropertySheetPage with the page's
// callback (PSPCB_ADDREF, PSPCB_CREATE, PSPCB_RELEASE) and parent reference count, and the page's
// dialog window, whose procedure answers as a dialog's does: through DWLP_MSGRESULT.
#include "src/comctl32/property_page.h"

#include "src/comctl32/control_classes.h"
#include "src/comctl32/control_paint.h"
#include "src/kernel32/module_table.h"
#include "src/user32/user_objects.h"
#include "sim/utf.h"

#include <commctrl.h>
#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <mutex>
#include <set>

namespace moltr::platform {
namespace {

struct Pages {
    std::mutex lock;
    std::set<HPROPSHEETPAGE> live;
};

Pages& ThePages() {
    static Pages* pages = new Pages;
    return *pages;
}

void CallBack(PROPSHEETPAGEW& description, UINT message) {
    if ((description.dwFlags & PSP_USECALLBACK) && description.pfnCallback) {
        description.pfnCallback(nullptr, message, &description);
    }
}

const BYTE* TemplateBytes(const PROPSHEETPAGEW& description, size_t& size) {
    if (description.dwFlags & PSP_DLGINDIRECT) {
        // A template in memory is read as far as the resource holding it goes, if one does.
        size = std::numeric_limits<size_t>::max();
        ResourceBytesFrom(description.pResource, size);
        return reinterpret_cast<const BYTE*>(description.pResource);
    }
    HRSRC found = FindResourceW(description.hInstance, description.pszTemplate, RT_DIALOG);
    HGLOBAL loaded = found ? LoadResource(description.hInstance, found) : nullptr;
    size = found ? SizeofResource(description.hInstance, found) : 0;
    return loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
}

// Messages whose answer is the procedure's return value itself rather than DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
    return message == WM_INITDIALOG || message == WM_CTLCOLORMSGBOX || message == WM_CTLCOLOREDIT ||
           message == WM_CTLCOLORLISTBOX || message == WM_CTLCOLORBTN ||
           message == WM_CTLCOLORDLG || message == WM_CTLCOLORSCROLLBAR ||
           message == WM_CTLCOLORSTATIC || message == WM_COMPAREITEM || message == WM_VKEYTOITEM ||
           message == WM_CHARTOITEM || message == WM_QUERYDRAGICON;
}

bool CreateControls(HWND page, HINSTANCE instance, const DialogTemplate& parsed) {
    for (const TemplateControl& control : parsed.controls) {
        RECT at = control.units;
        MapDialogRect(page, &at);
        if (!CreateWindowExW(control.exStyle, sim::W(control.className), sim::W(control.text),
                             control.style | WS_CHILD, at.left, at.top, at.right - at.left,
                             at.bottom - at.top, page,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance,
                             nullptr)) {
            return false;
        }
    }
    return true;
}

HWND FirstChild(HWND window) {
    HWND first = nullptr;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM found) -> BOOL {
            *reinterpret_cast<HWND*>(found) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&first));
    return first;
}

// The styles of a dialog template that only a top-level window has.
constexpr DWORD kFrameStyles = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE;

} // namespace

bool IsPropertyPage(HPROPSHEETPAGE page) {
    std::lock_guard guard(ThePages().lock);
    return page && ThePages().live.count(page) != 0;
}

bool PageTemplate(HPROPSHEETPAGE page, DialogTemplate& parsed) {
    size_t size = 0;
    const BYTE* bytes = TemplateBytes(page->Description(), size);
    return bytes && ParseDialogTemplate(bytes, size, parsed);
}

std::u16string TextOrResource(HINSTANCE instance, LPCWSTR text) {
    if (!IS_INTRESOURCE(text)) {
        return std::u16string(sim::View(text));
    }
    const WCHAR* resource = nullptr;
    // A buffer size of 0 gives the resource's own read-only text.
    const int length = LoadStringW(instance, static_cast<UINT>(reinterpret_cast<ULONG_PTR>(text)),
                                   reinterpret_cast<LPWSTR>(&resource), 0);
    return length > 0 && resource ? std::u16string(reinterpret_cast<const char16_t*>(resource),
                                                   static_cast<size_t>(length))
                                  : std::u16string();
}

std::u16string PageCaption(HPROPSHEETPAGE page, const DialogTemplate& parsed) {
    const PROPSHEETPAGEW& description = page->Description();
    if ((description.dwFlags & PSP_USETITLE) && description.pszTitle) {
        return TextOrResource(description.hInstance, description.pszTitle);
    }
    return parsed.caption;
}

HICON PageIcon(HPROPSHEETPAGE page) {
    const PROPSHEETPAGEW& description = page->Description();
    if (description.dwFlags & PSP_USEHICON) {
        return description.hIcon;
    }
    if ((description.dwFlags & PSP_USEICONID) && description.pszIcon) {
        return LoadIconW(description.hInstance, description.pszIcon);
    }
    return nullptr;
}

namespace {

HWND CreatePageInContext(HPROPSHEETPAGE page, HWND sheet, const RECT& at) {
    PROPSHEETPAGEW& description = page->Description();
    if ((description.dwFlags & PSP_USECALLBACK) && description.pfnCallback &&
        !description.pfnCallback(nullptr, PSPCB_CREATE, &description)) {
        return nullptr;
    }
    DialogTemplate parsed;
    if (!description.pfnDlgProc || !PageTemplate(page, parsed)) {
        return nullptr;
    }
    HWND window = CreateWindowExW(parsed.exStyle | WS_EX_CONTROLPARENT, kSheetPageClass,
                                  sim::W(parsed.caption), (parsed.style & ~kFrameStyles) | WS_CHILD,
                                  at.left, at.top, at.right - at.left, at.bottom - at.top, sheet,
                                  nullptr, description.hInstance, nullptr);
    if (!window) {
        return nullptr;
    }
    SetWindowLongPtrW(window, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(description.pfnDlgProc));
    if (!CreateControls(window, description.hInstance, parsed)) {
        DestroyWindow(window);
        return nullptr;
    }
    SendMessageW(window, WM_INITDIALOG, reinterpret_cast<WPARAM>(FirstChild(window)),
                 reinterpret_cast<LPARAM>(&description));
    return window;
}

} // namespace

// A page with its own activation context is made, and gets WM_INITDIALOG, inside it.
HWND CreatePageWindow(HPROPSHEETPAGE page, HWND sheet, const RECT& at) {
    const PROPSHEETPAGEW& description = page->Description();
    ULONG_PTR cookie = 0;
    const bool activated = (description.dwFlags & PSP_USEFUSIONCONTEXT) != 0 &&
                           description.hActCtx != nullptr &&
                           ActivateActCtx(description.hActCtx, &cookie);
    HWND window = CreatePageInContext(page, sheet, at);
    if (activated) {
        DeactivateActCtx(0, cookie);
    }
    return window;
}

LRESULT CALLBACK SheetPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrW(window, DWLP_DLGPROC));
    if (proc) {
        SetWindowLongPtrW(window, DWLP_MSGRESULT, 0);
        const INT_PTR handled = proc(window, message, wParam, lParam);
        if (AnswersDirectly(message)) {
            return handled;
        }
        if (handled) {
            return GetWindowLongPtrW(window, DWLP_MSGRESULT);
        }
    }
    if (PaintMessage(window, message, wParam, [window](HDC dc) {
            RECT client{};
            GetClientRect(window, &client);
            FillArea(dc, client, colours::kFace);
        })) {
        return 0;
    }
    return ControlProc(window, message, wParam, lParam);
}

} // namespace moltr::platform

using namespace moltr::platform;

extern "C" {

HPROPSHEETPAGE WINAPI CreatePropertySheetPageW(LPCPROPSHEETPAGEW constPropSheetPagePointer) {
    if (!constPropSheetPagePointer || constPropSheetPagePointer->dwSize < PROPSHEETPAGEW_V1_SIZE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    RegisterControlClasses(ICC_TAB_CLASSES);
    const size_t size = constPropSheetPagePointer->dwSize;
    auto page = std::make_unique<_PSP>();
    page->bytes.assign(std::max(size, sizeof(PROPSHEETPAGEW)), 0);
    std::memcpy(page->bytes.data(), constPropSheetPagePointer, size);
    PROPSHEETPAGEW& description = page->Description();
    if ((description.dwFlags & PSP_USEREFPARENT) && description.pcRefParent) {
        ++*description.pcRefParent;
    }
    CallBack(description, PSPCB_ADDREF);
    std::lock_guard guard(ThePages().lock);
    ThePages().live.insert(page.get());
    return page.release();
}

BOOL WINAPI DestroyPropertySheetPage(HPROPSHEETPAGE hPSPage) {
    {
        std::lock_guard guard(ThePages().lock);
        if (!hPSPage || !ThePages().live.erase(hPSPage)) {
            return FALSE;
        }
    }
    std::unique_ptr<_PSP> page(hPSPage);
    PROPSHEETPAGEW& description = page->Description();
    CallBack(description, PSPCB_RELEASE);
    if ((description.dwFlags & PSP_USEREFPARENT) && description.pcRefParent) {
        --*description.pcRefParent;
    }
    return TRUE;
}
}
