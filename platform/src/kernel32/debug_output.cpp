// OutputDebugStringW and OutputDebugStringA: each text is appended to the machine's debug log
// in one write under the log's lock, so the texts of concurrent processes never interleave.
#include <windows.h>

#include "sim/debug_log.h"
#include "sim/machine.h"
#include "sim/utf.h"

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/file.h>
#include <unistd.h>

namespace moltr::sim {
namespace {

// Holds the file open and locked while it lives.
class LockedLog {
public:
    explicit LockedLog(int flags) {
        const std::string path = DebugLogPath();
        fd_ = path.empty() ? -1 : ::open(path.c_str(), flags | O_CREAT | O_CLOEXEC, 0644);
        if (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~LockedLog() {
        if (fd_ >= 0) {
            ::close(fd_); // releases the lock
        }
    }
    LockedLog(const LockedLog&) = delete;
    LockedLog& operator=(const LockedLog&) = delete;

    int fd() const { return fd_; }

private:
    int fd_ = -1;
};

void Append(const std::string& text) {
    LockedLog log(O_WRONLY | O_APPEND);
    size_t done = 0;
    while (log.fd() >= 0 && done < text.size()) {
        ssize_t put = ::write(log.fd(), text.data() + done, text.size() - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return; // a debugger that is gone loses the text, as on Windows
        }
        done += static_cast<size_t>(put);
    }
}

} // namespace

std::string DebugLogPath() {
    const std::string root = MachineRoot();
    return root.empty() ? std::string() : root + "/debug.log";
}

std::string ReadDebugLog() {
    const std::string path = DebugLogPath();
    std::ifstream in(path, std::ios::binary);
    if (path.empty() || !in) {
        return {};
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool ClearDebugLog() {
    LockedLog log(O_WRONLY);
    return log.fd() >= 0 && ::ftruncate(log.fd(), 0) == 0;
}

} // namespace moltr::sim

extern "C" {

void WINAPI OutputDebugStringW(LPCWSTR lpOutputString) {
    if (lpOutputString) {
        moltr::sim::Append(moltr::sim::Utf8(lpOutputString));
    }
}

void WINAPI OutputDebugStringA(LPCSTR lpOutputString) {
    if (!lpOutputString) {
        return;
    }
    const int length = MultiByteToWideChar(CP_ACP, 0, lpOutputString, -1, nullptr, 0);
    if (length <= 0) {
        return;
    }
    std::u16string wide(static_cast<size_t>(length), u'\0');
    MultiByteToWideChar(CP_ACP, 0, lpOutputString, -1, moltr::sim::W(wide), length);
    OutputDebugStringW(moltr::sim::W(wide));
}

} // extern "C"
