// Dialogs made from templates: CreateDialogIndirectParamW and CreateDialogParamW, and the making
// that modal dialogs share. In order: the dialog window (its template size is its client area),
// WM_SETFONT with the template's font, each control given that font too, WM_INITDIALOG with the
// first tab stop, whose focus the procedure's TRUE asks for (not for a hidden child dialog, which
// must not take the focus from the window it sits in), and the window shown when the template says
// so. A DS_CONTROL dialog is a child window without frame that its parent's keyboard interface
// reaches into.
#include "src/kernel32/module_table.h"
#include "src/user32/user_dialog_manager.h"
#include "src/user32/user_dialog_template.h"
#include "src/user32/user_objects.h"
#include "sim/utf.h"

#include <windows.h>
#include <algorithm>
#include <limits>

namespace moltr::platform {
namespace {

HFONT CreateTemplateFont(const TemplateFont& font) {
    LOGFONTW description{};
    HDC screen = GetDC(nullptr);
    description.lfHeight = -MulDiv(font.pointSize, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    description.lfWeight = font.weight;
    description.lfItalic = font.italic;
    description.lfCharSet = font.charSet;
    const size_t length = std::min<size_t>(font.face.size(), LF_FACESIZE - 1);
    std::copy_n(font.face.data(), length, reinterpret_cast<char16_t*>(description.lfFaceName));
    return CreateFontIndirectW(&description);
}

// The template's styles as the dialog window gets them.
void WindowStyles(const DialogTemplate& parsed, DWORD& style, DWORD& exStyle) {
    style = parsed.style & ~WS_VISIBLE;
    exStyle = parsed.exStyle;
    if (parsed.style & DS_CONTROL) {
        style = (style & ~(WS_CAPTION | WS_SYSMENU | WS_POPUP)) | WS_CHILD;
        exStyle |= WS_EX_CONTROLPARENT;
    }
    if (parsed.style & DS_MODALFRAME) {
        exStyle |= WS_EX_DLGMODALFRAME;
    }
}

// The top-level window a dialog with this parent belongs to.
HWND RootOf(HWND window) {
    while (window && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) {
        window = GetParent(window);
    }
    return window;
}

LPCWSTR ClassOf(const DialogTemplate& parsed) {
    if (!parsed.className.empty()) {
        return sim::W(parsed.className);
    }
    return parsed.classOrdinal ? MAKEINTRESOURCEW(parsed.classOrdinal) : WC_DIALOG;
}

HWND CreateFrame(HINSTANCE instance, const DialogTemplate& parsed, HWND parent, DLGPROC proc,
                 HFONT font) {
    DWORD style = 0;
    DWORD exStyle = 0;
    WindowStyles(parsed, style, exStyle);
    HWND owner = (style & WS_CHILD) ? parent : RootOf(parent);
    HWND dialog = CreateWindowExW(exStyle, ClassOf(parsed), sim::W(parsed.caption), style, 0, 0, 0,
                                  0, owner, nullptr, instance, nullptr);
    if (!dialog) {
        return nullptr;
    }
    SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
    if (font) {
        // The dialog keeps its font, whatever its procedure does with WM_SETFONT; the font sets
        // its dialog units.
        std::lock_guard guard(UserLock());
        Window* window = FindWindowObject(dialog);
        window->font = font;
        window->dialog.ownsFont = true;
    }
    SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    RECT client = parsed.units;
    MapDialogRect(dialog, &client);
    const RECT insets = NonClientInsets(style, exStyle);
    MoveWindow(dialog, client.left, client.top,
               client.right - client.left + insets.left + insets.right,
               client.bottom - client.top + insets.top + insets.bottom, FALSE);
    return dialog;
}

bool CreateControls(HINSTANCE instance, const DialogTemplate& parsed, HWND dialog, HFONT font) {
    for (const TemplateControl& control : parsed.controls) {
        RECT at = control.units;
        MapDialogRect(dialog, &at);
        HWND made = CreateWindowExW(
            control.exStyle | WS_EX_NOPARENTNOTIFY, sim::W(control.className), sim::W(control.text),
            control.style | WS_CHILD, at.left, at.top, at.right - at.left, at.bottom - at.top,
            dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance, nullptr);
        if (!made) {
            return false;
        }
        if (font) {
            SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
    }
    return true;
}

} // namespace

HWND CreateDialogFromTemplate(HINSTANCE instance, const BYTE* data, size_t size, HWND parent,
                              DLGPROC proc, LPARAM parameter, bool modal) {
    DialogTemplate parsed;
    if (!data || !ParseDialogTemplate(data, size, parsed)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (parent && !IsWindow(parent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    HFONT font = (parsed.style & DS_SETFONT) ? CreateTemplateFont(parsed.font) : nullptr;
    HWND dialog = CreateFrame(instance, parsed, parent, proc, font);
    if (!dialog) {
        DeleteObject(font);
        return nullptr;
    }
    if (!CreateControls(instance, parsed, dialog, font)) {
        DestroyWindow(dialog);
        return nullptr;
    }
    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    const bool hiddenChild = (parsed.style & DS_CONTROL) && !(parsed.style & WS_VISIBLE);
    if (SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), parameter) &&
        IsWindow(dialog) && first && IsWindow(first) && !hiddenChild) {
        FocusDialogControl(dialog, first);
    }
    if (IsWindow(dialog) && !modal && (parsed.style & WS_VISIBLE)) {
        ShowWindow(dialog, SW_SHOWNORMAL);
    }
    return IsWindow(dialog) ? dialog : nullptr;
}

const BYTE* DialogResource(HINSTANCE instance, LPCWSTR name, size_t& size) {
    HRSRC found = FindResourceW(instance, name, RT_DIALOG);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    size = found ? SizeofResource(instance, found) : 0;
    return loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
}

} // namespace moltr::platform

using namespace moltr::platform;

namespace {

// A template in memory is read as far as the resource holding it goes, if one does.
size_t TemplateSize(const void* dialogTemplate) {
    size_t size = std::numeric_limits<size_t>::max();
    ResourceBytesFrom(dialogTemplate, size);
    return size;
}

} // namespace

extern "C" {

HWND WINAPI CreateDialogIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATEW lpTemplate,
                                       HWND hWndParent, DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    return CreateDialogFromTemplate(hInstance, reinterpret_cast<const BYTE*>(lpTemplate),
                                    TemplateSize(lpTemplate), hWndParent, lpDialogFunc, dwInitParam,
                                    false);
}

HWND WINAPI CreateDialogParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent,
                               DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    size_t size = 0;
    const BYTE* data = DialogResource(hInstance, lpTemplateName, size);
    if (!data) {
        return nullptr;
    }
    return CreateDialogFromTemplate(hInstance, data, size, hWndParent, lpDialogFunc, dwInitParam,
                                    false);
}
}
