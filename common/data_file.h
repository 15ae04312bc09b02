#pragma once
// The driver's data file (GPD or PPD) as the settings object reads and rewrites it. The spooler or
// another process may read the file at the same time, so every open is retried for short sharing
// conflicts.
#include <windows.h>
#include <memory>

namespace moltr::common {

// How often an open is tried, and the pause between tries.
struct FileRetries {
    int tries;
    DWORD pause; // milliseconds
};
inline constexpr FileRetries kFileRetries = {10, 250};

// The whole file, NUL-terminated. E_FAIL when it cannot be opened or read, or is empty;
// E_OUTOFMEMORY.
HRESULT ReadDataFile(LPCWSTR path, std::unique_ptr<char[]>* text, DWORD* length,
                     const FileRetries& retries = kFileRetries);

// Replaces the file's content by `text`. The text goes to a temporary file in the same folder that
// is then moved over the file, so a failure midway leaves the old file whole. A reader that shares
// writing but not deleting (as readers of description files do) keeps the move from replacing the
// file: then the file is written in place. E_FAIL when the temporary file cannot be written, or
// neither the move nor the write in place succeeds; the file is then left as it was.
HRESULT ReplaceDataFile(LPCWSTR path, const char* text, DWORD length,
                        const FileRetries& retries = kFileRetries);

} // namespace moltr::common
