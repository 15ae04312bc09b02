#include "notifier/pipe_connection.h"

#include <new>

namespace moltr::notifier {

PipeConnection::PipeConnection(HANDLE pipe)
    : pipe_(pipe), connected_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

PipeConnection::~PipeConnection() {
    if (ownsPipe_ != 0) {
        DisconnectNamedPipe(pipe_);
        CloseHandle(pipe_);
    }
    if (connected_ != nullptr) {
        CloseHandle(connected_);
    }
    if (thread_ != nullptr) {
        CloseHandle(thread_);
    }
}

PipeConnection* PipeConnection::Start(HANDLE pipe) {
    auto* connection = new (std::nothrow) PipeConnection(pipe);
    if (connection == nullptr) {
        return nullptr;
    }
    if (connection->connected_ != nullptr) {
        connection->thread_ = CreateThread(nullptr, 0, Serve, connection, 0, nullptr);
    }
    if (connection->thread_ == nullptr) {
        delete connection;
        return nullptr;
    }
    return connection;
}

DWORD WINAPI PipeConnection::Serve(LPVOID parameter) {
    auto* connection = static_cast<PipeConnection*>(parameter);
    if (ConnectNamedPipe(connection->pipe_, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED) {
        SetEvent(connection->connected_);
        connection->Read();
    }
    connection->Release();
    return 0;
}

// Reads until the request is whole or the client closed its end; more is never asked for.
void PipeConnection::Read() {
    while (!buffer_.Full()) {
        DWORD got = 0;
        if (!ReadFile(pipe_, buffer_.End(), buffer_.Room(), &got, nullptr) || got == 0) {
            return;
        }
        buffer_.Added(got);
    }
}

void PipeConnection::Finish() {
    Release();
}

void PipeConnection::Abandon() {
    InterlockedExchange(&ownsPipe_, 1);
    Release();
}

void PipeConnection::Release() {
    if (InterlockedDecrement(&references_) == 0) {
        delete this;
    }
}

} // namespace moltr::notifier
