#include "src/unidrv/ui_device_capabilities.h"

#include <winspool.h>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>
#include "src/unidrv/driver_devmode.h"
#include "src/unidrv/gpd_reader.h"
#include "src/unidrv/paper_capabilities.h"
#include "src/unidrv/ui_plugin.h"

namespace moltr::unidrv {
namespace {

// A bin's name: its *Name text in the system's code page, else its option keyword, cut to fit.
void BinName(const GpdOption& option, WCHAR* entry) {
    std::string text = option.name;
    if (const GpdAttribute* name = FindAttribute(option.body, "*Name")) {
        ParseGpdQuoted(name->value, &text);
    }
    std::memset(entry, 0, kBinNameChars * sizeof(WCHAR));
    int length = static_cast<int>(std::min(text.size(), kBinNameChars * 4));
    std::vector<WCHAR> wide(static_cast<size_t>(length) + 1);
    int written = MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), length + 1);
    std::memcpy(entry, wide.data(),
                std::min<size_t>(written > 0 ? written : 0, kBinNameChars - 1) * sizeof(WCHAR));
}

DWORD BinNames(const GpdModel& model, WCHAR* output) {
    const GpdFeature* bins = model.Feature("InputBin");
    size_t count = bins ? bins->options.size() : 0;
    for (size_t i = 0; output && i < count; ++i) {
        BinName(bins->options[i], output + i * kBinNameChars);
    }
    return static_cast<DWORD>(count);
}

DWORD DriverAnswer(HANDLE printer, PWSTR deviceName, WORD capability, PVOID output,
                   PDEVMODEW devmode, const GpdModel& model) {
    switch (capability) {
    case DC_PAPERS:
    case DC_PAPERNAMES:
        return DrvDeviceCapabilities(printer, deviceName, capability, output, devmode);
    case DC_BINNAMES:
        return BinNames(model, static_cast<WCHAR*>(output));
    case DC_MINEXTENT:
    case DC_MAXEXTENT:
        return 0;
    default:
        return GDI_ERROR;
    }
}

} // namespace

DWORD UiDeviceCapabilities(HANDLE printer, PWSTR deviceName, WORD capability, PVOID output,
                           PDEVMODEW devmode) {
    UiPlugin plugin;
    HRESULT loaded = plugin.Load(printer);
    if (FAILED(loaded)) {
        // Without a plug-in the driver's paper capabilities are all there is.
        return DrvDeviceCapabilities(printer, deviceName, capability, output, devmode);
    }
    DWORD old = DriverAnswer(printer, deviceName, capability, output, devmode, plugin.model());
    DWORD size = 0;
    void* pluginPart = const_cast<BYTE*>(PluginPart(devmode, plugin.signature(), &size));
    DWORD result = old;
    HRESULT answer =
        plugin.plugin()->DeviceCapabilities(plugin.uiObject(), printer, deviceName, capability,
                                            output, devmode, pluginPart, old, &result);
    return answer == S_OK ? result : old;
}

} // namespace moltr::unidrv
