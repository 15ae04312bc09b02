// Identifiers of the calling process and thread.
#include <windows.h>

#include <unistd.h>

extern "C" {

DWORD WINAPI GetCurrentProcessId() {
    return static_cast<DWORD>(::getpid());
}

DWORD WINAPI GetCurrentThreadId() {
    return static_cast<DWORD>(::gettid());
}
}
