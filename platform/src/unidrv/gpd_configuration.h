#pragma once
// A configuration of a GPD model: one option per feature, chosen from a job's devmode the way the
// universal driver does (paper size, input bin, media type, orientation, duplex, collation, colour
// mode and resolution from their devmode fields, every other feature its default option), and what
// the configuration makes of the model: attributes with their *switch cases resolved, and the
// commands of each job section in *Order.
#include <windows.h>
#include <string_view>
#include <vector>
#include "src/unidrv/gpd_model.h"

namespace moltr::unidrv {

struct GpdConfiguration {
    // The chosen option of each feature, by the feature's position in the model.
    std::vector<size_t> options;

    const GpdOption* Selected(const GpdModel& model, std::string_view feature) const;
};

// Every feature at its default option.
GpdConfiguration DefaultConfiguration(const GpdModel& model);
// The configuration a devmode asks for; a field the devmode does not flag in dmFields, or that
// lies beyond its dmSize, or that no option matches, leaves the feature at its default. A null
// devmode gives the defaults.
GpdConfiguration ConfigurationFromDevmode(const GpdModel& model, const DEVMODEW* devmode);

// The paper code of a PaperSize option, as DC_PAPERS and dmPaperSize give it: its *OptionID,
// else the DMPAPER code of its standard name; options with neither are numbered from DMPAPER_USER
// in their order among such options.
WORD PaperCode(const GpdFeature& paperSize, size_t option);

// The devmode value that option `option` of the devmode-chosen feature `feature` (PaperSize,
// InputBin, MediaType, Orientation, Duplex, Collate) stands for: its *OptionID, else the value of
// its standard name (for PaperSize, PaperCode); -1 for none.
long long DevmodeValue(const GpdModel& model, std::string_view feature, size_t option);

// Whether the configuration's ColorMode option prints in colour (its *Color? is TRUE).
bool PrintsInColour(const GpdModel& model, const GpdConfiguration& configuration);

// The value of attribute `name` in `body` under `configuration`: the entry of a *case that
// applies wins over the body's own. Null when neither has one.
const GpdAttribute* ResolvedAttribute(const GpdModel& model, const GpdConfiguration& configuration,
                                      const GpdBody& body, std::string_view name);

// The command `name` of `body` under `configuration` (a *case in force wins), or null.
const GpdCommand* ResolvedCommand(const GpdModel& model, const GpdConfiguration& configuration,
                                  const GpdBody& body, std::string_view name);

// The commands of `section` that the configuration sends, global and of the chosen options, in
// their *Order numbers (ties in the order the file gives them).
std::vector<const GpdCommand*>
SectionCommands(const GpdModel& model, const GpdConfiguration& configuration, GpdSection section);

} // namespace moltr::unidrv
