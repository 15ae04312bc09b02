#include "src/unidrv/ui_document_devmode.h"

#include <winspool.h>
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>
#include "src/unidrv/gpd_configuration.h"
#include "src/unidrv/gpd_reader.h"
#include "src/unidrv/ui_devmode_layout.h"
#include "src/unidrv/ui_driver_services.h"
#include "src/unidrv/ui_plugin.h"

namespace moltr::unidrv {
namespace {

// The public fields a merge takes from its source when the source's dmFields flags them.
struct PublicField {
    DWORD flag;
    size_t offset;
    size_t size;
};

#define MOLTR_PUBLIC_FIELD(flag, field)                                                            \
    PublicField {                                                                                  \
        flag, offsetof(DEVMODEW, field), sizeof(DEVMODEW::field)                                   \
    }

constexpr PublicField kPublicFields[] = {
    MOLTR_PUBLIC_FIELD(DM_ORIENTATION, dmOrientation),
    MOLTR_PUBLIC_FIELD(DM_PAPERSIZE, dmPaperSize),
    MOLTR_PUBLIC_FIELD(DM_PAPERLENGTH, dmPaperLength),
    MOLTR_PUBLIC_FIELD(DM_PAPERWIDTH, dmPaperWidth),
    MOLTR_PUBLIC_FIELD(DM_SCALE, dmScale),
    MOLTR_PUBLIC_FIELD(DM_COPIES, dmCopies),
    MOLTR_PUBLIC_FIELD(DM_DEFAULTSOURCE, dmDefaultSource),
    MOLTR_PUBLIC_FIELD(DM_PRINTQUALITY, dmPrintQuality),
    MOLTR_PUBLIC_FIELD(DM_COLOR, dmColor),
    MOLTR_PUBLIC_FIELD(DM_DUPLEX, dmDuplex),
    MOLTR_PUBLIC_FIELD(DM_YRESOLUTION, dmYResolution),
    MOLTR_PUBLIC_FIELD(DM_TTOPTION, dmTTOption),
    MOLTR_PUBLIC_FIELD(DM_COLLATE, dmCollate),
    MOLTR_PUBLIC_FIELD(DM_FORMNAME, dmFormName),
    MOLTR_PUBLIC_FIELD(DM_NUP, dmNup),
    MOLTR_PUBLIC_FIELD(DM_ICMMETHOD, dmICMMethod),
    MOLTR_PUBLIC_FIELD(DM_ICMINTENT, dmICMIntent),
    MOLTR_PUBLIC_FIELD(DM_MEDIATYPE, dmMediaType),
    MOLTR_PUBLIC_FIELD(DM_DITHERTYPE, dmDitherType),
};

#undef MOLTR_PUBLIC_FIELD

constexpr DWORD kDefaultFields = DM_ORIENTATION | DM_PAPERSIZE | DM_SCALE | DM_COPIES |
                                 DM_DEFAULTSOURCE | DM_COLOR | DM_DUPLEX | DM_COLLATE;
constexpr size_t kPluginOffset = sizeof(DEVMODEW) + sizeof(DriverPrivateHeader);

// One devmode being built: the public part, the driver's header, the plug-in's part.
class DevModeWork {
public:
    DevModeWork(HANDLE printer, UiPlugin* plugin, DWORD pluginSize)
        : printer_(printer), plugin_(plugin), pluginSize_(pluginSize),
          bytes_(kPluginOffset + pluginSize) {}

    DEVMODEW* publicPart() { return reinterpret_cast<DEVMODEW*>(bytes_.data()); }
    BYTE* pluginPart() { return bytes_.data() + kPluginOffset; }
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
    DEVMODEW* devmode = publicPart();
    if (deviceName) {
        lstrcpynW(devmode->dmDeviceName, deviceName, CCHDEVICENAME);
    }
    devmode->dmSpecVersion = DM_SPECVERSION;
    devmode->dmSize = sizeof(DEVMODEW);
    devmode->dmDriverExtra = static_cast<WORD>(sizeof(DriverPrivateHeader) + pluginSize_);
    devmode->dmFields = kDefaultFields;
    devmode->dmOrientation = DMORIENT_PORTRAIT;
    const GpdFeature* paperSize = model.Feature("PaperSize");
    devmode->dmPaperSize = paperSize && !paperSize->options.empty()
                               ? static_cast<SHORT>(PaperCode(*paperSize, paperSize->defaultOption))
                               : DMPAPER_A4;
    devmode->dmScale = 100;
    devmode->dmCopies = 1;
    devmode->dmDefaultSource = DMBIN_FORMSOURCE;
    devmode->dmColor = DMCOLOR_COLOR;
    devmode->dmDuplex = DMDUP_SIMPLEX;
    devmode->dmCollate = DMCOLLATE_FALSE;
    DriverPrivateHeader header = {kDriverPrivateSignature, kDriverPrivateVersion,
                                  sizeof(DriverPrivateHeader)};
    std::memcpy(bytes_.data() + sizeof(DEVMODEW), &header, sizeof header);
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
    if (source.dmSize < offsetof(DEVMODEW, dmFields) + sizeof(DWORD)) {
        return E_INVALIDARG;
    }
    // The source's public part as a whole DEVMODEW: an older, shorter one reads as zeros beyond.
    DEVMODEW publicIn = {};
    std::memcpy(&publicIn, &source, std::min<size_t>(source.dmSize, sizeof publicIn));
    DEVMODEW* devmode = publicPart();
    for (const PublicField& field : kPublicFields) {
        if ((source.dmFields & field.flag) && field.offset + field.size <= source.dmSize) {
            std::memcpy(reinterpret_cast<BYTE*>(devmode) + field.offset,
                        reinterpret_cast<const BYTE*>(&source) + field.offset, field.size);
            devmode->dmFields |= field.flag;
        }
    }
    if (!plugin_) {
        return S_OK;
    }
    DWORD size = 0;
    const BYTE* part = PluginPrivatePart(&source, plugin_->signature(), &size);
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
    if (SUCCEEDED(loaded) && FAILED(plugin.PrivateDevModeSize(printer, &pluginSize))) {
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
