// moltr: the command line of the host simulation. It plays the core driver and the spooler's side
// for the plug-ins, and gives description authors their compiler.
#include "moltr/command_line.h"
#include "moltr/command_usage.h"
#include "moltr/compile_command.h"
#include "moltr/devcaps_command.h"
#include "moltr/debuglog_command.h"
#include "moltr/devmode_command.h"
#include "moltr/forms_command.h"
#include "moltr/jobs_command.h"
#include "moltr/machine_command.h"
#include "moltr/media_command.h"
#include "moltr/preview_command.h"
#include "moltr/print_command.h"
#include "moltr/printer_command.h"
#include "moltr/desktop_command.h"
#include "moltr/processes_command.h"
#include "moltr/spooler_command.h"
#include "moltr/ticket_command.h"
#include "moltr/ui_command.h"

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
    "  machine [--clock YYYY-MM-DDTHH:MM:SS.mmm|now] [--tz-bias MINUTES] [--locale LCID]\n"
    "          [--code-page CP] [--json]\n"
    "                     shows the simulated machine; sets its clock (UTC, frozen for\n"
    "                     GetSystemTime and GetLocalTime until set to now), its time zone's bias\n"
    "                     (local time = UTC - bias), its system locale and its ANSI code page\n"
    "  compile SOURCE [--embedded|--plain] [--driver NAME] [--json]\n"
    "                     compiles a GPD or XPD description on a printer made for it and shows\n"
    "                     every message and every structure stored\n"
    "  image SOURCE --struct NAME -o FILE [--embedded|--plain] [--driver NAME]\n"
    "                     writes the stored image of root structure NAME to FILE\n"
    "  printer add NAME [--gpd FILE] [--driver NAME]\n"
    "                     installs the driver (the sample printer's by default) and adds a "
    "printer\n"
    "                     (the driver initialises it: forms, registry values, descriptions)\n"
    "  printer info NAME [--json]\n"
    "                     shows the printer's PRINTER_INFO_2\n"
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
    "  devmode PRINTER --document [--set FIELD=VALUE ...] [--json]\n"
    "                     the devmode an application gets from DocumentPropertiesW, with the\n"
    "                     changes merged (FIELD: dmPaperSize ... or a private setting)\n"
    "  devcaps PRINTER minextent|maxextent|binnames|papers|papernames [--json]\n"
    "                     what DeviceCapabilitiesW answers for the printer\n"
    "  ticket PRINTER FILE.xml [--json]\n"
    "                     runs CompletePrintCapabilities and ValidatePrintTicket of the printer's\n"
    "                     print-ticket provider on the document and shows the debugger dump\n"
    "  forms [--json]     lists the machine's forms database (sizes in micrometres) with the\n"
    "                     printers that mark each form as one of their custom sizes\n"
    "  media PRINTER add NAME WIDTH LENGTH | rename OLD NEW | delete NAME | list [--json]\n"
    "                     the printer's custom paper sizes, changed as its custom-size dialog\n"
    "                     does (see moltr media --help)\n"
    "  printer gpd NAME   prints the driver's description file of the printer byte for byte\n"
    "  debuglog [--clear] [--json]\n"
    "                     shows what the machine's processes wrote to the debugger, or empties "
    "it\n"
    "  printer ports [--json]\n"
    "                     the printers' ports and the files that receive what they print\n"
    "  print PRINTER [-o FILE] [--pages N] [--set FIELD=VALUE ...] [--document NAME]\n"
    "        [--user NAME] [--machine NAME] [--hold | --wait] [--json]\n"
    "                     spools a job as an application does and prints it (see --help)\n"
    "  preview PRINTER [--set FIELD=VALUE ...] -o FILE.png [--size WxH]\n"
    "                     draws the document sheet's page preview of the devmode (see --help)\n"
    "  jobs PRINTER [--json]\n"
    "                     the printer's jobs\n"
    "  job PRINTER ID pause|resume|delete\n"
    "                     pauses, resumes or deletes a job\n"
    "  spooler run [--until-idle] [--page-ms N]\n"
    "                     the spooler service, printing the queued jobs\n"
    "  processes [--json]  the machine's processes\n"
    "  desktop respond CONTROL_ID [--after MS] | desktop dialogs [--json] [--png DIR]\n"
    "                     answers the machine's dialogs as its user; lists the dialogs shown\n"
    "  ui PRINTER --document|--printer [--do ACTION ...] [--json] [--png DIR]\n"
    "                     opens a property sheet, acts on it as a user and shows what resulted\n"
    "                     (see moltr ui --help)\n";

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
    std::vector<std::string> commandArgs(args.begin() + 1, args.end());
    if (command == "machine") {
        return moltr::tool::RunMachine(commandArgs);
    }
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
    if (command == "devcaps") {
        return moltr::tool::RunDevCaps(commandArgs);
    }
    if (command == "ticket") {
        return moltr::tool::RunTicket(commandArgs);
    }
    if (command == "media") {
        return moltr::tool::RunMedia(commandArgs);
    }
    if (command == "forms") {
        return moltr::tool::RunForms(commandArgs);
    }
    if (command == "debuglog") {
        return moltr::tool::RunDebugLog(commandArgs);
    }
    if (command == "preview") {
        return moltr::tool::RunPreview(commandArgs);
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
    if (command == "processes") {
        return moltr::tool::RunProcesses(commandArgs);
    }
    if (command == "desktop") {
        return moltr::tool::RunDesktop(commandArgs);
    }
    if (command == "ui") {
        return moltr::tool::RunUi(commandArgs);
    }
    return moltr::tool::Fail("unknown command '" + command + "' (see moltr --help)");
}
