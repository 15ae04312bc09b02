#pragma once
// `moltr compile` and `moltr image`: the settings-description compiler as description authors use
// it, on a printer made for the one command.
#include <string>
#include <vector>
#include "compiler/compile_messages.h"

namespace moltr::tool {

// moltr compile SOURCE [--embedded|--plain] [--driver NAME] [--json]
int RunCompile(const std::vector<std::string>& args);
// moltr image SOURCE --struct NAME -o FILE [--embedded|--plain] [--driver NAME]
int RunImage(const std::vector<std::string>& args);

// The message's text from the compiler's string table, with its arguments, without the final line
// end.
std::string MessageText(const compiler::CompileMessage& message);

} // namespace moltr::tool
