// Windows and their family: CreateWindowExW, DestroyWindow, IsWindow, GetParent, GetWindow,
// GetDlgItem, GetDlgCtrlID and EnumChildWindows.
#include "src/user32/user_desktop.h"
#include "src/user32/user_message_queue.h"
#include "src/user32/user_objects.h"
#include "src/user32/user_painting.h"
#include "src/user32/user_thread_input.h"
#include "sim/utf.h"

#include <windows.h>
#include <algorithm>

namespace moltr::platform {
namespace {

// The size a top-level window gets for CW_USEDEFAULT.
constexpr LONG kDefaultWidth = 640;
constexpr LONG kDefaultHeight = 480;

HWND RootOf(HWND window) {
    while (const Window* found = FindWindowObject(window)) {
        if (!found->parent) {
            break;
        }
        window = found->parent;
    }
    return window;
}

std::vector<HWND>& SiblingsOf(const Window& window) {
    return window.parent ? FindWindowObject(window.parent)->children : TopLevelWindows();
}

// The window's children and, for a top-level window, the windows it owns.
std::vector<HWND> Dependents(HWND handle, const Window& window) {
    std::vector<HWND> dependents = window.children;
    if (!window.parent) {
        for (HWND top : TopLevelWindows()) {
            if (FindWindowObject(top)->owner == handle) {
                dependents.push_back(top);
            }
        }
    }
    return dependents;
}

// Removes a window whose messages are all sent.
void Unlink(HWND handle) {
    std::lock_guard guard(UserLock());
    Window* window = FindWindowObject(handle);
    if (!window) {
        return;
    }
    auto& siblings = SiblingsOf(*window);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), handle), siblings.end());
    window->windowClass->windows--;
    DropProperties(*window);
    FlushWindowMessages(handle, window->thread);
    if (!window->parent) {
        WithdrawWindow(handle);
    }
    RemoveUserObject(reinterpret_cast<ULONG_PTR>(handle));
}

void AppendDescendants(const Window& window, std::vector<HWND>& list) {
    for (HWND child : window.children) {
        list.push_back(child);
        AppendDescendants(*FindWindowObject(child), list);
    }
}

} // namespace
} // namespace moltr::platform

using namespace moltr::platform;

extern "C" {

HWND WINAPI CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName,
                            DWORD dwStyle, int X, int Y, int nWidth, int nHeight, HWND hWndParent,
                            HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam) {
    EnsureMessageQueue();
    HWND handle = nullptr;
    {
        std::lock_guard guard(UserLock());
        const bool child = (dwStyle & WS_CHILD) != 0;
        if (hWndParent && !CheckedWindow(hWndParent)) {
            return nullptr;
        }
        if (child && !hWndParent) {
            SetLastError(ERROR_TLW_WITH_WSCHILD);
            return nullptr;
        }
        std::shared_ptr<WindowClass> windowClass = FindWindowClass(lpClassName, hInstance);
        if (!windowClass) {
            SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
            return nullptr;
        }
        // A child's "menu" is its id; the simulation has no menus for top-level windows.
        if (!child && hMenu) {
            SetLastError(ERROR_INVALID_MENU_HANDLE);
            return nullptr;
        }
        auto window = std::make_shared<Window>();
        window->windowClass = windowClass;
        window->parent = child ? hWndParent : nullptr;
        window->owner = child ? nullptr : RootOf(hWndParent);
        window->style = dwStyle;
        window->exStyle = dwExStyle;
        window->id = reinterpret_cast<LONG_PTR>(hMenu);
        window->instance = hInstance;
        window->proc = windowClass->proc;
        window->extra.assign(static_cast<size_t>(windowClass->windowExtra), 0);
        window->thread = GetCurrentThreadId();
        if (X == CW_USEDEFAULT) {
            X = 0;
            Y = 0;
        }
        if (nWidth == CW_USEDEFAULT) {
            nWidth = child ? 0 : kDefaultWidth;
            nHeight = child ? 0 : kDefaultHeight;
        }
        window->rect = {X, Y, static_cast<LONG>(X + std::max(nWidth, 0)),
                        static_cast<LONG>(Y + std::max(nHeight, 0))};
        handle = reinterpret_cast<HWND>(InsertUserObject(window));
        if (!handle) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        SiblingsOf(*window).push_back(handle);
        windowClass->windows++;
        PublishState(handle, *window);
    }
    CREATESTRUCTW create{lpParam,
                         hInstance,
                         hMenu,
                         hWndParent,
                         nHeight,
                         nWidth,
                         Y,
                         X,
                         static_cast<LONG>(dwStyle),
                         lpWindowName,
                         lpClassName,
                         dwExStyle};
    const auto createParam = reinterpret_cast<LPARAM>(&create);
    if (!SendMessageW(handle, WM_NCCREATE, 0, createParam)) {
        SendMessageW(handle, WM_NCDESTROY, 0, 0);
        Unlink(handle);
        return nullptr;
    }
    if (SendMessageW(handle, WM_CREATE, 0, createParam) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    std::lock_guard guard(UserLock());
    if (const Window* window = FindWindowObject(handle); window && (window->style & WS_VISIBLE)) {
        WindowShown(handle);
    }
    return handle;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
    std::vector<HWND> dependents;
    HWND parent = nullptr;
    {
        std::lock_guard guard(UserLock());
        Window* window = CheckedWindow(hWnd);
        if (!window) {
            return FALSE;
        }
        // Destroying it again from one of its own destruction messages has nothing left to do.
        if (window->destroying) {
            return TRUE;
        }
        window->destroying = true;
        parent = window->parent;
    }
    // The focus inside a destroyed child goes back to its parent; a destroyed top-level window
    // leaves its queue with no focus and no active window.
    RevertFocus(hWnd, parent);
    ForgetActiveWindow(hWnd);
    SendMessageW(hWnd, WM_DESTROY, 0, 0);
    {
        std::lock_guard guard(UserLock());
        dependents = Dependents(hWnd, *FindWindowObject(hWnd));
    }
    for (HWND dependent : dependents) {
        if (IsWindow(dependent)) {
            DestroyWindow(dependent);
        }
    }
    SendMessageW(hWnd, WM_NCDESTROY, 0, 0);
    Unlink(hWnd);
    return TRUE;
}

BOOL WINAPI IsWindow(HWND hWnd) {
    if (IsForeignHandle(hWnd)) {
        return FindDesktopWindow(hWnd) ? TRUE : FALSE;
    }
    std::lock_guard guard(UserLock());
    return FindWindowObject(hWnd) ? TRUE : FALSE;
}

HWND WINAPI GetParent(HWND hWnd) {
    std::lock_guard guard(UserLock());
    const Window* window = CheckedWindow(hWnd);
    if (!window) {
        return nullptr;
    }
    if (window->parent) {
        return window->parent;
    }
    // Of top-level windows, only pop-ups name their owner.
    return (window->style & WS_POPUP) ? window->owner : nullptr;
}

HWND WINAPI GetWindow(HWND hWnd, UINT uCmd) {
    std::lock_guard guard(UserLock());
    const Window* window = CheckedWindow(hWnd);
    if (!window) {
        return nullptr;
    }
    if (uCmd == GW_CHILD) {
        return window->children.empty() ? nullptr : window->children.front();
    }
    if (uCmd == GW_OWNER) {
        return window->parent ? nullptr : window->owner;
    }
    if (uCmd > GW_HWNDPREV) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // The siblings in Z order, the top one first.
    const std::vector<HWND>& siblings = SiblingsOf(*window);
    const auto at = std::find(siblings.begin(), siblings.end(), hWnd);
    switch (uCmd) {
    case GW_HWNDFIRST:
        return siblings.front();
    case GW_HWNDLAST:
        return siblings.back();
    case GW_HWNDNEXT:
        return at + 1 == siblings.end() ? nullptr : *(at + 1);
    default:
        return at == siblings.begin() ? nullptr : *(at - 1);
    }
}

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
    std::lock_guard guard(UserLock());
    const Window* dialog = CheckedWindow(hDlg);
    if (!dialog) {
        return nullptr;
    }
    for (HWND child : dialog->children) {
        if (static_cast<int>(FindWindowObject(child)->id) == nIDDlgItem) {
            return child;
        }
    }
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

int WINAPI GetDlgCtrlID(HWND hWnd) {
    std::lock_guard guard(UserLock());
    const Window* window = CheckedWindow(hWnd);
    return window ? static_cast<int>(window->id) : 0;
}

BOOL WINAPI EnumChildWindows(HWND hWndParent, WNDENUMPROC lpEnumFunc, LPARAM lParam) {
    std::vector<HWND> list;
    {
        std::lock_guard guard(UserLock());
        if (hWndParent) {
            const Window* parent = CheckedWindow(hWndParent);
            if (!parent) {
                return FALSE;
            }
            AppendDescendants(*parent, list);
        } else {
            // No parent: the top-level windows.
            list = TopLevelWindows();
        }
    }
    if (!lpEnumFunc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (list.empty()) {
        return FALSE;
    }
    // Windows destroyed during the enumeration are skipped, those created meanwhile not visited.
    for (HWND window : list) {
        if (IsWindow(window) && !lpEnumFunc(window, lParam)) {
            break;
        }
    }
    return TRUE;
}
}
