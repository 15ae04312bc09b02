#pragma once
// `moltr devcaps`: what DeviceCapabilitiesW answers an application for a printer, through its
// driver and UI plug-in.
#include <string>
#include <vector>

namespace moltr::tool {

// moltr devcaps PRINTER CAPABILITY [--json], CAPABILITY one of minextent, maxextent, binnames,
// papers, papernames.
int RunDevCaps(const std::vector<std::string>& args);

} // namespace moltr::tool
