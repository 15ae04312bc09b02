// Dialog units: GetDialogBaseUnits and MapDialogRect.
#include "src/gdi32/gdi_font_metrics.h"
#include "src/gdi32/gdi_objects.h"
#include "src/user32/user_objects.h"
#include "sim/display.h"

#include <windows.h>

namespace moltr::platform {
namespace {

// The system font's average character size at 96 dots per inch.
constexpr int kSystemBaseX = 8;
constexpr int kSystemBaseY = 16;

// A dialog's base units follow from its font.
bool FontBaseUnits(HFONT handle, LONG& x, LONG& y) {
    std::lock_guard guard(GdiLock());
    const FontObject* font = FindFont(handle);
    if (!font) {
        return false;
    }
    const DialogBaseUnits units = DialogBaseUnitsOf(font->logFont);
    x = units.x;
    y = units.y;
    return true;
}

} // namespace
} // namespace moltr::platform

using namespace moltr::platform;

extern "C" {

LONG WINAPI GetDialogBaseUnits() {
    const moltr::sim::DisplayConfig display = moltr::sim::CurrentDisplay();
    return MAKELONG(MulDiv(kSystemBaseX, display.logPixelsX, 96),
                    MulDiv(kSystemBaseY, display.logPixelsY, 96));
}

BOOL WINAPI MapDialogRect(HWND hDlg, LPRECT lpRect) {
    HFONT font = nullptr;
    {
        std::lock_guard guard(UserLock());
        const Window* dialog = CheckedWindow(hDlg);
        if (!dialog) {
            return FALSE;
        }
        font = dialog->font;
    }
    if (!lpRect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // A window without a font of its own measures in the system's dialog units.
    LONG x = 0;
    LONG y = 0;
    if (!FontBaseUnits(font, x, y)) {
        const LONG units = GetDialogBaseUnits();
        x = LOWORD(units);
        y = HIWORD(units);
    }
    lpRect->left = MulDiv(lpRect->left, x, 4);
    lpRect->right = MulDiv(lpRect->right, x, 4);
    lpRect->top = MulDiv(lpRect->top, y, 8);
    lpRect->bottom = MulDiv(lpRect->bottom, y, 8);
    return TRUE;
}
}
