#include "moltr/print_command.h"

#include <winspool.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include "moltr/application_window.h"
#include "moltr/command_line.h"
#include "moltr/job_devmode.h"
#include "moltr/json_value.h"
#include "moltr/named_printer.h"
#include "moltr/spooler_process.h"
#include "sim/machine.h"
#include "sim/sheet_pictures.h"
#include "sim/spooler_admin.h"
#include "sim/utf.h"

namespace moltr::tool {

const char kPrintUsage[] =
    "usage: moltr print PRINTER [-o FILE] [--pages N] [--set FIELD=VALUE ...] [--document NAME]\n"
    "                   [--user NAME] [--machine NAME] [--hold | --wait] [--png DIR] [--json]\n"
    "Spools a job of N pages (default 1) on PRINTER as an application does, with the printer's\n"
    "default devmode changed by each --set (public fields by their DEVMODEW names such as\n"
    "dmCopies or dmDuplex, private ones by their setting names; numbers decimal or 0x hex),\n"
    "then, unless --hold, runs the spooler service on it and writes the bytes its port received\n"
    "to FILE. Prints \"job ID: PAGES pages, BYTES bytes\"; --json prints job, pages, bytes,\n"
    "output and callbacks (the renderer's callback ids, in order).\n"
    "--wait: the application stays, with its main window on the desktop, until the job has\n"
    "printed (at most 120 s), while the spooler service prints it as a process of its own,\n"
    "started (again) whenever none runs and the job is not printed yet; a two-sided job on a\n"
    "printer that duplexes by hand is handed to the manual-duplex notifier on the way.\n"
    "--png DIR writes each sheet as the printer receives it to DIR/sheet-NNN.png (001 first).\n"
    "As the document property sheet does, _NUP_PAGES, _NUP_BORDER and _BOOKLET also set the\n"
    "driver's own page layout (pages per sheet, page borders, booklet), and a two-sided job on a\n"
    "printer that duplexes by hand has its copies played page by page.\n";

namespace {

// The datatype of the jobs that applications draw through GDI: the driver renders them.
constexpr WCHAR kEmfDatatype[] = L"NT EMF 1.008";
constexpr long kMaxPages = 9999;
// How often and how long an application that waits for its job looks at the queue.
constexpr DWORD kWaitPollMs = 100;
constexpr ULONGLONG kWaitLimitMs = 120000;
constexpr char kShortUsage[] =
    "usage: moltr print PRINTER [-o FILE] [--pages N] [--set FIELD=VALUE ...] [--document NAME] "
    "[--user NAME] [--machine NAME] [--hold | --wait] [--png DIR] [--json]";

struct PrintRequest {
    std::string printer;
    std::string output;
    DWORD pages = 1;
    std::vector<std::string> settings;
    std::string document = "Untitled";
    std::string user;
    std::string machine;
    std::string pictures;
    bool hold = false;
    bool wait = false;
    bool json = false;
};

// Returns an error text, empty on success.
std::string ParseRequest(const std::vector<std::string>& args, PrintRequest& request) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--hold" || arg == "--wait" || arg == "--json") {
            (arg == "--hold" ? request.hold : arg == "--wait" ? request.wait : request.json) = true;
        } else if ((arg == "-o" || arg == "--document" || arg == "--user" || arg == "--machine" ||
                    arg == "--png") &&
                   hasValue) {
            std::string& value = arg == "-o"           ? request.output
                                 : arg == "--document" ? request.document
                                 : arg == "--user"     ? request.user
                                 : arg == "--png"      ? request.pictures
                                                       : request.machine;
            value = args[++i];
        } else if (arg == "--set" && hasValue) {
            request.settings.push_back(args[++i]);
        } else if (arg == "--pages" && hasValue) {
            char* end = nullptr;
            errno = 0;
            const long pages = std::strtol(args[++i].c_str(), &end, 10);
            if (*end != '\0' || errno != 0 || pages < 1 || pages > kMaxPages) {
                return "--pages takes a number from 1 to 9999: " + args[i];
            }
            request.pages = static_cast<DWORD>(pages);
        } else if (request.printer.empty() && arg.rfind("-", 0) != 0) {
            request.printer = arg;
        } else {
            return kShortUsage;
        }
    }
    if (request.hold && request.wait) {
        return "--hold and --wait exclude each other";
    }
    return request.printer.empty() ? "moltr print needs a printer name" : std::string();
}

// The printer's GPD must be there for the driver to print.
std::string CheckGpd(HANDLE printer) {
    DWORD needed = 0;
    GetPrinterDriverW(printer, nullptr, 3, nullptr, 0, &needed);
    std::vector<BYTE> info(needed ? needed : 1);
    if (!GetPrinterDriverW(printer, nullptr, 3, info.data(), needed, &needed)) {
        return "the printer's driver is not installed";
    }
    const WCHAR* gpd = reinterpret_cast<DRIVER_INFO_3W*>(info.data())->pDataFile;
    std::error_code error;
    if (gpd == nullptr || !std::filesystem::is_regular_file(sim::HostPath(gpd), error)) {
        return "the printer's GPD is missing: " + (gpd ? sim::Utf8(gpd) : std::string());
    }
    return {};
}

// StartDocPrinterW, the pages, EndDocPrinter, on a handle opened with the job's devmode.
DWORD SpoolJob(const PrintRequest& request, std::vector<BYTE>& devmode, std::string& error) {
    std::u16string printer = sim::Utf16(request.printer);
    PRINTER_DEFAULTSW defaults = {nullptr, reinterpret_cast<LPDEVMODEW>(devmode.data()),
                                  PRINTER_ACCESS_USE};
    HANDLE handle = nullptr;
    if (!OpenPrinterW(sim::W(printer), &handle, &defaults)) {
        error = "the printer cannot be opened to print";
        return 0;
    }
    sim::SetClientIdentity(sim::Utf16(request.user), sim::Utf16(request.machine));
    std::u16string document = sim::Utf16(request.document);
    std::u16string datatype(sim::View(kEmfDatatype));
    DOC_INFO_1W info = {sim::W(document), nullptr, sim::W(datatype)};
    DWORD job = StartDocPrinterW(handle, 1, reinterpret_cast<BYTE*>(&info));
    for (DWORD page = 0; job != 0 && page < request.pages; ++page) {
        if (!StartPagePrinter(handle) || !EndPagePrinter(handle)) {
            AbortPrinter(handle);
            job = 0;
        }
    }
    if (job != 0 && !EndDocPrinter(handle)) {
        job = 0;
    }
    ClosePrinter(handle);
    if (job == 0) {
        error = "the job could not be spooled (error " + std::to_string(GetLastError()) + ")";
    }
    return job;
}

// The spooler service prints the job in a process of its own, waited for.
std::optional<sim::PrintedJob> PrintNow(const std::u16string& printer, DWORD job) {
    SpoolerProcess spooler;
    if (!spooler.Start() || !spooler.Wait()) {
        return std::nullopt;
    }
    return sim::FindPrintedJob(printer, job);
}

// The application waits for its job as the spooler service prints it. A service started with
// --until-idle stops when only paused jobs are left, and the notifier holds a two-sided job paused
// until it has spooled, so a service is started again whenever none runs.
std::optional<sim::PrintedJob> AwaitPrinted(const std::u16string& printer, DWORD job) {
    SpoolerProcess spooler;
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        std::optional<sim::PrintedJob> printed = sim::FindPrintedJob(printer, job);
        if (printed || GetTickCount64() - start > kWaitLimitMs) {
            return printed;
        }
        if (!spooler.Runs() && !spooler.Start()) {
            return std::nullopt;
        }
        Sleep(kWaitPollMs);
    }
}

// Why a job that should have printed did not.
std::string NotPrinted(const std::string& printer, DWORD job) {
    std::u16string name = sim::Utf16(printer);
    HANDLE handle = nullptr;
    DWORD status = 0;
    if (OpenPrinterW(sim::W(name), &handle, nullptr)) {
        DWORD needed = 0;
        GetJobW(handle, job, 1, nullptr, 0, &needed);
        std::vector<BYTE> info(needed ? needed : 1);
        if (GetJobW(handle, job, 1, info.data(), needed, &needed)) {
            status = reinterpret_cast<JOB_INFO_1W*>(info.data())->Status;
        }
        ClosePrinter(handle);
    }
    char text[96];
    std::snprintf(text, sizeof text, "job %lu was not printed (job status 0x%lx)",
                  static_cast<unsigned long>(job), static_cast<unsigned long>(status));
    return text;
}

void Report(const PrintRequest& request, DWORD job, const sim::PrintedJob& printed) {
    if (!request.json) {
        std::printf("job %lu: %lu pages, %zu bytes\n", static_cast<unsigned long>(job),
                    static_cast<unsigned long>(printed.pages), printed.bytes.size());
        return;
    }
    JsonValue callbacks = JsonValue::Array();
    for (DWORD id : printed.callbackIds) {
        callbacks.Add(JsonValue::Unsigned(id));
    }
    JsonValue report = JsonValue::Object();
    report.Add("job", JsonValue::Unsigned(job));
    report.Add("pages", JsonValue::Unsigned(printed.pages));
    report.Add("bytes", JsonValue::Unsigned(printed.bytes.size()));
    report.Add("output", request.output.empty() ? JsonValue() : JsonValue::String(request.output));
    report.Add("callbacks", std::move(callbacks));
    std::printf("%s\n", report.Serialize().c_str());
}

// Writes what the port received to the file asked for; returns an error text.
std::string SaveOutput(const PrintRequest& request, const sim::PrintedJob& printed) {
    if (request.output.empty()) {
        return {};
    }
    std::ofstream file(request.output, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(printed.bytes.data()),
               static_cast<std::streamsize>(printed.bytes.size()));
    return file.flush() ? std::string() : "cannot write " + request.output;
}

} // namespace

int RunPrint(const std::vector<std::string>& args) {
    PrintRequest request;
    std::string error = ParseRequest(args, request);
    NamedPrinter printer;
    if (error.empty()) {
        error = printer.Open(request.printer);
    }
    if (error.empty()) {
        error = CheckGpd(printer.handle());
    }
    // The window exists before the devmode merge, so that the notifier it may start finds it.
    std::optional<ApplicationWindow> window;
    if (error.empty() && request.wait) {
        window.emplace(sim::W(sim::Utf16("moltr print - " + request.document)));
        error = window->handle() ? std::string() : "cannot create the application's window";
    }
    std::vector<BYTE> devmode;
    if (error.empty()) {
        error = ApplicationDevMode(printer, request.settings, devmode);
    }
    const DWORD job = error.empty() ? SpoolJob(request, devmode, error) : 0;
    if (job == 0) {
        return Fail(error);
    }
    if (!request.pictures.empty() && !sim::RequestSheetPictures(job, request.pictures)) {
        return Fail("cannot ask for the sheets' pictures in " + request.pictures);
    }
    sim::PrintedJob printed{job, request.pages, {}, {}};
    if (!request.hold) {
        std::optional<sim::PrintedJob> sent =
            request.wait ? AwaitPrinted(printer.name(), job) : PrintNow(printer.name(), job);
        if (!sent) {
            return Fail(NotPrinted(request.printer, job));
        }
        printed = std::move(*sent);
        error = SaveOutput(request, printed);
        if (!error.empty()) {
            return Fail(error);
        }
    }
    Report(request, job, printed);
    return 0;
}

} // namespace moltr::tool
