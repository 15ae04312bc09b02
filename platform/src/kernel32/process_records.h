#pragma once
// The machine's process list: one record per process in <root>/processes/<id>, written by the
// process itself when it attaches to the machine and by the process that started it, and completed
// with the exit code by whoever learns it (the starter reaping its child, ExitProcess).
#include <windows.h>
#include <optional>
#include <string>
#include <vector>

namespace moltr::platform {

struct ProcessRecord {
    DWORD id = 0;
    // The host's start time of the process (clock ticks since boot), which tells it from a later
    // process that got the same host pid.
    unsigned long long start = 0;
    std::u16string path;
    std::optional<DWORD> exitCode;
};

// Called once a process has its machine: records it there.
void RegisterThisProcess(const std::string& root);
// Rewrites this process's record after its image path changed.
void UpdateThisProcessImage();

// Start time of a running host process; 0 when it has ended (a zombie counts as ended).
unsigned long long HostStartTime(DWORD pid);

// Records a child CreateProcessW has just started, which may have ended already; answers the
// record.
ProcessRecord RecordStartedChild(DWORD pid, const std::u16string& path);

bool SaveProcess(const ProcessRecord& record);
std::optional<ProcessRecord> LoadProcess(DWORD id);
// Every record, oldest first.
std::vector<ProcessRecord> LoadProcesses();
bool IsRunning(const ProcessRecord& record);
// Records the exit code of an ended process.
void RecordExitCode(DWORD id, DWORD code);

// Replaces `path` with `text` whole (through a file of this process beside it), making its folder.
bool ReplaceTextFile(const std::string& path, const std::string& text);

// The base name of a Windows path (after its last '\\' or '/').
std::u16string BaseNameOf(std::u16string_view path);

} // namespace moltr::platform
