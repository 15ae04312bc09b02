// The scroll bar control: an arrow at each end, the track between them and the thumb on it.
// Clicks and keys ask the parent to scroll with WM_HSCROLL (SBS_HORZ) or WM_VSCROLL (SBS_VERT);
// the control moves its position only when told to (SBM_SETPOS, SetScrollPos ...), except that
// the thumb follows the mouse while dragged.
#include "src/comctl32/control_state.h"
#include "src/user32/user_control_classes.h"
#include "src/user32/user_control_paint.h"
#include "src/user32/user_scroll_bar_values.h"

#include <algorithm>

namespace moltr::platform {
namespace {

constexpr int kMinimumThumb = 8;
constexpr COLORREF kThumb = RGB(205, 205, 205);

enum class Part { None, LowArrow, LowTrack, Thumb, HighTrack, HighArrow };

// Where the parts stand along the bar, in pixels from its start.
struct Layout {
    int length = 0;    // of the whole bar
    int thickness = 0; // across it
    int arrow = 0;     // the length of each arrow
    int thumbStart = 0;
    int thumbLength = 0; // 0: no thumb (an empty range)

    int TrackStart() const { return arrow; }
    int TrackLength() const { return std::max(length - 2 * arrow, 0); }

    Part At(int along) const {
        if (along < 0 || along >= length) {
            return Part::None;
        }
        if (along < arrow) {
            return Part::LowArrow;
        }
        if (along >= length - arrow) {
            return Part::HighArrow;
        }
        if (thumbLength == 0) {
            return along < length / 2 ? Part::LowTrack : Part::HighTrack;
        }
        if (along < thumbStart) {
            return Part::LowTrack;
        }
        return along < thumbStart + thumbLength ? Part::Thumb : Part::HighTrack;
    }
};

// A small solid triangle pointing along or against the bar, in the middle of `area`.
void PaintArrowGlyph(HDC dc, const RECT& area, bool vertical, bool towardsLow, COLORREF colour) {
    const int cx = (area.left + area.right) / 2;
    const int cy = (area.top + area.bottom) / 2;
    for (int i = 0; i < 4; ++i) {
        // Row i of the triangle, from its point.
        const int at = towardsLow ? -2 + i : 1 - i;
        if (vertical) {
            Line(dc, cx - i, cy + at, cx + i + 1, cy + at, colour);
        } else {
            Line(dc, cx + at, cy - i, cx + at, cy + i + 1, colour);
        }
    }
}

class ScrollBar {
public:
    explicit ScrollBar(HWND window) : window_(window) {}

    bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (PaintMessage(window_, message, wParam, [this](HDC dc) { Paint(dc); })) {
            return true;
        }
        switch (message) {
        case SBM_SETSCROLLINFO: {
            const auto* info = reinterpret_cast<const SCROLLINFO*>(lParam);
            result = ScrollValues::Valid(info) ? values_.Set(*info) : values_.Pos();
            return true;
        }
        case SBM_GETSCROLLINFO: {
            auto* info = reinterpret_cast<SCROLLINFO*>(lParam);
            result = ScrollValues::Valid(info) && values_.Get(*info);
            return true;
        }
        case SBM_SETPOS:
            result = Change(SIF_POS, 0, 0, static_cast<int>(wParam));
            return true;
        case SBM_GETPOS:
            result = values_.Pos();
            return true;
        case SBM_SETRANGE:
        case SBM_SETRANGEREDRAW: {
            // The previous position when the new range moved it, else 0.
            const int previous = values_.Pos();
            Change(SIF_RANGE, static_cast<int>(wParam), static_cast<int>(lParam), 0);
            result = values_.Pos() != previous ? previous : 0;
            return true;
        }
        case SBM_GETRANGE:
            if (auto* min = reinterpret_cast<LPINT>(wParam)) {
                *min = values_.Min();
            }
            if (auto* max = reinterpret_cast<LPINT>(lParam)) {
                *max = values_.Max();
            }
            return true;
        case SBM_ENABLE_ARROWS:
            disabledArrows_ = static_cast<UINT>(wParam);
            result = TRUE;
            return true;
        case WM_GETDLGCODE:
            result = DLGC_WANTARROWS;
            return true;
        default:
            return HandleInput(message, wParam, lParam);
        }
    }

private:
    bool HandleInput(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (IsWindowEnabled(window_)) {
                Press(Along(lParam));
            }
            return true;
        case WM_MOUSEMOVE:
            if (values_.Tracking()) {
                Drag(Along(lParam));
            }
            return true;
        case WM_LBUTTONUP:
            Release();
            return true;
        case WM_KEYDOWN:
            if (IsWindowEnabled(window_)) {
                Key(static_cast<WORD>(wParam));
            }
            return true;
        case WM_KEYUP:
            if (keyed_) {
                keyed_ = false;
                Request(SB_ENDSCROLL);
            }
            return true;
        default:
            return false;
        }
    }

    DWORD Style() const { return static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE)); }
    bool Vertical() const { return Style() & SBS_VERT; }

    int Change(UINT mask, int min, int max, int pos) {
        const int previous = values_.Pos();
        SCROLLINFO info{sizeof info, mask, min, max, 0, pos, 0};
        values_.Set(info);
        return previous;
    }

    // The point of a mouse message along the bar.
    int Along(LPARAM lParam) const {
        const POINT at = PointOf(lParam);
        return Vertical() ? at.y : at.x;
    }

    Layout Measure() const;

    void Request(WORD request, int position = 0) {
        SendMessageW(GetParent(window_), Vertical() ? WM_VSCROLL : WM_HSCROLL,
                     MAKEWPARAM(request, static_cast<WORD>(position)),
                     reinterpret_cast<LPARAM>(window_));
    }

    void Press(int along) {
        const Layout layout = Measure();
        pressed_ = layout.At(along);
        switch (pressed_) {
        case Part::LowArrow:
            Request(SB_LINEUP);
            return;
        case Part::HighArrow:
            Request(SB_LINEDOWN);
            return;
        case Part::LowTrack:
            Request(SB_PAGEUP);
            return;
        case Part::HighTrack:
            Request(SB_PAGEDOWN);
            return;
        case Part::Thumb:
            grip_ = along - layout.thumbStart;
            values_.Track(values_.Pos());
            return;
        case Part::None:
            return;
        }
    }

    // The thumb follows the mouse: the position its place on the track stands for.
    void Drag(int along) {
        const Layout layout = Measure();
        const int room = layout.TrackLength() - layout.thumbLength;
        const long long span = static_cast<long long>(values_.Highest()) - values_.Min();
        const int offset = std::clamp(along - grip_ - layout.TrackStart(), 0, std::max(room, 0));
        const long long position =
            values_.Min() + (room > 0 ? (offset * span + room / 2) / room : 0);
        values_.Track(static_cast<int>(position));
        Request(SB_THUMBTRACK, values_.Shown());
    }

    void Release() {
        if (pressed_ == Part::None) {
            return;
        }
        if (values_.Tracking()) {
            const int position = values_.Shown();
            values_.EndTracking();
            Request(SB_THUMBPOSITION, position);
        }
        pressed_ = Part::None;
        Request(SB_ENDSCROLL);
    }

    void Key(WORD key) {
        static constexpr struct {
            WORD key;
            WORD request;
        } kKeys[] = {
            {VK_LEFT, SB_LINEUP},   {VK_UP, SB_LINEUP},    {VK_RIGHT, SB_LINEDOWN},
            {VK_DOWN, SB_LINEDOWN}, {VK_PRIOR, SB_PAGEUP}, {VK_NEXT, SB_PAGEDOWN},
            {VK_HOME, SB_TOP},      {VK_END, SB_BOTTOM},
        };
        for (const auto& entry : kKeys) {
            if (entry.key == key) {
                keyed_ = true;
                Request(entry.request);
                return;
            }
        }
    }

    void Paint(HDC dc) const;

    HWND window_;
    ScrollValues values_;
    UINT disabledArrows_ = ESB_ENABLE_BOTH;
    Part pressed_ = Part::None;
    int grip_ = 0; // where on the thumb the mouse took it
    bool keyed_ = false;
};

Layout ScrollBar::Measure() const {
    RECT client{};
    GetClientRect(window_, &client);
    Layout layout;
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    layout.length = Vertical() ? height : width;
    layout.thickness = Vertical() ? width : height;
    layout.arrow = std::min(layout.thickness, layout.length / 2);
    const int track = layout.TrackLength();
    const long long range = static_cast<long long>(values_.Max()) - values_.Min() + 1;
    if (range <= 1 || track <= 0) {
        return layout;
    }
    // A page makes the thumb as long a part of the track as it is of the range.
    const int length =
        values_.Page() ? static_cast<int>(track * values_.Page() / range) : layout.thickness;
    layout.thumbLength = std::clamp(length, std::min(kMinimumThumb, track), track);
    const long long span = static_cast<long long>(values_.Highest()) - values_.Min();
    const int room = track - layout.thumbLength;
    layout.thumbStart =
        layout.TrackStart() +
        (span > 0 ? static_cast<int>((values_.Shown() - values_.Min()) * room / span) : 0);
    return layout;
}

void ScrollBar::Paint(HDC dc) const {
    RECT client{};
    GetClientRect(window_, &client);
    if (Style() & (SBS_SIZEBOX | SBS_SIZEGRIP)) {
        FillArea(dc, client, colours::kFace);
        return;
    }
    PaintParentBackground(dc, window_, WM_CTLCOLORSCROLLBAR, client, colours::kFace);
    const Layout layout = Measure();
    const bool vertical = Vertical();
    // The part from `from` to `to` along the bar, across all of it.
    auto part = [&](int from, int to) {
        return vertical ? RECT{client.left, from, client.right, to}
                        : RECT{from, client.top, to, client.bottom};
    };
    const bool enabled = IsWindowEnabled(window_);
    const RECT low = part(0, layout.arrow);
    const RECT high = part(layout.length - layout.arrow, layout.length);
    const bool lowOn = enabled && !(disabledArrows_ & ESB_DISABLE_LTUP);
    const bool highOn = enabled && !(disabledArrows_ & ESB_DISABLE_RTDN);
    PaintArrowGlyph(dc, low, vertical, true, lowOn ? colours::kDarkShadow : colours::kShadow);
    PaintArrowGlyph(dc, high, vertical, false, highOn ? colours::kDarkShadow : colours::kShadow);
    if (enabled && layout.thumbLength > 0) {
        FillArea(dc, part(layout.thumbStart, layout.thumbStart + layout.thumbLength), kThumb);
    }
}

} // namespace

LRESULT CALLBACK ScrollBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StateWindowProc<ScrollBar>(window, message, wParam, lParam);
}

} // namespace moltr::platform
