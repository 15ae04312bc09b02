#pragma once
// The manual-duplex hand-off: after a merge that asks for two sides on a printer that duplexes by
// hand, makes sure the notifier runs and announces this application and the printer to it.
#include <windows.h>

namespace moltr::ui {

// The duplex-validated entry of UIPluginHooks. Every failure ends it silently; printing goes on
// without the notifier's help. `devmode` is not used.
void HandOffManualDuplex(HANDLE printer, PDEVMODEW devmode);

} // namespace moltr::ui
