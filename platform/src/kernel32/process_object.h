#pragma once
// Handles on processes of the machine. A process this one started is reaped by a thread of its
// own, which keeps the exit code for the handles; any other process ends when its host process
// does, and its exit code is what its record says.
#include "src/kernel32/process_records.h"
#include "src/kernel32/waitable_object.h"

#include <memory>

namespace moltr::platform {

// What the reaper of a child learns; guarded by WaitLock().
struct ChildState {
    bool ended = false;
    DWORD exitCode = STILL_ACTIVE;
};

class ProcessObject : public sim::WaitableObject {
public:
    ProcessObject(ProcessRecord record, ACCESS_MASK access, std::shared_ptr<ChildState> child)
        : record_(std::move(record)), access_(access), child_(std::move(child)) {}
    bool IsSignalled() override;
    bool ChangesElsewhere() const override { return !child_; }
    DWORD Id() const { return record_.id; }
    bool Allows(ACCESS_MASK access) const { return (access_ & access) == access; }
    bool IsCurrent() const;
    // STILL_ACTIVE while it runs.
    DWORD ExitCode();
    // The image path the machine knows for it now.
    std::u16string ImagePath() const;

private:
    ProcessRecord record_;
    ACCESS_MASK access_;
    std::shared_ptr<ChildState> child_;
};

// The process behind a handle, GetCurrentProcess()'s pseudo handle included; null for others.
std::shared_ptr<ProcessObject> ProcessOfHandle(HANDLE handle);

} // namespace moltr::platform
