#include "src/unidrv/driver_devmode.h"

#include <cstring>
#include "src/unidrv/gpd_configuration.h"

namespace moltr::unidrv {
namespace {

constexpr WORD kDriverVersion = 0x0600;

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

// The devmode value of a feature's default option, or `fallback` when it stands for none.
long long DefaultValue(const GpdModel& model, const char* feature, long long fallback) {
    const GpdFeature* found = model.Feature(feature);
    long long value = found ? DevmodeValue(model, feature, found->defaultOption) : -1;
    return value > 0 ? value : fallback;
}

// The driver's part at the start of the extra bytes, when they hold one.
bool DriverPart(const DEVMODEW& devmode, DriverPrivatePart* driver) {
    if (devmode.dmDriverExtra < sizeof *driver) {
        return false;
    }
    std::memcpy(driver, reinterpret_cast<const BYTE*>(&devmode) + devmode.dmSize, sizeof *driver);
    return driver->signature == kDriverPrivateSignature && driver->size >= sizeof *driver &&
           driver->size <= devmode.dmDriverExtra;
}

} // namespace

DEVMODEW DefaultPublicDevmode(const GpdModel& model, LPCWSTR deviceName) {
    DEVMODEW devmode = {};
    lstrcpynW(devmode.dmDeviceName, deviceName ? deviceName : L"", CCHDEVICENAME);
    devmode.dmSpecVersion = DM_SPECVERSION;
    devmode.dmDriverVersion = kDriverVersion;
    devmode.dmSize = sizeof(DEVMODEW);
    devmode.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_SCALE | DM_COPIES | DM_DEFAULTSOURCE |
                       DM_PRINTQUALITY | DM_COLOR | DM_DUPLEX | DM_YRESOLUTION | DM_COLLATE |
                       DM_MEDIATYPE;
    devmode.dmCopies = 1;
    devmode.dmScale = 100;
    // The devmode names what the GPD's defaults select, so that it selects them again.
    GpdConfiguration defaults = DefaultConfiguration(model);
    devmode.dmPaperSize = static_cast<SHORT>(DefaultValue(model, "PaperSize", DMPAPER_A4));
    devmode.dmOrientation =
        static_cast<SHORT>(DefaultValue(model, "Orientation", DMORIENT_PORTRAIT));
    devmode.dmDefaultSource = static_cast<SHORT>(DefaultValue(model, "InputBin", DMBIN_FORMSOURCE));
    devmode.dmDuplex = static_cast<SHORT>(DefaultValue(model, "Duplex", DMDUP_SIMPLEX));
    devmode.dmCollate = static_cast<SHORT>(DefaultValue(model, "Collate", DMCOLLATE_FALSE));
    devmode.dmMediaType = static_cast<DWORD>(DefaultValue(model, "MediaType", DMMEDIA_STANDARD));
    const GpdOption* resolution = defaults.Selected(model, "Resolution");
    const GpdAttribute* dpi = resolution ? FindAttribute(resolution->body, "*DPI") : nullptr;
    GpdPair pair{600, 600};
    if (dpi) {
        ParseGpdPair(dpi->value, &pair);
    }
    devmode.dmPrintQuality = static_cast<SHORT>(pair.x);
    devmode.dmYResolution = static_cast<SHORT>(pair.y);
    devmode.dmColor = PrintsInColour(model, defaults) ? DMCOLOR_COLOR : DMCOLOR_MONOCHROME;
    return devmode;
}

void MergePublicFields(const DEVMODEW& source, DEVMODEW* base) {
    const BYTE* from = reinterpret_cast<const BYTE*>(&source);
    BYTE* to = reinterpret_cast<BYTE*>(base);
    for (const PublicField& field : kPublicFields) {
        if ((source.dmFields & field.flag) && field.offset + field.size <= source.dmSize) {
            std::memcpy(to + field.offset, from + field.offset, field.size);
            base->dmFields |= field.flag;
        }
    }
}

DriverLayout LayoutOf(const DEVMODEW& devmode) {
    DriverPrivatePart driver = {};
    return DriverPart(devmode, &driver) ? driver.layout : DriverLayout{};
}

const BYTE* PluginPart(const DEVMODEW& devmode, DWORD* size) {
    const BYTE* extra = reinterpret_cast<const BYTE*>(&devmode) + devmode.dmSize;
    DriverPrivatePart driver = {};
    // Both sizes are checked against what is left, so no sum can wrap.
    DWORD left = devmode.dmDriverExtra;
    if (!DriverPart(devmode, &driver) || left - driver.size < kMinPluginPart) {
        return nullptr;
    }
    left -= driver.size;
    DWORD plugin = 0;
    std::memcpy(&plugin, extra + driver.size, sizeof plugin);
    if (plugin < kMinPluginPart || plugin > left) {
        return nullptr;
    }
    *size = plugin;
    return extra + driver.size;
}

const BYTE* PluginPart(const DEVMODEW* devmode, DWORD signature, DWORD* size) {
    DWORD found = 0;
    const BYTE* part = devmode ? PluginPart(*devmode, &found) : nullptr;
    DWORD partSignature = 0;
    if (part) {
        std::memcpy(&partSignature, part + sizeof(DWORD), sizeof partSignature);
    }
    if (!part || partSignature != signature) {
        return nullptr;
    }
    *size = found;
    return part;
}

std::vector<BYTE> ComposeDevmode(const DEVMODEW& publicPart, const BYTE* plugin, DWORD size,
                                 DriverLayout layout) {
    DEVMODEW head = publicPart;
    head.dmSize = sizeof(DEVMODEW);
    head.dmDriverExtra = static_cast<WORD>(sizeof(DriverPrivatePart) + size);
    DriverPrivatePart driver = {sizeof(DriverPrivatePart), kDriverPrivateSignature, 1, layout};
    std::vector<BYTE> whole(kPluginPartOffset + size);
    std::memcpy(whole.data(), &head, sizeof head);
    std::memcpy(whole.data() + sizeof head, &driver, sizeof driver);
    if (plugin && size) {
        std::memcpy(whole.data() + kPluginPartOffset, plugin, size);
    }
    return whole;
}

} // namespace moltr::unidrv
