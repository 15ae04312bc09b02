#pragma once
// What the universal driver keeps of a GPD file once read: the features with their options, each
// option's attributes and commands, the global attributes and commands, and the symbols that were
// defined. Values stay text (value macros expanded) except where the reader checks their form.
#include <string>
#include <string_view>
#include <vector>

namespace moltr::unidrv {

// Where an entry was read, for messages.
struct GpdOrigin {
    std::string file;
    int line = 0;
};

// The sections of a print job a command's *Order places it in, in the order they are sent.
enum class GpdSection {
    kNone,
    kJobSetup,
    kDocSetup,
    kPageSetup,
    kPageFinish,
    kDocFinish,
    kJobFinish
};

// One piece of a *Cmd string: bytes sent as they stand, or a parameter formatted from an
// expression over the standard variables ("%d[0,9600]{DestX / 2}").
struct GpdCommandPart {
    std::string bytes;
    bool parameter = false;
    char format = 0; // the argument type letter: 'd', 'D', 'c', 'l', 'm' ...
    int width = 0;   // the digits before the letter, 0 without
    bool ranged = false;
    long long minimum = 0;
    long long maximum = 0;
    std::string expression;
};

struct GpdCommand {
    std::string name; // CmdSelect, CmdStartJob ...
    GpdSection section = GpdSection::kNone;
    int order = 0;
    bool callback = false;
    unsigned long callbackId = 0;
    std::vector<GpdCommandPart> parts;
    std::vector<std::string> params; // *Params: LIST(...) of a callback
    GpdOrigin origin;
};

struct GpdAttribute {
    std::string name; // with its '*', as written: "*PrintableArea"
    std::string value;
    GpdOrigin origin;
};

struct GpdSwitch;

// The entries of a construct that may depend on the configuration through *switch.
struct GpdBody {
    std::vector<GpdAttribute> attributes;
    std::vector<GpdCommand> commands;
    std::vector<GpdSwitch> switches;
};

struct GpdCase {
    std::vector<std::string> options; // the *case names sharing this body; empty for *default
    GpdBody body;
    GpdOrigin origin;
};

struct GpdSwitch {
    std::string feature;
    std::vector<GpdCase> cases;
    GpdOrigin origin;
};

struct GpdOption {
    std::string name;
    GpdBody body;
    GpdOrigin origin;
};

struct GpdFeature {
    std::string name;
    GpdBody body;
    std::vector<GpdOption> options;
    size_t defaultOption = 0;
    GpdOrigin origin;
};

struct GpdPair {
    long long x = 0;
    long long y = 0;
};

struct GpdModel {
    GpdBody global;
    std::vector<GpdFeature> features;
    std::vector<std::string> symbols; // the *Define symbols in force at the end
    bool standardNames = false;       // the standard names file was included

    const GpdFeature* Feature(std::string_view name) const;
};

// The first attribute of `body` named `name` (with its '*'), or null.
const GpdAttribute* FindAttribute(const GpdBody& body, std::string_view name);
// The index of the option named `name` in `feature`, or -1.
int OptionIndex(const GpdFeature& feature, std::string_view name);

// Keywords and directives compare without regard to ASCII case ("*switch", "*Switch").
bool SameGpdKeyword(std::string_view a, std::string_view b);
// `text` without the blanks (spaces, tabs, CR, FF, VT) at either end.
std::string_view TrimGpdBlanks(std::string_view text);

// Value forms the reader checks and the users of the model read.
bool ParseGpdInteger(std::string_view text, long long* value);
bool ParseGpdPair(std::string_view text, GpdPair* pair);
// The names of "LIST(A, B)"; false for another form.
bool ParseGpdList(std::string_view text, std::vector<std::string>* names);
// The text of a quoted value without its quotes; false when `text` is not one quoted string.
bool ParseGpdQuoted(std::string_view text, std::string* content);

} // namespace moltr::unidrv
