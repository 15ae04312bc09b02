#pragma once
// File times as Windows keeps them. Linux has no settable creation time, so a creation time set
// with SetFileTime is kept in a side record under <root>/filetimes/, valid while the file keeps
// the birth time it had then; without a record the creation time is the host's birth time, or the
// earlier of the last change and last write where the host file system keeps none.
#include <windows.h>
#include <string>

namespace moltr::sim {

struct FileTimes {
    FILETIME creation{};
    FILETIME access{};
    FILETIME write{};
    ULONGLONG size = 0;
    bool directory = false;
    bool readOnly = false;
    uint64_t device = 0;
    uint64_t inode = 0;
};

// Reads the open file's (fd >= 0) or the path's times and status.
bool ReadFileTimes(int fd, const std::string& path, FileTimes& times);
// Sets the times that are given (null: unchanged).
bool WriteFileTimes(int fd, const FILETIME* creation, const FILETIME* access,
                    const FILETIME* write);
// Drops the side record of a file that is about to be deleted.
void ForgetCreationTime(const std::string& path);

ULONGLONG Ticks(const FILETIME& time);
FILETIME FileTimeFromTicks(ULONGLONG ticks);

} // namespace moltr::sim
