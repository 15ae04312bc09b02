// Visible and enabled states: ShowWindow, IsWindowVisible, EnableWindow and IsWindowEnabled. A
// window hidden or disabled loses the focus it or its children had.
// Another process's top-level window answers from its record on the desktop.
#include "src/user32/user_desktop.h"
#include "src/user32/user_objects.h"
#include "src/user32/user_painting.h"
#include "src/user32/user_thread_input.h"

#include <windows.h>

using namespace moltr::platform;

namespace {

std::optional<DWORD> ForeignStyle(HWND handle) {
    const std::optional<DesktopWindow> window = FindDesktopWindow(handle);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return std::nullopt;
    }
    return window->style;
}

BOOL EnableForeign(HWND handle, BOOL enable) {
    const std::optional<DWORD> style = ForeignStyle(handle);
    if (!style) {
        return FALSE;
    }
    StoreDesktopStyle(handle, enable ? *style & ~WS_DISABLED : *style | WS_DISABLED);
    return (*style & WS_DISABLED) ? TRUE : FALSE;
}

} // namespace

extern "C" {

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    BOOL wasVisible = FALSE;
    HWND parent = nullptr;
    {
        std::lock_guard guard(UserLock());
        Window* window = CheckedWindow(hWnd);
        if (!window) {
            return FALSE;
        }
        if (nCmdShow < SW_HIDE || nCmdShow > SW_MAX) {
            SetLastError(ERROR_INVALID_SHOWWIN_COMMAND);
            return FALSE;
        }
        wasVisible = (window->style & WS_VISIBLE) ? TRUE : FALSE;
        if (nCmdShow == SW_HIDE) {
            window->style &= ~WS_VISIBLE;
            if (wasVisible) {
                WindowHidden(hWnd, window->rect);
            }
        } else {
            window->style |= WS_VISIBLE;
            if (!wasVisible) {
                WindowShown(hWnd);
            }
        }
        parent = window->parent;
        PublishState(hWnd, *window);
    }
    // A hidden child hands the focus back to its parent.
    if (nCmdShow == SW_HIDE) {
        RevertFocus(hWnd, parent);
    }
    return wasVisible;
}

BOOL WINAPI IsWindowVisible(HWND hWnd) {
    if (IsForeignHandle(hWnd)) {
        const std::optional<DWORD> style = ForeignStyle(hWnd);
        return style && (*style & WS_VISIBLE) ? TRUE : FALSE;
    }
    std::lock_guard guard(UserLock());
    // Visible only when every parent up to the top-level window is.
    for (const Window* window = CheckedWindow(hWnd); window;
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
    if (IsForeignHandle(hWnd)) {
        return EnableForeign(hWnd, bEnable);
    }
    BOOL wasDisabled = FALSE;
    {
        std::lock_guard guard(UserLock());
        Window* window = CheckedWindow(hWnd);
        if (!window) {
            return FALSE;
        }
        wasDisabled = (window->style & WS_DISABLED) ? TRUE : FALSE;
        if (bEnable) {
            window->style &= ~WS_DISABLED;
        } else {
            window->style |= WS_DISABLED;
        }
        PublishState(hWnd, *window);
    }
    // A disabled window cannot have the focus.
    if (!bEnable) {
        RevertFocus(hWnd, nullptr);
    }
    // Disabled and now enabled, or the other way round.
    if ((wasDisabled != FALSE) == (bEnable != FALSE)) {
        SendMessageW(hWnd, WM_ENABLE, bEnable ? TRUE : FALSE, 0);
    }
    return wasDisabled;
}

BOOL WINAPI IsWindowEnabled(HWND hWnd) {
    if (IsForeignHandle(hWnd)) {
        const std::optional<DWORD> style = ForeignStyle(hWnd);
        return style && !(*style & WS_DISABLED) ? TRUE : FALSE;
    }
    std::lock_guard guard(UserLock());
    const Window* window = CheckedWindow(hWnd);
    return window && !(window->style & WS_DISABLED) ? TRUE : FALSE;
}
}
