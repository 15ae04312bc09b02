// Locking, reading, appending and atomic replacement of the spooler's files.
#include "src/winspool/spool_files.h"
#include "sim/machine.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace moltr::spool {
namespace {

// Opens a new file for writing, making its folders only when they are missing.
int CreateForWriting(const std::string& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 && errno == ENOENT) {
        std::error_code ec;
        fs::create_directories(fs::path(path).parent_path(), ec);
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    }
    return fd;
}

bool WriteAll(int fd, const std::vector<BYTE>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return false;
        }
        done += static_cast<size_t>(put);
    }
    return true;
}

// Reads the bytes the file has when it is opened. Files are replaced whole or appended to, so those
// bytes are a state of the file; what is appended meanwhile belongs to a later one.
bool ReadOpened(int fd, std::vector<BYTE>& bytes) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        return false;
    }
    bytes.resize(static_cast<size_t>(status.st_size));
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            bytes.resize(done);
            return got == 0;
        }
        done += static_cast<size_t>(got);
    }
    return true;
}

} // namespace

std::string SpoolFolder() {
    std::string root = sim::MachineRoot();
    return root.empty() ? std::string() : root + "/spool";
}

SpoolLock::SpoolLock() {
    std::string folder = SpoolFolder();
    if (folder.empty()) {
        return;
    }
    // The machine made the folder; without it there is no spooler to lock.
    fd_ = ::open((folder + "/lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        return;
    }
    int locked;
    while ((locked = ::flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (locked != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

SpoolLock::~SpoolLock() {
    if (fd_ >= 0) {
        ::close(fd_); // releases the lock
    }
}

bool ReadAllBytes(const std::string& path, std::vector<BYTE>& bytes) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool read = ReadOpened(fd, bytes);
    ::close(fd);
    return read;
}

std::optional<ValueBag> ReadBag(const std::string& path) {
    std::vector<BYTE> bytes;
    if (!ReadAllBytes(path, bytes)) {
        return std::nullopt;
    }
    return ValueBag::Parse(bytes);
}

bool WriteBag(const std::string& path, const ValueBag& bag) {
    return WriteAtomically(path, bag.Serialize());
}

bool WriteAtomically(const std::string& path, const std::vector<BYTE>& bytes) {
    static std::atomic<unsigned> counter{0};
    std::string temp =
        path + ".tmp." + std::to_string(::getpid()) + "." + std::to_string(counter.fetch_add(1));
    int fd = CreateForWriting(temp);
    if (fd < 0) {
        return false;
    }
    bool written = WriteAll(fd, bytes);
    written = ::close(fd) == 0 && written;
    if (!written || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

bool AppendBytes(const std::string& path, const std::vector<BYTE>& bytes) {
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool written = WriteAll(fd, bytes);
    return ::close(fd) == 0 && written;
}

std::vector<uint64_t> NumberedEntries(const std::string& folder, size_t digits) {
    std::vector<uint64_t> numbers;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() == digits &&
            name.find_first_not_of("0123456789abcdef") == std::string::npos) {
            numbers.push_back(std::strtoull(name.c_str(), nullptr, 16));
        }
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

bool RemoveAll(const std::string& path) {
    std::error_code ec;
    fs::remove_all(path, ec);
    return !ec;
}

} // namespace moltr::spool
