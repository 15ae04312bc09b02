#pragma once
// `moltr printer info`: a printer's PRINTER_INFO_2 as the spooler answers it.
#include <string>
#include <vector>

namespace moltr::tool {

// moltr printer info NAME [--json]
int RunPrinterInfo(const std::vector<std::string>& args);

} // namespace moltr::tool
