// Messages and window texts: SendMessageW, DefWindowProcW, the standard controls' procedure,
// SetWindowTextW, GetWindowTextW and GetWindowTextLengthW.
#include "src/user32/user_objects.h"
#include "sim/utf.h"

#include <windows.h>
#include <algorithm>
#include <cstring>

namespace moltr::platform {
namespace {

void SetText(HWND handle, LPCWSTR text) {
    std::lock_guard guard(UserLock());
    if (Window* window = FindWindowObject(handle)) {
        window->text = sim::View(text);
    }
}

// The brush of a window's class background: a brush, or a COLOR_ index plus one.
HBRUSH ClassBackground(HWND handle) {
    std::lock_guard guard(UserLock());
    const Window* window = FindWindowObject(handle);
    if (!window || !window->windowClass) {
        return nullptr;
    }
    HBRUSH brush = window->windowClass->background;
    const auto value = reinterpret_cast<ULONG_PTR>(brush);
    return value && value <= COLOR_MENUBAR + 1 ? GetSysColorBrush(static_cast<int>(value - 1))
                                               : brush;
}

LRESULT EraseBackground(HWND window, HDC dc) {
    HBRUSH brush = ClassBackground(window);
    RECT client{};
    if (!brush || !GetClientRect(window, &client)) {
        return 0;
    }
    return FillRect(dc, &client, brush) ? 1 : 0;
}

LRESULT Paint(HWND window) {
    PAINTSTRUCT paint;
    if (BeginPaint(window, &paint)) {
        EndPaint(window, &paint);
    }
    return 0;
}

// The colours a control of `message`'s kind paints with when its parent chooses none: the window
// colours for edits and list boxes, the face colours for the others.
LRESULT ControlColours(UINT message, HDC dc) {
    const bool window = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
    const int background = message == WM_CTLCOLORSCROLLBAR ? COLOR_SCROLLBAR
                           : window                        ? COLOR_WINDOW
                                                           : COLOR_3DFACE;
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(background));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
}

} // namespace

LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETFONT: {
        std::lock_guard guard(UserLock());
        if (Window* found = FindWindowObject(window)) {
            found->font = reinterpret_cast<HFONT>(wParam);
        }
        return 0;
    }
    case WM_GETFONT: {
        std::lock_guard guard(UserLock());
        const Window* found = FindWindowObject(window);
        return found ? reinterpret_cast<LRESULT>(found->font) : 0;
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace moltr::platform

using namespace moltr::platform;

extern "C" {

LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    WNDPROC proc = nullptr;
    {
        std::lock_guard guard(UserLock());
        const Window* window = CheckedWindow(hWnd);
        if (!window) {
            return 0;
        }
        proc = window->proc;
    }
    return proc(hWnd, Msg, wParam, lParam);
}

LRESULT WINAPI DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    switch (Msg) {
    case WM_NCCREATE: {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (create && create->lpszName && !IS_INTRESOURCE(create->lpszName)) {
            SetText(hWnd, create->lpszName);
        }
        return TRUE;
    }
    case WM_SETTEXT:
        SetText(hWnd, reinterpret_cast<LPCWSTR>(lParam));
        return TRUE;
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<WCHAR*>(lParam);
        if (!buffer || wParam == 0) {
            return 0;
        }
        std::lock_guard guard(UserLock());
        const Window* window = FindWindowObject(hWnd);
        const size_t length =
            window ? std::min<size_t>(window->text.size(), static_cast<size_t>(wParam - 1)) : 0;
        if (length) {
            std::memcpy(buffer, window->text.data(), length * sizeof(WCHAR));
        }
        buffer[length] = 0;
        return static_cast<LRESULT>(length);
    }
    case WM_ACTIVATE:
        // An activated window that is not minimised takes the focus.
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) {
            SetFocus(hWnd);
        }
        return 0;
    case WM_GETTEXTLENGTH: {
        std::lock_guard guard(UserLock());
        const Window* window = FindWindowObject(hWnd);
        return window ? static_cast<LRESULT>(window->text.size()) : 0;
    }
    case WM_ERASEBKGND:
        return EraseBackground(hWnd, reinterpret_cast<HDC>(wParam));
    case WM_PAINT:
        return Paint(hWnd);
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return ControlColours(Msg, reinterpret_cast<HDC>(wParam));
    case WM_ENABLE:
        // A window looks different enabled and disabled.
        InvalidateRect(hWnd, nullptr, TRUE);
        return 0;
    default:
        return 0;
    }
}

BOOL WINAPI SetWindowTextW(HWND hWnd, LPCWSTR lpString) {
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return SendMessageW(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) ? TRUE : FALSE;
}

int WINAPI GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount) {
    if (lpString && nMaxCount > 0) {
        lpString[0] = 0;
    }
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (!lpString || nMaxCount <= 0) {
        return 0;
    }
    return static_cast<int>(SendMessageW(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount),
                                         reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextLengthW(HWND hWnd) {
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return static_cast<int>(SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0));
}
}
