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
