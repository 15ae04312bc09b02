#pragma once
// The GPD's RTI block: the "*Define:" lines of the printer-setting symbols between its two tag
// lines, on which the rest of the GPD selects printer-dependent parts with "*Ifdef:".
#include <string>
#include <string_view>
#include <vector>

namespace moltr::common {

inline constexpr char kRtiBegin[] = "*% RTI BEGIN - DO NOT REMOVE THIS TAG";
inline constexpr char kRtiEnd[] = "*% RTI END - DO NOT REMOVE THIS TAG";

// `gpd` with its RTI block replaced by one "*Define: " line per symbol; everything before the
// begin tag's line and after the end tag's line stays as it is. A tag counts only as a line of its
// own (blanks around it aside). False when either tag is missing.
bool RewriteRtiBlock(std::string_view gpd, const std::vector<std::string>& symbols,
                     std::string* result);

} // namespace moltr::common
