#pragma once
// `moltr desktop`: the simulated user in front of the machine's dialogs, and what they were shown.
#include <string>
#include <vector>

namespace moltr::tool {

extern const char kDesktopUsage[];

// moltr desktop respond CONTROL_ID [--after MS] | moltr desktop dialogs [--json]
int RunDesktop(const std::vector<std::string>& args);

} // namespace moltr::tool
