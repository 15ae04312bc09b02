#pragma once
// `moltr debuglog`: what the machine's processes wrote to the debugger.
#include <string>
#include <vector>

namespace moltr::tool {

// moltr debuglog [--clear] [--json]
int RunDebugLog(const std::vector<std::string>& args);

} // namespace moltr::tool
