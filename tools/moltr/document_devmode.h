#pragma once
// `moltr devmode PRINTER --document`: the devmode an application gets from DocumentPropertiesW,
// the defaults and then the merge of the changes asked for.
#include <string>
#include <vector>

namespace moltr::tool {

// moltr devmode PRINTER --document [--set FIELD=VALUE ...] [--json]; FIELD is a DEVMODEW field
// (dmPaperSize ...) or a private setting (_DUPLEXTYPE ...).
int RunDocumentDevMode(const std::vector<std::string>& args);

} // namespace moltr::tool
