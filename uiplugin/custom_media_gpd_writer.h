#pragma once
// The GPD's CMS block: one paper-size option per custom medium, each behind a symbol that the
// form assignment can take away, between the block's two tag lines.
#include <string>
#include <string_view>
#include <vector>
#include "uiplugin/custom_medium.h"

namespace moltr::uiplugin {

inline constexpr char kGpdCmsBegin[] = "*% CMS BEGIN - DO NOT REMOVE THIS TAG";
inline constexpr char kGpdCmsEnd[] = "*% CMS END - DO NOT REMOVE THIS TAG";

// The GPD's master units, dots per inch across and down.
struct MasterUnits {
    unsigned x = 1200;
    unsigned y = 1200;
};

// The units of the first "MasterUnits" line; the defaults when it has no two numbers.
MasterUnits ReadMasterUnits(std::string_view gpd);

// `gpd` with everything from the begin tag to the end of the end tag's line replaced by a block
// for `media`. False, and nothing written, unless the begin tag comes before an end tag.
bool WriteGpdCustomMedia(std::string_view gpd, const std::vector<CustomMedium>& media,
                         MasterUnits units, std::string* result);

} // namespace moltr::uiplugin
