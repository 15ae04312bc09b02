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

// The devmode an application gets, with the private part's layout to show it by.
class DocumentDevMode {
public:
    std::string Open(const std::string& name, const std::vector<std::string>& settings);
    void Show(bool json) const;

private:
    NamedPrinter printer_;
    std::vector<BYTE> devmode_;
    StoredStructure layout_;
    DWORD privateSize_ = 0;
};

std::string DocumentDevMode::Open(const std::string& name,
                                  const std::vector<std::string>& settings) {
    std::string error = printer_.Open(name);
    if (error.empty()) {
        error = ApplicationDevMode(printer_, settings, devmode_);
    }
    if (error.empty() && !PrivateDevModeLayout(printer_, layout_, privateSize_).empty()) {
        privateSize_ = 0; // a printer without settings shows the public part alone
    }
    return error;
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
    for (const PublicDevModeField& field : kHeaderFields) {
        publicPart.Add(field.name, JsonValue::Signed(PublicValue(devmode_.data(), field)));
    }
    for (const char* name : kShownSettable) {
        const PublicDevModeField& field = *FindPublicDevModeField(name);
        publicPart.Add(field.name, JsonValue::Signed(PublicValue(devmode_.data(), field)));
    }
    shown.Add("public", std::move(publicPart));
    JsonValue privatePart = JsonValue::Object();
    std::optional<size_t> at = FindPrivateDevMode(devmode_, privateSize_);
    const BYTE* part = at ? devmode_.data() + *at : nullptr;
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
        error = devmode.Open(request.printer, request.settings);
    }
    if (!error.empty()) {
        return Fail(error);
    }
    devmode.Show(request.json);
    return 0;
}

} // namespace moltr::tool
