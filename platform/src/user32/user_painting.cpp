// The update regions of windows and the calls that change them: InvalidateRect, ValidateRect,
// GetUpdateRect, RedrawWindow, UpdateWindow, BeginPaint and EndPaint.
#include "src/user32/user_painting.h"
#include "src/user32/user_message_queue.h"
#include "src/user32/user_objects.h"

#include <windows.h>
#include <algorithm>
#include <vector>

namespace moltr::platform {
namespace {

bool Empty(const RECT& area) {
    return area.right <= area.left || area.bottom <= area.top;
}

RECT Intersection(const RECT& a, const RECT& b) {
    const RECT both{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                    std::min(a.bottom, b.bottom)};
    return Empty(both) ? RECT{} : both;
}

RECT Union(const RECT& a, const RECT& b) {
    if (Empty(a)) {
        return b;
    }
    if (Empty(b)) {
        return a;
    }
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

// `area` without `taken`, where what is left is a rectangle; else `area` as it is, since a
// union of rectangles may only ever grow too much, never too little.
RECT Without(const RECT& area, const RECT& taken) {
    const RECT common = Intersection(area, taken);
    if (Empty(common)) {
        return area;
    }
    RECT left = area;
    if (common.left == area.left && common.right == area.right) {
        if (common.top == area.top) {
            left.top = common.bottom;
        } else if (common.bottom == area.bottom) {
            left.bottom = common.top;
        }
    } else if (common.top == area.top && common.bottom == area.bottom) {
        if (common.left == area.left) {
            left.left = common.right;
        } else if (common.right == area.right) {
            left.right = common.left;
        }
    }
    return Empty(left) ? RECT{} : left;
}

RECT Offset(const RECT& area, LONG dx, LONG dy) {
    return {area.left + dx, area.top + dy, area.right + dx, area.bottom + dy};
}

RECT ClientArea(const Window& window) {
    const RECT insets = NonClientInsets(window.style, window.exStyle);
    const LONG width = window.rect.right - window.rect.left - insets.left - insets.right;
    const LONG height = window.rect.bottom - window.rect.top - insets.top - insets.bottom;
    return {0, 0, std::max<LONG>(width, 0), std::max<LONG>(height, 0)};
}

// `area` of a parent's client coordinates in those of its child's client area.
RECT InChild(const RECT& area, const Window& child) {
    const RECT insets = NonClientInsets(child.style, child.exStyle);
    return Offset(Intersection(area, child.rect), -(child.rect.left + insets.left),
                  -(child.rect.top + insets.top));
}

// Visible with all its parents.
bool Shown(const Window& window) {
    for (const Window* at = &window; at; at = FindWindowObject(at->parent)) {
        if (!(at->style & WS_VISIBLE)) {
            return false;
        }
    }
    return true;
}

bool Due(const Window& window) {
    return !Empty(window.update.area) || window.update.internal;
}

void Invalidate(Window& window, const RECT& area, bool erase) {
    const RECT clipped = Intersection(area, ClientArea(window));
    if (Empty(clipped)) {
        return;
    }
    window.update.area = Union(window.update.area, clipped);
    window.update.erase = window.update.erase || erase;
    WakeForPaint(window.thread);
}

bool WithChildren(const Window& window, UINT flags) {
    if (flags & RDW_ALLCHILDREN) {
        return true;
    }
    return !(flags & RDW_NOCHILDREN) && !(window.style & WS_CLIPCHILDREN);
}

// Applies RedrawWindow's invalidating and validating flags to `handle` (and its children, as the
// flags and its style say) over `area`, in its client coordinates (null: all of it), and lists
// the windows it reached, parents first.
void Redraw(HWND handle, const RECT* area, UINT flags, std::vector<HWND>& reached) {
    Window* window = FindWindowObject(handle);
    if (!window || window->destroying) {
        return;
    }
    const RECT target = area ? Intersection(*area, ClientArea(*window)) : ClientArea(*window);
    if (flags & RDW_INVALIDATE) {
        Invalidate(*window, target, (flags & RDW_ERASE) != 0);
    }
    if (flags & RDW_INTERNALPAINT) {
        window->update.internal = true;
        WakeForPaint(window->thread);
    }
    if (flags & RDW_VALIDATE) {
        window->update.area = Without(window->update.area, target);
        if (Empty(window->update.area)) {
            window->update.erase = false;
        }
    }
    if (flags & RDW_NOINTERNALPAINT) {
        window->update.internal = false;
    }
    if (flags & RDW_NOERASE) {
        window->update.erase = false;
    }
    reached.push_back(handle);
    if (!WithChildren(*window, flags)) {
        return;
    }
    for (HWND child : std::vector<HWND>(window->children)) {
        const Window* found = FindWindowObject(child);
        if (!found || !(found->style & WS_VISIBLE)) {
            continue;
        }
        const RECT inChild = InChild(target, *found);
        if (!Empty(inChild)) {
            Redraw(child, &inChild, flags, reached);
        }
    }
}

// Sends WM_ERASEBKGND with a DC of the window when its background is due to be erased; true
// when the window erased it.
bool EraseNow(HWND window, HDC given) {
    HDC dc = given ? given : GetDC(window);
    const bool erased = SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) != 0;
    if (!given) {
        ReleaseDC(window, dc);
    }
    return erased;
}

bool ErasePending(HWND handle) {
    std::lock_guard guard(UserLock());
    const Window* window = FindWindowObject(handle);
    return window && window->update.erase && Shown(*window);
}

void ClearErase(HWND handle) {
    std::lock_guard guard(UserLock());
    if (Window* window = FindWindowObject(handle)) {
        window->update.erase = false;
    }
}

bool PaintDue(HWND handle) {
    std::lock_guard guard(UserLock());
    const Window* window = FindWindowObject(handle);
    return window && Shown(*window) && Due(*window);
}

// What RDW_ERASENOW and RDW_UPDATENOW ask for, window by window, without the lock held.
void UpdateNow(const std::vector<HWND>& windows, UINT flags) {
    for (HWND window : windows) {
        if ((flags & RDW_UPDATENOW) && PaintDue(window)) {
            SendMessageW(window, WM_PAINT, 0, 0);
        } else if ((flags & (RDW_UPDATENOW | RDW_ERASENOW)) && ErasePending(window) &&
                   EraseNow(window, nullptr)) {
            ClearErase(window);
        }
    }
}

void InvalidateAll(bool erase) {
    std::vector<HWND> reached;
    std::lock_guard guard(UserLock());
    for (HWND top : std::vector<HWND>(TopLevelWindows())) {
        Redraw(top, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | (erase ? RDW_ERASE : 0), reached);
    }
}

HWND FirstDue(HWND handle, DWORD thread) {
    const Window* window = FindWindowObject(handle);
    if (!window || !(window->style & WS_VISIBLE) || window->destroying) {
        return nullptr;
    }
    if (window->thread == thread && Due(*window)) {
        return handle;
    }
    for (HWND child : window->children) {
        if (HWND found = FirstDue(child, thread)) {
            return found;
        }
    }
    return nullptr;
}

} // namespace

void WindowShown(HWND handle) {
    // Its visible children show with it.
    std::vector<HWND> reached;
    Redraw(handle, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN, reached);
}

void WindowHidden(HWND handle, const RECT& where) {
    const Window* window = FindWindowObject(handle);
    if (!window) {
        return;
    }
    if (Window* parent = FindWindowObject(window->parent)) {
        std::vector<HWND> reached;
        Redraw(window->parent, &where, RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN, reached);
        // The siblings it covered show again.
        for (HWND sibling : std::vector<HWND>(parent->children)) {
            const Window* found = FindWindowObject(sibling);
            if (sibling != handle && found && (found->style & WS_VISIBLE)) {
                const RECT inSibling = InChild(where, *found);
                if (!Empty(inSibling)) {
                    Redraw(sibling, &inSibling, RDW_INVALIDATE | RDW_ERASE, reached);
                }
            }
        }
    }
}

void WindowPlaced(HWND handle, const RECT& before, UINT flags) {
    Window* window = FindWindowObject(handle);
    if (!window || (flags & SWP_NOREDRAW) || !Shown(*window)) {
        return;
    }
    const LONG oldWidth = before.right - before.left;
    const LONG oldHeight = before.bottom - before.top;
    const RECT& now = window->rect;
    const bool moved = now.left != before.left || now.top != before.top;
    const bool sized = now.right - now.left != oldWidth || now.bottom - now.top != oldHeight;
    if (!moved && !sized) {
        return;
    }
    // Where it stood shows its parent again.
    if (window->parent) {
        WindowHidden(handle, before);
    }
    const UINT classStyle = window->windowClass ? window->windowClass->style : 0;
    if (moved && window->parent) {
        // Its pixels are not kept: it paints itself where it stands now.
        Invalidate(*window, ClientArea(*window), true);
    } else if (sized) {
        const RECT client = ClientArea(*window);
        RECT exposed{};
        if ((classStyle & (CS_HREDRAW | CS_VREDRAW)) != 0) {
            exposed = client;
        } else {
            const LONG keptWidth = std::min(oldWidth, now.right - now.left);
            const LONG keptHeight = std::min(oldHeight, now.bottom - now.top);
            // What was not there before: the strips to the right and below.
            if (client.right > keptWidth) {
                exposed = Union(exposed, {keptWidth, 0, client.right, client.bottom});
            }
            if (client.bottom > keptHeight) {
                exposed = Union(exposed, {0, keptHeight, client.right, client.bottom});
            }
        }
        Invalidate(*window, exposed, true);
    }
}

HWND WindowToPaint(DWORD thread, HWND within) {
    if (within) {
        return FirstDue(within, thread);
    }
    for (HWND top : TopLevelWindows()) {
        if (HWND found = FirstDue(top, thread)) {
            return found;
        }
    }
    return nullptr;
}

} // namespace moltr::platform

using namespace moltr::platform;

extern "C" {

BOOL WINAPI RedrawWindow(HWND hWnd, const RECT* lprcUpdate, HRGN hrgnUpdate, UINT flags) {
    RECT area{};
    const RECT* given = lprcUpdate;
    if (hrgnUpdate) {
        GetRgnBox(hrgnUpdate, &area);
        given = &area;
    }
    std::vector<HWND> reached;
    {
        std::lock_guard guard(UserLock());
        if (!hWnd) {
            // The desktop: every window of the process.
            for (HWND top : std::vector<HWND>(TopLevelWindows())) {
                Redraw(top, given, flags | RDW_ALLCHILDREN, reached);
            }
        } else {
            if (!CheckedWindow(hWnd)) {
                return FALSE;
            }
            Redraw(hWnd, given, flags, reached);
        }
    }
    UpdateNow(reached, flags);
    return TRUE;
}

BOOL WINAPI InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase) {
    if (!hWnd) {
        InvalidateAll(true);
        return TRUE;
    }
    return RedrawWindow(hWnd, lpRect, nullptr, RDW_INVALIDATE | (bErase ? RDW_ERASE : 0));
}

BOOL WINAPI ValidateRect(HWND hWnd, const RECT* lpRect) {
    // No window is the desktop, which is painted again with every window on it.
    if (!hWnd) {
        InvalidateAll(true);
        return TRUE;
    }
    return RedrawWindow(hWnd, lpRect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL WINAPI GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL bErase) {
    RECT area{};
    bool erase = false;
    {
        std::lock_guard guard(UserLock());
        const Window* window = CheckedWindow(hWnd);
        if (!window) {
            return FALSE;
        }
        area = window->update.area;
        erase = window->update.erase && Shown(*window);
    }
    if (lpRect) {
        *lpRect = area;
    }
    if (Empty(area)) {
        return FALSE;
    }
    if (bErase && erase && EraseNow(hWnd, nullptr)) {
        ClearErase(hWnd);
    }
    return TRUE;
}

BOOL WINAPI UpdateWindow(HWND hWnd) {
    {
        std::lock_guard guard(UserLock());
        if (!CheckedWindow(hWnd)) {
            return FALSE;
        }
    }
    if (PaintDue(hWnd)) {
        SendMessageW(hWnd, WM_PAINT, 0, 0);
    }
    return TRUE;
}

HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
    UpdateRegion update;
    {
        std::lock_guard guard(UserLock());
        Window* window = CheckedWindow(hWnd);
        if (!window) {
            return nullptr;
        }
        if (!lpPaint) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        // The whole update region is taken now: what is invalidated while erasing or painting
        // is painted the next time.
        update = window->update;
        window->update = {};
    }
    HDC dc = GetDC(hWnd);
    if (!dc) {
        return nullptr;
    }
    IntersectClipRect(dc, update.area.left, update.area.top, update.area.right, update.area.bottom);
    const bool erased = update.erase && EraseNow(hWnd, dc);
    *lpPaint =
        PAINTSTRUCT{dc, update.erase && !erased ? TRUE : FALSE, update.area, FALSE, FALSE, {}};
    return dc;
}

BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint) {
    if (lpPaint && lpPaint->hdc) {
        ReleaseDC(hWnd, lpPaint->hdc);
    }
    return TRUE;
}
}
