#pragma once
// `moltr printer`: printers of the simulated spooler as the plug-ins meet them: added with a
// driver, compiled, their data and their printer settings; the ports they print to.
#include <string>
#include <vector>

namespace moltr::tool {

// moltr printer add NAME [--gpd FILE] [--driver NAME]
// moltr printer compile NAME
// moltr printer data NAME [VALUE] [--hex]
// moltr printer settings NAME [FIELD=VALUE ...]
// moltr printer ports [--json]
int RunPrinter(const std::vector<std::string>& args);

extern const char kPortsUsage[];

} // namespace moltr::tool
