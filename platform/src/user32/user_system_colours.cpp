// The system colours: GetSysColor and GetSysColorBrush. The brushes are stock objects, made once
// for the process, which DeleteObject leaves alone.
#include "src/user32/user_system_colours.h"
#include "src/gdi32/gdi_objects.h"

#include <windows.h>

using namespace moltr::platform;

namespace {

bool Known(int index) {
    return index >= 0 && index < kSystemColourCount && index != kUnusedSystemColour;
}

const std::array<HBRUSH, kSystemColourCount>& SystemBrushes() {
    // Never destroyed: windows may paint while the process exits.
    static const auto* brushes = [] {
        auto* made = new std::array<HBRUSH, kSystemColourCount>{};
        std::lock_guard guard(GdiLock());
        for (int index = 0; index < kSystemColourCount; ++index) {
            if (!Known(index)) {
                continue;
            }
            auto brush = std::make_shared<BrushObject>();
            brush->stock = true;
            brush->colour = SystemColour(index);
            (*made)[static_cast<size_t>(index)] = InsertBrush(std::move(brush));
        }
        return made;
    }();
    return *brushes;
}

} // namespace

extern "C" {

DWORD WINAPI GetSysColor(int nIndex) {
    return Known(nIndex) ? SystemColour(nIndex) : 0;
}

HBRUSH WINAPI GetSysColorBrush(int nIndex) {
    return Known(nIndex) ? SystemBrushes()[static_cast<size_t>(nIndex)] : nullptr;
}
}
