#pragma once
// The usage texts that `moltr COMMAND --help` prints for the commands that have their own.
#include <string>
#include <vector>

namespace moltr::tool {

// The usage of the command that `args` starts with (one word, or two for a sub-command); null
// when it has none of its own.
const char* CommandUsage(const std::vector<std::string>& args);

} // namespace moltr::tool
