// SetScrollInfo, GetScrollInfo, SetScrollPos, GetScrollPos, SetScrollRange and GetScrollRange:
// on a scroll bar control (SB_CTL) through its SBM_ messages, on a window's own horizontal and
// vertical scroll bars through the values kept for the window here. A window made with
// WS_HSCROLL or WS_VSCROLL has that bar with the range 0 to 100; setting values on a bar it was
// made without gives it one.
#include "src/user32/user_scroll_bar_values.h"

#include <windows.h>
#include <limits>
#include <map>
#include <mutex>

namespace moltr::platform {
namespace {

struct WindowBars {
    ScrollValues bars[2]; // SB_HORZ, SB_VERT
    bool has[2] = {false, false};
};

struct StandardBars {
    std::mutex lock;
    std::map<HWND, WindowBars> windows;
};

StandardBars& TheBars() {
    static auto* bars = new StandardBars;
    return *bars;
}

constexpr DWORD kStyleOf[2] = {WS_HSCROLL, WS_VSCROLL};

// The values of `bar` of `window` for `use` to read or change, under the table's lock; false
// (with the error set) when the window has no such bar and `create` does not give it one.
template <class Use> bool WithBar(HWND window, int bar, bool create, Use&& use) {
    if (!IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    if (bar != SB_HORZ && bar != SB_VERT) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const bool styled = GetWindowLongW(window, GWL_STYLE) & kStyleOf[bar];
    StandardBars& table = TheBars();
    std::lock_guard guard(table.lock);
    auto found = table.windows.find(window);
    if (found == table.windows.end()) {
        if (!styled && !create) {
            SetLastError(ERROR_NO_SCROLLBARS);
            return false;
        }
        // The windows gone since are forgotten as a new one comes.
        std::erase_if(table.windows, [](const auto& entry) { return !IsWindow(entry.first); });
        found = table.windows.emplace(window, WindowBars{}).first;
    }
    WindowBars& bars = found->second;
    if (!bars.has[bar]) {
        if (!styled && !create) {
            SetLastError(ERROR_NO_SCROLLBARS);
            return false;
        }
        bars.bars[bar] = styled ? ScrollValues(0, 100) : ScrollValues();
        bars.has[bar] = true;
    }
    use(bars.bars[bar]);
    return true;
}

SCROLLINFO Info(UINT mask) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = mask;
    return info;
}

} // namespace
} // namespace moltr::platform

using namespace moltr::platform;

extern "C" {

int WINAPI SetScrollInfo(HWND hwnd, int nBar, LPCSCROLLINFO lpsi, BOOL redraw) {
    if (!ScrollValues::Valid(lpsi)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (nBar == SB_CTL) {
        return static_cast<int>(SendMessageW(hwnd, SBM_SETSCROLLINFO, static_cast<WPARAM>(redraw),
                                             reinterpret_cast<LPARAM>(lpsi)));
    }
    int pos = 0;
    WithBar(hwnd, nBar, true, [&](ScrollValues& values) { pos = values.Set(*lpsi); });
    return pos;
}

BOOL WINAPI GetScrollInfo(HWND hwnd, int nBar, LPSCROLLINFO lpsi) {
    if (!ScrollValues::Valid(lpsi)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (nBar == SB_CTL) {
        return SendMessageW(hwnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(lpsi)) ? TRUE
                                                                                        : FALSE;
    }
    bool copied = false;
    WithBar(hwnd, nBar, false, [&](const ScrollValues& values) { copied = values.Get(*lpsi); });
    return copied ? TRUE : FALSE;
}

int WINAPI SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw) {
    if (nBar == SB_CTL) {
        return static_cast<int>(SendMessageW(hWnd, SBM_SETPOS, static_cast<WPARAM>(nPos), bRedraw));
    }
    int previous = 0;
    WithBar(hWnd, nBar, true, [&](ScrollValues& values) {
        previous = values.Pos();
        SCROLLINFO info = Info(SIF_POS);
        info.nPos = nPos;
        values.Set(info);
    });
    return previous;
}

int WINAPI GetScrollPos(HWND hWnd, int nBar) {
    if (nBar == SB_CTL) {
        return static_cast<int>(SendMessageW(hWnd, SBM_GETPOS, 0, 0));
    }
    int pos = 0;
    WithBar(hWnd, nBar, false, [&](const ScrollValues& values) { pos = values.Pos(); });
    return pos;
}

BOOL WINAPI SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw) {
    if (static_cast<long long>(nMaxPos) - nMinPos > std::numeric_limits<LONG>::max()) {
        SetLastError(ERROR_INVALID_SCROLLBAR_RANGE);
        return FALSE;
    }
    if (nBar == SB_CTL) {
        if (!IsWindow(hWnd)) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        SendMessageW(hWnd, bRedraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE,
                     static_cast<WPARAM>(nMinPos), nMaxPos);
        return TRUE;
    }
    return WithBar(hWnd, nBar, true, [&](ScrollValues& values) {
        SCROLLINFO info = Info(SIF_RANGE);
        info.nMin = nMinPos;
        info.nMax = nMaxPos;
        values.Set(info);
    });
}

BOOL WINAPI GetScrollRange(HWND hWnd, int nBar, LPINT lpMinPos, LPINT lpMaxPos) {
    if (!lpMinPos || !lpMaxPos) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // A window without the bar answers an empty range.
    *lpMinPos = 0;
    *lpMaxPos = 0;
    if (nBar == SB_CTL) {
        if (!IsWindow(hWnd)) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        SendMessageW(hWnd, SBM_GETRANGE, reinterpret_cast<WPARAM>(lpMinPos),
                     reinterpret_cast<LPARAM>(lpMaxPos));
        return TRUE;
    }
    WithBar(hWnd, nBar, false, [&](const ScrollValues& values) {
        *lpMinPos = values.Min();
        *lpMaxPos = values.Max();
    });
    return IsWindow(hWnd) ? TRUE : FALSE;
}
}
