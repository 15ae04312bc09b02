// The drawing state of a DC: colours, background mode, text alignment, current position, and
// SaveDC/RestoreDC.
#include "src/gdi32/gdi_objects.h"

#include <windows.h>

using namespace moltr::platform;

namespace {

// Runs `change` on the DC's state under the lock; `failure` for a handle that is no DC.
template <class Result, class Change> Result WithState(HDC hdc, Result failure, Change change) {
    std::lock_guard guard(GdiLock());
    DcObject* dc = FindDc(hdc);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return failure;
    }
    return change(dc->state);
}

template <class T> T Exchange(T& slot, T value) {
    const T previous = slot;
    slot = value;
    return previous;
}

} // namespace

extern "C" {

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
    return WithState(hdc, CLR_INVALID,
                     [&](DcState& state) { return Exchange(state.bkColour, color); });
}

COLORREF WINAPI GetBkColor(HDC hdc) {
    return WithState(hdc, CLR_INVALID, [](DcState& state) { return state.bkColour; });
}

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
    return WithState(hdc, CLR_INVALID,
                     [&](DcState& state) { return Exchange(state.textColour, color); });
}

COLORREF WINAPI GetTextColor(HDC hdc) {
    return WithState(hdc, CLR_INVALID, [](DcState& state) { return state.textColour; });
}

int WINAPI SetBkMode(HDC hdc, int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return WithState(hdc, 0, [&](DcState& state) { return Exchange(state.bkMode, mode); });
}

int WINAPI GetBkMode(HDC hdc) {
    return WithState(hdc, 0, [](DcState& state) { return state.bkMode; });
}

UINT WINAPI SetTextAlign(HDC hdc, UINT align) {
    return WithState(hdc, static_cast<UINT>(GDI_ERROR),
                     [&](DcState& state) { return Exchange(state.textAlign, align & TA_MASK); });
}

UINT WINAPI GetTextAlign(HDC hdc) {
    return WithState(hdc, static_cast<UINT>(GDI_ERROR),
                     [](DcState& state) { return state.textAlign; });
}

BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt) {
    return WithState(hdc, FALSE, [&](DcState& state) {
        if (lppt) {
            *lppt = state.position;
        }
        state.position = {x, y};
        return TRUE;
    });
}

BOOL WINAPI GetCurrentPositionEx(HDC hdc, LPPOINT lppt) {
    return WithState(hdc, FALSE, [&](DcState& state) {
        if (!lppt) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        *lppt = state.position;
        return TRUE;
    });
}

int WINAPI SaveDC(HDC hdc) {
    std::lock_guard guard(GdiLock());
    DcObject* dc = FindDc(hdc);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    HoldState(dc->state);
    dc->saved.push_back(dc->state);
    return static_cast<int>(dc->saved.size());
}

BOOL WINAPI RestoreDC(HDC hdc, int nSavedDC) {
    std::lock_guard guard(GdiLock());
    DcObject* dc = FindDc(hdc);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // A negative level counts back from the latest save; states saved after it are dropped.
    const int levels = static_cast<int>(dc->saved.size());
    const int level = nSavedDC < 0 ? levels + 1 + nSavedDC : nSavedDC;
    if (level < 1 || level > levels) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    ReleaseState(dc->state);
    dc->state = dc->saved[static_cast<size_t>(level - 1)];
    for (size_t i = static_cast<size_t>(level); i < dc->saved.size(); ++i) {
        ReleaseState(dc->saved[i]);
    }
    dc->saved.resize(static_cast<size_t>(level - 1));
    return TRUE;
}
}
