// The machine's dialog records in <root>/desktop/dialogs/ (each a file of "key value" lines, with
// its picture beside it) and its responder in <root>/desktop/responder, of the same lines.
#include "src/user32/user_dialog_records.h"
#include "src/kernel32/process_records.h"
#include "sim/machine.h"
#include "sim/utf.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <sstream>

namespace fs = std::filesystem;

namespace moltr::platform {
namespace {

struct LocalDialogs {
    std::mutex lock;
    std::vector<sim::DialogRecord> records; // without a machine
    sim::DialogResponse response;
    std::multimap<DWORD, std::string> pending; // thread -> record file to complete
};

LocalDialogs& TheDialogs() {
    static LocalDialogs* dialogs = new LocalDialogs;
    return *dialogs;
}

// A record's picture is the file of its name with this suffix.
constexpr char kPictureSuffix[] = ".png";

std::string DesktopFile(const std::string& name) {
    const std::string root = sim::MachineRoot();
    return root.empty() ? root : root + "/desktop/" + name;
}

// Texts stay on their line: backslashes and line ends are escaped.
std::string Escaped(std::u16string_view text) {
    std::string out;
    for (char c : sim::Utf8(text)) {
        out += c == '\\' ? std::string("\\\\") : c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return out;
}

std::u16string Unescaped(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            out += text[++i] == 'n' ? '\n' : text[i];
        } else {
            out += text[i];
        }
    }
    return sim::Utf16(out);
}

std::string RecordText(const sim::DialogRecord& record) {
    std::ostringstream out;
    out << "template " << record.templateId << "\ncaption " << Escaped(record.caption) << "\n";
    for (const sim::DialogControl& control : record.controls) {
        out << "control " << control.id << " " << Escaped(control.text) << "\n";
    }
    out << "process " << record.process << "\napp " << reinterpret_cast<ULONG_PTR>(record.appWindow)
        << "\ndisabled " << record.appWindowDisabled << "\nenabledAfter "
        << record.appWindowEnabledAfter << "\nclosedBy " << record.closedBy << "\ndrawn "
        << record.ownerDrawn << "\n";
    return out.str();
}

sim::DialogRecord ParseRecord(std::istream& in) {
    sim::DialogRecord record;
    std::string key;
    while (in >> key) {
        std::string rest;
        std::getline(in, rest);
        const std::string value = rest.empty() ? rest : rest.substr(1);
        const long number = std::strtol(value.c_str(), nullptr, 10);
        if (key == "template") {
            record.templateId = static_cast<int>(number);
        } else if (key == "caption") {
            record.caption = Unescaped(value);
        } else if (key == "control") {
            const size_t space = value.find(' ');
            record.controls.push_back(
                {static_cast<int>(number),
                 space == std::string::npos ? u"" : Unescaped(value.substr(space + 1))});
        } else if (key == "process") {
            record.process = static_cast<DWORD>(number);
        } else if (key == "app") {
            record.appWindow = reinterpret_cast<HWND>(std::strtoull(value.c_str(), nullptr, 10));
        } else if (key == "disabled") {
            record.appWindowDisabled = number != 0;
        } else if (key == "enabledAfter") {
            record.appWindowEnabledAfter = number != 0;
        } else if (key == "closedBy") {
            record.closedBy = static_cast<int>(number);
        } else if (key == "drawn") {
            record.ownerDrawn = static_cast<int>(number);
        }
    }
    return record;
}

bool EnabledNow(HWND window) {
    return window && IsWindow(window) && IsWindowEnabled(window);
}

} // namespace

void RecordDialog(const sim::DialogRecord& record, DWORD sharingThread) {
    sim::DialogRecord done = record;
    done.appWindowEnabledAfter = EnabledNow(record.appWindow);
    const std::string folder = DesktopFile("dialogs");
    std::lock_guard guard(TheDialogs().lock);
    if (folder.empty()) {
        TheDialogs().records.push_back(done);
        return;
    }
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    // Names sort as the dialogs closed.
    char name[48];
    std::snprintf(name, sizeof name, "%020lld-%lu",
                  static_cast<long long>(now / std::chrono::nanoseconds(1)),
                  static_cast<unsigned long>(GetCurrentProcessId()));
    const std::string file = folder + "/" + name;
    // The picture is there before its record is.
    if (!done.picture.empty()) {
        ReplaceTextFile(file + kPictureSuffix,
                        std::string(done.picture.begin(), done.picture.end()));
    }
    ReplaceTextFile(file, RecordText(done));
    if (sharingThread != 0 && record.appWindow) {
        TheDialogs().pending.emplace(GetCurrentThreadId(), file);
    }
}

void CompleteDialogRecords(DWORD thread) {
    std::lock_guard guard(TheDialogs().lock);
    auto [first, last] = TheDialogs().pending.equal_range(thread);
    for (auto at = first; at != last; ++at) {
        std::ifstream in(at->second);
        sim::DialogRecord record = ParseRecord(in);
        record.appWindowEnabledAfter = EnabledNow(record.appWindow);
        ReplaceTextFile(at->second, RecordText(record));
    }
    TheDialogs().pending.erase(first, last);
}

} // namespace moltr::platform

namespace moltr::sim {

using platform::DesktopFile;
using platform::TheDialogs;

void SetDialogResponse(const DialogResponse& response) {
    const std::string file = DesktopFile("responder");
    std::lock_guard guard(TheDialogs().lock);
    TheDialogs().response = response;
    if (!file.empty()) {
        platform::ReplaceTextFile(file, "control " + std::to_string(response.control) + "\nafter " +
                                            std::to_string(response.afterMs) + "\n");
    }
}

void ClearDialogResponse() {
    const std::string file = DesktopFile("responder");
    std::lock_guard guard(TheDialogs().lock);
    TheDialogs().response = {};
    std::error_code ec;
    if (!file.empty()) {
        fs::remove(file, ec);
    }
}

DialogResponse CurrentDialogResponse() {
    const std::string file = DesktopFile("responder");
    std::lock_guard guard(TheDialogs().lock);
    if (file.empty()) {
        return TheDialogs().response;
    }
    DialogResponse response;
    std::ifstream in(file);
    std::string key;
    long long value = 0;
    while (in >> key >> value) {
        if (key == "control") {
            response.control = static_cast<int>(value);
        } else if (key == "after" && value >= 0) {
            response.afterMs = static_cast<DWORD>(value);
        }
    }
    return response;
}

std::vector<DialogRecord> DialogRecords() {
    const std::string folder = DesktopFile("dialogs");
    std::lock_guard guard(TheDialogs().lock);
    if (folder.empty()) {
        return TheDialogs().records;
    }
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        // Files being replaced carry a ".new" suffix until they are whole.
        if (entry.path().filename().string().find('.') == std::string::npos) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    std::vector<DialogRecord> records;
    for (const fs::path& file : files) {
        std::ifstream in(file);
        records.push_back(platform::ParseRecord(in));
        std::ifstream picture(file.string() + platform::kPictureSuffix, std::ios::binary);
        records.back().picture.assign(std::istreambuf_iterator<char>(picture), {});
    }
    return records;
}

void ClearDialogRecords() {
    const std::string folder = DesktopFile("dialogs");
    std::lock_guard guard(TheDialogs().lock);
    TheDialogs().records.clear();
    TheDialogs().pending.clear();
    std::error_code ec;
    if (!folder.empty()) {
        fs::remove_all(folder, ec);
    }
}

} // namespace moltr::sim
