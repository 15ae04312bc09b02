#pragma once
// `moltr spooler run`: the spooler service, as a process of its own.
#include <string>
#include <vector>

namespace moltr::tool {

int RunSpooler(const std::vector<std::string>& args);

extern const char kSpoolerUsage[];

} // namespace moltr::tool
