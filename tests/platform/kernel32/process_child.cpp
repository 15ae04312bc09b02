// The program that the process and pipe tests start as another process of the machine. Its first
// argument says what to do; host file paths in the arguments receive what it reports.
#include <windows.h>

#include "sim/utf.h"

#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

constexpr auto kPatience = std::chrono::seconds(30);

int WaitForFile(const char* path) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (::access(path, F_OK) != 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            return 3;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return 0;
}

void Report(const char* path, const std::string& text) {
    const std::string temporary = std::string(path) + ".part";
    std::ofstream(temporary) << text;
    std::rename(temporary.c_str(), path);
}

// Writes each piece in its own WriteFile call, a moment apart.
int WritePipe(const std::u16string& name, char** pieces, int count) {
    WaitNamedPipeW(moltr::sim::W(name), 5000);
    HANDLE pipe = CreateFileW(moltr::sim::W(name), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) {
        return static_cast<int>(100 + GetLastError() % 100);
    }
    for (int i = 0; i < count; ++i) {
        DWORD written = 0;
        if (!WriteFile(pipe, pieces[i], static_cast<DWORD>(std::string(pieces[i]).size()), &written,
                       nullptr)) {
            return 4;
        }
        Sleep(20);
    }
    return CloseHandle(pipe) ? 0 : 5;
}

// Serves one client of a new inbound pipe and reports the bytes it sent.
int ServePipe(const std::u16string& name, const char* report) {
    HANDLE pipe = CreateNamedPipeW(moltr::sim::W(name), PIPE_ACCESS_INBOUND,
                                   PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT,
                                   PIPE_UNLIMITED_INSTANCES, 0, 524, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) {
        return 6;
    }
    Report((std::string(report) + ".ready").c_str(), "");
    if (!ConnectNamedPipe(pipe, nullptr) && GetLastError() != ERROR_PIPE_CONNECTED) {
        return 7;
    }
    std::string received;
    char buffer[64];
    DWORD read = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &read, nullptr)) {
        received.append(buffer, read);
    }
    const DWORD error = GetLastError();
    Report(report, received);
    DisconnectNamedPipe(pipe);
    CloseHandle(pipe);
    return error == ERROR_BROKEN_PIPE ? 0 : 8;
}

} // namespace

// A visible main window on the desktop: reports its thread, waits for "REPORT.done", then reports
// whether the window is enabled, as another process may have changed it.
int ShowWindowUntilDone(const char* report) {
    HWND window = CreateWindowExW(0, L"Static", L"Child", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  100, 100, nullptr, nullptr, nullptr, nullptr);
    if (!window) {
        return 2;
    }
    Report(report, std::to_string(GetCurrentThreadId()));
    const int waited = WaitForFile((std::string(report) + ".done").c_str());
    Report((std::string(report) + ".state").c_str(), IsWindowEnabled(window) ? "1" : "0");
    return waited;
}

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    if (what == "window" && argc > 2) {
        return ShowWindowUntilDone(argv[2]);
    }
    if (what == "exit" && argc > 2) {
        return std::stoi(argv[2]);
    }
    if (what == "exit-process" && argc > 2) {
        ExitProcess(static_cast<UINT>(std::stoul(argv[2])));
    }
    if (what == "wait-file" && argc > 2) {
        return WaitForFile(argv[2]);
    }
    if (what == "report-image" && argc > 2) {
        WCHAR path[MAX_PATH];
        const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
        Report(argv[2], moltr::sim::Utf8(path, length));
        return WaitForFile((std::string(argv[2]) + ".done").c_str());
    }
    if (what == "pipe-write" && argc > 2) {
        return WritePipe(moltr::sim::Utf16(argv[2]), argv + 3, argc - 3);
    }
    if (what == "pipe-serve" && argc > 3) {
        return ServePipe(moltr::sim::Utf16(argv[2]), argv[3]);
    }
    return 2;
}
