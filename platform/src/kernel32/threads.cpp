// Threads: host threads behind waitable handles that keep the exit code once the thread ends.
#include "src/kernel32/waitable_object.h"

#include <windows.h>

#include <condition_variable>
#include <pthread.h>
#include <thread>
#include <unistd.h>

namespace moltr::sim {
namespace {

class ThreadObject : public WaitableObject {
public:
    bool IsSignalled() override { return ended_; }

    // The new thread's side: reports its id, then waits until it may run.
    void Started(DWORD id) {
        std::unique_lock guard(gateLock_);
        id_ = id;
        gate_.notify_all();
        gate_.wait(guard, [&] { return suspended_ == 0; });
    }
    // The creator's side: the id, once the thread has reported it.
    DWORD WaitForId() {
        std::unique_lock guard(gateLock_);
        gate_.wait(guard, [&] { return id_ != 0; });
        return id_;
    }
    DWORD Resume() {
        std::lock_guard guard(gateLock_);
        const DWORD previous = suspended_;
        if (suspended_ > 0 && --suspended_ == 0) {
            gate_.notify_all();
        }
        return previous;
    }
    void Finish(DWORD code) {
        {
            std::lock_guard guard(WaitLock());
            exitCode_ = code;
            ended_ = true;
        }
        WakeWaiters();
    }
    DWORD ExitCode() {
        std::lock_guard guard(WaitLock());
        return exitCode_;
    }
    DWORD Id() {
        std::lock_guard guard(gateLock_);
        return id_;
    }
    void Suspend() { suspended_ = 1; } // before the thread starts only

private:
    std::mutex gateLock_;
    std::condition_variable gate_;
    DWORD id_ = 0;
    DWORD suspended_ = 0;
    // Guarded by WaitLock().
    bool ended_ = false;
    DWORD exitCode_ = STILL_ACTIVE;
};

// The object of the thread running, for ExitThread; empty for threads the host started.
thread_local std::shared_ptr<ThreadObject> tCurrent;

void Run(std::shared_ptr<ThreadObject> self, LPTHREAD_START_ROUTINE start, LPVOID parameter) {
    self->Started(static_cast<DWORD>(::gettid()));
    tCurrent = self;
    const DWORD code = start(parameter);
    tCurrent.reset();
    self->Finish(code);
}

} // namespace
} // namespace moltr::sim

using namespace moltr::sim;

extern "C" {

HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE lpStartAddress,
                           LPVOID lpParameter, DWORD dwCreationFlags, LPDWORD lpThreadId) {
    if (!lpStartAddress) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto object = std::make_shared<ThreadObject>();
    if (dwCreationFlags & CREATE_SUSPENDED) {
        object->Suspend();
    }
    HANDLE handle = InsertHandle(object);
    if (!handle) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    try {
        std::thread(Run, object, lpStartAddress, lpParameter).detach();
    } catch (const std::system_error&) {
        RemoveHandle(handle);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    const DWORD id = object->WaitForId();
    if (lpThreadId) {
        *lpThreadId = id;
    }
    return handle;
}

DWORD WINAPI ResumeThread(HANDLE hThread) {
    auto object = LookupHandleAs<ThreadObject>(hThread);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return static_cast<DWORD>(-1);
    }
    return object->Resume();
}

void WINAPI ExitThread(DWORD dwExitCode) {
    if (std::shared_ptr<ThreadObject> self = std::move(tCurrent)) {
        self->Finish(dwExitCode);
    }
    ::pthread_exit(nullptr);
}

BOOL WINAPI GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode) {
    auto object = LookupHandleAs<ThreadObject>(hThread);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!lpExitCode) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    *lpExitCode = object->ExitCode();
    return TRUE;
}

DWORD WINAPI GetThreadId(HANDLE Thread) {
    if (Thread == GetCurrentThread()) {
        return GetCurrentThreadId();
    }
    auto object = LookupHandleAs<ThreadObject>(Thread);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return object->Id();
}

HANDLE WINAPI GetCurrentThread() {
    return reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-2));
}
}
