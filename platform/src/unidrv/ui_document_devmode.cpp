#include "src/unidrv/ui_document_devmode.h"

#include <winspool.h>
#include <algorithm>
#include <cstring>
#include <vector>
#include "src/unidrv/driver_devmode.h"
#include "src/unidrv/gpd_reader.h"
#include "src/unidrv/ui_driver_services.h"
#include "src/unidrv/ui_plugin.h"

namespace moltr::unidrv {
namespace {

// One devmode being built: the public part, the driver's part, the plug-in's part.
class DevModeWork {
public:
    DevModeWork(HANDLE printer, UiPlugin* plugin, DWORD pluginSize)
        : printer_(printer), plugin_(plugin), pluginSize_(pluginSize),
          bytes_(kPluginPartOffset + pluginSize) {}

    DEVMODEW* publicPart() { return reinterpret_cast<DEVMODEW*>(bytes_.data()); }
    BYTE* pluginPart() { return bytes_.data() + kPluginPartOffset; }
    const std::vector<BYTE>& bytes() const { return bytes_; }

    void SetDefaults(const GpdModel& model, LPCWSTR deviceName);
    HRESULT DefaultPluginPart();
    // Merges `source` (at least its header) into the devmode.
    HRESULT Merge(const DEVMODEW& source);

private:
    HRESULT CallPlugin(DWORD mode, DEVMODEW* publicIn, void* pluginIn, void* pluginOut);

    HANDLE printer_;
    UiPlugin* plugin_;
    DWORD pluginSize_;
    std::vector<BYTE> bytes_;
};

void DevModeWork::SetDefaults(const GpdModel& model, LPCWSTR deviceName) {
    bytes_ = ComposeDevmode(DefaultPublicDevmode(model, deviceName), nullptr, pluginSize_);
}

HRESULT DevModeWork::CallPlugin(DWORD mode, DEVMODEW* publicIn, void* pluginIn, void* pluginOut) {
    plugin_->services()->SetDevMode(publicPart());
    OEMDMPARAM param = {sizeof(OEMDMPARAM), plugin_->uiObject(), printer_, nullptr,
                        publicIn,           publicPart(),        pluginIn, pluginOut,
                        pluginSize_};
    HRESULT result = plugin_->plugin()->DevMode(mode, &param);
    plugin_->services()->SetDevMode(nullptr);
    return result;
}

HRESULT DevModeWork::DefaultPluginPart() {
    return plugin_ ? CallPlugin(OEMDM_DEFAULT, publicPart(), nullptr, pluginPart()) : S_OK;
}

HRESULT DevModeWork::Merge(const DEVMODEW& source) {
    if (source.dmSize < kMinPublicSize) {
        return E_INVALIDARG;
    }
    // The source's public part as a whole DEVMODEW: an older, shorter one reads as zeros beyond.
    DEVMODEW publicIn = {};
    std::memcpy(&publicIn, &source, std::min<size_t>(source.dmSize, sizeof publicIn));
    MergePublicFields(source, publicPart());
    if (!plugin_) {
        return S_OK;
    }
    DWORD size = 0;
    const BYTE* part = PluginPart(&source, plugin_->signature(), &size);
    std::vector<BYTE> pluginIn(pluginPart(), pluginPart() + pluginSize_);
    if (part && size == pluginSize_) {
        pluginIn.assign(part, part + size);
    } else if (part && FAILED(CallPlugin(OEMDM_CONVERT, &publicIn, const_cast<BYTE*>(part),
                                         pluginIn.data()))) {
        // A part the plug-in cannot convert counts as none: its defaults stay.
        pluginIn.assign(pluginPart(), pluginPart() + pluginSize_);
    }
    return CallPlugin(OEMDM_MERGE, &publicIn, pluginIn.data(), pluginPart());
}

// The printer's own devmode, empty when it has none.
std::vector<BYTE> PrinterDevMode(HANDLE printer) {
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed ? needed : 1);
    if (!needed || !GetPrinterW(printer, 2, info.data(), needed, &needed)) {
        return {};
    }
    const DEVMODEW* devmode = reinterpret_cast<const PRINTER_INFO_2W*>(info.data())->pDevMode;
    if (!devmode) {
        return {};
    }
    const BYTE* bytes = reinterpret_cast<const BYTE*>(devmode);
    return std::vector<BYTE>(bytes, bytes + devmode->dmSize + devmode->dmDriverExtra);
}

LONG Failure(DWORD error) {
    SetLastError(error);
    return -1;
}

} // namespace

LONG DocumentDevMode(HANDLE printer, LPCWSTR deviceName, DEVMODEW* output, const DEVMODEW* input,
                     DWORD mode) {
    if ((mode & DM_OUT_BUFFER) && !output) {
        return Failure(ERROR_INVALID_PARAMETER);
    }
    DWORD needed = 0;
    GetPrinterDriverW(printer, nullptr, 3, nullptr, 0, &needed);
    std::vector<BYTE> info(needed ? needed : 1);
    if (!needed || !GetPrinterDriverW(printer, nullptr, 3, info.data(), needed, &needed)) {
        return -1;
    }
    GpdReadResult gpd =
        ReadGpdFile(reinterpret_cast<const DRIVER_INFO_3W*>(info.data())->pDataFile);
    if (!gpd.ok) {
        return Failure(ERROR_INVALID_DATA);
    }
    UiPlugin plugin;
    HRESULT loaded = plugin.Load(printer);
    if (FAILED(loaded) && loaded != HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) {
        return Failure(ERROR_INVALID_DATA);
    }
    DWORD pluginSize = 0;
    // A size the driver-extra bytes cannot hold would make a devmode that lies about its size.
    if (SUCCEEDED(loaded) && (FAILED(plugin.PrivateDevModeSize(printer, &pluginSize)) ||
                              pluginSize < kMinPluginPart || pluginSize > kMaxPluginPart)) {
        return Failure(ERROR_INVALID_DATA);
    }
    DevModeWork work(printer, SUCCEEDED(loaded) ? &plugin : nullptr, pluginSize);
    if (!(mode & DM_OUT_BUFFER)) {
        return static_cast<LONG>(work.bytes().size());
    }
    work.SetDefaults(gpd.model, deviceName);
    HRESULT result = work.DefaultPluginPart();
    std::vector<BYTE> own = PrinterDevMode(printer);
    if (SUCCEEDED(result) && !own.empty()) {
        result = work.Merge(*reinterpret_cast<const DEVMODEW*>(own.data()));
    }
    if (SUCCEEDED(result) && (mode & DM_IN_BUFFER) && input) {
        result = work.Merge(*input);
    }
    if (FAILED(result)) {
        return Failure(ERROR_INVALID_DATA);
    }
    std::memcpy(output, work.bytes().data(), work.bytes().size());
    return IDOK;
}

} // namespace moltr::unidrv
