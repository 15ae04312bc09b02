#include "moltr/jobs_command.h"

#include <winspool.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include "moltr/command_line.h"
#include "moltr/json_value.h"
#include "moltr/named_printer.h"
#include "sim/utf.h"

namespace moltr::tool {

const char kJobsUsage[] =
    "usage: moltr jobs PRINTER [--json]\n"
    "Lists the printer's jobs: id, status, pages printed of the total, document. --json prints\n"
    "an array of objects with id, document, status, totalPages and pagesPrinted.\n";
const char kJobUsage[] = "usage: moltr job PRINTER ID pause|resume|delete\n"
                         "Pauses, resumes or deletes one job of the printer.\n";

namespace {

// The status bits by the words that show them.
struct StatusWord {
    DWORD bit;
    const char* word;
};
constexpr StatusWord kStatusWords[] = {
    {JOB_STATUS_PAUSED, "paused"},     {JOB_STATUS_ERROR, "error"},
    {JOB_STATUS_DELETING, "deleting"}, {JOB_STATUS_SPOOLING, "spooling"},
    {JOB_STATUS_PRINTING, "printing"}, {JOB_STATUS_PRINTED, "printed"},
    {JOB_STATUS_RESTART, "restart"},
};

// The commands by their names.
struct JobCommand {
    const char* name;
    DWORD command;
};
constexpr JobCommand kJobCommands[] = {
    {"pause", JOB_CONTROL_PAUSE},
    {"resume", JOB_CONTROL_RESUME},
    {"delete", JOB_CONTROL_DELETE},
};

// The status words joined by commas; "queued" for none.
std::string StatusText(DWORD status) {
    std::string text;
    for (const StatusWord& word : kStatusWords) {
        if (status & word.bit) {
            text += (text.empty() ? "" : ",") + std::string(word.word);
        }
    }
    return text.empty() ? "queued" : text;
}

std::vector<BYTE> EnumerateJobs(HANDLE printer, DWORD& count) {
    DWORD needed = 0;
    count = 0;
    EnumJobsW(printer, 0, 0xFFFFFFFF, 1, nullptr, 0, &needed, &count);
    std::vector<BYTE> jobs(needed ? needed : 1);
    if (!EnumJobsW(printer, 0, 0xFFFFFFFF, 1, jobs.data(), needed, &needed, &count)) {
        count = 0;
    }
    return jobs;
}

} // namespace

int RunJobs(const std::vector<std::string>& args) {
    std::string name;
    bool json = false;
    for (const std::string& arg : args) {
        if (arg == "--json") {
            json = true;
        } else if (name.empty() && arg.rfind("-", 0) != 0) {
            name = arg;
        } else {
            return Fail("usage: moltr jobs PRINTER [--json]");
        }
    }
    NamedPrinter printer;
    std::string error = name.empty() ? "usage: moltr jobs PRINTER [--json]" : printer.Open(name);
    if (!error.empty()) {
        return Fail(error);
    }
    DWORD count = 0;
    std::vector<BYTE> buffer = EnumerateJobs(printer.handle(), count);
    const auto* jobs = reinterpret_cast<const JOB_INFO_1W*>(buffer.data());
    JsonValue list = JsonValue::Array();
    for (DWORD i = 0; i < count; ++i) {
        const JOB_INFO_1W& job = jobs[i];
        const std::string document = sim::Utf8(job.pDocument);
        if (!json) {
            std::printf("%-6lu %-18s %lu/%lu  %s\n", static_cast<unsigned long>(job.JobId),
                        StatusText(job.Status).c_str(),
                        static_cast<unsigned long>(job.PagesPrinted),
                        static_cast<unsigned long>(job.TotalPages), document.c_str());
            continue;
        }
        JsonValue entry = JsonValue::Object();
        entry.Add("id", JsonValue::Unsigned(job.JobId));
        entry.Add("document", JsonValue::String(document));
        entry.Add("status", JsonValue::String(StatusText(job.Status)));
        entry.Add("totalPages", JsonValue::Unsigned(job.TotalPages));
        entry.Add("pagesPrinted", JsonValue::Unsigned(job.PagesPrinted));
        list.Add(std::move(entry));
    }
    if (json) {
        std::printf("%s\n", list.Serialize().c_str());
    }
    return 0;
}

int RunJob(const std::vector<std::string>& args) {
    if (args.size() != 3) {
        return Fail("usage: moltr job PRINTER ID pause|resume|delete");
    }
    const JobCommand* command = nullptr;
    for (const JobCommand& known : kJobCommands) {
        command = args[2] == known.name ? &known : command;
    }
    char* end = nullptr;
    errno = 0;
    const unsigned long id = std::strtoul(args[1].c_str(), &end, 10);
    if (!command || args[1].empty() || *end != '\0' || errno != 0 || id == 0 || id > 0xFFFFFFFF) {
        return Fail("usage: moltr job PRINTER ID pause|resume|delete");
    }
    NamedPrinter printer;
    std::string error = printer.Open(args[0]);
    if (!error.empty()) {
        return Fail(error);
    }
    if (!SetJobW(printer.handle(), static_cast<DWORD>(id), 0, nullptr, command->command)) {
        return Fail("no job " + args[1] + " on " + args[0]);
    }
    return 0;
}

} // namespace moltr::tool
