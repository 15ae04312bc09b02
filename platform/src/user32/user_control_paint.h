#pragma once
// How the standard controls paint themselves: the background and text colour their parent
// chooses through WM_CTLCOLOR*, text laid out in the control's font with '&' prefixes and word
// wrapping, the check box and radio button marks, and the dotted focus rectangle. Frames, fills
// and colours are the common controls' own (src/comctl32/control_paint.h), so that both families
// look alike.
#include "src/comctl32/control_paint.h"

#include <windows.h>
#include <string_view>

namespace moltr::platform {

// Fills `area` with the brush the parent answers `message` with (WM_CTLCOLORSTATIC ...), or with
// `background` when it answers none; the DC's text colour is then the one the parent set, black
// unless it set another.
void PaintParentBackground(HDC dc, HWND control, UINT message, const RECT& area,
                           COLORREF background);

// Draws `text` in `control`'s font and the DC's text colour inside `area`, as DrawText does with
// `format`'s DT_LEFT/DT_CENTER/DT_RIGHT, DT_VCENTER, DT_SINGLELINE, DT_WORDBREAK and DT_NOPREFIX:
// without DT_NOPREFIX "&x" underlines x and "&&" shows one '&'.
void PaintText(HDC dc, HWND control, std::u16string_view text, const RECT& area, UINT format);

// The height of a line of text in `control`'s font.
int LineHeight(HWND control);
// The width of `text` in `control`'s font, prefixes taken as they stand.
int TextWidth(HWND control, std::u16string_view text);

// The side of a check box or radio button mark.
constexpr int kMarkSize = 13;
// A check box mark of `state` (BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE) at `box`'s top left.
void PaintCheckMark(HDC dc, POINT at, UINT state, bool enabled, bool pushed);
// A radio button mark at `at`, its dot shown when checked.
void PaintRadioMark(HDC dc, POINT at, bool checked, bool enabled, bool pushed);
// A bitmap or an icon at `area`'s top left, or centred in it.
void PaintBitmap(HDC dc, HBITMAP bitmap, const RECT& area, bool centred);
void PaintIcon(HDC dc, HICON icon, const RECT& area, bool centred);
// The dotted rectangle that shows where the keyboard focus is.
void PaintFocusFrame(HDC dc, const RECT& area);

// `area` shrunk by `by` pixels on every side (grown when negative), and moved by dx, dy.
constexpr RECT Inset(const RECT& area, int by) {
    return RECT{area.left + by, area.top + by, area.right - by, area.bottom - by};
}
constexpr RECT Moved(const RECT& area, int dx, int dy) {
    return RECT{area.left + dx, area.top + dy, area.right + dx, area.bottom + dy};
}
constexpr bool Contains(const RECT& area, POINT at) {
    return at.x >= area.left && at.x < area.right && at.y >= area.top && at.y < area.bottom;
}

// Sends `control`'s parent WM_COMMAND with `code`, as every standard control notifies.
void NotifyCommand(HWND control, WORD code);

} // namespace moltr::platform
