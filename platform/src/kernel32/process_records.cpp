// Process records in the machine folder.
#include "src/kernel32/process_records.h"
#include "src/kernel32/module_table.h"
#include "sim/machine.h"
#include "sim/module_registry.h"
#include "sim/processes_admin.h"
#include "sim/utf.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace moltr::platform {
namespace {

// Set by CreateProcessW for its child: the Windows path of the program it runs.
constexpr const char* kImageVariable = "MOLTR_PROCESS_IMAGE";
// Ended processes' records are kept this long, so that handles on them still read the exit code.
constexpr auto kEndedKept = std::chrono::minutes(1);

std::string ProcessesFolder() {
    const std::string root = sim::MachineRoot();
    return root.empty() ? root : root + "/processes";
}

std::string RecordFile(DWORD id) {
    const std::string folder = ProcessesFolder();
    return folder.empty() ? folder : folder + "/" + std::to_string(id);
}

// Held while a record is read, changed and written back, so that an exit code written by one
// process is never overwritten by another's older copy of the record.
class RecordsLock {
public:
    RecordsLock() {
        const std::string folder = ProcessesFolder();
        std::error_code ec;
        fs::create_directories(folder, ec);
        descriptor_ = folder.empty()
                          ? -1
                          : ::open((folder + "/.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (descriptor_ >= 0) {
            while (::flock(descriptor_, LOCK_EX) < 0 && errno == EINTR) {
            }
        }
    }
    ~RecordsLock() {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
    }
    RecordsLock(const RecordsLock&) = delete;
    RecordsLock& operator=(const RecordsLock&) = delete;

private:
    int descriptor_ = -1;
};

std::optional<ProcessRecord> ReadRecord(const fs::path& file, DWORD id) {
    std::ifstream in(file);
    if (!in) {
        return std::nullopt;
    }
    ProcessRecord record;
    record.id = id;
    std::string line;
    while (std::getline(in, line)) {
        const auto eq = line.find('=');
        const std::string key = line.substr(0, eq);
        const std::string value = eq == std::string::npos ? "" : line.substr(eq + 1);
        if (key == "start") {
            record.start = std::strtoull(value.c_str(), nullptr, 10);
        } else if (key == "path") {
            record.path = sim::Utf16(value);
        } else if (key == "exit") {
            record.exitCode = static_cast<DWORD>(std::strtoul(value.c_str(), nullptr, 10));
        }
    }
    return record.start ? std::optional(record) : std::nullopt;
}

// Drops records of processes that ended a while ago.
void Prune(const std::string& folder) {
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        const auto record = ReadRecord(entry.path(), static_cast<DWORD>(std::stoul(name)));
        const auto written = fs::last_write_time(entry.path(), ec);
        if (record && !IsRunning(*record) && !ec && now - written > kEndedKept) {
            fs::remove(entry.path(), ec);
        }
    }
}

// Consumed at load so that the processes this one starts do not inherit it.
__attribute__((constructor)) void TakeImageFromStarter() {
    if (const char* image = std::getenv(kImageVariable)) {
        const std::u16string path = sim::Utf16(image);
        ::unsetenv(kImageVariable);
        sim::SetProcessImagePath(sim::W(path));
    }
    sim::MachineRoot(); // a process started on a machine is one of its processes from the start
}

} // namespace

namespace {

struct HostStat {
    std::string state;
    unsigned long long start = 0;
};

HostStat ReadHostStat(DWORD pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto close = stat.rfind(')');
    if (close == std::string::npos) {
        return {};
    }
    std::istringstream fields(stat.substr(close + 2));
    HostStat result;
    fields >> result.state;
    // Field 22 of the whole line is the start time; the state was field 3.
    std::string field;
    for (int i = 4; i <= 22 && fields >> field; ++i) {
    }
    result.start = std::strtoull(field.c_str(), nullptr, 10);
    return result;
}

} // namespace

unsigned long long HostStartTime(DWORD pid) {
    const HostStat stat = ReadHostStat(pid);
    return stat.state == "Z" || stat.state == "X" ? 0 : stat.start;
}

// A child that has not been reaped keeps its pid even when it has already exited, so its start
// time is read whatever its state. The child may have written its record first, with the exit
// code of an ExitProcess wider than the host's status: that code is kept.
ProcessRecord RecordStartedChild(DWORD pid, const std::u16string& path) {
    ProcessRecord record{pid, ReadHostStat(pid).start, path, std::nullopt};
    const RecordsLock lock;
    if (std::optional<ProcessRecord> own = LoadProcess(pid); own && own->start == record.start) {
        record.exitCode = own->exitCode;
    }
    SaveProcess(record);
    return record;
}

bool SaveProcess(const ProcessRecord& record) {
    const std::string file = RecordFile(record.id);
    std::string text =
        "start=" + std::to_string(record.start) + "\npath=" + sim::Utf8(record.path) + "\n";
    if (record.exitCode) {
        text += "exit=" + std::to_string(*record.exitCode) + "\n";
    }
    return !file.empty() && ReplaceTextFile(file, text);
}

bool ReplaceTextFile(const std::string& path, const std::string& text) {
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    const std::string temporary = path + ".new" + std::to_string(::getpid());
    {
        std::ofstream out(temporary, std::ios::trunc);
        if (!(out << text).flush()) {
            return false;
        }
    }
    fs::rename(temporary, path, ec);
    return !ec;
}

std::optional<ProcessRecord> LoadProcess(DWORD id) {
    const std::string file = RecordFile(id);
    return file.empty() ? std::nullopt : ReadRecord(file, id);
}

std::vector<ProcessRecord> LoadProcesses() {
    std::vector<ProcessRecord> records;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(ProcessesFolder(), ec)) {
        const std::string name = entry.path().filename().string();
        if (!name.empty() && name.find_first_not_of("0123456789") == std::string::npos) {
            if (auto record = ReadRecord(entry.path(), static_cast<DWORD>(std::stoul(name)))) {
                records.push_back(std::move(*record));
            }
        }
    }
    std::sort(records.begin(), records.end(),
              [](const auto& a, const auto& b) { return a.start < b.start; });
    return records;
}

bool IsRunning(const ProcessRecord& record) {
    return !record.exitCode && HostStartTime(record.id) == record.start;
}

void RecordExitCode(DWORD id, DWORD code) {
    const RecordsLock lock;
    if (std::optional<ProcessRecord> record = LoadProcess(id)) {
        record->exitCode = code;
        SaveProcess(*record);
    }
}

void RegisterThisProcess(const std::string& root) {
    Prune(root + "/processes");
    UpdateThisProcessImage();
}

void UpdateThisProcessImage() {
    const DWORD id = static_cast<DWORD>(::getpid());
    const RecordsLock lock;
    SaveProcess(ProcessRecord{id, HostStartTime(id), ProcessImagePath(), std::nullopt});
}

std::u16string BaseNameOf(std::u16string_view path) {
    const auto slash = path.find_last_of(u"\\/");
    return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

} // namespace moltr::platform

namespace moltr::sim {

std::vector<MachineProcess> ListProcesses() {
    std::vector<MachineProcess> list;
    for (const platform::ProcessRecord& record : platform::LoadProcesses()) {
        const bool running = platform::IsRunning(record);
        list.push_back(MachineProcess{record.id, platform::BaseNameOf(record.path), record.path,
                                      running,
                                      running ? STILL_ACTIVE : record.exitCode.value_or(0)});
    }
    return list;
}

} // namespace moltr::sim
