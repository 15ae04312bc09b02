#pragma once
// The user locale's word sort, by which lstrcmp and lstrcmpi compare.
#include <string_view>

namespace moltr::sim::text {

// -1, 0 or 1 as `a` sorts before, with or after `b`.
int WordSortCompare(std::u16string_view a, std::u16string_view b, bool ignoreCase);

} // namespace moltr::sim::text
