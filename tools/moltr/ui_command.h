#pragma once
// `moltr ui`: opens a printer's document or printer property sheet as an application or the
// printers folder would, makes the actions asked for as a user would, closes it and shows the
// pages, the option items, the message boxes and the settings that resulted.
#include <string>
#include <vector>

namespace moltr::tool {

extern const char kUiUsage[];

// moltr ui PRINTER --document|--printer [--do ACTION ...] [--json] [--png DIR]
int RunUi(const std::vector<std::string>& args);

} // namespace moltr::tool
