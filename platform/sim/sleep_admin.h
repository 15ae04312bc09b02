#pragma once
// Sleeping on the simulated machine (host build only). Sleep blocks for the time asked, as on
// Windows, unless a test takes the calls over: then each Sleep of the process with a time other
// than 0 and INFINITE calls the hook with the milliseconds asked and returns at once, so that a
// product's retry pauses cost a test nothing.
#include <windows.h>
#include <functional>

namespace moltr::sim {

using SleepHook = std::function<void(DWORD milliseconds)>;

// Takes Sleep over for the object's life (one at a time in a process).
class SleepOverride {
public:
    explicit SleepOverride(SleepHook hook);
    ~SleepOverride();
    SleepOverride(const SleepOverride&) = delete;
    SleepOverride& operator=(const SleepOverride&) = delete;
};

} // namespace moltr::sim
