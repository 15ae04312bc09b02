#pragma once
// VORTAQuickSettingsFilterDefaults: the states of the quick setting that brings the document's
// defaults back, taken from the public devmode.
#include <windows.h>
#include "uiplugin/engine/quick_settings_text.h"

namespace moltr::ui {

// Appends the records of the defaults entry for `devmode` to `text`; false without memory.
bool VORTAQuickSettingsFilterDefaults(const DEVMODEW& devmode, QuickSettingsText& text);

} // namespace moltr::ui
