#pragma once
// `moltr printer gpd`: the printer driver's description file as the driver reads it.
#include <string>
#include <vector>

namespace moltr::tool {

extern const char kPrinterGpdUsage[];

// moltr printer gpd NAME
int RunPrinterGpd(const std::vector<std::string>& args);

} // namespace moltr::tool
