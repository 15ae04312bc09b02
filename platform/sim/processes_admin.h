#pragma once
// The processes of the simulated machine (host build only). Every host process that attaches to a
// machine is one of its processes: a record in <root>/processes/ names its id (the host pid, which
// GetCurrentProcessId reports), its image path as the machine sees it (GetModuleFileNameW(NULL))
// and, once it has ended, its exit code. A process whose host process is gone counts as ended.
//
// CreateProcessW starts a machine program by running the host executable registered for it here:
// the program file must exist on the machine, and the table (<root>/processes/programs.txt) is
// machine-wide, so every process of the machine starts the same executable.
#include <windows.h>
#include <string>
#include <string_view>
#include <vector>

namespace moltr::sim {

// Maps a machine program to the host executable that runs it. `program` is either a full Windows
// path ("C:\\Windows\\System32\\spool\\drivers\\x64\\3\\MOLTRMDN.EXE") or a bare file name
// ("MOLTRMDN.EXE") that stands for a file of that name in any folder; both match ignoring case and
// a path entry wins over a name entry. Registering a program again replaces its executable.
bool RegisterProgram(std::u16string_view program, const std::string& hostExecutable);
bool UnregisterProgram(std::u16string_view program);
// The host executable for a machine program file, or empty when none is registered.
std::string ProgramExecutable(std::u16string_view programPath);

struct MachineProcess {
    DWORD id = 0;
    std::u16string name; // base name of the image, as GetModuleBaseNameW reports it
    std::u16string path; // the image's Windows path
    bool running = false;
    DWORD exitCode = STILL_ACTIVE; // once ended: its code, when the machine learnt it, else 0
};

// Every process the machine knows, running or ended, in the order they started.
std::vector<MachineProcess> ListProcesses();

} // namespace moltr::sim
