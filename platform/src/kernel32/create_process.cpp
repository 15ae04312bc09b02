// CreateProcessW: runs a program of the machine as a host process that shares the machine. The
// program file must exist on the machine; the host executable is the one registered for it (or
// the file itself when it is a host executable).
#include "src/core/file_paths.h"
#include "src/kernel32/process_object.h"
#include "sim/machine.h"
#include "sim/processes_admin.h"
#include "sim/utf.h"

#include <windows.h>

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace moltr::platform {
namespace {

constexpr const char* kImageVariable = "MOLTR_PROCESS_IMAGE";
constexpr const char* kSpoolVariable = "MOLTR_SPOOL";

// The arguments of a command line by the rules of the C runtime's start-up code.
std::vector<std::string> SplitCommandLine(std::u16string_view line) {
    std::vector<std::string> args;
    std::u16string current;
    bool quoted = false;
    bool any = false;
    for (size_t i = 0; i < line.size(); ++i) {
        size_t slashes = 0;
        while (i < line.size() && line[i] == u'\\') {
            ++slashes;
            ++i;
        }
        if (i < line.size() && line[i] == u'"') {
            current.append(slashes / 2, u'\\');
            if (slashes % 2) {
                current += u'"';
            } else {
                quoted = !quoted;
                any = true;
            }
            continue;
        }
        current.append(slashes, u'\\');
        if (i == line.size()) {
            break;
        }
        if (!quoted && (line[i] == u' ' || line[i] == u'\t')) {
            if (!current.empty() || any) {
                args.push_back(sim::Utf8(current));
            }
            current.clear();
            any = false;
        } else {
            current += line[i];
        }
    }
    if (!current.empty() || any) {
        args.push_back(sim::Utf8(current));
    }
    return args;
}

// The environment block's variables (UTF-16 with CREATE_UNICODE_ENVIRONMENT, else ANSI bytes), or
// the caller's own for none.
std::vector<std::string> Environment(const void* block, bool unicode) {
    std::vector<std::string> variables;
    if (!block) {
        for (char** at = environ; *at; ++at) {
            variables.emplace_back(*at);
        }
    } else if (unicode) {
        for (auto* at = static_cast<const char16_t*>(block); *at;) {
            std::u16string_view entry(at);
            variables.push_back(sim::Utf8(entry));
            at += entry.size() + 1;
        }
    } else {
        for (auto* at = static_cast<const char*>(block); *at;) {
            variables.emplace_back(at);
            at += variables.back().size() + 1;
        }
    }
    return variables;
}

void SetVariable(std::vector<std::string>& variables, const std::string& name,
                 const std::string& value) {
    std::erase_if(variables, [&](const std::string& v) { return v.starts_with(name + "="); });
    variables.push_back(name + "=" + value);
}

bool IsHostExecutable(const std::string& hostFile) {
    std::ifstream in(hostFile, std::ios::binary);
    char magic[4] = {};
    in.read(magic, sizeof magic);
    const bool elf = magic[0] == 0x7F && magic[1] == 'E' && magic[2] == 'L' && magic[3] == 'F';
    const bool script = magic[0] == '#' && magic[1] == '!';
    return (elf || script) && ::access(hostFile.c_str(), X_OK) == 0;
}

// ERROR_SUCCESS with the program's Windows path and the host executable that runs it.
DWORD FindProgram(LPCWSTR name, std::u16string& windowsPath, std::string& executable) {
    std::string host;
    if (DWORD error = sim::MapPath(name, host)) {
        return error;
    }
    struct stat status {};
    if (::stat(host.c_str(), &status) != 0) {
        return sim::MissingPathError(host);
    }
    if (S_ISDIR(status.st_mode)) {
        return ERROR_ACCESS_DENIED;
    }
    windowsPath = sim::WindowsPath(host);
    executable = sim::ProgramExecutable(windowsPath);
    if (executable.empty() && IsHostExecutable(host)) {
        executable = host;
    }
    // What Windows answers for a file that is not a program it can run.
    return executable.empty() ? ERROR_BAD_EXE_FORMAT : ERROR_SUCCESS;
}

DWORD SpawnError(int error) {
    switch (error) {
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOEXEC:
        return ERROR_BAD_EXE_FORMAT;
    case EACCES:
        return ERROR_ACCESS_DENIED;
    default:
        return ERROR_NOT_ENOUGH_MEMORY;
    }
}

// Collects the child's exit code for the handles on it and for the machine's record. A code that
// does not fit the host's 8 bits is taken from the record, where ExitProcess or TerminateProcess
// left it.
void Reap(pid_t pid, std::shared_ptr<ChildState> state) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    std::optional<ProcessRecord> record = LoadProcess(static_cast<DWORD>(pid));
    DWORD code = WIFEXITED(status) ? static_cast<DWORD>(WEXITSTATUS(status)) : 1;
    if (record && record->exitCode && (WIFSIGNALED(status) || (*record->exitCode & 0xFF) == code)) {
        code = *record->exitCode;
    }
    RecordExitCode(static_cast<DWORD>(pid), code);
    {
        std::lock_guard guard(sim::WaitLock());
        state->exitCode = code;
        state->ended = true;
    }
    sim::WakeWaiters();
}

struct Spawn {
    std::vector<std::string> args;
    std::vector<std::string> variables;
    std::string folder; // empty: the caller's
    bool detached = false;
    bool inheritHandles = false;
};

DWORD Run(const Spawn& spawn, pid_t& pid) {
    std::vector<char*> argv;
    for (const std::string& arg : spawn.args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& variable : spawn.variables) {
        envp.push_back(const_cast<char*>(variable.c_str()));
    }
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    if (spawn.detached) {
        // No console: nothing to read, and what it prints goes nowhere; the host's error output
        // stays for diagnostics. A session of its own keeps it out of the caller's terminal.
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    }
    // Only handles made inheritable stay open in the child (the others are close-on-exec), and
    // only when the caller asks for inheritance.
    if (!spawn.inheritHandles) {
        posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    }
    if (!spawn.folder.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, spawn.folder.c_str());
    }
    const int error = ::posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return error ? SpawnError(error) : ERROR_SUCCESS;
}

DWORD CreateProcessFor(LPCWSTR applicationName, LPCWSTR commandLine, BOOL inheritHandles,
                       DWORD flags, LPVOID environment, LPCWSTR currentDirectory,
                       PROCESS_INFORMATION& info) {
    std::u16string name;
    if (applicationName) {
        name = sim::View(applicationName);
    } else {
        const std::vector<std::string> args = SplitCommandLine(sim::View(commandLine));
        if (args.empty()) {
            return ERROR_INVALID_PARAMETER;
        }
        name = sim::Utf16(args.front());
    }
    Spawn spawn;
    std::u16string windowsPath;
    std::string executable;
    if (DWORD error = FindProgram(sim::W(name), windowsPath, executable)) {
        return error;
    }
    if (currentDirectory) {
        struct stat status {};
        if (sim::MapPath(currentDirectory, spawn.folder) != ERROR_SUCCESS ||
            ::stat(spawn.folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
            return ERROR_DIRECTORY;
        }
    }
    spawn.args = SplitCommandLine(sim::View(commandLine));
    if (spawn.args.empty()) {
        spawn.args.emplace_back();
    }
    spawn.args.front() = executable;
    spawn.variables = Environment(environment, flags & CREATE_UNICODE_ENVIRONMENT);
    SetVariable(spawn.variables, kSpoolVariable, sim::MachineRoot());
    SetVariable(spawn.variables, kImageVariable, sim::Utf8(windowsPath));
    spawn.detached = flags & (DETACHED_PROCESS | CREATE_NO_WINDOW);
    spawn.inheritHandles = inheritHandles;

    pid_t pid = 0;
    if (DWORD error = Run(spawn, pid)) {
        return error;
    }
    // The process is on the machine's list as soon as this call returns, whether or not its
    // program ever attaches to the machine itself.
    const ProcessRecord record = RecordStartedChild(static_cast<DWORD>(pid), windowsPath);
    auto state = std::make_shared<ChildState>();
    std::thread(Reap, pid, state).detach();
    info.hProcess =
        sim::InsertHandle(std::make_shared<ProcessObject>(record, PROCESS_ALL_ACCESS, state));
    // Its main thread ends with it; on the host that thread's id is the process's.
    info.hThread = sim::InsertHandle(
        std::make_shared<ProcessObject>(record, SYNCHRONIZE | PROCESS_QUERY_INFORMATION, state));
    info.dwProcessId = static_cast<DWORD>(pid);
    info.dwThreadId = static_cast<DWORD>(pid);
    return ERROR_SUCCESS;
}

} // namespace
} // namespace moltr::platform

extern "C" BOOL WINAPI CreateProcessW(LPCWSTR lpApplicationName, LPWSTR lpCommandLine,
                                      LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES,
                                      BOOL bInheritHandles, DWORD dwCreationFlags,
                                      LPVOID lpEnvironment, LPCWSTR lpCurrentDirectory,
                                      LPSTARTUPINFOW lpStartupInfo,
                                      LPPROCESS_INFORMATION lpProcessInformation) {
    if ((!lpApplicationName && !lpCommandLine) || !lpStartupInfo || !lpProcessInformation) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (moltr::sim::MachineRoot().empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    PROCESS_INFORMATION info{};
    const DWORD error =
        moltr::platform::CreateProcessFor(lpApplicationName, lpCommandLine, bInheritHandles,
                                          dwCreationFlags, lpEnvironment, lpCurrentDirectory, info);
    if (error) {
        SetLastError(error);
        return FALSE;
    }
    *lpProcessInformation = info;
    return TRUE;
}
