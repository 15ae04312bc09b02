#include "moltr/desktop_command.h"

#include "moltr/command_line.h"
#include "moltr/json_value.h"
#include "sim/dialogs.h"
#include "sim/utf.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace moltr::tool {

const char kDesktopUsage[] =
    "usage: moltr desktop respond CONTROL_ID [--after MS]\n"
    "       moltr desktop dialogs [--json] [--png DIR]\n"
    "respond: from now on the simulated user answers every dialog of the machine by pressing the\n"
    "control CONTROL_ID (1 is OK, 2 Cancel) after looking at it for MS milliseconds (default 0).\n"
    "dialogs: the dialogs shown on the machine, oldest first: template id, caption, the controls'\n"
    "ids and texts, whether the application window was disabled while the dialog was open and\n"
    "enabled after it, and the control that closed it.\n"
    "--json: an array of objects with template, caption, controls (objects with id and text),\n"
    "appWindowDisabled, appWindowEnabledAfter and closedBy.\n"
    "--png: writes the picture of each dialog (its surface with the owner-drawn controls\n"
    "painted) into DIR as dialog-N.png, N counting from 1 for the oldest.\n";

namespace {

constexpr const char* kShortUsage = "usage: moltr desktop respond CONTROL_ID [--after MS] | "
                                    "moltr desktop dialogs [--json] [--png DIR]";

struct DialogsRequest {
    bool json = false;
    std::string pictures; // the folder for the pictures; empty for none
};

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

// The file of the n-th dialog's picture (from 0) in `folder`.
std::string PictureFile(const std::string& folder, size_t n) {
    return (std::filesystem::path(folder) / ("dialog-" + std::to_string(n + 1) + ".png")).string();
}

std::string Text(const std::vector<sim::DialogRecord>& records, const std::string& pictures) {
    std::string out;
    for (size_t n = 0; n < records.size(); ++n) {
        const sim::DialogRecord& record = records[n];
        out += "dialog " + std::to_string(record.templateId) + " \"" + sim::Utf8(record.caption) +
               "\" closed by " + std::to_string(record.closedBy) + "; application window " +
               (record.appWindowDisabled ? "disabled" : "not disabled") + " while open, " +
               (record.appWindowEnabledAfter ? "enabled" : "not enabled") + " after\n";
        for (const sim::DialogControl& control : record.controls) {
            out += "  " + std::to_string(control.id) + "  " + sim::Utf8(control.text) + "\n";
        }
        if (!pictures.empty() && !record.picture.empty()) {
            out += "  picture written to " + PictureFile(pictures, n) + "\n";
        }
    }
    return out.empty() ? "no dialogs\n" : out;
}

// Returns an error text, empty on success.
std::string WritePictures(const std::vector<sim::DialogRecord>& records,
                          const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (size_t n = 0; n < records.size(); ++n) {
        if (records[n].picture.empty()) {
            continue;
        }
        std::ofstream file(PictureFile(folder, n), std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(records[n].picture.data()),
                   static_cast<std::streamsize>(records[n].picture.size()));
        if (!file.flush()) {
            return "cannot write " + PictureFile(folder, n);
        }
    }
    return {};
}

// Returns false for arguments that are not those of `desktop dialogs`.
bool ParseDialogs(const std::vector<std::string>& args, DialogsRequest& request) {
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--json" && !request.json) {
            request.json = true;
        } else if (args[i] == "--png" && i + 1 < args.size() && request.pictures.empty() &&
                   !args[i + 1].empty()) {
            request.pictures = args[++i];
        } else {
            return false;
        }
    }
    return true;
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
    DialogsRequest request;
    if (args.empty() || args[0] != "dialogs" || !ParseDialogs(args, request)) {
        return Fail(kShortUsage);
    }
    const std::vector<sim::DialogRecord> records = sim::DialogRecords();
    const std::string error =
        request.pictures.empty() ? std::string() : WritePictures(records, request.pictures);
    if (!error.empty()) {
        return Fail(error);
    }
    std::fputs((request.json ? Json(records) : Text(records, request.pictures)).c_str(), stdout);
    return 0;
}

} // namespace moltr::tool
