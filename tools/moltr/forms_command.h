#pragma once
// `moltr forms`: the machine's forms database, as EnumFormsW lists it.
#include <string>
#include <vector>

namespace moltr::tool {

// moltr forms [--json]
int RunForms(const std::vector<std::string>& args);

} // namespace moltr::tool
