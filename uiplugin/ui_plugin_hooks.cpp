#include "uiplugin/ui_plugin_hooks.h"

#include "uiplugin/devcaps_override.h"
#include "uiplugin/devmode_override.h"
#include "uiplugin/printer_event_override.h"

namespace moltr::ui {
namespace {

// The manual-duplex hand-off takes this entry over; until then a duplex job needs nothing more.
void IgnoreDuplexValidated(HANDLE, PDEVMODEW) {}

} // namespace

void FillProductHooks(UIPluginHooks& hooks) {
    hooks.devMode = OverrideDevMode;
    hooks.printerEvent = OverridePrinterEvent;
    hooks.deviceCapabilities = OverrideDeviceCapabilities;
    hooks.duplexValidated = IgnoreDuplexValidated;
}

} // namespace moltr::ui
