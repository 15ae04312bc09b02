#pragma once
// Objects the wait functions take. All waits of a process meet at one lock and one condition: an
// object whose state this process changes (an event, a thread) wakes the waiters through
// WakeWaiters; one whose state another process changes (a process ending, a job changing in the
// spooler) is looked at again every few milliseconds while someone waits for it.
#include "src/core/handle_table.h"

#include <mutex>

namespace moltr::sim {

class WaitableObject : public KernelObject {
public:
    // Both are called with WaitLock() held. Acquire takes what a satisfied wait takes (an
    // auto-reset event's signal) and is called only right after IsSignalled answered true.
    virtual bool IsSignalled() = 0;
    virtual void Acquire() {}
    // Whether the state can change without WakeWaiters being called in this process.
    virtual bool ChangesElsewhere() const { return false; }
};

std::mutex& WaitLock();
// Call after changing a waitable object's state (the caller may hold WaitLock() or not).
void WakeWaiters();

} // namespace moltr::sim
