// The values of a window: GetWindowLongW, SetWindowLongW, GetWindowLongPtrW and
// SetWindowLongPtrW, with the window procedure that subclassing replaces, and CallWindowProcW.
#include "src/user32/user_desktop.h"
#include "src/user32/user_objects.h"

#include <windows.h>
#include <cstring>

namespace moltr::platform {
namespace {

// One value of a window, read and written as LONG_PTR; the 32-bit calls truncate it.
LONG_PTR* Field(Window& window, int index) {
    switch (index) {
    case GWLP_USERDATA:
        return &window.userData;
    case GWLP_ID:
        return &window.id;
    default:
        return nullptr;
    }
}

// Another process's window: its style is all that the desktop knows of it, and only its owner
// changes it.
bool AccessForeign(HWND handle, int index, const LONG_PTR* newValue, LONG_PTR& previous) {
    const std::optional<DesktopWindow> window = FindDesktopWindow(handle);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    if (index != GWL_STYLE || newValue) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    previous = static_cast<LONG>(window->style);
    return true;
}

// Reads (or, with `newValue`, replaces) the value at `index` of `size` bytes; returns the previous
// one. False with ERROR_INVALID_INDEX set for an index the window has no value at.
bool Access(HWND handle, int index, size_t size, const LONG_PTR* newValue, LONG_PTR& previous) {
    if (IsForeignHandle(handle)) {
        return AccessForeign(handle, index, newValue, previous);
    }
    std::lock_guard guard(UserLock());
    Window* window = CheckedWindow(handle);
    if (!window) {
        return false;
    }
    const bool wide = size == sizeof(LONG_PTR);
    if (index >= 0) {
        // The window's extra bytes, at any offset that holds the whole value.
        if (static_cast<size_t>(index) + size > window->extra.size()) {
            SetLastError(ERROR_INVALID_INDEX);
            return false;
        }
        BYTE* at = window->extra.data() + index;
        if (wide) {
            std::memcpy(&previous, at, size);
        } else {
            LONG value;
            std::memcpy(&value, at, size);
            previous = value;
        }
        if (newValue) {
            const LONG narrow = static_cast<LONG>(*newValue);
            std::memcpy(at, wide ? static_cast<const void*>(newValue) : &narrow, size);
        }
        return true;
    }
    DWORD* styleField = index == GWL_STYLE     ? &window->style
                        : index == GWL_EXSTYLE ? &window->exStyle
                                               : nullptr;
    if (styleField) {
        previous = static_cast<LONG>(*styleField);
        if (newValue) {
            *styleField = static_cast<DWORD>(*newValue);
            PublishState(handle, *window);
        }
        return true;
    }
    // Pointers are read and written in full only: the 32-bit calls of 64-bit Windows refuse them.
    if (wide && index == GWLP_WNDPROC) {
        // Subclassing: the window's messages go to the new procedure, which passes them on to the
        // one returned here through CallWindowProcW.
        if (newValue && !*newValue) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return false;
        }
        previous = reinterpret_cast<LONG_PTR>(window->proc);
        if (newValue) {
            window->proc = reinterpret_cast<WNDPROC>(*newValue);
        }
        return true;
    }
    if (wide && (index == GWLP_HINSTANCE || index == GWLP_HWNDPARENT)) {
        HINSTANCE* instance = &window->instance;
        HWND* parent = window->parent ? &window->parent : &window->owner;
        previous = index == GWLP_HINSTANCE ? reinterpret_cast<LONG_PTR>(*instance)
                                           : reinterpret_cast<LONG_PTR>(*parent);
        if (newValue && index == GWLP_HINSTANCE) {
            *instance = reinterpret_cast<HINSTANCE>(*newValue);
        } else if (newValue && !window->parent) {
            // For a top-level window the value is its owner.
            window->owner = reinterpret_cast<HWND>(*newValue);
        }
        return true;
    }
    LONG_PTR* field = Field(*window, index);
    if (!field) {
        SetLastError(ERROR_INVALID_INDEX);
        return false;
    }
    previous = wide ? *field : static_cast<LONG>(*field);
    if (newValue) {
        *field = wide ? *newValue : static_cast<LONG>(*newValue);
    }
    return true;
}

} // namespace
} // namespace moltr::platform

using namespace moltr::platform;

extern "C" {

LONG WINAPI GetWindowLongW(HWND hWnd, int nIndex) {
    LONG_PTR value = 0;
    return Access(hWnd, nIndex, sizeof(LONG), nullptr, value) ? static_cast<LONG>(value) : 0;
}

LONG WINAPI SetWindowLongW(HWND hWnd, int nIndex, LONG dwNewLong) {
    LONG_PTR value = dwNewLong;
    LONG_PTR previous = 0;
    return Access(hWnd, nIndex, sizeof(LONG), &value, previous) ? static_cast<LONG>(previous) : 0;
}

LONG_PTR WINAPI GetWindowLongPtrW(HWND hWnd, int nIndex) {
    LONG_PTR value = 0;
    return Access(hWnd, nIndex, sizeof(LONG_PTR), nullptr, value) ? value : 0;
}

LONG_PTR WINAPI SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
    LONG_PTR previous = 0;
    return Access(hWnd, nIndex, sizeof(LONG_PTR), &dwNewLong, previous) ? previous : 0;
}

LRESULT WINAPI CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam,
                               LPARAM lParam) {
    return lpPrevWndFunc ? lpPrevWndFunc(hWnd, Msg, wParam, lParam) : 0;
}
}
