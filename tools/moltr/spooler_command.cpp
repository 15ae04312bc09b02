#include "moltr/spooler_command.h"

#include <cerrno>
#include <cstdlib>
#include "moltr/command_line.h"
#include "sim/spooler_service.h"

namespace moltr::tool {
namespace {

// Slow enough for a watcher of the queue to see each page printed.
constexpr DWORD kDefaultPageMs = 200;

} // namespace

const char kSpoolerUsage[] =
    "usage: moltr spooler run [--until-idle] [--page-ms N]\n"
    "Runs the spooler service, which prints the queued jobs that are complete and not paused, in\n"
    "order, to their printers' ports. --until-idle: stop once no printable job is left (by\n"
    "default it keeps running); --page-ms: the time each page takes (default 200), so\n"
    "that the pages printed rise one by one as watchers see them.\n";

int RunSpooler(const std::vector<std::string>& args) {
    constexpr char kUsage[] = "usage: moltr spooler run [--until-idle] [--page-ms N]";
    if (args.empty() || args[0] != "run") {
        return Fail(kUsage);
    }
    sim::SpoolerServiceOptions options;
    options.pageMs = kDefaultPageMs;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--until-idle") {
            options.untilIdle = true;
        } else if (args[i] == "--page-ms" && i + 1 < args.size()) {
            char* end = nullptr;
            errno = 0;
            const unsigned long ms = std::strtoul(args[++i].c_str(), &end, 10);
            if (args[i].empty() || args[i][0] == '-' || *end != '\0' || errno != 0 || ms > 60000) {
                return Fail("--page-ms takes a number of milliseconds up to 60000: " + args[i]);
            }
            options.pageMs = static_cast<DWORD>(ms);
        } else {
            return Fail(kUsage);
        }
    }
    sim::RunSpoolerService(options);
    return 0;
}

} // namespace moltr::tool
