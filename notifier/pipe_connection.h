#pragma once
// One client of the notifier pipe: a thread that waits for it to connect and reads its request.
// The server waits for the thread; a client that connects and then keeps its end open without
// sending a whole request is left to its thread, which closes that pipe instance when the client
// finally goes, while the server carries on with a new instance.
#include <windows.h>
#include "notifier/notifier_request.h"

namespace moltr::notifier {

class PipeConnection {
public:
    // Starts the thread on `pipe`; null when it cannot start.
    static PipeConnection* Start(HANDLE pipe);

    HANDLE Thread() const { return thread_; }
    bool Connected() const { return WaitForSingleObject(connected_, 0) == WAIT_OBJECT_0; }
    // After the thread ended.
    const RequestBuffer& Buffer() const { return buffer_; }

    // The server is done with a finished connection; the pipe stays the server's.
    void Finish();
    // The server leaves the connection and its pipe instance to the thread.
    void Abandon();

private:
    explicit PipeConnection(HANDLE pipe);
    ~PipeConnection();
    static DWORD WINAPI Serve(LPVOID parameter);
    void Read();
    void Release();

    HANDLE pipe_;
    HANDLE connected_;
    HANDLE thread_ = nullptr;
    RequestBuffer buffer_;
    LONG volatile references_ = 2; // the server's and the thread's
    LONG volatile ownsPipe_ = 0;
};

} // namespace moltr::notifier
