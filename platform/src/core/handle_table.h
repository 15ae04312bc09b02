#pragma once
// The process's kernel handle table. Every kind of kernel object (files, registry keys, and later
// events, mutexes, pipes, threads and processes) derives from KernelObject and lives in this one
// table, so that CloseHandle and the wait functions find any of them by its HANDLE. Handle values
// look like Windows ones: multiples of 4, never 0 or INVALID_HANDLE_VALUE, reused after close.
#include <windows.h>
#include <memory>

namespace moltr::sim {

class KernelObject {
public:
    virtual ~KernelObject() = default;
};

// An object that ReadFile, WriteFile and FlushFileBuffers work on; each returns a Win32 error code
// (ERROR_SUCCESS on success).
class StreamObject : public KernelObject {
public:
    virtual DWORD Read(void* buffer, DWORD size, DWORD& done, const ULONGLONG* offset) = 0;
    virtual DWORD Write(const void* buffer, DWORD size, DWORD& done, const ULONGLONG* offset) = 0;
    virtual DWORD Flush() = 0;
};

// Adds the object and returns its new handle (null when the table is full).
HANDLE InsertHandle(std::shared_ptr<KernelObject> object);
// The object behind a handle, or null; the object stays alive while the caller holds it, even if
// another thread closes the handle meanwhile.
std::shared_ptr<KernelObject> LookupHandle(HANDLE handle);
// Removes the handle from the table; false when it was not there.
bool RemoveHandle(HANDLE handle);

template <class T> std::shared_ptr<T> LookupHandleAs(HANDLE handle) {
    return std::dynamic_pointer_cast<T>(LookupHandle(handle));
}

} // namespace moltr::sim
