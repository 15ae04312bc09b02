#pragma once
// Each common control keeps its state in an object of its own, which its window's extra bytes
// point to from WM_NCCREATE until WM_NCDESTROY. The object answers the messages it knows through
// Handle; the rest go to the standard controls' procedure, which keeps the window's font.
#include "src/user32/user_objects.h"

#include <windows.h>

namespace moltr::platform {

template <class State> State* StateOf(HWND window) {
    return reinterpret_cast<State*>(GetWindowLongPtrW(window, 0));
}

// The window procedure of the class whose state is `State` (constructed from the window).
template <class State>
LRESULT CALLBACK StateWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(new State(window)));
    }
    State* state = StateOf<State>(window);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, 0, 0);
        delete state;
        return 0;
    }
    LRESULT result = 0;
    if (state && state->Handle(message, wParam, lParam, result)) {
        return result;
    }
    return ControlProc(window, message, wParam, lParam);
}

// The point a mouse message carries, in the control's client coordinates.
inline POINT PointOf(LPARAM lParam) {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// The extra bytes a class with a state object needs.
constexpr int kStateBytes = sizeof(void*);

// A notification that is its header alone.
struct PlainNotification {
    NMHDR hdr;
};

// A notification from `control` to its parent, with its header filled in; the parent's answer.
template <class Notification>
LRESULT NotifyParent(HWND control, UINT code, Notification& notification) {
    notification.hdr.hwndFrom = control;
    notification.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(control));
    notification.hdr.code = code;
    return SendMessageW(GetParent(control), WM_NOTIFY, notification.hdr.idFrom,
                        reinterpret_cast<LPARAM>(&notification));
}

} // namespace moltr::platform
