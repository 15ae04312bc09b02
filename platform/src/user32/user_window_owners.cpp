// The desktop's top-level windows and their owners: EnumWindows and GetWindowThreadProcessId, over
// the windows of every process of the machine.
#include "src/user32/user_desktop.h"
#include "src/user32/user_objects.h"

#include <windows.h>

using namespace moltr::platform;

namespace {

// This process's own windows by the handles it was given, the others' by their machine-wide ones.
std::vector<HWND> TopLevelHandles() {
    const std::vector<DesktopWindow> published = DesktopWindows();
    if (published.empty()) {
        std::lock_guard guard(UserLock());
        return TopLevelWindows();
    }
    std::vector<HWND> handles;
    for (const DesktopWindow& window : published) {
        handles.push_back(
            reinterpret_cast<HWND>(LocalHandleValue(reinterpret_cast<ULONG_PTR>(window.handle))));
    }
    return handles;
}

} // namespace

extern "C" {

BOOL WINAPI EnumWindows(WNDENUMPROC lpEnumFunc, LPARAM lParam) {
    if (!lpEnumFunc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // Windows destroyed during the enumeration are skipped, those created meanwhile not visited.
    for (HWND window : TopLevelHandles()) {
        if (IsWindow(window) && !lpEnumFunc(window, lParam)) {
            return FALSE;
        }
    }
    return TRUE;
}

DWORD WINAPI GetWindowThreadProcessId(HWND hWnd, LPDWORD lpdwProcessId) {
    DWORD process = GetCurrentProcessId();
    DWORD thread = 0;
    if (IsForeignHandle(hWnd)) {
        const std::optional<DesktopWindow> window = FindDesktopWindow(hWnd);
        process = window ? window->process : 0;
        thread = window ? window->thread : 0;
    } else {
        std::lock_guard guard(UserLock());
        const Window* window = FindWindowObject(hWnd);
        thread = window ? window->thread : 0;
    }
    if (thread == 0) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (lpdwProcessId) {
        *lpdwProcessId = process;
    }
    return thread;
}
}
