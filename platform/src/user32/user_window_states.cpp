// Visible and enabled states: ShowWindow, IsWindowVisible, EnableWindow and IsWindowEnabled.
#include "src/user32/user_objects.h"

#include <windows.h>

using namespace moltr::platform;

extern "C" {

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    std::lock_guard guard(UserLock());
    Window* window = CheckedWindow(hWnd);
    if (!window) {
        return FALSE;
    }
    if (nCmdShow < SW_HIDE || nCmdShow > SW_MAX) {
        SetLastError(ERROR_INVALID_SHOWWIN_COMMAND);
        return FALSE;
    }
    const BOOL wasVisible = (window->style & WS_VISIBLE) ? TRUE : FALSE;
    if (nCmdShow == SW_HIDE) {
        window->style &= ~WS_VISIBLE;
    } else {
        window->style |= WS_VISIBLE;
    }
    return wasVisible;
}

BOOL WINAPI IsWindowVisible(HWND hWnd) {
    std::lock_guard guard(UserLock());
    // Visible only when every parent up to the top-level window is.
    for (const Window* window = FindWindowObject(hWnd); window;
         window = FindWindowObject(window->parent)) {
        if (!(window->style & WS_VISIBLE)) {
            return FALSE;
        }
        if (!window->parent) {
            return TRUE;
        }
    }
    return FALSE;
}

BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
    std::lock_guard guard(UserLock());
    Window* window = CheckedWindow(hWnd);
    if (!window) {
        return FALSE;
    }
    const BOOL wasDisabled = (window->style & WS_DISABLED) ? TRUE : FALSE;
    if (bEnable) {
        window->style &= ~WS_DISABLED;
    } else {
        window->style |= WS_DISABLED;
    }
    return wasDisabled;
}

BOOL WINAPI IsWindowEnabled(HWND hWnd) {
    std::lock_guard guard(UserLock());
    const Window* window = CheckedWindow(hWnd);
    return window && !(window->style & WS_DISABLED) ? TRUE : FALSE;
}
}
