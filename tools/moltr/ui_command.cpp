#include "moltr/ui_command.h"

#include <winspool.h>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <fstream>
#include "moltr/application_window.h"
#include "moltr/command_line.h"
#include "moltr/document_devmode.h"
#include "moltr/job_devmode.h"
#include "moltr/named_printer.h"
#include "moltr/ui_actions.h"
#include "moltr/ui_capture.h"
#include "moltr/ui_report.h"
#include "sim/message_box.h"
#include "sim/property_sheets.h"
#include "sim/utf.h"

namespace moltr::tool {

const char kUiUsage[] =
    "usage: moltr ui PRINTER --document|--printer [--do ACTION ...] [--json] [--png DIR]\n"
    "Opens the printer's document sheet as an application does (DocumentPropertiesW with a\n"
    "prompt), or its printer sheet as the printers folder does (PrinterPropertiesW), makes the\n"
    "actions in order as a user would and closes the sheet with OK unless an action closed it.\n"
    "Actions (ID: an item id, decimal or 0x-hexadecimal, or a control id):\n"
    "  page:N           clicks the tab of page N (from 0)\n"
    "  select:ID=INDEX  chooses the item's option INDEX (from 0) through its control\n"
    "  value:ID=VALUE   chooses the item's option of value VALUE\n"
    "  type:ID=TEXT     focuses the control, selects its text and types TEXT key by key\n"
    "  check:ID=0|1     clears or checks the check box\n"
    "  click:ID         clicks the button or push-button item\n"
    "  apply, ok, cancel  presses the sheet's button (nothing may follow ok or cancel)\n"
    "  respond:ANSWER   the button (IDOK, IDCANCEL, IDYES, IDNO ... or its id) the user presses\n"
    "                   in the message boxes shown from then on\n"
    "Shows each page with its controls, then the devmode (document) or the printer settings\n"
    "(printer) that resulted and every message box shown.\n"
    "--json: one object with uiType, pages (caption, dialogId, controls: id, class, text,\n"
    "visible, enabled, value, rect: left, top, right, bottom in the page), items (id, oem,\n"
    "dmPubId, userItemId, name, level, flags, helpIndex, type, sel, options: text, flags,\n"
    "iconId, value), messages (textId, text, captionId, caption, type, answer) and\n"
    "devmode (public, private) or printerSettings.\n"
    "--png DIR: writes each page, as the sheet shows it after the actions, to DIR/page-N.png.\n";

namespace {

constexpr char kShortUsage[] =
    "usage: moltr ui PRINTER --document|--printer [--do ACTION ...] [--json] [--png DIR]";
constexpr int kApplyButton = 12321;

struct Request {
    std::string printer;
    bool document = false;
    bool printerSheet = false;
    std::vector<UiAction> actions;
    bool json = false;
    std::string pictures;
};

std::string ParseArguments(const std::vector<std::string>& args, Request& request) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--document" || arg == "--printer") {
            (arg == "--document" ? request.document : request.printerSheet) = true;
        } else if (arg == "--json") {
            request.json = true;
        } else if ((arg == "--do" || arg == "--png") && i + 1 < args.size()) {
            if (arg == "--png") {
                request.pictures = args[++i];
                continue;
            }
            UiAction action;
            const std::string error = ParseUiAction(args[++i], action);
            if (!error.empty()) {
                return error;
            }
            if (!request.actions.empty() && ClosesSheet(request.actions.back())) {
                return "--do " + action.given + ": the sheet is closed already";
            }
            request.actions.push_back(std::move(action));
        } else if (request.printer.empty() && arg.rfind("--", 0) != 0) {
            request.printer = arg;
        } else {
            return kShortUsage;
        }
    }
    if (request.printer.empty() || request.document == request.printerSheet) {
        return kShortUsage;
    }
    return {};
}

// One run of the command: the actions queued for the sheet, what they found wrong and what was
// seen before the sheet closed.
class UiSession {
public:
    explicit UiSession(const Request& request) : request_(request) {}
    ~UiSession();

    // Queues the actions, each followed by nothing else once one fails, then the look at the
    // pages and the closing press.
    void QueueActions();
    const std::string& error() const { return error_; }
    UiReport& report() { return report_; }

private:
    void Queue(std::function<std::string(HWND)> make);
    void QueueLookAndClose(int button);
    void Stop(const std::string& error);

    const Request& request_;
    std::string error_;
    int answer_ = IDOK;
    UiReport report_;
};

UiSession::~UiSession() {
    sim::ClearSheetActions();
    sim::SetMessageBoxResponder({});
}

// The first failure ends the session: nothing more is done and the sheet is cancelled.
void UiSession::Stop(const std::string& error) {
    error_ = error;
    sim::ClearSheetActions();
    sim::QueueSheetAction({sim::SheetAction::Kind::Press, IDCANCEL, nullptr});
}

void UiSession::Queue(std::function<std::string(HWND)> make) {
    sim::QueueSheetAction({sim::SheetAction::Kind::Run, 0, [this, make](HWND sheet) {
                               const std::string error = make(sheet);
                               if (!error.empty()) {
                                   Stop(error);
                               }
                           }});
}

void UiSession::QueueLookAndClose(int button) {
    Queue([this](HWND sheet) {
        report_.pages = CapturePages(sheet, !request_.pictures.empty());
        report_.items = CaptureItems(report_.uiType);
        return std::string();
    });
    sim::QueueSheetAction({sim::SheetAction::Kind::Press, button, nullptr});
}

void UiSession::QueueActions() {
    sim::ClearSheetActions();
    sim::ClearMessageBoxCalls();
    sim::SetMessageBoxResponder([this](const sim::MessageBoxCall&) { return answer_; });
    using Kind = UiAction::Kind;
    for (const UiAction& action : request_.actions) {
        switch (action.kind) {
        case Kind::kPage:
            Queue([action](HWND sheet) {
                return HasPage(sheet, action.number) ? std::string()
                                                     : "--do " + action.given + ": no such page";
            });
            sim::QueueSheetAction(
                {sim::SheetAction::Kind::SelectPage, static_cast<int>(action.number), nullptr});
            break;
        case Kind::kApply:
            sim::QueueSheetAction({sim::SheetAction::Kind::Press, kApplyButton, nullptr});
            break;
        case Kind::kOk:
        case Kind::kCancel:
            QueueLookAndClose(action.kind == Kind::kOk ? IDOK : IDCANCEL);
            return;
        case Kind::kRespond:
            Queue([this, action](HWND) {
                answer_ = static_cast<int>(action.number);
                return std::string();
            });
            break;
        default:
            Queue([action](HWND sheet) { return MakeItemAction(sheet, action); });
            break;
        }
    }
    QueueLookAndClose(IDOK);
}

// Opens the document sheet over the application's devmode; `devmode` becomes what the sheet
// returned on OK.
std::string RunDocumentSheet(const NamedPrinter& printer, std::vector<BYTE>& devmode) {
    std::string error = ApplicationDevMode(printer, {}, devmode);
    if (!error.empty()) {
        return error;
    }
    std::vector<BYTE> chosen(devmode.size());
    ApplicationWindow window(L"moltr ui");
    std::u16string name = printer.name();
    const LONG answer = DocumentPropertiesW(
        window.handle(), printer.handle(), sim::W(name), reinterpret_cast<DEVMODEW*>(chosen.data()),
        reinterpret_cast<DEVMODEW*>(devmode.data()), DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER);
    if (answer < 0) {
        return "the document sheet cannot be shown";
    }
    if (answer == IDOK) {
        devmode = std::move(chosen);
    }
    return {};
}

// Opens the printer sheet as the printers folder does; `settings` becomes the printer settings
// stored once it closed.
std::string RunPrinterSheet(const NamedPrinter& printer, JsonValue& settings) {
    {
        ApplicationWindow window(L"moltr ui");
        if (!PrinterPropertiesW(window.handle(), printer.handle())) {
            return "the printer sheet cannot be shown";
        }
    }
    StoredStructure layout;
    std::string error = printer.Layout(u"PRINTERSETTINGS", layout);
    common::IDrvSettings* stored =
        error.empty() ? printer.Settings(common::kModePrinter, error) : nullptr;
    if (stored == nullptr) {
        return error;
    }
    std::vector<BYTE> data;
    error = NamedPrinter::PrinterSettings(stored, data);
    stored->Release();
    if (error.empty()) {
        settings = SettingsBlockJson(layout, data.data(), data.size());
    }
    return error;
}

// Returns an error text, empty on success.
std::string WritePictures(const std::vector<UiPage>& pages, const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (size_t n = 0; n < pages.size(); ++n) {
        const std::string file =
            (std::filesystem::path(folder) / ("page-" + std::to_string(n) + ".png")).string();
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(pages[n].picture.data()),
                  static_cast<std::streamsize>(pages[n].picture.size()));
        if (!out.flush()) {
            return "cannot write " + file;
        }
    }
    return {};
}

std::string RunSheet(const Request& request, const NamedPrinter& printer, UiReport& report) {
    if (request.document) {
        std::vector<BYTE> devmode;
        const std::string error = RunDocumentSheet(printer, devmode);
        if (error.empty()) {
            report.settingsName = "devmode";
            report.settings = DevModeJson(printer, devmode);
        }
        return error;
    }
    report.settingsName = "printerSettings";
    return RunPrinterSheet(printer, report.settings);
}

} // namespace

int RunUi(const std::vector<std::string>& args) {
    Request request;
    std::string error = ParseArguments(args, request);
    NamedPrinter printer;
    if (error.empty()) {
        error = printer.Open(request.printer);
    }
    if (!error.empty()) {
        return moltr::tool::Fail(error);
    }
    UiSession session(request);
    session.QueueActions();
    error = RunSheet(request, printer, session.report());
    if (error.empty()) {
        error = session.error();
    }
    if (error.empty() && !request.pictures.empty()) {
        error = WritePictures(session.report().pages, request.pictures);
    }
    if (!error.empty()) {
        return moltr::tool::Fail(error);
    }
    session.report().messages = ShownMessages(printer.handle());
    const UiReport& report = session.report();
    std::fputs((request.json ? UiReportJson(report) : UiReportText(report)).c_str(), stdout);
    return 0;
}

} // namespace moltr::tool
