#include "moltr/document_devmode.h"

#include <winspool.h>
#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "moltr/command_line.h"
#include "moltr/devmode_command.h"
#include "moltr/field_value.h"
#include "moltr/json_value.h"
#include "moltr/named_printer.h"
#include "moltr/private_devmode.h"
#include "sim/utf.h"
#include "store/field_type.h"

namespace moltr::tool {
namespace {

// The private devmode of `size` bytes inside a whole devmode; null when it has none.
BYTE* PrivatePartOf(std::vector<BYTE>& devmode, DWORD size) {
    std::optional<size_t> at = FindPrivateDevMode(devmode, size);
    return at ? devmode.data() + *at : nullptr;
}

constexpr char kUsage[] =
    "usage: moltr devmode PRINTER --document [--set FIELD=VALUE ...] [--json]";

// The public fields shown and settable, with the dmFields flag a change sets (0: none).
struct PublicField {
    const char* name;
    size_t offset;
    size_t size;
    DWORD flag;
};

#define MOLTR_FIELD(field, flag)                                                                   \
    { #field, offsetof(DEVMODEW, field), sizeof(DEVMODEW::field), flag }

constexpr PublicField kPublicFields[] = {
    MOLTR_FIELD(dmSize, 0),
    MOLTR_FIELD(dmDriverExtra, 0),
    MOLTR_FIELD(dmFields, 0),
    MOLTR_FIELD(dmOrientation, DM_ORIENTATION),
    MOLTR_FIELD(dmPaperSize, DM_PAPERSIZE),
    MOLTR_FIELD(dmPaperLength, DM_PAPERLENGTH),
    MOLTR_FIELD(dmPaperWidth, DM_PAPERWIDTH),
    MOLTR_FIELD(dmScale, DM_SCALE),
    MOLTR_FIELD(dmCopies, DM_COPIES),
    MOLTR_FIELD(dmDefaultSource, DM_DEFAULTSOURCE),
    MOLTR_FIELD(dmPrintQuality, DM_PRINTQUALITY),
    MOLTR_FIELD(dmColor, DM_COLOR),
    MOLTR_FIELD(dmDuplex, DM_DUPLEX),
    MOLTR_FIELD(dmYResolution, DM_YRESOLUTION),
    MOLTR_FIELD(dmTTOption, DM_TTOPTION),
    MOLTR_FIELD(dmCollate, DM_COLLATE),
    MOLTR_FIELD(dmNup, DM_NUP),
    MOLTR_FIELD(dmMediaType, DM_MEDIATYPE),
    MOLTR_FIELD(dmDitherType, DM_DITHERTYPE),
};

#undef MOLTR_FIELD

struct Request {
    std::string printer;
    std::vector<std::pair<std::string, std::string>> changes;
    bool json = false;
};

std::string ParseArguments(const std::vector<std::string>& args, Request& request) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--document") {
            continue;
        }
        if (args[i] == "--json") {
            request.json = true;
        } else if (args[i] == "--set" && i + 1 < args.size()) {
            size_t equals = args[++i].find('=');
            if (equals == std::string::npos || equals == 0) {
                return "--set needs FIELD=VALUE, not '" + args[i] + "'";
            }
            request.changes.emplace_back(args[i].substr(0, equals), args[i].substr(equals + 1));
        } else if (request.printer.empty() && args[i].rfind("--", 0) != 0) {
            request.printer = args[i];
        } else {
            return kUsage;
        }
    }
    return request.printer.empty() ? kUsage : "";
}

const PublicField* FindPublic(const std::string& name) {
    for (const PublicField& field : kPublicFields) {
        if (name == field.name) {
            return &field;
        }
    }
    return nullptr;
}

int64_t PublicValue(const BYTE* devmode, const PublicField& field) {
    if (field.size == sizeof(SHORT)) {
        SHORT value = 0;
        std::memcpy(&value, devmode + field.offset, sizeof value);
        return field.offset == offsetof(DEVMODEW, dmSize) ||
                       field.offset == offsetof(DEVMODEW, dmDriverExtra)
                   ? static_cast<WORD>(value)
                   : value;
    }
    DWORD value = 0;
    std::memcpy(&value, devmode + field.offset, sizeof value);
    return value;
}

std::string SetPublic(std::vector<BYTE>& devmode, const PublicField& field,
                      const std::string& text) {
    char* end = nullptr;
    long long value = std::strtoll(text.c_str(), &end, 0);
    if (text.empty() || *end != 0 || field.flag == 0) {
        return field.flag == 0 ? std::string(field.name) + " cannot be set"
                               : "not a number for " + std::string(field.name) + ": " + text;
    }
    std::memcpy(devmode.data() + field.offset, &value, field.size);
    auto* header = reinterpret_cast<DEVMODEW*>(devmode.data());
    header->dmFields |= field.flag;
    return "";
}

class DocumentDevMode {
public:
    std::string Open(const std::string& name);
    std::string Apply(const std::vector<std::pair<std::string, std::string>>& changes);
    void Show(bool json) const;

private:
    BYTE* PrivatePart() { return PrivatePartOf(devmode_, privateSize_); }
    const BYTE* PrivatePart() const { return const_cast<DocumentDevMode*>(this)->PrivatePart(); }

    NamedPrinter printer_;
    std::u16string device_;
    std::vector<BYTE> devmode_;
    StoredStructure layout_;
    DWORD privateSize_ = 0;
};

std::string DocumentDevMode::Open(const std::string& name) {
    std::string error = printer_.Open(name);
    if (!error.empty()) {
        return error;
    }
    device_ = sim::Utf16(name);
    LONG size =
        DocumentPropertiesW(nullptr, printer_.handle(), sim::W(device_), nullptr, nullptr, 0);
    if (size < static_cast<LONG>(sizeof(DEVMODEW))) {
        return "DocumentPropertiesW gives no devmode for " + name;
    }
    devmode_.assign(static_cast<size_t>(size), 0);
    if (DocumentPropertiesW(nullptr, printer_.handle(), sim::W(device_),
                            reinterpret_cast<DEVMODEW*>(devmode_.data()), nullptr,
                            DM_OUT_BUFFER) != IDOK) {
        return "DocumentPropertiesW refuses the defaults of " + name;
    }
    // The private part is described by the printer's compiled OEMDEVMODE, made on first use.
    if (printer_.Layout(u"OEMDEVMODE", layout_).empty()) {
        common::IDrvSettings* settings = printer_.Settings(common::kModeDocument, error);
        if (settings != nullptr) {
            settings->GetDevModeSize(&privateSize_);
            settings->Release();
        }
    }
    return "";
}

std::string
DocumentDevMode::Apply(const std::vector<std::pair<std::string, std::string>>& changes) {
    if (changes.empty()) {
        return "";
    }
    std::vector<BYTE> input = devmode_;
    for (const auto& [name, text] : changes) {
        std::string error;
        if (const PublicField* field = FindPublic(name)) {
            error = SetPublic(input, *field, text);
        } else {
            std::vector<StoredField> fields = BlockFields(layout_);
            auto found = std::find_if(fields.begin(), fields.end(),
                                      [&](const StoredField& field) { return field.name == name; });
            BYTE* part = PrivatePartOf(input, privateSize_);
            std::vector<BYTE> bytes;
            error = found == fields.end() || part == nullptr ? "no such field: " + name
                                                             : ParseFieldValue(*found, text, bytes);
            if (error.empty()) {
                std::memcpy(part + found->offset, bytes.data(), bytes.size());
            }
        }
        if (!error.empty()) {
            return error;
        }
    }
    if (DocumentPropertiesW(nullptr, printer_.handle(), sim::W(device_),
                            reinterpret_cast<DEVMODEW*>(devmode_.data()),
                            reinterpret_cast<DEVMODEW*>(input.data()),
                            DM_IN_BUFFER | DM_OUT_BUFFER) != IDOK) {
        return "DocumentPropertiesW refuses the changes";
    }
    return "";
}

JsonValue PrivateValue(const StoredField& field, const BYTE* bytes) {
    bool single = field.elementCount <= 1;
    switch (field.type) {
    case store::kTypeByte:
    case store::kTypeWord:
    case store::kTypeDword:
    case store::kTypeDword64:
    case store::kTypeColorref:
        if (single) {
            uint64_t value = 0;
            std::memcpy(&value, bytes, std::min<size_t>(field.elementSize, sizeof value));
            return JsonValue::Unsigned(value);
        }
        break;
    default:
        break;
    }
    return JsonValue::String(FieldValueText(field, bytes));
}

void DocumentDevMode::Show(bool json) const {
    JsonValue shown = JsonValue::Object();
    JsonValue publicPart = JsonValue::Object();
    for (const PublicField& field : kPublicFields) {
        publicPart.Add(field.name, JsonValue::Signed(PublicValue(devmode_.data(), field)));
    }
    shown.Add("public", std::move(publicPart));
    JsonValue privatePart = JsonValue::Object();
    const BYTE* part = PrivatePart();
    for (const StoredField& field : part ? BlockFields(layout_) : std::vector<StoredField>()) {
        if (field.offset + static_cast<DWORD>(field.elementSize) * field.elementCount <=
            privateSize_) {
            privatePart.Add(field.name, PrivateValue(field, part + field.offset));
        }
    }
    shown.Add("private", std::move(privatePart));
    if (json) {
        std::printf("%s\n", shown.Serialize().c_str());
        return;
    }
    for (const auto& [section, members] : shown.members()) {
        std::printf("%s:\n", section.c_str());
        for (const auto& [name, value] : members.members()) {
            std::printf("  %s = %s\n", name.c_str(),
                        value.kind() == JsonValue::Kind::kString ? value.text().c_str()
                                                                 : value.Serialize().c_str());
        }
    }
}

} // namespace

int RunDocumentDevMode(const std::vector<std::string>& args) {
    Request request;
    std::string error = ParseArguments(args, request);
    DocumentDevMode devmode;
    if (error.empty()) {
        error = devmode.Open(request.printer);
    }
    if (error.empty()) {
        error = devmode.Apply(request.changes);
    }
    if (!error.empty()) {
        return Fail(error);
    }
    devmode.Show(request.json);
    return 0;
}

} // namespace moltr::tool
