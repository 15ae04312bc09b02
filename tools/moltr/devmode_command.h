#pragma once
// `moltr devmode`: the private devmode of a printer as the core driver gets it from the plug-ins.
#include <windows.h>
#include <string>
#include <vector>

namespace moltr::tool {

// moltr devmode NAME [--default] [--hex], or NAME --document [--set FIELD=VALUE ...] [--json]
int RunDevMode(const std::vector<std::string>& args);

} // namespace moltr::tool
