#pragma once
// `moltr processes`: the processes of the simulated machine, running or lately ended.
#include <string>
#include <vector>

namespace moltr::tool {

extern const char kProcessesUsage[];

// moltr processes [--json]
int RunProcesses(const std::vector<std::string>& args);

} // namespace moltr::tool
