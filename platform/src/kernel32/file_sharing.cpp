#include "src/kernel32/file_sharing.h"
#include "sim/machine.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace moltr::sim {
namespace {

struct Open {
    long pid = 0;
    unsigned long long started = 0; // the process's start time, against reuse of its pid
    uint64_t serial = 0;
    DWORD access = 0;
    DWORD share = 0;
};

// Start time of a running process (clock ticks since boot), 0 when it has ended or is a zombie.
unsigned long long StartTime(long pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    if (!std::getline(in, stat)) {
        return 0;
    }
    size_t end = stat.rfind(')');
    if (end == std::string::npos) {
        return 0;
    }
    std::istringstream fields(stat.substr(end + 2));
    std::string field;
    char state = 0;
    fields >> state;
    // Fields after the state: ppid pgrp session tty_nr tpgid flags minflt cminflt majflt cmajflt
    // utime stime cutime cstime priority nice num_threads itrealvalue starttime.
    for (int i = 0; i < 18 && fields >> field; ++i) {
    }
    unsigned long long started = 0;
    fields >> started;
    return state == 'Z' || state == 'X' ? 0 : started;
}

// Cached per pid, since a forked child inherits the cache.
unsigned long long OwnStartTime() {
    static std::atomic<long> cachedPid{0};
    static std::atomic<unsigned long long> started{0};
    if (cachedPid.load() != ::getpid()) {
        started = StartTime(::getpid());
        cachedPid = ::getpid();
    }
    return started;
}

bool Alive(const Open& open) {
    if (open.pid == ::getpid()) {
        return open.started == OwnStartTime();
    }
    return StartTime(open.pid) == open.started && open.started != 0;
}

std::string LocksFolder() {
    std::string root = MachineRoot();
    fs::path base =
        root.empty() ? fs::temp_directory_path() / "moltr-locks" : fs::path(root) / "locks";
    std::error_code ec;
    fs::create_directories(base, ec);
    return base.string();
}

std::string RecordPath(FileIdentity file) {
    char name[64];
    std::snprintf(name, sizeof(name), "/%llx-%llx", static_cast<unsigned long long>(file.device),
                  static_cast<unsigned long long>(file.inode));
    return LocksFolder() + name;
}

std::vector<Open> Parse(const std::string& text) {
    std::vector<Open> opens;
    std::istringstream lines(text);
    Open open;
    while (lines >> open.pid >> open.started >> open.serial >> open.access >> open.share) {
        if (Alive(open)) {
            opens.push_back(open);
        }
    }
    return opens;
}

std::string Format(const std::vector<Open>& opens) {
    std::string text;
    for (const Open& o : opens) {
        text += std::to_string(o.pid) + " " + std::to_string(o.started) + " " +
                std::to_string(o.serial) + " " + std::to_string(o.access) + " " +
                std::to_string(o.share) + "\n";
    }
    return text;
}

// Runs `change` on the live opens of the file under the record's lock and stores what it leaves
// when it returns true. A record that becomes empty is removed; whoever waited on its lock sees
// that it was replaced and starts again.
bool WithRecord(FileIdentity file, const std::function<bool(std::vector<Open>&)>& change) {
    const std::string path = RecordPath(file);
    for (;;) {
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) {
            return false;
        }
        if (::flock(fd, LOCK_EX) != 0) {
            ::close(fd);
            return false;
        }
        struct stat held {
        }, named{};
        if (::fstat(fd, &held) != 0 || ::stat(path.c_str(), &named) != 0 ||
            held.st_ino != named.st_ino) {
            ::close(fd);
            continue;
        }
        std::string text(static_cast<size_t>(held.st_size), '\0');
        ssize_t got = text.empty() ? 0 : ::pread(fd, text.data(), text.size(), 0);
        text.resize(got > 0 ? static_cast<size_t>(got) : 0);
        std::vector<Open> opens = Parse(text);
        if (change(opens)) {
            if (opens.empty()) {
                ::unlink(path.c_str());
            } else {
                std::string out = Format(opens);
                if (::ftruncate(fd, 0) != 0 ||
                    ::pwrite(fd, out.data(), out.size(), 0) != static_cast<ssize_t>(out.size())) {
                    ::close(fd);
                    return false;
                }
            }
        } else if (opens.empty()) {
            ::unlink(path.c_str());
        }
        ::close(fd);
        return true;
    }
}

// An open without data or delete access is not checked at all.
bool Conflicts(const Open& existing, DWORD access, DWORD share) {
    return access != 0 && (((access & kShareRead) && !(existing.share & FILE_SHARE_READ)) ||
                           ((access & kShareWrite) && !(existing.share & FILE_SHARE_WRITE)) ||
                           ((access & kShareDelete) && !(existing.share & FILE_SHARE_DELETE)) ||
                           ((existing.access & kShareRead) && !(share & FILE_SHARE_READ)) ||
                           ((existing.access & kShareWrite) && !(share & FILE_SHARE_WRITE)) ||
                           ((existing.access & kShareDelete) && !(share & FILE_SHARE_DELETE)));
}

bool AnyConflict(const std::vector<Open>& opens, DWORD access, DWORD share) {
    for (const Open& o : opens) {
        if (Conflicts(o, access, share)) {
            return true;
        }
    }
    return false;
}

std::atomic<uint64_t> nextSerial{1};

} // namespace

DWORD CheckSharing(FileIdentity file, DWORD access, DWORD shareMode) {
    bool conflict = false;
    WithRecord(file, [&](std::vector<Open>& opens) {
        conflict = AnyConflict(opens, access, shareMode);
        return false;
    });
    return conflict ? ERROR_SHARING_VIOLATION : ERROR_SUCCESS;
}

bool IsFileOpen(FileIdentity file) {
    bool open = false;
    WithRecord(file, [&](std::vector<Open>& opens) {
        open = !opens.empty();
        return false;
    });
    return open;
}

DWORD ShareEntry::Acquire(FileIdentity file, DWORD access, DWORD shareMode) {
    Release();
    uint64_t serial = nextSerial++;
    bool conflict = false;
    bool stored = WithRecord(file, [&](std::vector<Open>& opens) {
        conflict = AnyConflict(opens, access, shareMode);
        if (conflict) {
            return false;
        }
        opens.push_back(Open{::getpid(), OwnStartTime(), serial, access, shareMode});
        return true;
    });
    if (conflict) {
        return ERROR_SHARING_VIOLATION;
    }
    if (stored) {
        file_ = file;
        serial_ = serial;
    }
    return ERROR_SUCCESS;
}

void ShareEntry::Release() {
    if (!serial_) {
        return;
    }
    const long pid = ::getpid();
    const uint64_t serial = serial_;
    serial_ = 0;
    WithRecord(file_, [&](std::vector<Open>& opens) {
        std::erase_if(opens, [&](const Open& o) { return o.pid == pid && o.serial == serial; });
        return true;
    });
}

} // namespace moltr::sim
