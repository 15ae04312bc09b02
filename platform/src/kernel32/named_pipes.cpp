// Named pipes: CreateNamedPipeW, ConnectNamedPipe, DisconnectNamedPipe, WaitNamedPipeW and the
// client end that CreateFileW opens.
#include "src/kernel32/named_pipes.h"
#include "src/kernel32/last_error_results.h"
#include "src/core/handle_table.h"
#include "src/kernel32/resource_image.h"
#include "sim/machine.h"
#include "sim/utf.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <linux/sockios.h>

namespace fs = std::filesystem;

namespace moltr::platform {
namespace {

using sim::Fail;
using sim::FailBool;

constexpr std::u16string_view kPrefix = u"\\\\.\\PIPE\\";
// What a server answers a connecting client: taken (followed by its open mode) or busy.
constexpr char kTaken = 'A';
constexpr char kBusy = 'B';
// How long a client waits for an instance's answer; a live instance answers at once.
constexpr int kAnswerMs = 5000;
// What NMPWAIT_USE_DEFAULT_WAIT means when the server gave 0.
constexpr DWORD kSystemDefaultWait = 50;
constexpr auto kStatePoll = std::chrono::milliseconds(5);

std::atomic<unsigned> gSerial{0};

// A socket descriptor shared by the calls that use it, closed when the last one is done.
class Socket {
public:
    explicit Socket(int fd) : fd_(fd) {}
    ~Socket() { ::close(fd_); }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};
using SharedSocket = std::shared_ptr<Socket>;

std::string PipesFolder() {
    const std::string root = sim::MachineRoot();
    return root.empty() ? root : root + "/pipes";
}

// The name after the prefix, upper-cased; empty for anything that is not a pipe name.
std::u16string PipeKey(LPCWSTR name) {
    const std::u16string upper = UpperName(sim::View(name));
    if (upper.size() <= kPrefix.size() || !upper.starts_with(kPrefix)) {
        return {};
    }
    return upper.substr(kPrefix.size());
}

std::string HashOf(std::u16string_view key) {
    uint64_t hash = 0xcbf29ce484222325ULL;
    for (char16_t c : key) {
        hash = (hash ^ c) * 0x100000001b3ULL;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

struct Instance {
    std::string socketPath;
    std::string statePath;
    DWORD owner = 0;
};

bool OwnerAlive(DWORD pid) {
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// The live instances of a pipe: <hash>-<pid>-<serial>.sock with its .state beside it.
std::vector<Instance> Instances(const std::string& hash) {
    std::vector<Instance> instances;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(PipesFolder(), ec)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(hash + "-") || !name.ends_with(".sock")) {
            continue;
        }
        Instance instance;
        instance.socketPath = entry.path().string();
        instance.statePath =
            instance.socketPath.substr(0, instance.socketPath.size() - 5) + ".state";
        instance.owner =
            static_cast<DWORD>(std::strtoul(name.c_str() + hash.size() + 1, nullptr, 16));
        if (OwnerAlive(instance.owner)) {
            instances.push_back(std::move(instance));
        }
    }
    return instances;
}

struct InstanceState {
    bool free = false;
    DWORD defaultTimeout = kSystemDefaultWait;
    DWORD openMode = 0;
};

InstanceState ReadState(const std::string& path) {
    InstanceState state;
    std::ifstream in(path);
    int free = 0;
    if (in >> free >> state.defaultTimeout >> state.openMode) {
        state.free = free != 0;
    }
    return state;
}

void WriteState(const std::string& path, const InstanceState& state) {
    const std::string temporary = path + ".new";
    std::ofstream(temporary, std::ios::trunc)
        << (state.free ? 1 : 0) << ' ' << state.defaultTimeout << ' ' << state.openMode;
    std::rename(temporary.c_str(), path.c_str());
}

bool AddressOf(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return false;
    }
    std::copy(path.begin(), path.end(), address.sun_path);
    return true;
}

DWORD Receive(const SharedSocket& socket, void* buffer, DWORD size, DWORD& done) {
    for (;;) {
        const ssize_t got = ::recv(socket->fd(), buffer, size, 0);
        if (got > 0) {
            done = static_cast<DWORD>(got);
            return ERROR_SUCCESS;
        }
        if (got < 0 && errno == EINTR) {
            continue;
        }
        return ERROR_BROKEN_PIPE; // the other end closed or went away
    }
}

DWORD Send(const SharedSocket& socket, const void* buffer, DWORD size, DWORD& done) {
    const BYTE* at = static_cast<const BYTE*>(buffer);
    while (done < size) {
        const ssize_t sent = ::send(socket->fd(), at + done, size - done, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent <= 0) {
            return ERROR_NO_DATA; // the other end is closing or gone
        }
        done += static_cast<DWORD>(sent);
    }
    return ERROR_SUCCESS;
}

// Until the other end has read everything written to it, or has gone.
DWORD Drain(const SharedSocket& socket) {
    for (;;) {
        int queued = 0;
        if (::ioctl(socket->fd(), SIOCOUTQ, &queued) != 0 || queued == 0) {
            return ERROR_SUCCESS;
        }
        pollfd hangup{socket->fd(), 0, 0};
        if (::poll(&hangup, 1, 0) > 0 && (hangup.revents & (POLLHUP | POLLERR))) {
            return ERROR_BROKEN_PIPE;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// Read access for the end that the pipe's mode lets receive, write access for the one that sends.
bool ServerReads(DWORD openMode) {
    return openMode & PIPE_ACCESS_INBOUND;
}
bool ServerWrites(DWORD openMode) {
    return openMode & PIPE_ACCESS_OUTBOUND;
}

class PipeServer : public sim::StreamObject {
public:
    PipeServer(int listener, Instance instance, DWORD openMode, DWORD inBuffer,
               DWORD defaultTimeout)
        : listener_(listener), wake_(::eventfd(0, EFD_CLOEXEC)), instance_(std::move(instance)),
          openMode_(openMode), inBuffer_(inBuffer),
          defaultTimeout_(defaultTimeout ? defaultTimeout : kSystemDefaultWait) {
        WriteState(instance_.statePath, {true, defaultTimeout_, openMode_});
        acceptor_ = std::thread([this] { Accept(); });
    }
    ~PipeServer() override {
        const uint64_t one = 1;
        [[maybe_unused]] ssize_t written = ::write(wake_, &one, sizeof one);
        acceptor_.join();
        ::close(listener_);
        ::close(wake_);
        ::unlink(instance_.socketPath.c_str());
        ::unlink(instance_.statePath.c_str());
    }

    DWORD Read(void* buffer, DWORD size, DWORD& done, const ULONGLONG*) override {
        if (!ServerReads(openMode_)) {
            return ERROR_ACCESS_DENIED;
        }
        SharedSocket client = Client();
        return client ? Receive(client, buffer, size, done) : ERROR_PIPE_LISTENING;
    }
    DWORD Write(const void* buffer, DWORD size, DWORD& done, const ULONGLONG*) override {
        if (!ServerWrites(openMode_)) {
            return ERROR_ACCESS_DENIED;
        }
        SharedSocket client = Client();
        return client ? Send(client, buffer, size, done) : ERROR_PIPE_LISTENING;
    }
    DWORD Flush() override {
        SharedSocket client = Client();
        return client && ServerWrites(openMode_) ? Drain(client) : ERROR_SUCCESS;
    }

    // Blocks until a client has come (ERROR_SUCCESS) unless one is there already.
    DWORD Connect() {
        std::unique_lock guard(lock_);
        if (client_) {
            return ERROR_PIPE_CONNECTED;
        }
        arrived_.wait(guard, [&] { return client_ != nullptr; });
        return ERROR_SUCCESS;
    }
    void Disconnect() {
        SharedSocket client;
        {
            std::lock_guard guard(lock_);
            client = std::move(client_);
            if (client) {
                // Unread data goes; the client's next read or write fails.
                ::shutdown(client->fd(), SHUT_RDWR);
                WriteState(instance_.statePath, {true, defaultTimeout_, openMode_});
            }
        }
    }

    SharedSocket Client() {
        std::lock_guard guard(lock_);
        return client_;
    }

private:
    void Accept() {
        for (;;) {
            pollfd watched[] = {{listener_, POLLIN, 0}, {wake_, POLLIN, 0}};
            if (::poll(watched, 2, -1) < 0 && errno != EINTR) {
                return;
            }
            if (watched[1].revents) {
                return;
            }
            if (!(watched[0].revents & POLLIN)) {
                continue;
            }
            const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0) {
                Take(fd);
            }
        }
    }

    void Take(int fd) {
        std::lock_guard guard(lock_);
        if (client_) {
            ::send(fd, &kBusy, 1, MSG_NOSIGNAL);
            ::close(fd);
            return;
        }
        const int buffer = static_cast<int>(std::max<DWORD>(inBuffer_, 4096));
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
        if (::send(fd, &kTaken, 1, MSG_NOSIGNAL) != 1) {
            ::close(fd);
            return;
        }
        client_ = std::make_shared<Socket>(fd);
        WriteState(instance_.statePath, {false, defaultTimeout_, openMode_});
        arrived_.notify_all();
    }

    const int listener_;
    const int wake_;
    const Instance instance_;
    const DWORD openMode_;
    const DWORD inBuffer_;
    const DWORD defaultTimeout_;
    std::mutex lock_;
    std::condition_variable arrived_;
    SharedSocket client_;
    std::thread acceptor_;
};

class PipeClient : public sim::StreamObject {
public:
    PipeClient(SharedSocket socket, bool reads, bool writes)
        : socket_(std::move(socket)), reads_(reads), writes_(writes) {}
    DWORD Read(void* buffer, DWORD size, DWORD& done, const ULONGLONG*) override {
        return reads_ ? Receive(socket_, buffer, size, done) : ERROR_ACCESS_DENIED;
    }
    DWORD Write(const void* buffer, DWORD size, DWORD& done, const ULONGLONG*) override {
        return writes_ ? Send(socket_, buffer, size, done) : ERROR_ACCESS_DENIED;
    }
    DWORD Flush() override { return writes_ ? Drain(socket_) : ERROR_SUCCESS; }
    const SharedSocket& Connection() const { return socket_; }

private:
    SharedSocket socket_;
    const bool reads_;
    const bool writes_;
};

// Whether the server took the client on a fresh connection.
bool Taken(int fd) {
    pollfd readable{fd, POLLIN, 0};
    char answer = 0;
    return ::poll(&readable, 1, kAnswerMs) > 0 && ::recv(fd, &answer, 1, 0) == 1 &&
           answer == kTaken;
}

HANDLE CreateServer(LPCWSTR name, DWORD openMode, DWORD pipeMode, DWORD maxInstances,
                    DWORD inBuffer, DWORD defaultTimeout, bool inheritable) {
    const std::u16string key = name ? PipeKey(name) : std::u16string();
    const DWORD access = openMode & PIPE_ACCESS_DUPLEX;
    if (key.empty() || key.find(u'\\') != std::u16string::npos) {
        return Fail(ERROR_INVALID_NAME);
    }
    if (!access || maxInstances == 0 || maxInstances > PIPE_UNLIMITED_INSTANCES ||
        ((pipeMode & PIPE_READMODE_MESSAGE) && !(pipeMode & PIPE_TYPE_MESSAGE))) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    // Message pipes and non-blocking modes are not simulated.
    if (pipeMode & (PIPE_TYPE_MESSAGE | PIPE_NOWAIT)) {
        return Fail(ERROR_NOT_SUPPORTED);
    }
    const std::string folder = PipesFolder();
    if (folder.empty()) {
        return Fail(ERROR_PATH_NOT_FOUND);
    }
    const std::string hash = HashOf(key);
    const size_t existing = Instances(hash).size();
    if (existing && (openMode & FILE_FLAG_FIRST_PIPE_INSTANCE)) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (existing >= maxInstances) {
        return Fail(ERROR_PIPE_BUSY);
    }
    std::error_code ec;
    fs::create_directories(folder, ec);
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, "-%x-%x", static_cast<unsigned>(::getpid()), gSerial++);
    Instance instance;
    instance.socketPath = folder + "/" + hash + suffix + ".sock";
    instance.statePath = folder + "/" + hash + suffix + ".state";
    sockaddr_un address;
    if (!AddressOf(instance.socketPath, address)) {
        return Fail(ERROR_FILENAME_EXCED_RANGE);
    }
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | (inheritable ? 0 : SOCK_CLOEXEC), 0);
    if (listener < 0) {
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
    if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener, SOMAXCONN) != 0) {
        ::close(listener);
        return Fail(ERROR_ACCESS_DENIED);
    }
    HANDLE handle = sim::InsertHandle(std::make_shared<PipeServer>(
        listener, std::move(instance), openMode, inBuffer, defaultTimeout));
    return handle ? handle : Fail(ERROR_NOT_ENOUGH_MEMORY);
}

// The connection behind either end of a pipe; null with the error set when there is none.
SharedSocket ConnectionOf(HANDLE pipe) {
    if (auto server = sim::LookupHandleAs<PipeServer>(pipe)) {
        SharedSocket client = server->Client();
        if (!client) {
            SetLastError(ERROR_PIPE_LISTENING);
        }
        return client;
    }
    if (auto client = sim::LookupHandleAs<PipeClient>(pipe)) {
        return client->Connection();
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

} // namespace

bool IsPipeName(LPCWSTR name) {
    return name && !PipeKey(name).empty();
}

HANDLE OpenPipeClient(LPCWSTR name, DWORD desiredAccess, bool inheritable) {
    const std::vector<Instance> instances = Instances(HashOf(PipeKey(name)));
    if (instances.empty()) {
        return Fail(ERROR_FILE_NOT_FOUND);
    }
    const bool reads = desiredAccess & (GENERIC_READ | GENERIC_ALL | FILE_READ_DATA);
    const bool writes = desiredAccess & (GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA);
    // The client reads what the server writes and writes what it reads; all instances of a pipe
    // share its mode.
    const DWORD mode = ReadState(instances.front().statePath).openMode;
    if ((reads && !ServerWrites(mode)) || (writes && !ServerReads(mode))) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    for (const Instance& instance : instances) {
        sockaddr_un address;
        if (!AddressOf(instance.socketPath, address)) {
            continue;
        }
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | (inheritable ? 0 : SOCK_CLOEXEC), 0);
        if (fd < 0) {
            return Fail(ERROR_NOT_ENOUGH_MEMORY);
        }
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            !Taken(fd)) {
            ::close(fd);
            continue;
        }
        HANDLE handle = sim::InsertHandle(
            std::make_shared<PipeClient>(std::make_shared<Socket>(fd), reads, writes));
        return handle ? handle : Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
    return Fail(ERROR_PIPE_BUSY);
}

} // namespace moltr::platform

using namespace moltr::platform;
using moltr::sim::FailBool;

extern "C" {

HANDLE WINAPI CreateNamedPipeW(LPCWSTR lpName, DWORD dwOpenMode, DWORD dwPipeMode,
                               DWORD nMaxInstances, DWORD, DWORD nInBufferSize,
                               DWORD nDefaultTimeOut, LPSECURITY_ATTRIBUTES lpSecurityAttributes) {
    return CreateServer(lpName, dwOpenMode, dwPipeMode, nMaxInstances, nInBufferSize,
                        nDefaultTimeOut,
                        lpSecurityAttributes && lpSecurityAttributes->bInheritHandle);
}

BOOL WINAPI ConnectNamedPipe(HANDLE hNamedPipe, LPOVERLAPPED lpOverlapped) {
    auto server = moltr::sim::LookupHandleAs<PipeServer>(hNamedPipe);
    if (!server) {
        return FailBool(ERROR_INVALID_HANDLE);
    }
    if (lpOverlapped) {
        return FailBool(ERROR_NOT_SUPPORTED); // overlapped pipes are not simulated
    }
    const DWORD error = server->Connect();
    return error ? FailBool(error) : TRUE;
}

BOOL WINAPI DisconnectNamedPipe(HANDLE hNamedPipe) {
    auto server = moltr::sim::LookupHandleAs<PipeServer>(hNamedPipe);
    if (!server) {
        return FailBool(ERROR_INVALID_HANDLE);
    }
    server->Disconnect();
    return TRUE;
}

BOOL WINAPI PeekNamedPipe(HANDLE hNamedPipe, LPVOID lpBuffer, DWORD nBufferSize,
                          LPDWORD lpBytesRead, LPDWORD lpTotalBytesAvail,
                          LPDWORD lpBytesLeftThisMessage) {
    SharedSocket connection = ConnectionOf(hNamedPipe);
    if (!connection) {
        return FALSE;
    }
    int available = 0;
    ::ioctl(connection->fd(), FIONREAD, &available);
    ssize_t peeked = 0;
    if (available > 0 && lpBuffer && nBufferSize) {
        peeked = ::recv(connection->fd(), lpBuffer, nBufferSize, MSG_PEEK | MSG_DONTWAIT);
    } else if (available == 0) {
        // Nothing to read: either nothing has come yet or the other end has closed.
        char byte = 0;
        if (::recv(connection->fd(), &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0) {
            return FailBool(ERROR_BROKEN_PIPE);
        }
    }
    if (lpBytesRead) {
        *lpBytesRead = peeked > 0 ? static_cast<DWORD>(peeked) : 0;
    }
    if (lpTotalBytesAvail) {
        *lpTotalBytesAvail = static_cast<DWORD>(std::max(available, 0));
    }
    if (lpBytesLeftThisMessage) {
        *lpBytesLeftThisMessage = 0; // byte pipes have no messages
    }
    return TRUE;
}

BOOL WINAPI WaitNamedPipeW(LPCWSTR lpNamedPipeName, DWORD nTimeOut) {
    if (!IsPipeName(lpNamedPipeName)) {
        return FailBool(ERROR_BAD_PATHNAME);
    }
    const std::string hash = HashOf(PipeKey(lpNamedPipeName));
    std::vector<Instance> instances = Instances(hash);
    if (instances.empty()) {
        return FailBool(ERROR_FILE_NOT_FOUND);
    }
    DWORD timeout = nTimeOut;
    if (timeout == NMPWAIT_USE_DEFAULT_WAIT) {
        timeout = ReadState(instances.front().statePath).defaultTimeout;
    }
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout);
    for (;;) {
        for (const Instance& instance : instances) {
            if (ReadState(instance.statePath).free) {
                return TRUE;
            }
        }
        if (timeout != NMPWAIT_WAIT_FOREVER && Clock::now() >= deadline) {
            return FailBool(ERROR_SEM_TIMEOUT);
        }
        std::this_thread::sleep_for(kStatePoll);
        instances = Instances(hash);
        if (instances.empty()) {
            return FailBool(ERROR_FILE_NOT_FOUND);
        }
    }
}
}
