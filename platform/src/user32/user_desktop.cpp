// Records of the machine's top-level windows in <root>/desktop/windows/<process>-<handle>.
#include "src/user32/user_desktop.h"
#include "src/kernel32/process_records.h"
#include "sim/machine.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace moltr::platform {
namespace {

constexpr int kProcessShift = 32;
constexpr ULONG_PTR kLocalMask = 0xFFFFFFFFu;

DWORD ProcessOf(ULONG_PTR handle) {
    return static_cast<DWORD>(handle >> kProcessShift);
}

std::string WindowsFolder() {
    const std::string root = sim::MachineRoot();
    return root.empty() ? root : root + "/desktop/windows";
}

std::string RecordName(DWORD process, ULONG_PTR local) {
    return std::to_string(process) + "-" + std::to_string(local);
}

struct StoredWindow {
    DesktopWindow window;
    unsigned long long created = 0;
};

// A record's fields; none for a file that is not whole (a writer replaces files atomically).
std::optional<StoredWindow> ReadRecord(const fs::path& file, DWORD process, ULONG_PTR local) {
    std::ifstream in(file);
    StoredWindow stored;
    stored.window.handle = reinterpret_cast<HWND>((ULONG_PTR{process} << kProcessShift) | local);
    stored.window.process = process;
    std::string key;
    unsigned long long value = 0;
    bool styled = false;
    while (in >> key >> value) {
        if (key == "thread") {
            stored.window.thread = static_cast<DWORD>(value);
        } else if (key == "style") {
            stored.window.style = static_cast<DWORD>(value);
            styled = true;
        } else if (key == "created") {
            stored.created = value;
        }
    }
    return styled ? std::optional(stored) : std::nullopt;
}

bool ProcessRuns(DWORD process) {
    if (process == GetCurrentProcessId()) {
        return true;
    }
    const std::optional<ProcessRecord> record = LoadProcess(process);
    return record && IsRunning(*record);
}

// The process and local handle a record's file name stands for.
bool ParseName(const std::string& name, DWORD& process, ULONG_PTR& local) {
    char* end = nullptr;
    process = static_cast<DWORD>(std::strtoul(name.c_str(), &end, 10));
    if (end == name.c_str() || *end != '-') {
        return false;
    }
    const char* digits = end + 1;
    local = std::strtoull(digits, &end, 10);
    return end != digits && *end == '\0' && process != 0;
}

std::string RecordText(DWORD thread, DWORD style, unsigned long long created) {
    return "thread " + std::to_string(thread) + "\nstyle " + std::to_string(style) + "\ncreated " +
           std::to_string(created) + "\n";
}

unsigned long long Now() {
    return static_cast<unsigned long long>(std::chrono::system_clock::now().time_since_epoch() /
                                           std::chrono::nanoseconds(1));
}

} // namespace

ULONG_PTR LocalHandleValue(ULONG_PTR handle) {
    return ProcessOf(handle) == GetCurrentProcessId() ? handle & kLocalMask : handle;
}

bool IsForeignHandle(HWND handle) {
    const DWORD process = ProcessOf(reinterpret_cast<ULONG_PTR>(handle));
    return process != 0 && process != GetCurrentProcessId();
}

HWND DesktopHandle(HWND local) {
    const ULONG_PTR value = reinterpret_cast<ULONG_PTR>(local) & kLocalMask;
    return reinterpret_cast<HWND>((ULONG_PTR{GetCurrentProcessId()} << kProcessShift) | value);
}

void PublishWindow(HWND local, DWORD thread, DWORD style) {
    const std::string folder = WindowsFolder();
    if (folder.empty()) {
        return;
    }
    const ULONG_PTR value = reinterpret_cast<ULONG_PTR>(local) & kLocalMask;
    const std::string file = folder + "/" + RecordName(GetCurrentProcessId(), value);
    // A window keeps its place in the Z order when its state changes.
    const auto known = ReadRecord(file, GetCurrentProcessId(), value);
    ReplaceTextFile(file, RecordText(thread, style, known ? known->created : Now()));
}

void WithdrawWindow(HWND local) {
    const std::string folder = WindowsFolder();
    if (!folder.empty()) {
        std::error_code ec;
        const ULONG_PTR value = reinterpret_cast<ULONG_PTR>(local) & kLocalMask;
        fs::remove(folder + "/" + RecordName(GetCurrentProcessId(), value), ec);
    }
}

std::optional<DesktopWindow> FindDesktopWindow(HWND handle) {
    const std::string folder = WindowsFolder();
    const ULONG_PTR value = reinterpret_cast<ULONG_PTR>(handle);
    const DWORD process = ProcessOf(value);
    if (folder.empty() || process == 0 || !ProcessRuns(process)) {
        return std::nullopt;
    }
    const auto stored = ReadRecord(folder + "/" + RecordName(process, value & kLocalMask), process,
                                   value & kLocalMask);
    return stored ? std::optional(stored->window) : std::nullopt;
}

bool StoreDesktopStyle(HWND handle, DWORD style) {
    const ULONG_PTR value = reinterpret_cast<ULONG_PTR>(handle);
    const std::string file =
        WindowsFolder() + "/" + RecordName(ProcessOf(value), value & kLocalMask);
    const auto stored = ReadRecord(file, ProcessOf(value), value & kLocalMask);
    return stored &&
           ReplaceTextFile(file, RecordText(stored->window.thread, style, stored->created));
}

std::vector<DesktopWindow> DesktopWindows() {
    std::vector<StoredWindow> found;
    std::error_code ec;
    const std::string folder = WindowsFolder();
    if (folder.empty()) {
        return {};
    }
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        DWORD process = 0;
        ULONG_PTR local = 0;
        if (!ParseName(entry.path().filename().string(), process, local)) {
            continue;
        }
        if (!ProcessRuns(process)) {
            fs::remove(entry.path(), ec); // the windows of an ended process are gone with it
            continue;
        }
        if (auto stored = ReadRecord(entry.path(), process, local)) {
            found.push_back(*stored);
        }
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.created < b.created; });
    std::vector<DesktopWindow> windows;
    for (const StoredWindow& stored : found) {
        windows.push_back(stored.window);
    }
    return windows;
}

} // namespace moltr::platform
