#pragma once
// The machine's debug log (host build only): what the machine's processes wrote with
// OutputDebugStringW, in the order written, as UTF-8. It stands in for a debugger attached to
// every process.
#include <string>

namespace moltr::sim {

// The log's host path; empty when there is no machine.
std::string DebugLogPath();
// The whole log; empty when nothing was written (or there is no machine).
std::string ReadDebugLog();
// Empties the log; false when there is no machine or the log cannot be emptied.
bool ClearDebugLog();

} // namespace moltr::sim
