#include "uiplugin/engine/quick_settings_defaults.h"

namespace moltr::ui {

namespace {

struct DefaultState {
    DWORD itemId;
    DWORD (*value)(const DEVMODEW& devmode);
};

// The devmode's codes are unsigned 16-bit values kept in signed fields.
DWORD Code(short field) {
    return static_cast<WORD>(field);
}

// The colour item's first option is monochrome; a devmode without a colour choice has none.
DWORD ColourChoice(const DEVMODEW& devmode) {
    return devmode.dmColor > DMCOLOR_MONOCHROME ? devmode.dmColor - DMCOLOR_MONOCHROME : 0;
}

constexpr DefaultState kDefaultStates[] = {
    {1, [](const DEVMODEW&) -> DWORD { return 0; }}, // orientation
    {7, [](const DEVMODEW&) -> DWORD { return 0; }}, // duplex
    {3, [](const DEVMODEW&) -> DWORD { return 1; }}, // copies
    {4, [](const DEVMODEW& devmode) { return Code(devmode.dmDefaultSource); }},
    {6, ColourChoice},
    {12, [](const DEVMODEW& devmode) { return devmode.dmMediaType; }},
    {1203, [](const DEVMODEW& devmode) { return Code(devmode.dmPaperSize); }},
};

} // namespace

bool VORTAQuickSettingsFilterDefaults(const DEVMODEW& devmode, QuickSettingsText& text) {
    for (const DefaultState& state : kDefaultStates) {
        if (!text.AppendValue(state.itemId, state.value(devmode))) {
            return false;
        }
    }
    return true;
}

} // namespace moltr::ui
