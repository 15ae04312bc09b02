#pragma once
// Administration of the simulated Windows machine (host build only): its root folder, Windows
// version, UI languages and code page. Separate processes of the host build share one machine
// through its root folder; a process finds it through MOLTR_SPOOL, which CreateMachine and
// AttachMachine set for the process and its children.
//
// Host layout under the root:
//   machine.ini   the configuration below
//   c/            drive C: (C:\Windows, C:\Windows\System32, C:\Windows\Temp, the spooler's driver
//                 and print-processor directories, C:\Users\<user>)
//   spool/        the spooler's state (printers, drivers, printer data)
//   registry/     the simulated registry (registry.dat, replaced atomically under .lock)
//   locks/        one record per file that is open somewhere, for sharing across processes
//   filetimes/    creation times set with SetFileTime, which the host file system cannot keep
// Other drive letters map to further one-letter folders; Z: maps to the host's / as in Wine.
#include <windows.h>
#include <string>

namespace moltr::sim {

struct WindowsVersion {
    DWORD major = 6;
    DWORD minor = 1;
    DWORD build = 7601;
    WORD servicePackMajor = 1;
};

struct MachineConfig {
    WindowsVersion version;
    LANGID userUiLanguage = 1033;
    LANGID systemUiLanguage = 1033;
    LCID systemLocale = 1033;
    UINT ansiCodePage = 1252;
    std::string userName = "user";
    std::string computerName = "MOLTRHOST";
    // A frozen clock for GetSystemTime and GetLocalTime, as a FILETIME in UTC; 0 runs the host's.
    ULONGLONG clock = 0;
    // The time zone's bias in minutes (GetTimeZoneInformation): local time = UTC - bias.
    LONG timeZoneBias = 0;
};

// Creates the machine at `root` (making the folder if needed and wiping whatever was there) and
// makes it the current one of this process.
bool CreateMachine(const std::string& root, const MachineConfig& config = {});
// Makes an existing machine the current one.
bool AttachMachine(const std::string& root);
// Clears files, spooler and registry of the current machine, keeping its configuration.
bool ResetMachine();
// The current machine's root, attaching to MOLTR_SPOOL on first use; empty when there is none.
std::string MachineRoot();
MachineConfig CurrentConfig();
// Changes the current machine's configuration (all processes see the change).
bool UpdateConfig(const MachineConfig& config);

// Windows path (absolute, drive letter, either slash, any case) to the host path of the existing
// file or folder, each component matched ignoring case; for a path that does not exist yet, its
// existing part matched that way and the rest as given. Empty when the path cannot be mapped.
std::string HostPath(const WCHAR* windowsPath);
// Host path to the Windows path that names it: under the machine's drives, or Z: for the rest.
std::u16string WindowsPath(const std::string& hostPath);

// A fresh machine in a new temporary folder, removed again at destruction: one line in a test.
class TestMachine {
public:
    explicit TestMachine(const MachineConfig& config = {});
    ~TestMachine();
    TestMachine(const TestMachine&) = delete;
    TestMachine& operator=(const TestMachine&) = delete;
    const std::string& root() const { return root_; }

private:
    std::string root_;
};

} // namespace moltr::sim
