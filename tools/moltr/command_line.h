#pragma once
// The options every moltr command shares, and its error reporting.
#include <string>
#include <vector>

namespace moltr::tool {

struct GlobalOptions {
    std::string spool; // the simulated machine's folder
    std::string os;    // MAJOR.MINOR of the simulated Windows, empty to keep the machine's
    bool help = false;
};

// Takes the global options out of `args` (leaving the command and its own arguments). Returns an
// error text, empty on success.
std::string ParseGlobalOptions(std::vector<std::string>& args, GlobalOptions& options);

// A command's own arguments, up to `most` words and the switch --json: false for any other
// option or a word too many.
bool ParseWordsAndJson(const std::vector<std::string>& args, size_t most,
                       std::vector<std::string>& words, bool& json);

// The machine folder used when neither --spool nor MOLTR_SPOOL names one.
std::string DefaultSpoolFolder();

// Attaches to (or creates) the machine and applies --os. Returns an error text, empty on success.
std::string PrepareMachine(const GlobalOptions& options);

// Prints "moltr: <message>" as one line on stderr; returns the exit status to use.
int Fail(const std::string& message);

} // namespace moltr::tool
