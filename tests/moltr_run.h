#pragma once
// Runs the moltr command that the build put beside the test program, as a user would.
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace moltr::test {

struct MoltrRun {
    int status = -1;
    std::string output; // standard output only
};

inline MoltrRun Moltr(const std::string& arguments) {
    namespace fs = std::filesystem;
    fs::path moltr = fs::read_symlink("/proc/self/exe").parent_path() / "moltr";
    MoltrRun run;
    FILE* pipe = popen((moltr.string() + " " + arguments + " 2>/dev/null").c_str(), "r");
    if (!pipe) {
        return run;
    }
    char buffer[4096];
    size_t read;
    while ((read = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.output.append(buffer, read);
    }
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace moltr::test
