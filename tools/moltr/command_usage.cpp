#include "moltr/command_usage.h"

#include "moltr/jobs_command.h"
#include "moltr/media_command.h"
#include "moltr/preview_command.h"
#include "moltr/print_command.h"
#include "moltr/printer_gpd_command.h"
#include "moltr/printer_command.h"
#include "moltr/desktop_command.h"
#include "moltr/processes_command.h"
#include "moltr/spooler_command.h"
#include "moltr/ui_command.h"

namespace moltr::tool {
namespace {

struct Usage {
    const char* command;
    const char* subcommand; // null: any
    const char* text;
};

constexpr Usage kUsages[] = {
    {"print", nullptr, kPrintUsage},     {"jobs", nullptr, kJobsUsage},
    {"job", nullptr, kJobUsage},         {"spooler", nullptr, kSpoolerUsage},
    {"printer", "ports", kPortsUsage},   {"processes", nullptr, kProcessesUsage},
    {"desktop", nullptr, kDesktopUsage}, {"ui", nullptr, kUiUsage},
    {"media", nullptr, kMediaUsage},     {"printer", "gpd", kPrinterGpdUsage},
    {"preview", nullptr, kPreviewUsage},
};

} // namespace

const char* CommandUsage(const std::vector<std::string>& args) {
    for (const Usage& usage : kUsages) {
        if (args.empty() || args[0] != usage.command) {
            continue;
        }
        if (!usage.subcommand || (args.size() > 1 && args[1] == usage.subcommand)) {
            return usage.text;
        }
    }
    return nullptr;
}

} // namespace moltr::tool
