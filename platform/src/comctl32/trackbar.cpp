// The trackbar (msctls_trackbar32): a position kept inside its range, ticks, and the user's moves
// (arrow, page, home and end keys, a click on the channel) reported to the parent with WM_HSCROLL,
// or WM_VSCROLL for a vertical one, each followed by TB_ENDTRACK.
#include "src/comctl32/control_classes.h"
#include "src/comctl32/control_paint.h"
#include "src/comctl32/control_state.h"

#include <commctrl.h>
#include <algorithm>
#include <utility>

namespace moltr::platform {
namespace {

constexpr int kThumbHalf = 5; // half the thumb's width: the channel ends this far in
constexpr int kThumbHeight = 18;
constexpr int kChannel = 4; // the channel's thickness
constexpr int kTick = 3;    // a tick's length

class Trackbar {
public:
    explicit Trackbar(HWND window) : window_(window) {}

    bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (PaintMessage(window_, message, wParam, [this](HDC dc) { Paint(dc); })) {
            return true;
        }
        switch (message) {
        case TBM_GETPOS:
            result = pos_;
            return true;
        case TBM_SETPOS:
            pos_ = Clamped(static_cast<LONG>(lParam));
            return true;
        case TBM_GETRANGEMIN:
            result = min_;
            return true;
        case TBM_GETRANGEMAX:
            result = max_;
            return true;
        case TBM_SETRANGE:
            SetRange(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            return true;
        case TBM_SETRANGEMIN:
            SetRange(static_cast<LONG>(lParam), max_);
            return true;
        case TBM_SETRANGEMAX:
            SetRange(min_, static_cast<LONG>(lParam));
            return true;
        case TBM_SETTICFREQ:
            frequency_ = std::max<LONG>(static_cast<LONG>(wParam), 1);
            return true;
        case TBM_GETNUMTICS:
            result = TickCount();
            return true;
        case TBM_SETPAGESIZE:
            result = std::exchange(page_, static_cast<LONG>(lParam));
            return true;
        case TBM_GETPAGESIZE:
            result = page_;
            return true;
        case TBM_SETLINESIZE:
            result = std::exchange(line_, static_cast<LONG>(lParam));
            return true;
        case TBM_GETLINESIZE:
            result = line_;
            return true;
        case WM_KEYDOWN:
            Key(static_cast<UINT>(wParam));
            return true;
        case WM_LBUTTONDOWN:
            Click(Vertical() ? PointOf(lParam).y : PointOf(lParam).x);
            return true;
        default:
            return false;
        }
    }

private:
    bool Vertical() const { return (GetWindowLongW(window_, GWL_STYLE) & TBS_VERT) != 0; }

    LONG Clamped(LONG pos) const { return std::clamp(pos, min_, std::max(min_, max_)); }

    void SetRange(LONG low, LONG high) {
        min_ = low;
        max_ = high;
        pos_ = Clamped(pos_);
    }

    // The first and last ticks, and with TBS_AUTOTICKS one at every step of the frequency
    // between them.
    LONG TickCount() const {
        const DWORD style = static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE));
        if (style & TBS_NOTICKS) {
            return 0;
        }
        if (!(style & TBS_AUTOTICKS) || max_ <= min_) {
            return 2;
        }
        return 2 + (max_ - min_ - 1) / frequency_;
    }

    void Report(WORD code, LONG pos) {
        const UINT message = Vertical() ? WM_VSCROLL : WM_HSCROLL;
        const bool withPos = code == TB_THUMBPOSITION || code == TB_THUMBTRACK;
        SendMessageW(GetParent(window_), message,
                     MAKEWPARAM(code, withPos ? static_cast<WORD>(pos) : 0),
                     reinterpret_cast<LPARAM>(window_));
    }

    void Move(WORD code, LONG pos) {
        pos_ = Clamped(pos);
        Report(code, pos_);
        Report(TB_ENDTRACK, pos_);
    }

    void Key(UINT key) {
        switch (key) {
        case VK_RIGHT:
        case VK_DOWN:
            Move(TB_LINEDOWN, pos_ + line_);
            break;
        case VK_LEFT:
        case VK_UP:
            Move(TB_LINEUP, pos_ - line_);
            break;
        case VK_NEXT:
            Move(TB_PAGEDOWN, pos_ + page_);
            break;
        case VK_PRIOR:
            Move(TB_PAGEUP, pos_ - page_);
            break;
        case VK_HOME:
            Move(TB_TOP, min_);
            break;
        case VK_END:
            Move(TB_BOTTOM, max_);
            break;
        default:
            break;
        }
    }

    int Length() const {
        RECT client{};
        GetClientRect(window_, &client);
        return std::max<int>((Vertical() ? client.bottom : client.right) - 2 * kThumbHalf, 1);
    }

    int Offset(LONG pos) const {
        const LONG span = std::max<LONG>(max_ - min_, 1);
        return kThumbHalf + MulDiv(pos - min_, Length(), span);
    }

    // A click drags the thumb to the position under the pointer.
    void Click(int at) {
        const LONG span = std::max<LONG>(max_ - min_, 0);
        const int along = std::clamp(at - kThumbHalf, 0, Length());
        const LONG pos = min_ + MulDiv(along, span, Length());
        pos_ = Clamped(pos);
        Report(TB_THUMBTRACK, pos_);
        Report(TB_THUMBPOSITION, pos_);
        Report(TB_ENDTRACK, pos_);
    }

    RECT Across(int from, int to, int start, int end) const {
        return Vertical() ? RECT{from, start, to, end} : RECT{start, from, end, to};
    }

    void PaintTicks(HDC dc, int at) const {
        const DWORD style = static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE));
        if (style & TBS_NOTICKS) {
            return;
        }
        const LONG step = (style & TBS_AUTOTICKS) ? frequency_ : std::max<LONG>(max_ - min_, 1);
        for (LONG pos = min_;; pos += step) {
            const int offset = Offset(std::min(pos, max_));
            const RECT tick = Across(at, at + kTick, offset, offset + 1);
            FillArea(dc, tick, colours::kText);
            if (pos >= max_) {
                break;
            }
        }
    }

    void Paint(HDC dc) const {
        RECT client{};
        GetClientRect(window_, &client);
        FillArea(dc, client, colours::kFace);
        const int middle = kThumbHeight / 2;
        const RECT channel =
            Across(middle - kChannel / 2, middle + kChannel / 2, kThumbHalf, kThumbHalf + Length());
        Frame3D(dc, channel, false);
        PaintTicks(dc, kThumbHeight + 1);
        const int at = Offset(pos_);
        const RECT thumb = Across(1, kThumbHeight, at - kThumbHalf, at + kThumbHalf);
        FillArea(dc, thumb, colours::kFace);
        Frame3D(dc, thumb, true);
    }

    HWND window_;
    LONG min_ = 0;
    LONG max_ = 100;
    LONG pos_ = 0;
    LONG frequency_ = 1;
    LONG line_ = 1;
    LONG page_ = 20; // a fifth of the default range
};

} // namespace

LRESULT CALLBACK TrackbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StateWindowProc<Trackbar>(window, message, wParam, lParam);
}

} // namespace moltr::platform
