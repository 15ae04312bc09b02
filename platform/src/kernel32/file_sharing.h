#pragma once
// Sharing of open files as Windows checks it, across all processes of the simulated machine. Each
// file that is open somewhere has a record in <root>/locks/ (one line per open: process, access,
// share mode), changed only under flock; lines of processes that have ended are ignored.
#include <windows.h>
#include <cstdint>

namespace moltr::sim {

struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
};

// The access classes that sharing looks at; an open with none of them conflicts with nothing.
enum ShareAccess : DWORD {
    kShareRead = 1,   // FILE_READ_DATA, FILE_EXECUTE
    kShareWrite = 2,  // FILE_WRITE_DATA, FILE_APPEND_DATA
    kShareDelete = 4, // DELETE
};

// ERROR_SHARING_VIOLATION when an open with `access` (ShareAccess bits) and `shareMode`
// (FILE_SHARE_ bits) would conflict with an existing open of the file, else ERROR_SUCCESS.
DWORD CheckSharing(FileIdentity file, DWORD access, DWORD shareMode);
// Whether the file is open anywhere.
bool IsFileOpen(FileIdentity file);

// One open's line in the file's record, removed again by Release or destruction.
class ShareEntry {
public:
    ShareEntry() = default;
    ~ShareEntry() { Release(); }
    ShareEntry(const ShareEntry&) = delete;
    ShareEntry& operator=(const ShareEntry&) = delete;

    // Checks the open against the others and records it: ERROR_SUCCESS or ERROR_SHARING_VIOLATION.
    DWORD Acquire(FileIdentity file, DWORD access, DWORD shareMode);
    void Release();

private:
    FileIdentity file_;
    uint64_t serial_ = 0; // 0: nothing recorded
};

} // namespace moltr::sim
