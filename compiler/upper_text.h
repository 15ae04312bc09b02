#pragma once
// Upper-casing of names and paths the way Windows does it, for the comparisons that ignore case.
#include <string>
#include <string_view>

namespace moltr::compiler {

std::u16string UpperText(std::u16string_view text);

} // namespace moltr::compiler
