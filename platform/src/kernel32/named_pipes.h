#pragma once
// Named pipes of the machine over Unix-domain sockets in <root>/pipes/. Each server instance
// listens on a socket of its own, named after the pipe's name (a hash of it, since names are
// longer than a socket path may be), its process and its serial; beside it a state file says
// whether the instance is free for a client and what its default time-out is. A client connects to
// a free instance and the instance answers whether it took the client (another client may have
// come first). The accepted connection carries the bytes; closing it is what the other end reads
// as the pipe broken.
#include <windows.h>
#include <string>

namespace moltr::platform {

// Whether `name` is of the form \\.\pipe\NAME.
bool IsPipeName(LPCWSTR name);

// CreateFileW on a pipe name: the client end, or INVALID_HANDLE_VALUE with the error set.
HANDLE OpenPipeClient(LPCWSTR name, DWORD desiredAccess, bool inheritable);

} // namespace moltr::platform
