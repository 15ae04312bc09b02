#include "moltr/processes_command.h"

#include "moltr/command_line.h"
#include "moltr/json_value.h"
#include "sim/processes_admin.h"
#include "sim/utf.h"

#include <cstdio>

namespace moltr::tool {

const char kProcessesUsage[] =
    "usage: moltr processes [--json]\n"
    "Lists the processes of the simulated machine in the order they started: id (as\n"
    "GetCurrentProcessId reports it), image name, whether it still runs (or the exit code it\n"
    "ended with) and the image's Windows path. Ended processes stay listed for a minute.\n"
    "--json: an array of objects with pid, name, path and running.\n";

namespace {

std::string Json(const std::vector<sim::MachineProcess>& processes) {
    std::string out = "[";
    for (const sim::MachineProcess& process : processes) {
        out += out.size() > 1 ? "," : "";
        out += "{\"pid\":" + std::to_string(process.id) +
               ",\"name\":" + JsonQuote(sim::Utf8(process.name)) +
               ",\"path\":" + JsonQuote(sim::Utf8(process.path)) +
               ",\"running\":" + (process.running ? "true" : "false") + "}";
    }
    return out + "]\n";
}

std::string Text(const std::vector<sim::MachineProcess>& processes) {
    std::string out;
    for (const sim::MachineProcess& process : processes) {
        const std::string state =
            process.running ? "running" : "ended (" + std::to_string(process.exitCode) + ")";
        char line[96];
        std::snprintf(line, sizeof line, "%8lu  %-16s  %-12s  ",
                      static_cast<unsigned long>(process.id), sim::Utf8(process.name).c_str(),
                      state.c_str());
        out += line + sim::Utf8(process.path) + "\n";
    }
    return out.empty() ? "no processes\n" : out;
}

} // namespace

int RunProcesses(const std::vector<std::string>& args) {
    bool json = false;
    for (const std::string& arg : args) {
        if (arg != "--json") {
            return Fail("usage: moltr processes [--json]");
        }
        json = true;
    }
    const std::vector<sim::MachineProcess> processes = sim::ListProcesses();
    std::fputs((json ? Json(processes) : Text(processes)).c_str(), stdout);
    return 0;
}

} // namespace moltr::tool
