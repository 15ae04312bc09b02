#pragma once
// `moltr print`: plays an application that prints a job, then the spooler that prints it.
#include <string>
#include <vector>

namespace moltr::tool {

int RunPrint(const std::vector<std::string>& args);

extern const char kPrintUsage[];

} // namespace moltr::tool
