// Window positions and sizes: MoveWindow, SetWindowPos, GetWindowRect and GetClientRect.
#include "src/user32/user_objects.h"
#include "src/user32/user_painting.h"

#include <windows.h>
#include <algorithm>

namespace moltr::platform {
namespace {

// The simulated desktop's frame and caption sizes, in pixels.
constexpr LONG kBorder = 1;      // WS_BORDER
constexpr LONG kDialogFrame = 3; // WS_DLGFRAME
constexpr LONG kSizingFrame = 4; // WS_THICKFRAME
constexpr LONG kClientEdge = 2;  // WS_EX_CLIENTEDGE
constexpr LONG kStaticEdge = 1;  // WS_EX_STATICEDGE
constexpr LONG kCaption = 22;    // WS_CAPTION

// The screen position of a window's client area.
POINT ClientOrigin(const Window& window) {
    POINT origin{window.rect.left, window.rect.top};
    if (window.parent) {
        const POINT parentOrigin = ClientOrigin(*FindWindowObject(window.parent));
        origin.x += parentOrigin.x;
        origin.y += parentOrigin.y;
    }
    const RECT insets = NonClientInsets(window.style, window.exStyle);
    return {origin.x + insets.left, origin.y + insets.top};
}

// Moves a window in its siblings' Z order; false when `after` is no sibling.
bool Reorder(HWND handle, const Window& window, HWND after) {
    auto& siblings = window.parent ? FindWindowObject(window.parent)->children : TopLevelWindows();
    std::vector<HWND> others;
    std::copy_if(siblings.begin(), siblings.end(), std::back_inserter(others),
                 [handle](HWND sibling) { return sibling != handle; });
    auto at = others.end();
    if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
        at = others.begin();
    } else if (after != HWND_BOTTOM) {
        at = std::find(others.begin(), others.end(), after);
        if (at == others.end()) {
            return false;
        }
        ++at;
    }
    others.insert(at, handle);
    siblings = std::move(others);
    return true;
}

} // namespace

RECT NonClientInsets(DWORD style, DWORD exStyle) {
    LONG edge = 0;
    if (style & WS_THICKFRAME) {
        edge = kSizingFrame;
    } else if (style & WS_DLGFRAME) {
        edge = kDialogFrame;
    } else if (style & WS_BORDER) {
        edge = kBorder;
    }
    edge += (exStyle & WS_EX_CLIENTEDGE) ? kClientEdge : 0;
    edge += (exStyle & WS_EX_STATICEDGE) ? kStaticEdge : 0;
    const LONG caption = (style & WS_CAPTION) == WS_CAPTION ? kCaption : 0;
    return {edge, edge + caption, edge, edge};
}

} // namespace moltr::platform

using namespace moltr::platform;

extern "C" {

BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy,
                         UINT uFlags) {
    std::lock_guard guard(UserLock());
    Window* window = CheckedWindow(hWnd);
    if (!window) {
        return FALSE;
    }
    const bool special = hWndInsertAfter == HWND_TOP || hWndInsertAfter == HWND_BOTTOM ||
                         hWndInsertAfter == HWND_TOPMOST || hWndInsertAfter == HWND_NOTOPMOST;
    if (!(uFlags & SWP_NOZORDER) && !special && !CheckedWindow(hWndInsertAfter)) {
        return FALSE;
    }
    if (!(uFlags & SWP_NOZORDER) && hWndInsertAfter != hWnd &&
        !Reorder(hWnd, *window, hWndInsertAfter)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const RECT before = window->rect;
    const bool wasVisible = (window->style & WS_VISIBLE) != 0;
    RECT& rect = window->rect;
    if (!(uFlags & SWP_NOSIZE)) {
        rect.right = rect.left + std::max(cx, 0);
        rect.bottom = rect.top + std::max(cy, 0);
    }
    if (!(uFlags & SWP_NOMOVE)) {
        const LONG width = rect.right - rect.left;
        const LONG height = rect.bottom - rect.top;
        rect = {X, Y, X + width, Y + height};
    }
    if (uFlags & SWP_SHOWWINDOW) {
        window->style |= WS_VISIBLE;
    } else if (uFlags & SWP_HIDEWINDOW) {
        window->style &= ~WS_VISIBLE;
    }
    if (wasVisible && !(window->style & WS_VISIBLE)) {
        WindowHidden(hWnd, before);
    } else if (!wasVisible && (window->style & WS_VISIBLE)) {
        WindowShown(hWnd);
    } else {
        WindowPlaced(hWnd, before, uFlags);
    }
    return TRUE;
}

BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL) {
    return SetWindowPos(hWnd, nullptr, X, Y, nWidth, nHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
    std::lock_guard guard(UserLock());
    const Window* window = CheckedWindow(hWnd);
    if (!window) {
        return FALSE;
    }
    if (!lpRect) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    POINT origin{window->rect.left, window->rect.top};
    if (window->parent) {
        const POINT parentOrigin = ClientOrigin(*FindWindowObject(window->parent));
        origin = {origin.x + parentOrigin.x, origin.y + parentOrigin.y};
    }
    *lpRect = {origin.x, origin.y, origin.x + window->rect.right - window->rect.left,
               origin.y + window->rect.bottom - window->rect.top};
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
    std::lock_guard guard(UserLock());
    const Window* window = CheckedWindow(hWnd);
    if (!window) {
        return FALSE;
    }
    if (!lpRect) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    const RECT insets = NonClientInsets(window->style, window->exStyle);
    const LONG width = window->rect.right - window->rect.left - insets.left - insets.right;
    const LONG height = window->rect.bottom - window->rect.top - insets.top - insets.bottom;
    *lpRect = {0, 0, std::max<LONG>(width, 0), std::max<LONG>(height, 0)};
    return TRUE;
}
}
