#pragma once
// The driver's data file (GPD or PPD) as the settings object reads and rewrites it. The spooler or
// another process may read the file at the same time, so every open is retried for short sharing
// conflicts.
#include <windows.h>
#include <memory>

namespace moltr::common {

inline constexpr int kFileTries = 10;
inline constexpr DWORD kFileRetryPause = 250; // milliseconds

// The whole file, NUL-terminated. E_FAIL when it cannot be opened or read, or is empty;
// E_OUTOFMEMORY.
HRESULT ReadDataFile(LPCWSTR path, std::unique_ptr<char[]>* text, DWORD* length);

// Replaces the file's content by `text`. The text goes to a temporary file in the same folder that
// is then moved over the file, so a failure midway leaves the old file whole. E_FAIL when either
// step fails after its tries.
HRESULT ReplaceDataFile(LPCWSTR path, const char* text, DWORD length);

} // namespace moltr::common
