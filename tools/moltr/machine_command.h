#pragma once
// `moltr machine`: shows the simulated machine, and sets its clock, time zone, locale and ANSI code
// page.
#include <string>
#include <vector>

namespace moltr::tool {

// moltr machine [--clock YYYY-MM-DDTHH:MM:SS.mmm|now] [--tz-bias MINUTES] [--locale LCID]
//               [--code-page CP] [--json]
// Every value is checked before any is set; the machine is shown afterwards.
int RunMachine(const std::vector<std::string>& args);

} // namespace moltr::tool
