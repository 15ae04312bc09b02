// Device contexts for the screen: GetDC, ReleaseDC, CreateCompatibleDC and DeleteDC.
#include "src/gdi32/gdi_objects.h"

#include <windows.h>

using namespace moltr::platform;

extern "C" {

HDC WINAPI GetDC(HWND hWnd) {
    if (hWnd && !IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    auto dc = std::make_shared<DcObject>();
    dc->window = hWnd;
    std::lock_guard guard(GdiLock());
    return InsertDc(std::move(dc));
}

int WINAPI ReleaseDC(HWND hWnd, HDC hDC) {
    std::lock_guard guard(GdiLock());
    const DcObject* dc = FindDc(hDC);
    // Only a DC that GetDC gave for this very window is released.
    if (!dc || dc->memory || dc->window != hWnd) {
        return 0;
    }
    RemoveDc(hDC);
    return 1;
}

HDC WINAPI CreateCompatibleDC(HDC hdc) {
    std::lock_guard guard(GdiLock());
    if (hdc && !FindDc(hdc)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    auto dc = std::make_shared<DcObject>();
    dc->memory = true;
    return InsertDc(std::move(dc));
}

BOOL WINAPI DeleteDC(HDC hdc) {
    std::lock_guard guard(GdiLock());
    const DcObject* dc = FindDc(hdc);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // A DC from GetDC goes back with ReleaseDC.
    if (!dc->memory) {
        return FALSE;
    }
    RemoveDc(hdc);
    return TRUE;
}
}
