#include "moltr/devcaps_command.h"

#include <winspool.h>
#include <algorithm>
#include <cstdio>
#include <iterator>
#include "moltr/command_line.h"
#include "moltr/json_value.h"
#include "sim/utf.h"

namespace moltr::tool {
namespace {

constexpr char kUsage[] =
    "usage: moltr devcaps PRINTER minextent|maxextent|binnames|papers|papernames [--json]";

enum class Answer { kExtent, kNames, kValues };

struct Capability {
    const char* name;
    WORD code;
    Answer answer;
    size_t entryChars; // of a name entry, the NUL included
};

constexpr Capability kCapabilities[] = {
    {"minextent", DC_MINEXTENT, Answer::kExtent, 0},
    {"maxextent", DC_MAXEXTENT, Answer::kExtent, 0},
    {"binnames", DC_BINNAMES, Answer::kNames, 24},
    {"papers", DC_PAPERS, Answer::kValues, 0},
    {"papernames", DC_PAPERNAMES, Answer::kNames, 64},
};

// The answer's entries: names (each cut at its NUL) or paper codes.
void AddEntries(const Capability& capability, const std::vector<WCHAR>& output, int count,
                JsonValue& value) {
    JsonValue entries = JsonValue::Array();
    for (int i = 0; i < count; ++i) {
        if (capability.answer == Answer::kValues) {
            entries.Add(JsonValue::Unsigned(static_cast<WORD>(output[i])));
            continue;
        }
        const WCHAR* entry = output.data() + i * capability.entryChars;
        size_t length = std::find(entry, entry + capability.entryChars, 0) - entry;
        std::u16string text(reinterpret_cast<const char16_t*>(entry), length);
        entries.Add(JsonValue::String(sim::Utf8(text)));
    }
    value.Add(capability.answer == Answer::kNames ? "names" : "values", std::move(entries));
}

void PrintText(const JsonValue& value) {
    for (const auto& [key, member] : value.members()) {
        if (member.kind() != JsonValue::Kind::kArray) {
            std::printf("%s: %s\n", key.c_str(), member.Serialize().c_str());
            continue;
        }
        for (const JsonValue& element : member.elements()) {
            std::printf("%s\n", element.kind() == JsonValue::Kind::kString
                                    ? element.text().c_str()
                                    : element.Serialize().c_str());
        }
    }
}

} // namespace

int RunDevCaps(const std::vector<std::string>& args) {
    std::vector<std::string> words;
    bool json = false;
    if (!ParseWordsAndJson(args, 2, words, json)) {
        return Fail(kUsage);
    }
    const Capability* capability = nullptr;
    for (const Capability& known : kCapabilities) {
        capability = words.size() == 2 && words[1] == known.name ? &known : capability;
    }
    if (capability == nullptr) {
        return Fail(kUsage);
    }
    std::u16string device = sim::Utf16(words[0]);
    int result = DeviceCapabilitiesW(sim::W(device), nullptr, capability->code, nullptr, nullptr);
    if (result < 0) {
        return Fail("DeviceCapabilitiesW answers -1 for " + words[0] + " (no such printer?)");
    }
    JsonValue value = JsonValue::Object();
    if (capability->answer == Answer::kExtent) {
        value.Add("result", JsonValue::Signed(result));
        value.Add("x", JsonValue::Signed(static_cast<SHORT>(result & 0xFFFF)));
        value.Add("y", JsonValue::Signed(static_cast<SHORT>((result >> 16) & 0xFFFF)));
    } else {
        size_t chars = capability->answer == Answer::kNames ? capability->entryChars : 1;
        std::vector<WCHAR> output(std::max<size_t>(1, static_cast<size_t>(result) * chars));
        result =
            DeviceCapabilitiesW(sim::W(device), nullptr, capability->code, output.data(), nullptr);
        if (result < 0) {
            return Fail("DeviceCapabilitiesW answers -1 for " + words[0]);
        }
        value.Add("result", JsonValue::Signed(result));
        AddEntries(*capability, output, result, value);
    }
    if (json) {
        std::printf("%s\n", value.Serialize().c_str());
    } else {
        PrintText(value);
    }
    return 0;
}

} // namespace moltr::tool
