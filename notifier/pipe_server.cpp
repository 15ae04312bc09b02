#include "notifier/pipe_server.h"

#include <psapi.h>
#include "notifier/client_watches.h"
#include "notifier/pipe_connection.h"
#include "notifier/pipe_name.h"
#include "notifier/printer_watches.h"

namespace moltr::notifier {

namespace {

constexpr DWORD kPollMs = 500;

enum class Outcome { Finished, Stopping, Stuck };

HANDLE CreateRequestPipe(LPCWSTR name) {
    return CreateNamedPipeW(name, PIPE_ACCESS_INBOUND,
                            PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT,
                            PIPE_UNLIMITED_INSTANCES, 0, kRequestSize, 0, nullptr);
}

class PipeServer {
public:
    explicit PipeServer(NotifierState& state) : state_(state) {}

    void Run() {
        WCHAR baseName[MAX_PATH] = {};
        if (GetModuleBaseNameW(GetCurrentProcess(), nullptr, baseName, MAX_PATH) == 0 ||
            !NotifierPipeName(baseName, name_)) {
            return;
        }
        pipe_ = CreateRequestPipe(name_);
        if (pipe_ == INVALID_HANDLE_VALUE) {
            return;
        }
        idleSince_ = GetTickCount64();
        while (!state_.Stopping() && pipe_ != INVALID_HANDLE_VALUE) {
            ServeOne();
        }
        ShutPrinterWatches(state_);
        if (pipe_ != INVALID_HANDLE_VALUE) {
            CloseHandle(pipe_);
        }
    }

private:
    void ServeOne() {
        PipeConnection* connection = PipeConnection::Start(pipe_);
        if (connection == nullptr) {
            Sleep(kPollMs);
            CheckIdle();
            return;
        }
        switch (Wait(*connection)) {
        case Outcome::Finished:
            Use(connection->Buffer());
            FlushFileBuffers(pipe_);
            DisconnectNamedPipe(pipe_);
            connection->Finish();
            break;
        case Outcome::Stopping:
            Unblock(*connection);
            break;
        case Outcome::Stuck:
            connection->Abandon();
            pipe_ = CreateRequestPipe(name_);
            break;
        }
    }

    Outcome Wait(PipeConnection& connection) {
        DWORD reading = 0;
        while (WaitForSingleObject(connection.Thread(), kPollMs) == WAIT_TIMEOUT) {
            CheckIdle();
            if (state_.Stopping()) {
                return Outcome::Stopping;
            }
            if (connection.Connected() && (reading += kPollMs) >= kReadLimitMs) {
                return Outcome::Stuck;
            }
        }
        return Outcome::Finished;
    }

    // A connect still waiting completes when a client opens the pipe and closes it at once; a
    // client that keeps its end open is left to its thread.
    void Unblock(PipeConnection& connection) {
        if (connection.Connected()) {
            connection.Abandon();
            pipe_ = INVALID_HANDLE_VALUE;
            return;
        }
        do {
            HANDLE client = CreateFileW(name_, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
            if (client != INVALID_HANDLE_VALUE) {
                CloseHandle(client);
            }
        } while (WaitForSingleObject(connection.Thread(), kPollMs) == WAIT_TIMEOUT);
        DisconnectNamedPipe(pipe_);
        connection.Finish();
    }

    void Use(const RequestBuffer& buffer) {
        NotifierRequest request;
        if (!TakeWholeRequest(buffer, &request)) {
            return;
        }
        // The client is current before a new printer's monitor starts: the application prints
        // right after its request, and the job the monitor then finds is this client's.
        ClientProcess* client = WatchClient(state_, request.processId);
        state_.SetCurrent(nullptr, client);
        state_.SetCurrent(WatchPrinter(state_, request.printerName), client);
    }

    // With nothing to watch for too long, the program ends.
    void CheckIdle() {
        ULONGLONG now = GetTickCount64();
        if (state_.Activity() > 0) {
            idleSince_ = now;
        } else if (now - idleSince_ >= kIdleLimitMs) {
            state_.Stop();
        }
    }

    NotifierState& state_;
    WCHAR name_[kPipeNameChars] = {};
    HANDLE pipe_ = INVALID_HANDLE_VALUE;
    ULONGLONG idleSince_ = 0;
};

} // namespace

DWORD WINAPI PipeServerThread(LPVOID state) {
    PipeServer(*static_cast<NotifierState*>(state)).Run();
    return 0;
}

} // namespace moltr::notifier
