#include "src/unidrv/gpd_configuration.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <span>

namespace moltr::unidrv {
namespace {

// A standard option name of a feature and the devmode value it stands for.
struct StandardOption {
    const char* name;
    long long value;
};

constexpr StandardOption kPaperNames[] = {
    {"LETTER", DMPAPER_LETTER},
    {"LETTERSMALL", DMPAPER_LETTERSMALL},
    {"TABLOID", DMPAPER_TABLOID},
    {"LEDGER", DMPAPER_LEDGER},
    {"LEGAL", DMPAPER_LEGAL},
    {"STATEMENT", DMPAPER_STATEMENT},
    {"EXECUTIVE", DMPAPER_EXECUTIVE},
    {"A3", DMPAPER_A3},
    {"A4", DMPAPER_A4},
    {"A4SMALL", DMPAPER_A4SMALL},
    {"A5", DMPAPER_A5},
    {"B4", DMPAPER_B4},
    {"B5", DMPAPER_B5},
    {"FOLIO", DMPAPER_FOLIO},
    {"QUARTO", DMPAPER_QUARTO},
    {"10X14", DMPAPER_10X14},
    {"11X17", DMPAPER_11X17},
    {"NOTE", DMPAPER_NOTE},
    {"ENV_9", DMPAPER_ENV_9},
    {"ENV_10", DMPAPER_ENV_10},
    {"ENV_11", DMPAPER_ENV_11},
    {"ENV_12", DMPAPER_ENV_12},
    {"ENV_14", DMPAPER_ENV_14},
    {"CSHEET", DMPAPER_CSHEET},
    {"DSHEET", DMPAPER_DSHEET},
    {"ESHEET", DMPAPER_ESHEET},
    {"ENV_DL", DMPAPER_ENV_DL},
    {"ENV_C5", DMPAPER_ENV_C5},
    {"ENV_C3", DMPAPER_ENV_C3},
    {"ENV_C4", DMPAPER_ENV_C4},
    {"ENV_C6", DMPAPER_ENV_C6},
    {"ENV_C65", DMPAPER_ENV_C65},
    {"ENV_B4", DMPAPER_ENV_B4},
    {"ENV_B5", DMPAPER_ENV_B5},
    {"ENV_B6", 35},
    {"ENV_ITALY", 36},
    {"ENV_MONARCH", 37},
    {"ENV_PERSONAL", 38},
    {"FANFOLD_US", 39},
    {"FANFOLD_STD_GERMAN", 40},
    {"FANFOLD_LGL_GERMAN", 41},
    {"ISO_B4", 42},
    {"JAPANESE_POSTCARD", 43},
    {"9X11", 44},
    {"10X11", 45},
    {"15X11", 46},
    {"ENV_INVITE", 47},
    {"LETTER_EXTRA", 50},
    {"LEGAL_EXTRA", 51},
    {"TABLOID_EXTRA", 52},
    {"A4_EXTRA", 53},
    {"LETTER_TRANSVERSE", 54},
    {"A4_TRANSVERSE", 55},
    {"LETTER_EXTRA_TRANSVERSE", 56},
    {"A_PLUS", 57},
    {"B_PLUS", 58},
    {"LETTER_PLUS", 59},
    {"A4_PLUS", 60},
    {"A5_TRANSVERSE", 61},
    {"B5_TRANSVERSE", 62},
    {"A3_EXTRA", 63},
    {"A5_EXTRA", 64},
    {"B5_EXTRA", 65},
    {"A2", 66},
    {"A3_TRANSVERSE", 67},
    {"A3_EXTRA_TRANSVERSE", 68},
};

constexpr StandardOption kBinNames[] = {
    {"UPPER", 1},     {"ONLYONE", 1},        {"LOWER", 2},     {"MIDDLE", 3},      {"MANUAL", 4},
    {"ENVELOPE", 5},  {"ENVMANUAL", 6},      {"AUTO", 7},      {"TRACTOR", 8},     {"SMALLFMT", 9},
    {"LARGEFMT", 10}, {"LARGECAPACITY", 11}, {"CASSETTE", 14}, {"FORMSOURCE", 15},
};

constexpr StandardOption kMediaNames[] = {
    {"STANDARD", DMMEDIA_STANDARD},
    {"TRANSPARENCY", DMMEDIA_TRANSPARENCY},
    {"GLOSSY", DMMEDIA_GLOSSY},
};

constexpr StandardOption kOrientationNames[] = {
    {"PORTRAIT", DMORIENT_PORTRAIT},
    {"LANDSCAPE_CC90", DMORIENT_LANDSCAPE},
    {"LANDSCAPE_CC270", DMORIENT_LANDSCAPE},
};

constexpr StandardOption kDuplexNames[] = {
    {"NONE", DMDUP_SIMPLEX},
    {"VERTICAL", DMDUP_VERTICAL},
    {"HORIZONTAL", DMDUP_HORIZONTAL},
};

constexpr StandardOption kCollateNames[] = {
    {"ON", DMCOLLATE_TRUE},
    {"OFF", DMCOLLATE_FALSE},
};

// How a feature's option is found for a devmode value.
enum class Match { kPaper, kCode, kColor, kResolution };

// One devmode field and the feature it chooses.
struct DevmodeFeature {
    const char* feature;
    DWORD flag;
    size_t offset;
    size_t size;
    Match match;
    std::span<const StandardOption> names;
};

constexpr DevmodeFeature kDevmodeFeatures[] = {
    {"PaperSize", DM_PAPERSIZE, offsetof(DEVMODEW, dmPaperSize), sizeof(SHORT), Match::kPaper,
     kPaperNames},
    {"InputBin", DM_DEFAULTSOURCE, offsetof(DEVMODEW, dmDefaultSource), sizeof(SHORT), Match::kCode,
     kBinNames},
    {"MediaType", DM_MEDIATYPE, offsetof(DEVMODEW, dmMediaType), sizeof(DWORD), Match::kCode,
     kMediaNames},
    {"Orientation", DM_ORIENTATION, offsetof(DEVMODEW, dmOrientation), sizeof(SHORT), Match::kCode,
     kOrientationNames},
    {"Duplex", DM_DUPLEX, offsetof(DEVMODEW, dmDuplex), sizeof(SHORT), Match::kCode, kDuplexNames},
    {"Collate", DM_COLLATE, offsetof(DEVMODEW, dmCollate), sizeof(SHORT), Match::kCode,
     kCollateNames},
    {"ColorMode", DM_COLOR, offsetof(DEVMODEW, dmColor), sizeof(SHORT), Match::kColor, {}},
    {"Resolution",
     DM_PRINTQUALITY,
     offsetof(DEVMODEW, dmPrintQuality),
     sizeof(SHORT),
     Match::kResolution,
     {}},
};

// A devmode field read as a signed number; false when the devmode is too short to hold it.
bool Field(const DEVMODEW& devmode, size_t offset, size_t size, long long* value) {
    if (offset + size > devmode.dmSize) {
        return false;
    }
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&devmode) + offset;
    if (size == sizeof(SHORT)) {
        SHORT number = 0;
        std::memcpy(&number, bytes, sizeof(number));
        *value = number;
    } else {
        DWORD number = 0;
        std::memcpy(&number, bytes, sizeof(number));
        *value = number;
    }
    return true;
}

long long StandardValue(std::span<const StandardOption> names, std::string_view option) {
    for (const StandardOption& known : names) {
        if (option == known.name) {
            return known.value;
        }
    }
    return -1;
}

// The devmode value an option stands for: its *OptionID, else its standard name's; -1 for none.
long long OptionValue(const GpdOption& option, std::span<const StandardOption> names) {
    const GpdAttribute* id = FindAttribute(option.body, "*OptionID");
    long long value = 0;
    if (id && ParseGpdInteger(id->value, &value)) {
        return value;
    }
    return StandardValue(names, option.name);
}

int MatchCode(const GpdFeature& feature, const DevmodeFeature& field, long long value) {
    for (size_t i = 0; i < feature.options.size(); ++i) {
        long long code = field.match == Match::kPaper
                             ? PaperCode(feature, i)
                             : OptionValue(feature.options[i], field.names);
        if (code == value) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// ColorMode options say with *Color? whether they print in colour; the default wins a tie.
int MatchColor(const GpdFeature& feature, long long value) {
    std::string_view wanted = value == DMCOLOR_COLOR ? "TRUE" : "FALSE";
    if (value != DMCOLOR_COLOR && value != DMCOLOR_MONOCHROME) {
        return -1;
    }
    auto colour = [&](size_t i) {
        const GpdAttribute* attribute = FindAttribute(feature.options[i].body, "*Color?");
        return attribute && attribute->value == wanted;
    };
    if (colour(feature.defaultOption)) {
        return static_cast<int>(feature.defaultOption);
    }
    for (size_t i = 0; i < feature.options.size(); ++i) {
        if (colour(i)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// A positive dmPrintQuality is dots per inch across, dmYResolution (when flagged) down; the
// negative DMRES values ask for the lowest (draft, low) or highest (medium, high) resolution.
int MatchResolution(const GpdFeature& feature, const DEVMODEW& devmode, long long quality) {
    if (quality == 0 || quality < DMRES_HIGH) {
        return -1;
    }
    long long down = quality;
    long long asked = 0;
    if ((devmode.dmFields & DM_YRESOLUTION) &&
        Field(devmode, offsetof(DEVMODEW, dmYResolution), sizeof(SHORT), &asked) && asked > 0) {
        down = asked;
    }
    bool lowest = quality == DMRES_DRAFT || quality == DMRES_LOW;
    int best = -1;
    long long bestDots = 0;
    for (size_t i = 0; i < feature.options.size(); ++i) {
        const GpdAttribute* dpi = FindAttribute(feature.options[i].body, "*DPI");
        GpdPair pair;
        if (!dpi || !ParseGpdPair(dpi->value, &pair)) {
            continue;
        }
        if (quality > 0) {
            if (pair.x == quality && pair.y == down) {
                return static_cast<int>(i);
            }
        } else if (best < 0 || (lowest ? pair.x < bestDots : pair.x > bestDots)) {
            best = static_cast<int>(i);
            bestDots = pair.x;
        }
    }
    return best;
}

int MatchOption(const GpdFeature& feature, const DevmodeFeature& field, const DEVMODEW& devmode,
                long long value) {
    switch (field.match) {
    case Match::kColor:
        return MatchColor(feature, value);
    case Match::kResolution:
        return MatchResolution(feature, devmode, value);
    default:
        return MatchCode(feature, field, value);
    }
}

bool CaseApplies(const GpdModel& model, const GpdConfiguration& configuration,
                 const GpdSwitch& chosen, const GpdCase& branch) {
    if (branch.options.empty()) {
        return true;
    }
    const GpdOption* selected = configuration.Selected(model, chosen.feature);
    return selected && std::find(branch.options.begin(), branch.options.end(), selected->name) !=
                           branch.options.end();
}

// The bodies that are in force for `body`: itself, then the applying case of each switch (and
// of the switches inside that case).
void ActiveBodies(const GpdModel& model, const GpdConfiguration& configuration, const GpdBody& body,
                  std::vector<const GpdBody*>* bodies) {
    bodies->push_back(&body);
    for (const GpdSwitch& chosen : body.switches) {
        for (const GpdCase& branch : chosen.cases) {
            if (CaseApplies(model, configuration, chosen, branch)) {
                ActiveBodies(model, configuration, branch.body, bodies);
                break;
            }
        }
    }
}

// The commands of `section` that one construct sends: a command of a *case in force replaces
// the command of the same name that the construct itself gives.
void OwnCommands(const GpdModel& model, const GpdConfiguration& configuration, const GpdBody& body,
                 GpdSection section, std::vector<const GpdCommand*>* commands) {
    std::vector<const GpdBody*> bodies;
    ActiveBodies(model, configuration, body, &bodies);
    std::vector<const GpdCommand*> own;
    for (const GpdBody* active : bodies) {
        for (const GpdCommand& command : active->commands) {
            auto same = std::find_if(own.begin(), own.end(), [&](const GpdCommand* known) {
                return known->name == command.name;
            });
            if (same != own.end()) {
                *same = &command;
            } else {
                own.push_back(&command);
            }
        }
    }
    for (const GpdCommand* command : own) {
        if (command->section == section) {
            commands->push_back(command);
        }
    }
}

} // namespace

const GpdOption* GpdConfiguration::Selected(const GpdModel& model, std::string_view feature) const {
    for (size_t i = 0; i < model.features.size() && i < options.size(); ++i) {
        if (model.features[i].name == feature && options[i] < model.features[i].options.size()) {
            return &model.features[i].options[options[i]];
        }
    }
    return nullptr;
}

GpdConfiguration DefaultConfiguration(const GpdModel& model) {
    GpdConfiguration configuration;
    for (const GpdFeature& feature : model.features) {
        configuration.options.push_back(feature.defaultOption);
    }
    return configuration;
}

GpdConfiguration ConfigurationFromDevmode(const GpdModel& model, const DEVMODEW* devmode) {
    GpdConfiguration configuration = DefaultConfiguration(model);
    if (!devmode) {
        return configuration;
    }
    for (const DevmodeFeature& field : kDevmodeFeatures) {
        long long value = 0;
        if (!(devmode->dmFields & field.flag) ||
            !Field(*devmode, field.offset, field.size, &value)) {
            continue;
        }
        for (size_t i = 0; i < model.features.size(); ++i) {
            if (model.features[i].name != field.feature) {
                continue;
            }
            int option = MatchOption(model.features[i], field, *devmode, value);
            if (option >= 0) {
                configuration.options[i] = static_cast<size_t>(option);
            }
        }
    }
    return configuration;
}

WORD PaperCode(const GpdFeature& paperSize, size_t option) {
    WORD user = DMPAPER_USER;
    for (size_t i = 0; i < paperSize.options.size(); ++i) {
        long long value = OptionValue(paperSize.options[i], kPaperNames);
        if (i == option) {
            return value > 0 && value <= 0xFFFF ? static_cast<WORD>(value) : user;
        }
        user = static_cast<WORD>(user + (value > 0 ? 0 : 1));
    }
    return 0;
}

bool PrintsInColour(const GpdModel& model, const GpdConfiguration& configuration) {
    const GpdOption* option = configuration.Selected(model, "ColorMode");
    const GpdAttribute* colour = option ? FindAttribute(option->body, "*Color?") : nullptr;
    return colour && colour->value == "TRUE";
}

long long DevmodeValue(const GpdModel& model, std::string_view feature, size_t option) {
    const GpdFeature* found = model.Feature(feature);
    if (!found || option >= found->options.size()) {
        return -1;
    }
    for (const DevmodeFeature& field : kDevmodeFeatures) {
        if (feature == field.feature && field.match == Match::kPaper) {
            return PaperCode(*found, option);
        }
        if (feature == field.feature && field.match == Match::kCode) {
            return OptionValue(found->options[option], field.names);
        }
    }
    return -1;
}

const GpdAttribute* ResolvedAttribute(const GpdModel& model, const GpdConfiguration& configuration,
                                      const GpdBody& body, std::string_view name) {
    std::vector<const GpdBody*> bodies;
    ActiveBodies(model, configuration, body, &bodies);
    const GpdAttribute* found = nullptr;
    for (const GpdBody* active : bodies) {
        const GpdAttribute* attribute = FindAttribute(*active, name);
        found = attribute ? attribute : found;
    }
    return found;
}

const GpdCommand* ResolvedCommand(const GpdModel& model, const GpdConfiguration& configuration,
                                  const GpdBody& body, std::string_view name) {
    std::vector<const GpdBody*> bodies;
    ActiveBodies(model, configuration, body, &bodies);
    const GpdCommand* found = nullptr;
    for (const GpdBody* active : bodies) {
        for (const GpdCommand& command : active->commands) {
            found = command.name == name ? &command : found;
        }
    }
    return found;
}

std::vector<const GpdCommand*>
SectionCommands(const GpdModel& model, const GpdConfiguration& configuration, GpdSection section) {
    std::vector<const GpdBody*> owners{&model.global};
    for (size_t i = 0; i < model.features.size(); ++i) {
        owners.push_back(&model.features[i].body);
        if (i < configuration.options.size() &&
            configuration.options[i] < model.features[i].options.size()) {
            owners.push_back(&model.features[i].options[configuration.options[i]].body);
        }
    }
    std::vector<const GpdCommand*> commands;
    for (const GpdBody* owner : owners) {
        OwnCommands(model, configuration, *owner, section, &commands);
    }
    std::stable_sort(commands.begin(), commands.end(),
                     [](const GpdCommand* a, const GpdCommand* b) { return a->order < b->order; });
    return commands;
}

} // namespace moltr::unidrv
