#include "moltr/document_devmode.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include "moltr/command_line.h"
#include "moltr/devmode_command.h"
#include "moltr/field_value.h"
#include "moltr/job_devmode.h"
#include "moltr/json_value.h"
#include "moltr/named_printer.h"
#include "moltr/private_devmode.h"
#include "store/field_type.h"

namespace moltr::tool {
namespace {

constexpr char kUsage[] =
    "usage: moltr devmode PRINTER --document [--set FIELD=VALUE ...] [--json]";

// The public fields shown: the sizes and dmFields, then the settable ones an application reads.
constexpr PublicDevModeField kHeaderFields[] = {
    {"dmSize", offsetof(DEVMODEW, dmSize), store::kTypeWord, 2, 1, 0},
    {"dmDriverExtra", offsetof(DEVMODEW, dmDriverExtra), store::kTypeWord, 2, 1, 0},
    {"dmFields", offsetof(DEVMODEW, dmFields), store::kTypeDword, 4, 1, 0},
};
constexpr const char* kShownSettable[] = {
    "dmOrientation", "dmPaperSize", "dmPaperLength",   "dmPaperWidth",
    "dmScale",       "dmCopies",    "dmDefaultSource", "dmPrintQuality",
    "dmColor",       "dmDuplex",    "dmYResolution",   "dmTTOption",
    "dmCollate",     "dmNup",       "dmMediaType",     "dmDitherType",
};

struct Request {
    std::string printer;
    std::vector<std::string> settings;
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
            request.settings.push_back(args[i]);
        } else if (request.printer.empty() && args[i].rfind("--", 0) != 0) {
            request.printer = args[i];
        } else {
            return kUsage;
        }
    }
    return request.printer.empty() ? kUsage : "";
}

int64_t PublicValue(const BYTE* devmode, const PublicDevModeField& field) {
    if (field.type == store::kTypeShort) {
        SHORT value = 0;
        std::memcpy(&value, devmode + field.offset, sizeof value);
        return value;
    }
    if (field.type == store::kTypeWord) {
        WORD value = 0;
        std::memcpy(&value, devmode + field.offset, sizeof value);
        return value;
    }
    DWORD value = 0;
    std::memcpy(&value, devmode + field.offset, sizeof value);
    return value;
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

} // namespace

JsonValue SettingsBlockJson(const StoredStructure& layout, const BYTE* block, size_t size) {
    JsonValue fields = JsonValue::Object();
    for (const StoredField& field : BlockFields(layout)) {
        if (field.offset + size_t{field.elementSize} * field.elementCount <= size) {
            fields.Add(field.name, PrivateValue(field, block + field.offset));
        }
    }
    return fields;
}

JsonValue DevModeJson(const NamedPrinter& printer, const std::vector<BYTE>& devmode) {
    JsonValue shown = JsonValue::Object();
    JsonValue publicPart = JsonValue::Object();
    for (const PublicDevModeField& field : kHeaderFields) {
        publicPart.Add(field.name, JsonValue::Signed(PublicValue(devmode.data(), field)));
    }
    for (const char* name : kShownSettable) {
        const PublicDevModeField& field = *FindPublicDevModeField(name);
        publicPart.Add(field.name, JsonValue::Signed(PublicValue(devmode.data(), field)));
    }
    shown.Add("public", std::move(publicPart));
    // A printer without settings shows the public part alone.
    StoredStructure layout;
    DWORD size = 0;
    std::optional<size_t> at;
    if (PrivateDevModeLayout(printer, layout, size).empty()) {
        at = FindPrivateDevMode(devmode, size);
    }
    shown.Add("private",
              at ? SettingsBlockJson(layout, devmode.data() + *at, size) : JsonValue::Object());
    return shown;
}

std::string SectionsText(const JsonValue& sections) {
    std::string out;
    for (const auto& [section, members] : sections.members()) {
        out += section + ":\n";
        for (const auto& [name, value] : members.members()) {
            out += "  " + name + " = " +
                   (value.kind() == JsonValue::Kind::kString ? value.text() : value.Serialize()) +
                   "\n";
        }
    }
    return out;
}

int RunDocumentDevMode(const std::vector<std::string>& args) {
    Request request;
    std::string error = ParseArguments(args, request);
    NamedPrinter printer;
    std::vector<BYTE> devmode;
    if (error.empty()) {
        error = printer.Open(request.printer);
    }
    if (error.empty()) {
        error = ApplicationDevMode(printer, request.settings, devmode);
    }
    if (!error.empty()) {
        return Fail(error);
    }
    const JsonValue shown = DevModeJson(printer, devmode);
    if (request.json) {
        std::printf("%s\n", shown.Serialize().c_str());
    } else {
        std::fputs(SectionsText(shown).c_str(), stdout);
    }
    return 0;
}

} // namespace moltr::tool
