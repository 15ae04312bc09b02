#include "moltr/spooler_process.h"

#include <windows.h>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>
#include "sim/machine.h"
#include "sim/processes_admin.h"
#include "sim/utf.h"

extern char** environ;

namespace moltr::tool {
namespace {

constexpr WCHAR kSpoolerImage[] = L"spoolsv.exe";

bool AnySpoolerRuns() {
    for (const sim::MachineProcess& process : sim::ListProcesses()) {
        if (process.running && lstrcmpiW(sim::W(process.name), kSpoolerImage) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

bool SpoolerProcess::Start() {
    std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    std::string root = sim::MachineRoot();
    std::vector<std::string> words = {self, "--spool", root, "spooler", "run", "--until-idle"};
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int error = posix_spawn(&child, self.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        return false;
    }
    child_ = child;
    return true;
}

bool SpoolerProcess::Wait() {
    if (child_ == 0) {
        return false;
    }
    int status = 0;
    Reap(0, status);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool SpoolerProcess::Runs() {
    int status = 0;
    Reap(WNOHANG, status);
    return child_ != 0 || AnySpoolerRuns();
}

void SpoolerProcess::Reap(int flags, int& status) {
    if (child_ == 0) {
        return;
    }
    pid_t done = 0;
    while ((done = waitpid(child_, &status, flags)) < 0 && errno == EINTR) {
    }
    if (done != 0) {
        child_ = 0;
    }
}

} // namespace moltr::tool
