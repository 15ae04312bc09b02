#include "moltr/job_devmode.h"

#include <winspool.h>
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include "moltr/field_value.h"
#include "moltr/private_devmode.h"
#include "sim/utf.h"
#include "store/field_type.h"

namespace moltr::tool {
namespace {

// The public fields a job may set, typed as the settings fields are, with their dmFields bits.
struct PublicField {
    const char* name;
    DWORD offset;
    DWORD type;
    WORD elementSize;
    WORD elementCount;
    DWORD bit;
};

constexpr DWORD kShort = store::kTypeShort;
constexpr DWORD kDword = store::kTypeDword;
constexpr PublicField kPublicFields[] = {
    {"dmOrientation", offsetof(DEVMODEW, dmOrientation), kShort, 2, 1, DM_ORIENTATION},
    {"dmPaperSize", offsetof(DEVMODEW, dmPaperSize), kShort, 2, 1, DM_PAPERSIZE},
    {"dmPaperLength", offsetof(DEVMODEW, dmPaperLength), kShort, 2, 1, DM_PAPERLENGTH},
    {"dmPaperWidth", offsetof(DEVMODEW, dmPaperWidth), kShort, 2, 1, DM_PAPERWIDTH},
    {"dmScale", offsetof(DEVMODEW, dmScale), kShort, 2, 1, DM_SCALE},
    {"dmCopies", offsetof(DEVMODEW, dmCopies), kShort, 2, 1, DM_COPIES},
    {"dmDefaultSource", offsetof(DEVMODEW, dmDefaultSource), kShort, 2, 1, DM_DEFAULTSOURCE},
    {"dmPrintQuality", offsetof(DEVMODEW, dmPrintQuality), kShort, 2, 1, DM_PRINTQUALITY},
    {"dmColor", offsetof(DEVMODEW, dmColor), kShort, 2, 1, DM_COLOR},
    {"dmDuplex", offsetof(DEVMODEW, dmDuplex), kShort, 2, 1, DM_DUPLEX},
    {"dmYResolution", offsetof(DEVMODEW, dmYResolution), kShort, 2, 1, DM_YRESOLUTION},
    {"dmTTOption", offsetof(DEVMODEW, dmTTOption), kShort, 2, 1, DM_TTOPTION},
    {"dmCollate", offsetof(DEVMODEW, dmCollate), kShort, 2, 1, DM_COLLATE},
    {"dmFormName", offsetof(DEVMODEW, dmFormName), store::kTypeChar, 2, CCHFORMNAME, DM_FORMNAME},
    {"dmNup", offsetof(DEVMODEW, dmNup), kDword, 4, 1, DM_NUP},
    {"dmICMMethod", offsetof(DEVMODEW, dmICMMethod), kDword, 4, 1, DM_ICMMETHOD},
    {"dmICMIntent", offsetof(DEVMODEW, dmICMIntent), kDword, 4, 1, DM_ICMINTENT},
    {"dmMediaType", offsetof(DEVMODEW, dmMediaType), kDword, 4, 1, DM_MEDIATYPE},
    {"dmDitherType", offsetof(DEVMODEW, dmDitherType), kDword, 4, 1, DM_DITHERTYPE},
};

struct SettingsRelease {
    void operator()(common::IDrvSettings* settings) const { settings->Release(); }
};

std::string ApplyPublic(const PublicField& known, const std::string& value,
                        std::vector<BYTE>& devmode) {
    const StoredField field{known.name, known.type, known.offset, known.elementSize,
                            known.elementCount};
    WORD publicSize = 0;
    std::memcpy(&publicSize, devmode.data() + offsetof(DEVMODEW, dmSize), sizeof publicSize);
    if (field.offset + size_t{field.elementSize} * field.elementCount > publicSize) {
        return "the printer's devmode has no field " + field.name;
    }
    std::vector<BYTE> bytes;
    std::string error = ParseFieldValue(field, value, bytes);
    if (!error.empty()) {
        return error;
    }
    std::memcpy(devmode.data() + field.offset, bytes.data(), bytes.size());
    DWORD fields = 0;
    std::memcpy(&fields, devmode.data() + offsetof(DEVMODEW, dmFields), sizeof fields);
    fields |= known.bit;
    std::memcpy(devmode.data() + offsetof(DEVMODEW, dmFields), &fields, sizeof fields);
    return {};
}

std::string ApplyPrivate(const NamedPrinter& printer, const std::string& name,
                         const std::string& value, std::vector<BYTE>& devmode) {
    StoredStructure layout;
    std::string error = printer.Layout(u"OEMDEVMODE", layout);
    std::unique_ptr<common::IDrvSettings, SettingsRelease> settings(
        error.empty() ? printer.Settings(common::kModeDocument, error) : nullptr);
    if (!settings) {
        return error;
    }
    std::vector<StoredField> fields = BlockFields(layout);
    auto match = std::find_if(fields.begin(), fields.end(),
                              [&](const StoredField& known) { return known.name == name; });
    if (match == fields.end()) {
        return "no such devmode field: " + name;
    }
    DWORD size = 0;
    std::optional<size_t> block = SUCCEEDED(settings->GetDevModeSize(&size))
                                      ? FindPrivateDevMode(devmode, size)
                                      : std::nullopt;
    if (!block) {
        return "the printer's devmode has no private part for " + name;
    }
    std::vector<BYTE> bytes;
    error = ParseFieldValue(*match, value, bytes);
    if (!error.empty()) {
        return error;
    }
    const size_t length = static_cast<size_t>(match->elementSize) * match->elementCount;
    if (match->offset + length > size || bytes.size() < length) {
        return "the devmode field " + name + " lies outside the private devmode";
    }
    std::memcpy(devmode.data() + *block + match->offset, bytes.data(), length);
    return {};
}

} // namespace

std::string ApplicationDevMode(const NamedPrinter& printer, std::vector<BYTE>& devmode) {
    devmode = PrinterDevMode(printer.handle());
    if (devmode.empty()) {
        DEVMODEW bare{};
        const std::u16string name = printer.name().substr(0, CCHDEVICENAME - 1);
        std::memcpy(bare.dmDeviceName, name.data(), name.size() * sizeof(char16_t));
        bare.dmSpecVersion = DM_SPECVERSION;
        bare.dmSize = sizeof bare;
        const BYTE* bytes = reinterpret_cast<const BYTE*>(&bare);
        devmode.assign(bytes, bytes + sizeof bare);
    }
    std::string error;
    std::unique_ptr<common::IDrvSettings, SettingsRelease> settings(
        printer.Settings(common::kModeDocument, error));
    DWORD size = 0;
    if (!settings || FAILED(settings->GetDevModeSize(&size)) || FindPrivateDevMode(devmode, size)) {
        return {}; // a printer without settings prints with the public part alone
    }
    // The plug-ins' defaults follow the public part as its driver-extra bytes.
    const std::vector<BYTE> extra = DefaultPrivateDevMode(settings.get());
    WORD publicSize = 0;
    std::memcpy(&publicSize, devmode.data() + offsetof(DEVMODEW, dmSize), sizeof publicSize);
    const WORD extraSize = static_cast<WORD>(extra.size());
    devmode.resize(publicSize);
    devmode.insert(devmode.end(), extra.begin(), extra.end());
    std::memcpy(devmode.data() + offsetof(DEVMODEW, dmDriverExtra), &extraSize, sizeof extraSize);
    return {};
}

std::string ApplyDevModeSetting(const NamedPrinter& printer, const std::string& setting,
                                std::vector<BYTE>& devmode) {
    const size_t equals = setting.find('=');
    if (equals == std::string::npos || equals == 0) {
        return "expected FIELD=VALUE: " + setting;
    }
    const std::string name = setting.substr(0, equals);
    const std::string value = setting.substr(equals + 1);
    auto known = std::find_if(std::begin(kPublicFields), std::end(kPublicFields),
                              [&](const PublicField& field) { return name == field.name; });
    if (known != std::end(kPublicFields)) {
        return ApplyPublic(*known, value, devmode);
    }
    if (name.rfind("dm", 0) == 0) {
        return "no such devmode field: " + name;
    }
    return ApplyPrivate(printer, name, value, devmode);
}

} // namespace moltr::tool
