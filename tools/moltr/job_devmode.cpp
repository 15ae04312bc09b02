#include "moltr/job_devmode.h"

#include <winspool.h>
#include <algorithm>
#include <cstddef>
#include <cstring>
#include "moltr/driver_layout.h"
#include "moltr/field_value.h"
#include "moltr/private_devmode.h"
#include "sim/utf.h"
#include "store/field_type.h"

namespace moltr::tool {
namespace {

constexpr DWORD kShort = store::kTypeShort;
constexpr DWORD kDword = store::kTypeDword;
constexpr PublicDevModeField kPublicFields[] = {
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

std::string ApplyPublic(const PublicDevModeField& known, const std::string& value,
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
    DWORD size = 0;
    std::string error = PrivateDevModeLayout(printer, layout, size);
    if (!error.empty()) {
        return error;
    }
    std::vector<StoredField> fields = BlockFields(layout);
    auto match = std::find_if(fields.begin(), fields.end(),
                              [&](const StoredField& known) { return known.name == name; });
    if (match == fields.end()) {
        return "no such devmode field: " + name;
    }
    std::optional<size_t> block = FindPrivateDevMode(devmode, size);
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

// One FIELD=VALUE; a public field also sets its dmFields bit. Returns an error text.
std::string ApplySetting(const NamedPrinter& printer, const std::string& setting,
                         std::vector<BYTE>& devmode) {
    const size_t equals = setting.find('=');
    if (equals == std::string::npos || equals == 0) {
        return "expected FIELD=VALUE: " + setting;
    }
    const std::string name = setting.substr(0, equals);
    const std::string value = setting.substr(equals + 1);
    if (const PublicDevModeField* known = FindPublicDevModeField(name)) {
        return ApplyPublic(*known, value, devmode);
    }
    if (name.rfind("dm", 0) == 0) {
        return "no such devmode field: " + name;
    }
    return ApplyPrivate(printer, name, value, devmode);
}

// DocumentPropertiesW's defaults for the printer, the device name being the printer's name.
std::string DefaultDevMode(const NamedPrinter& printer, std::u16string& device,
                           std::vector<BYTE>& devmode) {
    const std::string name = sim::Utf8(device);
    LONG size = DocumentPropertiesW(nullptr, printer.handle(), sim::W(device), nullptr, nullptr, 0);
    if (size < static_cast<LONG>(sizeof(DEVMODEW))) {
        return "DocumentPropertiesW gives no devmode for " + name;
    }
    devmode.assign(static_cast<size_t>(size), 0);
    if (DocumentPropertiesW(nullptr, printer.handle(), sim::W(device),
                            reinterpret_cast<DEVMODEW*>(devmode.data()), nullptr,
                            DM_OUT_BUFFER) != IDOK) {
        return "DocumentPropertiesW refuses the defaults of " + name;
    }
    return {};
}

} // namespace

std::span<const PublicDevModeField> PublicDevModeFields() {
    return kPublicFields;
}

const PublicDevModeField* FindPublicDevModeField(const std::string& name) {
    auto known = std::find_if(std::begin(kPublicFields), std::end(kPublicFields),
                              [&](const PublicDevModeField& field) { return name == field.name; });
    return known != std::end(kPublicFields) ? known : nullptr;
}

std::string ApplicationDevMode(const NamedPrinter& printer,
                               const std::vector<std::string>& settings,
                               std::vector<BYTE>& devmode) {
    std::u16string device = printer.name();
    std::string error = DefaultDevMode(printer, device, devmode);
    if (!error.empty() || settings.empty()) {
        return error.empty() ? MatchDriverLayout(printer, devmode) : error;
    }
    std::vector<BYTE> input = devmode;
    for (const std::string& setting : settings) {
        error = ApplySetting(printer, setting, input);
        if (!error.empty()) {
            return error;
        }
    }
    if (DocumentPropertiesW(
            nullptr, printer.handle(), sim::W(device), reinterpret_cast<DEVMODEW*>(devmode.data()),
            reinterpret_cast<DEVMODEW*>(input.data()), DM_IN_BUFFER | DM_OUT_BUFFER) != IDOK) {
        return "DocumentPropertiesW refuses the changes";
    }
    return MatchDriverLayout(printer, devmode);
}

} // namespace moltr::tool
