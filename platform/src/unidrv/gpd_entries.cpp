#include "src/unidrv/gpd_entries.h"

#include <algorithm>

namespace moltr::unidrv {
namespace {

// Bounds that keep a hostile file from exhausting the stack: includes within includes, and
// conditionals or blocks within each other, are far shallower than this in real descriptions.
constexpr int kMaxIncludeDepth = 8;
constexpr size_t kMaxNesting = 64;

bool Fail(GpdError* error, const GpdOrigin& origin, std::string message) {
    error->origin = origin;
    error->message = std::move(message);
    return false;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

// The line without its "*%" comment; a "*%" inside a quoted string is text.
std::string_view StripComment(std::string_view line) {
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') {
            quoted = !quoted;
        } else if (!quoted && line[i] == '*' && i + 1 < line.size() && line[i + 1] == '%') {
            return line.substr(0, i);
        }
    }
    return line;
}

enum class DirectiveKind { kNone, kDefine, kUndefine, kIfdef, kElseif, kElse, kEndif, kInclude };

struct Directive {
    DirectiveKind kind = DirectiveKind::kNone;
    std::string_view argument;
};

struct DirectiveName {
    const char* keyword;
    DirectiveKind kind;
};

constexpr DirectiveName kDirectives[] = {
    {"*Define", DirectiveKind::kDefine},   {"*Undefine", DirectiveKind::kUndefine},
    {"*Ifdef", DirectiveKind::kIfdef},     {"*Elseif", DirectiveKind::kElseif},
    {"*Else", DirectiveKind::kElse},       {"*Endif", DirectiveKind::kEndif},
    {"*Include", DirectiveKind::kInclude},
};

Directive ParseDirective(std::string_view line) {
    size_t end = line.find_first_of(": \t");
    std::string_view keyword = line.substr(0, end);
    Directive directive;
    for (const DirectiveName& known : kDirectives) {
        if (SameGpdKeyword(keyword, known.keyword)) {
            directive.kind = known.kind;
        }
    }
    std::string_view rest = end == std::string_view::npos ? std::string_view() : line.substr(end);
    rest = TrimGpdBlanks(rest);
    if (!rest.empty() && rest.front() == ':') {
        rest = TrimGpdBlanks(rest.substr(1));
    }
    directive.argument = rest;
    return directive;
}

// A symbol name: one word of letters, digits and '_'.
bool IsSymbol(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
               c == '_';
    });
}

// One *Ifdef ... *Endif in progress.
struct Conditional {
    bool parentActive;
    bool taken;  // some branch of it has been in force
    bool active; // the current branch is in force
    bool elseSeen;
    GpdOrigin origin;
};

class Preprocessor {
public:
    Preprocessor(const GpdIncludeReader& include, GpdSource* source, GpdError* error)
        : include_(include), source_(source), error_(error) {}

    bool Run(std::string_view text, const std::string& file, int depth) {
        std::vector<Conditional> open;
        size_t start = 0;
        for (int number = 1; start <= text.size(); ++number) {
            size_t end = std::min(text.find('\n', start), text.size());
            GpdOrigin origin{file, number};
            if (!Line(StripComment(text.substr(start, end - start)), origin, depth, open)) {
                return false;
            }
            start = end + 1;
        }
        if (!open.empty()) {
            return Fail(error_, open.back().origin, "*Ifdef without *Endif");
        }
        return true;
    }

private:
    bool Active(const std::vector<Conditional>& open) const {
        return open.empty() || open.back().active;
    }

    bool Line(std::string_view line, const GpdOrigin& origin, int depth,
              std::vector<Conditional>& open) {
        std::string_view trimmed = TrimGpdBlanks(line);
        Directive directive = ParseDirective(trimmed);
        switch (directive.kind) {
        case DirectiveKind::kIfdef:
        case DirectiveKind::kElseif:
        case DirectiveKind::kElse:
        case DirectiveKind::kEndif:
            return Branch(directive, origin, open);
        default:
            break;
        }
        if (!Active(open) || trimmed.empty()) {
            return true;
        }
        switch (directive.kind) {
        case DirectiveKind::kDefine:
        case DirectiveKind::kUndefine:
            return Define(directive, origin);
        case DirectiveKind::kInclude:
            return Include(directive.argument, origin, depth);
        default:
            break;
        }
        auto kept = std::make_unique<GpdOrigin>(origin);
        source_->lines.push_back({std::string(line), kept.get()});
        source_->origins.push_back(std::move(kept));
        return true;
    }

    bool Defined(std::string_view symbol) const {
        return std::find(source_->symbols.begin(), source_->symbols.end(), symbol) !=
               source_->symbols.end();
    }

    bool Define(const Directive& directive, const GpdOrigin& origin) {
        if (!IsSymbol(directive.argument)) {
            return Fail(error_, origin, "*Define and *Undefine need one symbol name");
        }
        auto& symbols = source_->symbols;
        symbols.erase(std::remove(symbols.begin(), symbols.end(), directive.argument),
                      symbols.end());
        if (directive.kind == DirectiveKind::kDefine) {
            symbols.emplace_back(directive.argument);
        }
        return true;
    }

    bool Branch(const Directive& directive, const GpdOrigin& origin,
                std::vector<Conditional>& open) {
        bool needsSymbol =
            directive.kind == DirectiveKind::kIfdef || directive.kind == DirectiveKind::kElseif;
        if (needsSymbol && !IsSymbol(directive.argument)) {
            return Fail(error_, origin, "*Ifdef and *Elseif need one symbol name");
        }
        if (directive.kind == DirectiveKind::kIfdef) {
            if (open.size() >= kMaxNesting) {
                return Fail(error_, origin, "conditionals nested too deeply");
            }
            bool parent = Active(open);
            bool active = parent && Defined(directive.argument);
            open.push_back({parent, active, active, false, origin});
            return true;
        }
        if (open.empty()) {
            return Fail(error_, origin, "*Elseif, *Else or *Endif without *Ifdef");
        }
        auto& current = open.back();
        if (directive.kind == DirectiveKind::kEndif) {
            open.pop_back();
            return true;
        }
        if (current.elseSeen) {
            return Fail(error_, origin, "*Elseif or *Else after *Else");
        }
        bool condition = directive.kind == DirectiveKind::kElse || Defined(directive.argument);
        current.elseSeen = directive.kind == DirectiveKind::kElse;
        current.active = current.parentActive && !current.taken && condition;
        current.taken = current.taken || current.active;
        return true;
    }

    bool Include(std::string_view argument, const GpdOrigin& origin, int depth) {
        std::string name(argument);
        if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
            name = name.substr(1, name.size() - 2);
        }
        if (name.empty() || name.find('"') != std::string::npos) {
            return Fail(error_, origin, "*Include needs a file name");
        }
        if (SameGpdKeyword(name, kStandardNamesFile)) {
            source_->standardNames = true;
            return true;
        }
        if (depth >= kMaxIncludeDepth) {
            return Fail(error_, origin, "*Include nested too deeply: " + name);
        }
        std::string text;
        if (!include_ || !include_(name, &text)) {
            return Fail(error_, origin, "cannot read the included file " + name);
        }
        return Run(text, name, depth + 1);
    }

    const GpdIncludeReader& include_;
    GpdSource* source_;
    GpdError* error_;
};

// Reads entries from the preprocessed lines; a block's '{' belongs to the entry before it.
class EntryReader {
public:
    EntryReader(const GpdSource& source, GpdError* error) : lines_(source.lines), error_(error) {}

    bool ReadList(std::vector<GpdEntry>* entries, const GpdOrigin* open, size_t depth) {
        while (SkipBlanks()) {
            char c = Current();
            if (c == '}') {
                if (!open) {
                    return Fail(error_, Origin(), "'}' without '{'");
                }
                ++column_;
                return true;
            }
            if (c == '{') {
                if (!OpenBlock(entries, depth)) {
                    return false;
                }
            } else if (!ReadEntry(entries)) {
                return false;
            }
        }
        return open ? Fail(error_, *open, "'{' without '}'") : true;
    }

private:
    const GpdOrigin& Origin() const { return *lines_[line_].origin; }
    std::string_view Text() const { return lines_[line_].text; }
    char Current() const { return Text()[column_]; }

    // Moves to the next character that is not blank; false at the end of the input.
    bool SkipBlanks() {
        while (line_ < lines_.size()) {
            while (column_ < Text().size() && IsBlank(Current())) {
                ++column_;
            }
            if (column_ < Text().size()) {
                return true;
            }
            ++line_;
            column_ = 0;
        }
        return false;
    }

    bool OpenBlock(std::vector<GpdEntry>* entries, size_t depth) {
        GpdOrigin brace = Origin();
        if (entries->empty() || entries->back().hasBlock) {
            return Fail(error_, brace, "'{' without an entry to open");
        }
        if (depth + 1 >= kMaxNesting) {
            return Fail(error_, brace, "blocks nested too deeply");
        }
        ++column_;
        entries->back().hasBlock = true;
        return ReadList(&entries->back().children, &brace, depth + 1);
    }

    static bool IsNameChar(char c) {
        return !IsBlank(c) && c != ':' && c != '{' && c != '}' && c != '"' && c != '*';
    }

    bool ReadEntry(std::vector<GpdEntry>* entries) {
        GpdEntry entry;
        entry.origin = Origin();
        size_t start = column_;
        if (Current() == '*') {
            ++column_;
        }
        while (column_ < Text().size() && IsNameChar(Current())) {
            ++column_;
        }
        entry.keyword = std::string(Text().substr(start, column_ - start));
        if (entry.keyword.empty() || entry.keyword == "*") {
            return Fail(error_, entry.origin,
                        "expected an entry, found '" + std::string(1, Text()[start]) + "'");
        }
        while (column_ < Text().size() && IsBlank(Current())) {
            ++column_;
        }
        if (column_ < Text().size() && Current() == ':') {
            ++column_;
            if (!ReadValue(&entry.value)) {
                return false;
            }
        } else if (column_ < Text().size() && Current() != '{' && Current() != '}') {
            return Fail(error_, entry.origin, "expected ':' after " + entry.keyword);
        }
        entries->push_back(std::move(entry));
        return true;
    }

    // A value runs to the end of its line, or to a '{' or '}' that is neither quoted nor a
    // parameter's expression; a following line that starts with '+' continues it.
    bool ReadValue(std::string* value) {
        for (;;) {
            while (column_ < Text().size()) {
                char c = Current();
                if (c == '{' || c == '}') {
                    *value = std::string(TrimGpdBlanks(*value));
                    return true;
                }
                if (c == '"' && !Quoted(value)) {
                    return false;
                }
                if (c == '%' && !Parameter(value)) {
                    return false;
                }
                if (c != '"' && c != '%') {
                    *value += c;
                    ++column_;
                }
            }
            ++line_;
            column_ = 0;
            if (line_ >= lines_.size() || !Continues()) {
                *value = std::string(TrimGpdBlanks(*value));
                return true;
            }
            *value += ' ';
        }
    }

    bool Continues() {
        std::string_view text = Text();
        size_t first = text.find_first_not_of(" \t\r\f\v");
        if (first == std::string_view::npos || text[first] != '+') {
            return false;
        }
        column_ = first + 1;
        return true;
    }

    bool Quoted(std::string* value) {
        size_t close = Text().find('"', column_ + 1);
        if (close == std::string_view::npos) {
            return Fail(error_, Origin(), "unterminated string");
        }
        *value += Text().substr(column_, close + 1 - column_);
        column_ = close + 1;
        return true;
    }

    // "%<digits><letter>[min,max]{expression}" taken whole, braces included.
    bool Parameter(std::string* value) {
        size_t open = Text().find('{', column_);
        size_t bad = Text().find_first_of("\"}", column_);
        if (open == std::string_view::npos || (bad != std::string_view::npos && bad < open)) {
            return Fail(error_, Origin(), "a parameter needs an expression in { }");
        }
        size_t close = Text().find('}', open);
        size_t nested = Text().find('{', open + 1);
        if (close == std::string_view::npos ||
            (nested != std::string_view::npos && nested < close)) {
            return Fail(error_, Origin(), "unterminated parameter expression");
        }
        *value += Text().substr(column_, close + 1 - column_);
        column_ = close + 1;
        return true;
    }

    const std::vector<GpdLine>& lines_;
    GpdError* error_;
    size_t line_ = 0;
    size_t column_ = 0;
};

} // namespace

std::string GpdError::Text() const {
    return origin.file + "(" + std::to_string(origin.line) + "): " + message;
}

bool PreprocessGpd(std::string_view text, const std::string& file, const GpdIncludeReader& include,
                   GpdSource* source, GpdError* error) {
    return Preprocessor(include, source, error).Run(text, file, 0);
}

bool ReadGpdEntries(const GpdSource& source, std::vector<GpdEntry>* entries, GpdError* error) {
    return EntryReader(source, error).ReadList(entries, nullptr, 0);
}

} // namespace moltr::unidrv
