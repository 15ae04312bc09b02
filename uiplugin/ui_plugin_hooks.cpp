#include "uiplugin/ui_plugin_hooks.h"

#include "uiplugin/devcaps_override.h"
#include "uiplugin/devmode_override.h"
#include "uiplugin/manual_duplex_handoff.h"
#include "uiplugin/printer_event_override.h"

namespace moltr::ui {

void FillProductHooks(UIPluginHooks& hooks) {
    hooks.devMode = OverrideDevMode;
    hooks.printerEvent = OverridePrinterEvent;
    hooks.deviceCapabilities = OverrideDeviceCapabilities;
    hooks.duplexValidated = HandOffManualDuplex;
}

} // namespace moltr::ui
