// The up-down control (msctls_updown32): a position in its range (100 down to 0 unless set),
// moved by a click on either arrow after the parent has seen UDN_DELTAPOS and not refused it,
// then reported with WM_VSCROLL (WM_HSCROLL for UDS_HORZ). With UDS_SETBUDDYINT the buddy window
// shows the position as its text and UDM_GETPOS32 reads it back from there.
#include "src/comctl32/control_classes.h"
#include "src/comctl32/control_paint.h"
#include "src/comctl32/control_state.h"
#include "sim/utf.h"

#include <commctrl.h>
#include <algorithm>
#include <charconv>
#include <string>

namespace moltr::platform {
namespace {

// The decimal text of `pos`, with the thousands grouped unless the style says not to.
std::u16string PositionText(int pos, bool group) {
    const std::string digits = std::to_string(pos < 0 ? -static_cast<long long>(pos) : pos);
    std::u16string text = pos < 0 ? u"-" : u"";
    for (size_t i = 0; i < digits.size(); ++i) {
        if (group && i > 0 && (digits.size() - i) % 3 == 0) {
            text += u',';
        }
        text += static_cast<char16_t>(digits[i]);
    }
    return text;
}

// The position a buddy's text gives: decimal digits with an optional sign and group separators.
bool ParsePosition(std::u16string_view text, int& pos) {
    std::string digits;
    for (char16_t c : text) {
        if (c == u',') {
            continue;
        }
        if (c > 0x7f) {
            return false;
        }
        digits += static_cast<char>(c);
    }
    const char* end = digits.data() + digits.size();
    const auto parsed = std::from_chars(digits.data(), end, pos);
    return !digits.empty() && parsed.ec == std::errc() && parsed.ptr == end;
}

class UpDown {
public:
    explicit UpDown(HWND window) : window_(window) {}

    bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (PaintMessage(window_, message, wParam, [this](HDC dc) { Paint(dc); })) {
            return true;
        }
        switch (message) {
        case WM_CREATE:
            if (Style() & UDS_AUTOBUDDY) {
                SetBuddy(PreviousSibling());
            }
            return false;
        case UDM_SETRANGE32:
            SetRange(static_cast<int>(wParam), static_cast<int>(lParam));
            return true;
        case UDM_GETRANGE32:
            GetRange(reinterpret_cast<int*>(wParam), reinterpret_cast<int*>(lParam));
            return true;
        case UDM_SETRANGE:
            SetRange(static_cast<short>(HIWORD(lParam)), static_cast<short>(LOWORD(lParam)));
            return true;
        case UDM_GETRANGE:
            result = MAKELONG(static_cast<short>(max_), static_cast<short>(min_));
            return true;
        case UDM_SETPOS32:
            result = SetPos(static_cast<int>(lParam));
            return true;
        case UDM_SETPOS:
            result = SetPos(static_cast<short>(LOWORD(lParam)));
            return true;
        case UDM_GETPOS32:
            result = GetPos(reinterpret_cast<BOOL*>(lParam));
            return true;
        case UDM_GETPOS: {
            BOOL error = FALSE;
            const int pos = GetPos(&error);
            result = MAKELONG(static_cast<short>(pos), error ? 1 : 0);
            return true;
        }
        case UDM_SETBUDDY:
            result = reinterpret_cast<LRESULT>(SetBuddy(reinterpret_cast<HWND>(wParam)));
            return true;
        case UDM_GETBUDDY:
            result = reinterpret_cast<LRESULT>(buddy_);
            return true;
        case WM_LBUTTONDOWN:
            Click(PointOf(lParam));
            return true;
        case WM_KEYDOWN:
            if (wParam == VK_UP || wParam == VK_DOWN) {
                Step(wParam == VK_UP);
            }
            return true;
        default:
            return false;
        }
    }

private:
    DWORD Style() const { return static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE)); }
    int Low() const { return std::min(min_, max_); }
    int High() const { return std::max(min_, max_); }

    void SetRange(int low, int high) {
        min_ = low;
        max_ = high;
        pos_ = std::clamp(pos_, Low(), High());
    }

    void GetRange(int* low, int* high) const {
        if (low) {
            *low = min_;
        }
        if (high) {
            *high = max_;
        }
    }

    int SetPos(int pos) {
        const int previous = pos_;
        pos_ = std::clamp(pos, Low(), High());
        ShowInBuddy();
        return previous;
    }

    int GetPos(BOOL* error) {
        bool failed = false;
        if (buddy_ && (Style() & UDS_SETBUDDYINT)) {
            int read = 0;
            failed = !ParsePosition(WindowText(buddy_), read) || read < Low() || read > High();
            if (!failed) {
                pos_ = read;
            }
        }
        if (error) {
            *error = failed ? TRUE : FALSE;
        }
        return pos_;
    }

    HWND SetBuddy(HWND buddy) {
        const HWND previous = buddy_;
        buddy_ = IsWindow(buddy) ? buddy : nullptr;
        ShowInBuddy();
        return previous;
    }

    void ShowInBuddy() {
        if (buddy_ && (Style() & UDS_SETBUDDYINT)) {
            SetWindowTextW(buddy_, sim::W(PositionText(pos_, !(Style() & UDS_NOTHOUSANDS))));
        }
    }

    // The sibling created just before this control, which UDS_AUTOBUDDY takes.
    HWND PreviousSibling() const {
        struct Search {
            HWND self;
            HWND parent;
            HWND previous;
            bool found;
        } search{window_, GetParent(window_), nullptr, false};
        EnumChildWindows(
            search.parent,
            [](HWND child, LPARAM parameter) -> BOOL {
                auto* wanted = reinterpret_cast<Search*>(parameter);
                if (GetParent(child) != wanted->parent) {
                    return TRUE;
                }
                if (child == wanted->self) {
                    wanted->found = true;
                    return FALSE;
                }
                wanted->previous = child;
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found ? search.previous : nullptr;
    }

    // Towards the maximum on the up arrow, whichever way the range runs.
    void Step(bool up) {
        NMUPDOWN delta{};
        delta.iPos = pos_;
        delta.iDelta = (up == (max_ >= min_)) ? 1 : -1;
        if (NotifyParent(window_, UDN_DELTAPOS, delta)) {
            return;
        }
        long long next = static_cast<long long>(pos_) + delta.iDelta;
        if (next < Low() || next > High()) {
            if (!(Style() & UDS_WRAP)) {
                next = std::clamp<long long>(next, Low(), High());
            } else {
                next = next < Low() ? High() : Low();
            }
        }
        pos_ = static_cast<int>(next);
        ShowInBuddy();
        const UINT message = (Style() & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
        SendMessageW(GetParent(window_), message,
                     MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(pos_)),
                     reinterpret_cast<LPARAM>(window_));
    }

    void Click(POINT at) {
        RECT client{};
        GetClientRect(window_, &client);
        Step((Style() & UDS_HORZ) ? at.x >= client.right / 2 : at.y < client.bottom / 2);
    }

    // An arrow of lines pointing up or down (left or right for UDS_HORZ) in `area`.
    void PaintArrow(HDC dc, const RECT& area, bool up) const {
        const bool horizontal = (Style() & UDS_HORZ) != 0;
        const int cx = (area.left + area.right) / 2;
        const int cy = (area.top + area.bottom) / 2;
        for (int row = 0; row < 3; ++row) {
            const int reach = up ? row : 2 - row;
            if (horizontal) {
                const int x = cx - 1 + (up ? 2 - row : row);
                Line(dc, x, cy - reach, x, cy + reach + 1, colours::kText);
            } else {
                const int y = cy - 1 + row;
                Line(dc, cx - reach, y, cx + reach + 1, y, colours::kText);
            }
        }
    }

    void Paint(HDC dc) const {
        RECT client{};
        GetClientRect(window_, &client);
        FillArea(dc, client, colours::kFace);
        const bool horizontal = (Style() & UDS_HORZ) != 0;
        RECT first = client;
        RECT second = client;
        if (horizontal) {
            first.right = second.left = client.right / 2;
        } else {
            first.bottom = second.top = client.bottom / 2;
        }
        Frame3D(dc, first, true);
        Frame3D(dc, second, true);
        // The first half is the down (left) arrow when horizontal, the up arrow otherwise.
        PaintArrow(dc, first, !horizontal);
        PaintArrow(dc, second, horizontal);
    }

    HWND window_;
    int min_ = 100; // the default range runs from 100 down to 0
    int max_ = 0;
    int pos_ = 0;
    HWND buddy_ = nullptr;
};

} // namespace

LRESULT CALLBACK UpDownProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StateWindowProc<UpDown>(window, message, wParam, lParam);
}

} // namespace moltr::platform
