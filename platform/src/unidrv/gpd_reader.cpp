#include "src/unidrv/gpd_reader.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include "sim/utf.h"
#include "src/core/file_paths.h"
#include "src/unidrv/gpd_expression.h"

namespace moltr::unidrv {
namespace {

struct SectionName {
    const char* name;
    GpdSection section;
};

constexpr SectionName kSections[] = {
    {"JOB_SETUP", GpdSection::kJobSetup},   {"DOC_SETUP", GpdSection::kDocSetup},
    {"PAGE_SETUP", GpdSection::kPageSetup}, {"PAGE_FINISH", GpdSection::kPageFinish},
    {"DOC_FINISH", GpdSection::kDocFinish}, {"JOB_FINISH", GpdSection::kJobFinish},
};

// Attributes whose value the driver reads as a pair of numbers.
constexpr const char* kPairAttributes[] = {
    "*DPI",          "*TextDPI",        "*MasterUnits", "*PrintableArea", "*PrintableOrigin",
    "*CursorOrigin", "*PageDimensions",
};

// The argument type letters of command parameters.
constexpr char kParameterFormats[] = "dDcCfglmnqv";

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

int HexValue(char c) {
    return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
}

// The bytes of one quoted literal, "<1B>&l" with its <hex> escapes decoded.
bool Literal(std::string_view text, std::string* bytes, std::string* message) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '<') {
            *bytes += text[i];
            continue;
        }
        size_t close = text.find('>', i);
        if (close == std::string_view::npos) {
            *message = "'<' without '>' in a command string";
            return false;
        }
        std::string digits;
        for (char c : text.substr(i + 1, close - i - 1)) {
            if (c != ' ' && c != '\t' && !IsHex(c)) {
                *message = "bad hex byte in a command string";
                return false;
            }
            if (c != ' ' && c != '\t') {
                digits += c;
            }
        }
        if (digits.size() % 2 != 0) {
            *message = "odd number of hex digits in a command string";
            return false;
        }
        for (size_t d = 0; d < digits.size(); d += 2) {
            *bytes += static_cast<char>(HexValue(digits[d]) * 16 + HexValue(digits[d + 1]));
        }
        i = close;
    }
    return true;
}

// The optional "[min,max]" of a parameter, the text between its type letter and its '{'.
bool Range(std::string_view text, GpdCommandPart* part) {
    text = TrimGpdBlanks(text);
    if (text.empty()) {
        return true;
    }
    size_t comma = text.find(',');
    if (text.front() != '[' || text.back() != ']' || comma == std::string_view::npos) {
        return false;
    }
    part->ranged = true;
    return ParseGpdInteger(text.substr(1, comma - 1), &part->minimum) &&
           ParseGpdInteger(text.substr(comma + 1, text.size() - comma - 2), &part->maximum);
}

// "%<digits><letter>[min,max]{expression}", starting at its '%'.
bool Parameter(std::string_view text, size_t* position, GpdCommandPart* part,
               std::string* message) {
    size_t i = *position + 1;
    // Three digits are more than any field width; a fourth is refused as no type letter.
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && part->width < 100) {
        part->width = part->width * 10 + (text[i++] - '0');
    }
    if (i >= text.size() ||
        std::string_view(kParameterFormats).find(text[i]) == std::string_view::npos) {
        *message = "unknown parameter type in a command string";
        return false;
    }
    part->parameter = true;
    part->format = text[i++];
    size_t open = text.find('{', i);
    size_t close = open == std::string_view::npos ? open : text.find('}', open);
    if (close == std::string_view::npos || !Range(text.substr(i, open - i), part)) {
        *message = "a parameter needs an optional [min,max] range and an expression in { }";
        return false;
    }
    part->expression = std::string(text.substr(open + 1, close - open - 1));
    long long ignored = 0;
    std::string problem;
    if (!EvaluateGpdExpression(part->expression, nullptr, &ignored, &problem)) {
        *message = "bad parameter expression: " + problem;
        return false;
    }
    *position = close + 1;
    return true;
}

class ModelBuilder {
public:
    ModelBuilder(GpdModel* model, GpdError* error) : model_(model), error_(error) {}

    bool Build(const std::vector<GpdEntry>& entries) {
        for (const GpdEntry& entry : entries) {
            if (!Root(entry)) {
                return false;
            }
        }
        return Check();
    }

private:
    bool Fail(const GpdOrigin& origin, std::string message) {
        error_->origin = origin;
        error_->message = std::move(message);
        return false;
    }

    bool Root(const GpdEntry& entry) {
        if (SameGpdKeyword(entry.keyword, "*Feature")) {
            return Feature(entry);
        }
        if (SameGpdKeyword(entry.keyword, "*Macros")) {
            return Macros(entry);
        }
        if (SameGpdKeyword(entry.keyword, "*IgnoreBlock")) {
            return true;
        }
        return BodyEntry(entry, &model_->global);
    }

    bool NeedsBlock(const GpdEntry& entry) {
        if (entry.value.empty()) {
            return Fail(entry.origin, entry.keyword + " needs a name");
        }
        return entry.hasBlock || Fail(entry.origin, entry.keyword + " needs a { } block");
    }

    bool Macros(const GpdEntry& entry) {
        if (!entry.hasBlock) {
            return Fail(entry.origin, "*Macros needs a { } block");
        }
        for (const GpdEntry& macro : entry.children) {
            if (macro.keyword.front() == '*' || macro.hasBlock) {
                return Fail(macro.origin, "a value macro is NAME: value");
            }
            std::string value;
            if (!Expand(macro, &value)) {
                return false;
            }
            macros_[macro.keyword] = value;
        }
        return true;
    }

    // `entry`'s value with each =NAME of a value macro replaced by the macro's value. A name no
    // macro defines is one of the standard names when the standard names file was included.
    bool Expand(const GpdEntry& entry, std::string* value) {
        const std::string& text = entry.value;
        bool quoted = false;
        for (size_t i = 0; i < text.size(); ++i) {
            quoted = text[i] == '"' ? !quoted : quoted;
            if (quoted || text[i] != '=' || (i > 0 && text[i - 1] != ' ' && text[i - 1] != '\t')) {
                *value += text[i];
                continue;
            }
            size_t end = text.find_first_of(" \t\"", i + 1);
            std::string name = text.substr(i + 1, end == std::string::npos ? end : end - i - 1);
            auto macro = macros_.find(name);
            if (macro != macros_.end()) {
                *value += macro->second;
            } else if (model_->standardNames && !name.empty()) {
                *value += text.substr(i, name.size() + 1);
            } else {
                return Fail(entry.origin, "undefined value macro =" + name);
            }
            i += name.size();
        }
        return true;
    }

    bool Feature(const GpdEntry& entry) {
        if (!NeedsBlock(entry)) {
            return false;
        }
        auto found =
            std::find_if(model_->features.begin(), model_->features.end(),
                         [&](const GpdFeature& known) { return known.name == entry.value; });
        if (found == model_->features.end()) {
            model_->features.push_back({entry.value, {}, {}, 0, entry.origin});
            found = model_->features.end() - 1;
        }
        for (const GpdEntry& child : entry.children) {
            bool read = SameGpdKeyword(child.keyword, "*Option") ? Option(child, &*found)
                                                                 : BodyEntry(child, &found->body);
            if (!read) {
                return false;
            }
        }
        return true;
    }

    bool Option(const GpdEntry& entry, GpdFeature* feature) {
        if (!NeedsBlock(entry)) {
            return false;
        }
        int index = OptionIndex(*feature, entry.value);
        if (index < 0) {
            feature->options.push_back({entry.value, {}, entry.origin});
            index = static_cast<int>(feature->options.size()) - 1;
        }
        return Body(entry.children, &feature->options[index].body);
    }

    bool Body(const std::vector<GpdEntry>& entries, GpdBody* body) {
        return std::all_of(entries.begin(), entries.end(),
                           [&](const GpdEntry& entry) { return BodyEntry(entry, body); });
    }

    bool BodyEntry(const GpdEntry& entry, GpdBody* body) {
        if (SameGpdKeyword(entry.keyword, "*Command")) {
            return Command(entry, body);
        }
        if (SameGpdKeyword(entry.keyword, "*switch")) {
            return Switch(entry, body);
        }
        for (const char* misplaced : {"*Feature", "*Option", "*case", "*default", "*Macros"}) {
            if (SameGpdKeyword(entry.keyword, misplaced)) {
                return Fail(entry.origin, entry.keyword + " is not allowed here");
            }
        }
        if (entry.keyword.front() != '*') {
            return Fail(entry.origin, "expected an entry starting with '*': " + entry.keyword);
        }
        if (entry.hasBlock) {
            return true; // a construct the driver does not read (fonts, OEM data ...)
        }
        GpdAttribute attribute{entry.keyword, {}, entry.origin};
        if (!Expand(entry, &attribute.value) || !CheckAttribute(attribute)) {
            return false;
        }
        body->attributes.push_back(std::move(attribute));
        return true;
    }

    bool CheckAttribute(const GpdAttribute& attribute) {
        GpdPair pair;
        long long number = 0;
        std::string text;
        for (const char* name : kPairAttributes) {
            if (attribute.name == name && !ParseGpdPair(attribute.value, &pair)) {
                return Fail(attribute.origin, attribute.name + " needs PAIR(x, y)");
            }
        }
        bool standardName = model_->standardNames && attribute.value.rfind('=', 0) == 0;
        if ((attribute.name == "*OptionID" || (attribute.name == "*rcNameID" && !standardName)) &&
            !ParseGpdInteger(attribute.value, &number)) {
            return Fail(attribute.origin, attribute.name + " needs a number");
        }
        if (attribute.name == "*Name" && !ParseGpdQuoted(attribute.value, &text)) {
            return Fail(attribute.origin, "*Name needs a quoted text");
        }
        return true;
    }

    bool Command(const GpdEntry& entry, GpdBody* body) {
        if (!NeedsBlock(entry)) {
            return false;
        }
        GpdCommand command;
        command.name = entry.value;
        command.origin = entry.origin;
        bool cmd = false;
        for (const GpdEntry& child : entry.children) {
            GpdEntry expanded = child;
            expanded.value.clear();
            if (!Expand(child, &expanded.value) || !CommandEntry(expanded, &command, &cmd)) {
                return false;
            }
        }
        if (!cmd && !command.callback) {
            return Fail(entry.origin,
                        "*Command " + command.name + " has neither *Cmd nor *CallbackID");
        }
        body->commands.push_back(std::move(command));
        return true;
    }

    bool CommandEntry(const GpdEntry& entry, GpdCommand* command, bool* cmd) {
        std::string message;
        long long number = 0;
        if (entry.keyword == "*Order") {
            return Order(entry, command);
        }
        if (entry.keyword == "*Cmd") {
            *cmd = true;
            return ParseGpdCommandString(entry.value, &command->parts, &message) ||
                   Fail(entry.origin, message);
        }
        if (entry.keyword == "*CallbackID") {
            if (!ParseGpdInteger(entry.value, &number) || number < 0) {
                return Fail(entry.origin, "*CallbackID needs a number of 0 or more");
            }
            command->callback = true;
            command->callbackId = static_cast<unsigned long>(number);
            return true;
        }
        if (entry.keyword == "*Params") {
            return ParseGpdList(entry.value, &command->params) ||
                   Fail(entry.origin, "*Params needs LIST(...)");
        }
        return !entry.hasBlock ||
               Fail(entry.origin, entry.keyword + " is not allowed in a *Command");
    }

    bool Order(const GpdEntry& entry, GpdCommand* command) {
        size_t dot = entry.value.find('.');
        long long number = 0;
        const SectionName* section =
            std::find_if(std::begin(kSections), std::end(kSections), [&](const SectionName& known) {
                return dot != std::string::npos && entry.value.compare(0, dot, known.name) == 0;
            });
        if (section == std::end(kSections) ||
            !ParseGpdInteger(std::string_view(entry.value).substr(dot + 1), &number) ||
            number < 1) {
            return Fail(entry.origin, "*Order needs SECTION.NUMBER, such as DOC_SETUP.5");
        }
        command->section = section->section;
        command->order = static_cast<int>(number);
        return true;
    }

    // The cases of a *switch; a *case without a body shares the next body, as in C.
    bool Switch(const GpdEntry& entry, GpdBody* body) {
        if (!NeedsBlock(entry)) {
            return false;
        }
        GpdSwitch chosen{entry.value, {}, entry.origin};
        std::vector<std::string> pending;
        bool defaulted = false;
        for (const GpdEntry& child : entry.children) {
            bool isCase = SameGpdKeyword(child.keyword, "*case");
            if (!isCase && !SameGpdKeyword(child.keyword, "*default")) {
                return Fail(child.origin, "only *case and *default belong in a *switch");
            }
            if (defaulted || (isCase && child.value.empty())) {
                return Fail(child.origin, defaulted ? "*default must come last in a *switch"
                                                    : "*case needs an option name");
            }
            defaulted = !isCase;
            if (isCase) {
                pending.push_back(child.value);
            }
            if (!child.hasBlock) {
                continue;
            }
            GpdCase branch{
                isCase ? std::move(pending) : std::vector<std::string>(), {}, child.origin};
            pending.clear();
            if (!Body(child.children, &branch.body)) {
                return false;
            }
            chosen.cases.push_back(std::move(branch));
        }
        if (!pending.empty() || (defaulted && chosen.cases.empty())) {
            return Fail(entry.origin, "a *case at the end of a *switch has no body");
        }
        body->switches.push_back(std::move(chosen));
        return true;
    }

    // What can only be checked with the whole file read: default options, and the features and
    // options that switches name.
    bool Check() {
        if (!CheckBody(model_->global)) {
            return false;
        }
        for (GpdFeature& feature : model_->features) {
            if (feature.options.empty()) {
                return Fail(feature.origin, "*Feature " + feature.name + " has no *Option");
            }
            const GpdAttribute* chosen = FindAttribute(feature.body, "*DefaultOption");
            int index = chosen ? OptionIndex(feature, chosen->value) : 0;
            if (index < 0) {
                return Fail(chosen->origin,
                            "*DefaultOption " + chosen->value + " is no option of " + feature.name);
            }
            feature.defaultOption = static_cast<size_t>(index);
            bool checked =
                CheckBody(feature.body) &&
                std::all_of(feature.options.begin(), feature.options.end(),
                            [&](const GpdOption& option) { return CheckBody(option.body); });
            if (!checked) {
                return false;
            }
        }
        return true;
    }

    bool CheckBody(const GpdBody& body) {
        for (const GpdSwitch& chosen : body.switches) {
            const GpdFeature* feature = model_->Feature(chosen.feature);
            if (!feature) {
                return Fail(chosen.origin, "*switch names no feature: " + chosen.feature);
            }
            for (const GpdCase& branch : chosen.cases) {
                for (const std::string& option : branch.options) {
                    if (OptionIndex(*feature, option) < 0) {
                        return Fail(branch.origin,
                                    "*case " + option + " is no option of " + feature->name);
                    }
                }
                if (!CheckBody(branch.body)) {
                    return false;
                }
            }
        }
        return true;
    }

    GpdModel* model_;
    GpdError* error_;
    std::map<std::string, std::string> macros_;
};

std::string FileName(std::string_view path) {
    size_t slash = path.find_last_of("\\/");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool ReadHostFile(const std::string& path, std::string* text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    std::ostringstream content;
    content << file.rdbuf();
    *text = content.str();
    return true;
}

} // namespace

bool ParseGpdCommandString(std::string_view text, std::vector<GpdCommandPart>* parts,
                           std::string* message) {
    size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == ' ' || c == '\t') {
            ++i;
            continue;
        }
        GpdCommandPart part;
        if (c == '"') {
            size_t close = text.find('"', i + 1);
            if (close == std::string_view::npos) {
                *message = "unterminated string";
                return false;
            }
            if (!Literal(text.substr(i + 1, close - i - 1), &part.bytes, message)) {
                return false;
            }
            i = close + 1;
        } else if (c != '%') {
            *message = "a command string is quoted text and %-parameters";
            return false;
        } else if (!Parameter(text, &i, &part, message)) {
            return false;
        }
        parts->push_back(std::move(part));
    }
    return true;
}

GpdReadResult ReadGpdText(std::string_view text, const std::string& file,
                          const GpdIncludeReader& include) {
    GpdReadResult result;
    GpdSource source;
    std::vector<GpdEntry> entries;
    if (!PreprocessGpd(text, file, include, &source, &result.error) ||
        !ReadGpdEntries(source, &entries, &result.error)) {
        return result;
    }
    result.model.symbols = source.symbols;
    result.model.standardNames = source.standardNames;
    result.ok = ModelBuilder(&result.model, &result.error).Build(entries);
    return result;
}

GpdReadResult ReadGpdFile(LPCWSTR path) {
    GpdReadResult result;
    std::string host;
    std::string text;
    std::string name = FileName(sim::Utf8(path));
    result.error.origin.file = name;
    if (sim::MapPath(path, host) != ERROR_SUCCESS || !ReadHostFile(host, &text)) {
        result.error.message = "cannot read the file";
        return result;
    }
    std::string folder = host.substr(0, host.find_last_of('/') + 1);
    return ReadGpdText(text, name, [&](const std::string& included, std::string* content) {
        return included.find_first_of("\\/") == std::string::npos &&
               ReadHostFile(folder + included, content);
    });
}

} // namespace moltr::unidrv
