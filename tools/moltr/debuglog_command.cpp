#include "moltr/debuglog_command.h"

#include "moltr/command_line.h"
#include "moltr/json_value.h"
#include "sim/debug_log.h"

#include <cstdio>

namespace moltr::tool {
namespace {

// The log's lines without their line ends; a last line without one counts too.
std::vector<std::string> Lines(const std::string& log) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < log.size()) {
        size_t end = log.find('\n', start);
        std::string line = log.substr(start, end == std::string::npos ? end : end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = end == std::string::npos ? log.size() : end + 1;
    }
    return lines;
}

} // namespace

int RunDebugLog(const std::vector<std::string>& args) {
    bool clear = false;
    bool json = false;
    for (const std::string& arg : args) {
        if (arg == "--clear") {
            clear = true;
        } else if (arg == "--json") {
            json = true;
        } else {
            return Fail("unexpected argument '" + arg +
                        "' (usage: moltr debuglog [--clear] [--json])");
        }
    }
    if (clear && json) {
        return Fail("--clear empties the log and shows nothing: it takes no --json");
    }
    if (clear) {
        return sim::ClearDebugLog() ? 0 : Fail("cannot empty the debug log");
    }
    const std::string log = sim::ReadDebugLog();
    if (!json) {
        std::fputs(log.c_str(), stdout);
        return 0;
    }
    JsonValue lines = JsonValue::Array();
    for (std::string& line : Lines(log)) {
        lines.Add(JsonValue::String(std::move(line)));
    }
    std::printf("%s\n", lines.Serialize().c_str());
    return 0;
}

} // namespace moltr::tool
