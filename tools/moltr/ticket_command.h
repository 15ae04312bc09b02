#pragma once
// `moltr ticket`: a print-capabilities document or print ticket through the printer's print-ticket
// provider (CompletePrintCapabilities, then ValidatePrintTicket), with what the provider wrote to
// the debugger.
#include <string>
#include <vector>

namespace moltr::tool {

// moltr ticket PRINTER FILE.xml [--json]
int RunTicket(const std::vector<std::string>& args);

} // namespace moltr::tool
