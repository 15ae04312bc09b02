#pragma once
// A PPD's conditional lines. A PPD has no preprocessor, so the lines between "*%Ifdef: SYMBOL" and
// "*%Endif: SYMBOL" are switched on and off in place: commented out with the prefix "*%Off: "
// unless SYMBOL is one of the printer-setting symbols. A keyword line commented out with a plain
// "*%" (the form of older rewrites) also counts as switched off; the PPD's other comments stay as
// they are. Only the part before the XPD begin tag is touched.
#include <string>
#include <string_view>
#include <vector>

namespace moltr::common {

inline constexpr char kXpdBegin[] = "*% XPD BEGIN - DO NOT REMOVE THIS TAG";

// A line inside nested blocks is on only when every enclosing block's symbol is set. Line ends
// are kept as they are.
std::string SwitchConditionalLines(std::string_view ppd, const std::vector<std::string>& symbols);

} // namespace moltr::common
