#pragma once
// `moltr media`: a printer's custom media sizes, changed as the custom-size dialog's commit
// changes them (the form, the printer's mark, then the driver's description file).
#include <string>
#include <vector>

namespace moltr::tool {

extern const char kMediaUsage[];

// moltr media PRINTER add NAME WIDTH LENGTH | rename OLD NEW | delete NAME | list [--json]
int RunMedia(const std::vector<std::string>& args);

} // namespace moltr::tool
