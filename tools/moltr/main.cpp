// moltr: the command line of the host simulation. It plays the core driver and the spooler's side
// for the plug-ins, and gives description authors their compiler.
#include "moltr/command_line.h"
#include "moltr/command_usage.h"
#include "moltr/compile_command.h"
#include "moltr/devmode_command.h"
#include "moltr/jobs_command.h"
#include "moltr/print_command.h"
#include "moltr/printer_command.h"
#include "moltr/spooler_command.h"
#include "sim/machine.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const char kUsage[] =
    "usage: moltr [--spool DIR] [--os MAJOR.MINOR] COMMAND [ARGS...]\n"
    "\n"
    "The host simulation of the MOLTR printer-driver plug-ins.\n"
    "\n"
    "Options:\n"
    "  --spool DIR        the simulated machine and spooler (default: MOLTR_SPOOL, or\n"
    "                     ~/.local/share/moltr/machine)\n"
    "  --os MAJOR.MINOR   the simulated Windows version (a new machine starts at 6.1)\n"
    "  --help             this text\n"
    "\n"
    "Commands:\n"
    "  machine            shows the simulated machine\n"
    "  compile SOURCE [--embedded|--plain] [--driver NAME] [--json]\n"
    "                     compiles a GPD or XPD description on a printer made for it and shows\n"
    "                     every message and every structure stored\n"
    "  image SOURCE --struct NAME -o FILE [--embedded|--plain] [--driver NAME]\n"
    "                     writes the stored image of root structure NAME to FILE\n"
    "  printer add NAME [--gpd FILE] [--driver NAME]\n"
    "                     installs the driver (the sample printer's by default) and adds a "
    "printer\n"
    "  printer compile NAME\n"
    "                     compiles the printer's descriptions and shows every message\n"
    "  printer data NAME [VALUE] [--hex]\n"
    "                     lists the printer's data values, or shows one (--hex: its bytes only)\n"
    "  printer settings NAME [FIELD=VALUE ...]\n"
    "                     shows the printer settings, or changes fields as the printer's property\n"
    "                     sheet does, which also rewrites the RTI block of its GPD\n"
    "  devmode NAME [--default] [--hex]\n"
    "                     the private devmode field by field: the printer's own, or with\n"
    "                     --default the default one (--hex: its bytes only)\n"
    "  printer ports [--json]\n"
    "                     the printers' ports and the files that receive what they print\n"
    "  print PRINTER [-o FILE] [--pages N] [--set FIELD=VALUE ...] [--document NAME]\n"
    "        [--user NAME] [--machine NAME] [--hold] [--json]\n"
    "                     spools a job as an application does and prints it (see --help)\n"
    "  jobs PRINTER [--json]\n"
    "                     the printer's jobs\n"
    "  job PRINTER ID pause|resume|delete\n"
    "                     pauses, resumes or deletes a job\n"
    "  spooler run [--until-idle] [--page-ms N]\n"
    "                     the spooler service, printing the queued jobs\n";

int ShowMachine() {
    moltr::sim::MachineConfig config = moltr::sim::CurrentConfig();
    std::printf("root: %s\n", moltr::sim::MachineRoot().c_str());
    std::printf("windows: %u.%u (build %u)\n", config.version.major, config.version.minor,
                config.version.build);
    std::printf("ui languages: user %u, system %u\n", config.userUiLanguage,
                config.systemUiLanguage);
    std::printf("ansi code page: %u\n", config.ansiCodePage);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    moltr::tool::GlobalOptions options;
    std::string error = moltr::tool::ParseGlobalOptions(args, options);
    if (!error.empty()) {
        return moltr::tool::Fail(error);
    }
    if (const char* usage = options.help ? moltr::tool::CommandUsage(args) : nullptr) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (options.help || args.empty()) {
        std::fputs(kUsage, options.help ? stdout : stderr);
        return options.help ? 0 : 2;
    }
    error = moltr::tool::PrepareMachine(options);
    if (!error.empty()) {
        return moltr::tool::Fail(error);
    }
    const std::string& command = args[0];
    if (command == "machine") {
        return ShowMachine();
    }
    std::vector<std::string> commandArgs(args.begin() + 1, args.end());
    if (command == "compile") {
        return moltr::tool::RunCompile(commandArgs);
    }
    if (command == "image") {
        return moltr::tool::RunImage(commandArgs);
    }
    if (command == "printer") {
        return moltr::tool::RunPrinter(commandArgs);
    }
    if (command == "devmode") {
        return moltr::tool::RunDevMode(commandArgs);
    }
    if (command == "print") {
        return moltr::tool::RunPrint(commandArgs);
    }
    if (command == "jobs") {
        return moltr::tool::RunJobs(commandArgs);
    }
    if (command == "job") {
        return moltr::tool::RunJob(commandArgs);
    }
    if (command == "spooler") {
        return moltr::tool::RunSpooler(commandArgs);
    }
    return moltr::tool::Fail("unknown command '" + command + "' (see moltr --help)");
}
