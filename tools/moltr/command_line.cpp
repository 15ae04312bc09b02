#include "moltr/command_line.h"

#include "sim/machine.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace moltr::tool {

std::string ParseGlobalOptions(std::vector<std::string>& args, GlobalOptions& options) {
    std::vector<std::string> rest;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--spool" || arg == "--os") {
            if (i + 1 >= args.size()) {
                return arg + " needs a value";
            }
            (arg == "--spool" ? options.spool : options.os) = args[++i];
        } else if (arg.rfind("--spool=", 0) == 0) {
            options.spool = arg.substr(8);
        } else if (arg.rfind("--os=", 0) == 0) {
            options.os = arg.substr(5);
        } else {
            rest.push_back(arg);
        }
    }
    if (options.spool.empty()) {
        const char* env = std::getenv("MOLTR_SPOOL");
        options.spool = env && *env ? env : DefaultSpoolFolder();
    }
    args = rest;
    return {};
}

bool ParseWordsAndJson(const std::vector<std::string>& args, size_t most,
                       std::vector<std::string>& words, bool& json) {
    for (const std::string& arg : args) {
        if (arg == "--json") {
            json = true;
        } else if (arg.rfind("--", 0) != 0 && words.size() < most) {
            words.push_back(arg);
        } else {
            return false;
        }
    }
    return true;
}

std::string DefaultSpoolFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    std::filesystem::path base = data && *data   ? std::filesystem::path(data)
                                 : home && *home ? std::filesystem::path(home) / ".local/share"
                                                 : std::filesystem::temp_directory_path();
    return (base / "moltr" / "machine").string();
}

namespace {

bool ParseVersion(const std::string& text, sim::WindowsVersion& version) {
    char* end = nullptr;
    unsigned long major = std::strtoul(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != '.') {
        return false;
    }
    const char* minorText = end + 1;
    unsigned long minor = std::strtoul(minorText, &end, 10);
    if (end == minorText || *end != '\0' || major > 99 || minor > 99) {
        return false;
    }
    version.major = static_cast<DWORD>(major);
    version.minor = static_cast<DWORD>(minor);
    return true;
}

} // namespace

std::string PrepareMachine(const GlobalOptions& options) {
    sim::WindowsVersion version;
    if (!options.os.empty() && !ParseVersion(options.os, version)) {
        return "--os wants MAJOR.MINOR, such as 6.1, not '" + options.os + "'";
    }
    if (!sim::AttachMachine(options.spool)) {
        sim::MachineConfig config;
        config.version = version;
        if (!sim::CreateMachine(options.spool, config)) {
            return "cannot create the simulated machine in '" + options.spool + "'";
        }
    }
    if (!options.os.empty()) {
        sim::MachineConfig config = sim::CurrentConfig();
        config.version.major = version.major;
        config.version.minor = version.minor;
        if (!sim::UpdateConfig(config)) {
            return "cannot set the Windows version of '" + options.spool + "'";
        }
    }
    return {};
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "moltr: %s\n", message.c_str());
    return 2;
}

} // namespace moltr::tool
