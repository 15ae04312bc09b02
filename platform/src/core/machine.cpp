// The simulated machine: its root folder, configuration and the mapping of Windows paths.
#include "sim/machine.h"
#include "sim/utf.h"
#include "src/kernel32/process_records.h"

#include <algorithm>
#include <chrono>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <ctime>

namespace fs = std::filesystem;

namespace moltr::sim {
namespace {

constexpr const char* kConfigFile = "machine.ini";
constexpr const char* kSpoolVariable = "MOLTR_SPOOL";

// Reading machine.ini costs tens of microseconds, and the code-page calls alone ask for the
// configuration thousands of times in one compile, so it is kept, and every call compares the
// file's status with the kept one (a stat, about a microsecond). Another process may write the
// file at any moment, even within a millisecond of this process's last look. A file written
// moments ago could be written again within the file system's timestamp granularity without a
// visible change, so until it has aged each call reads it again.
// Well beyond the file system's timestamp granularity (one clock tick).
constexpr auto kSettledAge = std::chrono::milliseconds(50);

struct KeptConfig {
    std::string root; // empty: nothing kept
    struct stat status {};
    bool settled = false;
    MachineConfig config;
};

struct MachineState {
    std::mutex lock;
    std::string root;
    bool attachTried = false;
    KeptConfig kept;
};

MachineState& State() {
    static MachineState state;
    return state;
}

std::string ToLowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Writes a temporary file beside machine.ini and renames it over the old one, so that another
// process reading at the same moment sees the old content or the new one, never a part of it.
bool WriteConfig(const std::string& root, const MachineConfig& c) {
    const fs::path path = fs::path(root) / kConfigFile;
    fs::path temporary = path;
    temporary += "." + std::to_string(::getpid()) + ".tmp";
    std::ofstream out(temporary, std::ios::trunc);
    out << "version=" << c.version.major << "." << c.version.minor << "\n"
        << "build=" << c.version.build << "\n"
        << "servicepack=" << c.version.servicePackMajor << "\n"
        << "useruilanguage=" << c.userUiLanguage << "\n"
        << "systemuilanguage=" << c.systemUiLanguage << "\n"
        << "systemlocale=" << c.systemLocale << "\n"
        << "ansicodepage=" << c.ansiCodePage << "\n"
        << "username=" << c.userName << "\n"
        << "computername=" << c.computerName << "\n"
        << "clock=" << c.clock << "\n"
        << "timezonebias=" << c.timeZoneBias << "\n";
    out.close();
    std::error_code ec;
    if (!out || (fs::rename(temporary, path, ec), ec)) {
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

bool ReadConfig(const std::string& root, MachineConfig& c) {
    std::ifstream in(fs::path(root) / kConfigFile);
    if (!in) {
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        auto eq = line.find('=');
        if (eq == std::string::npos) {
            continue;
        }
        std::string key = line.substr(0, eq);
        std::string value = line.substr(eq + 1);
        unsigned long number = std::strtoul(value.c_str(), nullptr, 10);
        if (key == "version") {
            c.version.major = static_cast<DWORD>(number);
            auto dot = value.find('.');
            c.version.minor =
                dot == std::string::npos
                    ? 0
                    : static_cast<DWORD>(std::strtoul(value.c_str() + dot + 1, nullptr, 10));
        } else if (key == "build") {
            c.version.build = static_cast<DWORD>(number);
        } else if (key == "servicepack") {
            c.version.servicePackMajor = static_cast<WORD>(number);
        } else if (key == "useruilanguage") {
            c.userUiLanguage = static_cast<LANGID>(number);
        } else if (key == "systemuilanguage") {
            c.systemUiLanguage = static_cast<LANGID>(number);
        } else if (key == "systemlocale") {
            c.systemLocale = static_cast<LCID>(number);
        } else if (key == "ansicodepage") {
            c.ansiCodePage = static_cast<UINT>(number);
        } else if (key == "username") {
            c.userName = value;
        } else if (key == "computername") {
            c.computerName = value;
        } else if (key == "clock") {
            c.clock = std::strtoull(value.c_str(), nullptr, 10);
        } else if (key == "timezonebias") {
            c.timeZoneBias = static_cast<LONG>(std::strtol(value.c_str(), nullptr, 10));
        }
    }
    return true;
}

void MakeLayout(const std::string& root, const MachineConfig& c) {
    const fs::path base(root);
    for (const char* dir :
         {"c/Windows/System32/spool/drivers/x64/3", "c/Windows/System32/spool/prtprocs/x64",
          "c/Windows/Temp", "c/Program Files", "spool", "registry"}) {
        fs::create_directories(base / dir);
    }
    fs::create_directories(base / "c/Users" / c.userName / "AppData/Local/Temp");
}

std::string ConfigPath(const std::string& root) {
    return (fs::path(root) / kConfigFile).string();
}

bool SameStatus(const struct stat& a, const struct stat& b) {
    return a.st_ino == b.st_ino && a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
           a.st_mtim.tv_nsec == b.st_mtim.tv_nsec && a.st_ctim.tv_sec == b.st_ctim.tv_sec &&
           a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

// Keeps `config` as the content of machine.ini with the status it has now. The caller holds the
// state's lock.
void Keep(const std::string& root, const MachineConfig& config) {
    KeptConfig& kept = State().kept;
    kept.root.clear();
    if (::stat(ConfigPath(root).c_str(), &kept.status) != 0) {
        return;
    }
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const auto age = std::chrono::seconds(now.tv_sec - kept.status.st_mtim.tv_sec) +
                     std::chrono::nanoseconds(now.tv_nsec - kept.status.st_mtim.tv_nsec);
    kept.settled = age > kSettledAge;
    kept.config = config;
    kept.root = root;
}

// Whether the kept configuration is still the file's; the caller holds the lock.
bool KeptIsCurrent(const std::string& root) {
    const KeptConfig& kept = State().kept;
    struct stat status {};
    return kept.root == root && kept.settled && ::stat(ConfigPath(root).c_str(), &status) == 0 &&
           SameStatus(status, kept.status);
}

void Adopt(const std::string& root) {
    State().root = root;
    State().attachTried = true;
    ::setenv(kSpoolVariable, root.c_str(), 1);
}

} // namespace

bool CreateMachine(const std::string& root, const MachineConfig& config) {
    std::error_code ec;
    fs::path path = fs::absolute(root, ec);
    if (ec) {
        return false;
    }
    fs::create_directories(path, ec);
    for (const auto& entry : fs::directory_iterator(path, ec)) {
        fs::remove_all(entry.path(), ec);
    }
    MakeLayout(path.string(), config);
    if (!WriteConfig(path.string(), config)) {
        return false;
    }
    {
        std::lock_guard guard(State().lock);
        Adopt(path.string());
        Keep(path.string(), config);
    }
    platform::RegisterThisProcess(path.string());
    return true;
}

bool AttachMachine(const std::string& root) {
    std::error_code ec;
    fs::path path = fs::absolute(root, ec);
    MachineConfig config;
    if (ec || !ReadConfig(path.string(), config)) {
        return false;
    }
    {
        std::lock_guard guard(State().lock);
        Adopt(path.string());
        Keep(path.string(), config);
    }
    platform::RegisterThisProcess(path.string());
    return true;
}

bool ResetMachine() {
    std::string root = MachineRoot();
    if (root.empty()) {
        return false;
    }
    MachineConfig config = CurrentConfig();
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(root, ec)) {
        if (entry.path().filename() != kConfigFile) {
            fs::remove_all(entry.path(), ec);
        }
    }
    MakeLayout(root, config);
    platform::RegisterThisProcess(root);
    return true;
}

std::string MachineRoot() {
    std::string attached;
    {
        std::lock_guard guard(State().lock);
        if (!State().root.empty() || State().attachTried) {
            return State().root;
        }
        State().attachTried = true;
        const char* env = std::getenv(kSpoolVariable);
        MachineConfig config;
        if (env && *env && ReadConfig(env, config)) {
            State().root = attached = env;
        }
    }
    if (!attached.empty()) {
        platform::RegisterThisProcess(attached);
    }
    return attached;
}

MachineConfig CurrentConfig() {
    MachineConfig config;
    std::string root = MachineRoot();
    if (root.empty()) {
        return config;
    }
    std::lock_guard guard(State().lock);
    if (KeptIsCurrent(root)) {
        return State().kept.config;
    }
    if (ReadConfig(root, config)) {
        Keep(root, config);
    }
    return config;
}

bool UpdateConfig(const MachineConfig& config) {
    std::string root = MachineRoot();
    if (root.empty() || !WriteConfig(root, config)) {
        return false;
    }
    std::lock_guard guard(State().lock);
    Keep(root, config);
    return true;
}

std::string HostPath(const WCHAR* windowsPath) {
    std::string path = Utf8(windowsPath ? windowsPath : L"");
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.size() < 3 || !std::isalpha(static_cast<unsigned char>(path[0])) || path[1] != ':' ||
        path[2] != '/') {
        return {};
    }
    char drive = static_cast<char>(std::tolower(static_cast<unsigned char>(path[0])));
    fs::path host;
    if (drive == 'z') {
        host = "/";
    } else {
        std::string root = MachineRoot();
        if (root.empty()) {
            return {};
        }
        host = fs::path(root) / std::string(1, drive);
    }
    std::stringstream parts(path.substr(3));
    std::string part;
    bool existing = true;
    while (std::getline(parts, part, '/')) {
        if (part.empty() || part == ".") {
            continue;
        }
        if (part == "..") {
            if (host.has_relative_path() && host.filename() != std::string(1, drive)) {
                host = host.parent_path();
            }
            continue;
        }
        if (existing) {
            std::error_code ec;
            fs::path exact = host / part;
            if (!fs::exists(exact, ec)) {
                std::string wanted = ToLowerAscii(part);
                bool found = false;
                for (const auto& entry : fs::directory_iterator(host, ec)) {
                    if (ToLowerAscii(entry.path().filename().string()) == wanted) {
                        exact = entry.path();
                        found = true;
                        break;
                    }
                }
                existing = found;
            }
            host = exact;
        } else {
            host /= part;
        }
    }
    return host.string();
}

std::u16string WindowsPath(const std::string& hostPath) {
    std::error_code ec;
    fs::path path = fs::absolute(hostPath, ec).lexically_normal();
    std::string text = path.string();
    std::string root = MachineRoot();
    std::string windows;
    if (!root.empty()) {
        std::string prefix = fs::path(root).lexically_normal().string();
        if (!prefix.empty() && prefix.back() != '/') {
            prefix += '/';
        }
        if (text.compare(0, prefix.size(), prefix) == 0 && text.size() >= prefix.size() + 1) {
            std::string rest = text.substr(prefix.size());
            if (rest.size() >= 1 && std::isalpha(static_cast<unsigned char>(rest[0])) &&
                (rest.size() == 1 || rest[1] == '/')) {
                windows = std::string(1, static_cast<char>(
                                             std::toupper(static_cast<unsigned char>(rest[0])))) +
                          ":\\" + (rest.size() > 2 ? rest.substr(2) : std::string());
            }
        }
    }
    if (windows.empty()) {
        windows = "Z:\\" + (text.size() > 1 ? text.substr(1) : std::string());
    }
    std::replace(windows.begin(), windows.end(), '/', '\\');
    return Utf16(windows);
}

TestMachine::TestMachine(const MachineConfig& config) {
    std::string pattern = (fs::temp_directory_path() / "moltr-machine-XXXXXX").string();
    if (::mkdtemp(pattern.data())) {
        root_ = pattern;
        CreateMachine(root_, config);
    }
}

TestMachine::~TestMachine() {
    std::error_code ec;
    if (!root_.empty()) {
        fs::remove_all(root_, ec);
    }
}

} // namespace moltr::sim
