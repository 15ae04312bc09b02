#include "moltr/desktop_command.h"

#include "moltr/command_line.h"
#include "moltr/json_value.h"
#include "sim/dialogs.h"
#include "sim/utf.h"

#include <cstdio>
#include <cstdlib>

namespace moltr::tool {

const char kDesktopUsage[] =
    "usage: moltr desktop respond CONTROL_ID [--after MS]\n"
    "       moltr desktop dialogs [--json]\n"
    "respond: from now on the simulated user answers every dialog of the machine by pressing the\n"
    "control CONTROL_ID (1 is OK, 2 Cancel) after looking at it for MS milliseconds (default 0).\n"
    "dialogs: the dialogs shown on the machine, oldest first: template id, caption, the controls'\n"
    "ids and texts, whether the application window was disabled while the dialog was open and\n"
    "enabled after it, and the control that closed it.\n"
    "--json: an array of objects with template, caption, controls (objects with id and text),\n"
    "appWindowDisabled, appWindowEnabledAfter and closedBy.\n";

namespace {

constexpr const char* kShortUsage =
    "usage: moltr desktop respond CONTROL_ID [--after MS] | moltr desktop dialogs [--json]";

// A decimal number within [0, limit]; false for anything else.
bool ParseNumber(const std::string& text, unsigned long limit, unsigned long& value) {
    char* end = nullptr;
    value = std::strtoul(text.c_str(), &end, 10);
    return !text.empty() && text[0] != '-' && *end == '\0' && value <= limit;
}

const char* Bool(bool value) {
    return value ? "true" : "false";
}

std::string Json(const std::vector<sim::DialogRecord>& records) {
    std::string out = "[";
    for (const sim::DialogRecord& record : records) {
        out += out.size() > 1 ? "," : "";
        out += "{\"template\":" + std::to_string(record.templateId) +
               ",\"caption\":" + JsonQuote(sim::Utf8(record.caption)) + ",\"controls\":[";
        for (size_t i = 0; i < record.controls.size(); ++i) {
            out += (i ? ",{\"id\":" : "{\"id\":") + std::to_string(record.controls[i].id) +
                   ",\"text\":" + JsonQuote(sim::Utf8(record.controls[i].text)) + "}";
        }
        out += std::string("],\"appWindowDisabled\":") + Bool(record.appWindowDisabled) +
               ",\"appWindowEnabledAfter\":" + Bool(record.appWindowEnabledAfter) +
               ",\"closedBy\":" + std::to_string(record.closedBy) + "}";
    }
    return out + "]\n";
}

std::string Text(const std::vector<sim::DialogRecord>& records) {
    std::string out;
    for (const sim::DialogRecord& record : records) {
        out += "dialog " + std::to_string(record.templateId) + " \"" + sim::Utf8(record.caption) +
               "\" closed by " + std::to_string(record.closedBy) + "; application window " +
               (record.appWindowDisabled ? "disabled" : "not disabled") + " while open, " +
               (record.appWindowEnabledAfter ? "enabled" : "not enabled") + " after\n";
        for (const sim::DialogControl& control : record.controls) {
            out += "  " + std::to_string(control.id) + "  " + sim::Utf8(control.text) + "\n";
        }
    }
    return out.empty() ? "no dialogs\n" : out;
}

int Respond(const std::vector<std::string>& args) {
    unsigned long control = 0;
    unsigned long after = 0;
    if (args.size() != 2 && args.size() != 4) {
        return Fail(kShortUsage);
    }
    if (!ParseNumber(args[1], 0xFFFF, control) ||
        (args.size() == 4 && (args[2] != "--after" || !ParseNumber(args[3], 3600000, after)))) {
        return Fail(kShortUsage);
    }
    sim::SetDialogResponse({static_cast<int>(control), static_cast<DWORD>(after)});
    std::printf("dialogs are answered with control %lu after %lu ms\n", control, after);
    return 0;
}

} // namespace

int RunDesktop(const std::vector<std::string>& args) {
    if (!args.empty() && args[0] == "respond") {
        return Respond(args);
    }
    if (args.empty() || args[0] != "dialogs" || args.size() > 2 ||
        (args.size() == 2 && args[1] != "--json")) {
        return Fail(kShortUsage);
    }
    const std::vector<sim::DialogRecord> records = sim::DialogRecords();
    std::fputs((args.size() == 2 ? Json(records) : Text(records)).c_str(), stdout);
    return 0;
}

} // namespace moltr::tool
