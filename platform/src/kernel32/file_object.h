#pragma once
// An open file or folder behind a file HANDLE.
#include "src/kernel32/file_sharing.h"
#include "src/core/handle_table.h"

#include <string>

namespace moltr::sim {

class FileObject : public StreamObject {
public:
    FileObject(int fd, std::string path, DWORD access, bool directory);
    ~FileObject() override;

    DWORD Read(void* buffer, DWORD size, DWORD& done, const ULONGLONG* offset) override;
    DWORD Write(const void* buffer, DWORD size, DWORD& done, const ULONGLONG* offset) override;
    DWORD Flush() override;

    int fd() const { return fd_; }
    const std::string& path() const { return path_; }
    bool directory() const { return directory_; }
    // Whether the handle was opened with all of the given access rights (FILE_ specific bits).
    bool Allows(DWORD access) const { return (access_ & access) == access; }
    ShareEntry& share() { return share_; }
    // Set only once the open has succeeded, so that a refused open deletes nothing.
    void DeleteOnClose() { deleteOnClose_ = true; }

private:
    int fd_;
    std::string path_;
    DWORD access_;
    bool directory_;
    bool deleteOnClose_ = false;
    ShareEntry share_;
};

} // namespace moltr::sim
