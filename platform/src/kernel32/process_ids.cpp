// Identifiers of the calling process and thread, and the process's pseudo handle.
#include <windows.h>

#include <unistd.h>

extern "C" {

HANDLE WINAPI GetCurrentProcess() {
    return reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));
}

DWORD WINAPI GetCurrentProcessId() {
    return static_cast<DWORD>(::getpid());
}

DWORD WINAPI GetCurrentThreadId() {
    return static_cast<DWORD>(::gettid());
}
}
