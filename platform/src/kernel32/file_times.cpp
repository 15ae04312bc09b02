#include "src/kernel32/file_times.h"
#include "sim/machine.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace moltr::sim {
namespace {

constexpr ULONGLONG kUnixEpoch = 116444736000000000ULL;

struct CreationRecord {
    ULONGLONG creation = 0;
    ULONGLONG birth = 0; // the host birth time when the record was written, 0 if none is kept
};

ULONGLONG FromStatx(const statx_timestamp& t) {
    return kUnixEpoch + static_cast<ULONGLONG>(t.tv_sec) * 10000000ULL + t.tv_nsec / 100;
}

ULONGLONG BirthOf(const struct statx& st) {
    return (st.stx_mask & STATX_BTIME) ? FromStatx(st.stx_btime) : 0;
}

std::string RecordPath(uint64_t device, uint64_t inode, bool create) {
    std::string root = MachineRoot();
    if (root.empty()) {
        return {};
    }
    fs::path folder = fs::path(root) / "filetimes";
    if (create) {
        std::error_code ec;
        fs::create_directories(folder, ec);
    }
    char name[64];
    std::snprintf(name, sizeof(name), "%llx-%llx", static_cast<unsigned long long>(device),
                  static_cast<unsigned long long>(inode));
    return (folder / name).string();
}

bool ReadRecord(const std::string& path, CreationRecord& record) {
    if (path.empty()) {
        return false;
    }
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return false;
    }
    bool ok = std::fread(&record, sizeof(record), 1, file) == 1;
    std::fclose(file);
    return ok;
}

bool Stat(int fd, const std::string& path, struct statx& st) {
    return fd >= 0 ? ::statx(fd, "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, &st) == 0
                   : ::statx(AT_FDCWD, path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &st) == 0;
}

uint64_t DeviceOf(const struct statx& st) {
    return (static_cast<uint64_t>(st.stx_dev_major) << 32) | st.stx_dev_minor;
}

} // namespace

ULONGLONG Ticks(const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME FileTimeFromTicks(ULONGLONG ticks) {
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

bool ReadFileTimes(int fd, const std::string& path, FileTimes& times) {
    struct statx st {};
    if (!Stat(fd, path, st)) {
        return false;
    }
    times.device = DeviceOf(st);
    times.inode = st.stx_ino;
    times.size = st.stx_size;
    times.directory = S_ISDIR(st.stx_mode);
    times.readOnly = !(st.stx_mode & S_IWUSR);
    times.access = FileTimeFromTicks(FromStatx(st.stx_atime));
    times.write = FileTimeFromTicks(FromStatx(st.stx_mtime));
    ULONGLONG birth = BirthOf(st);
    ULONGLONG creation = birth ? birth : std::min(FromStatx(st.stx_ctime), FromStatx(st.stx_mtime));
    CreationRecord record;
    if (ReadRecord(RecordPath(times.device, times.inode, false), record) && record.birth == birth) {
        creation = record.creation;
    }
    times.creation = FileTimeFromTicks(creation);
    return true;
}

bool WriteFileTimes(int fd, const FILETIME* creation, const FILETIME* access,
                    const FILETIME* write) {
    // A zero time, and the "do not update" value of all ones, leave that time as it is.
    auto given = [](const FILETIME* t) {
        return t && Ticks(*t) != 0 && Ticks(*t) != 0xFFFFFFFFFFFFFFFFULL;
    };
    auto toTimespec = [&](const FILETIME* t) {
        timespec host{0, UTIME_OMIT};
        if (given(t)) {
            LONGLONG since = static_cast<LONGLONG>(Ticks(*t)) - static_cast<LONGLONG>(kUnixEpoch);
            LONGLONG seconds = since >= 0 ? since / 10000000 : (since - 9999999) / 10000000;
            host.tv_sec = seconds;
            host.tv_nsec = (since - seconds * 10000000) * 100;
        }
        return host;
    };
    timespec both[2] = {toTimespec(access), toTimespec(write)};
    if ((given(access) || given(write)) && ::futimens(fd, both) != 0) {
        return false;
    }
    if (!given(creation)) {
        return true;
    }
    struct statx st {};
    if (!Stat(fd, {}, st)) {
        return false;
    }
    std::string path = RecordPath(DeviceOf(st), st.stx_ino, true);
    if (path.empty()) {
        return true; // outside a machine there is nowhere to keep it
    }
    CreationRecord record{Ticks(*creation), BirthOf(st)};
    std::string temporary = path + "." + std::to_string(::getpid()) + ".new";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) {
        return false;
    }
    bool ok = std::fwrite(&record, sizeof(record), 1, file) == 1;
    ok = std::fclose(file) == 0 && ok;
    return ok && std::rename(temporary.c_str(), path.c_str()) == 0;
}

void ForgetCreationTime(const std::string& path) {
    struct statx st {};
    if (Stat(-1, path, st)) {
        std::string record = RecordPath(DeviceOf(st), st.stx_ino, false);
        if (!record.empty()) {
            std::remove(record.c_str());
        }
    }
}

} // namespace moltr::sim
