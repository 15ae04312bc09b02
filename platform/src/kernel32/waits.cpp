// WaitForSingleObject and WaitForMultipleObjects over the waitable objects of the handle table.
#include "src/kernel32/waitable_object.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <vector>

namespace moltr::sim {
namespace {

// How often a wait looks again at objects that other processes change.
constexpr auto kElsewherePoll = std::chrono::milliseconds(5);

struct WaitHub {
    std::mutex lock;
    std::condition_variable_any changed;
};

WaitHub& Hub() {
    static WaitHub* hub = new WaitHub; // never destroyed: threads may wait during exit
    return *hub;
}

using Objects = std::vector<std::shared_ptr<WaitableObject>>;

// The index of the first signalled object for wait-any, 0 when all are signalled for wait-all,
// or -1; acquires what it reports.
int Satisfied(const Objects& objects, bool all) {
    if (!all) {
        for (size_t i = 0; i < objects.size(); ++i) {
            if (objects[i]->IsSignalled()) {
                objects[i]->Acquire();
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    if (!std::all_of(objects.begin(), objects.end(), [](auto& o) { return o->IsSignalled(); })) {
        return -1;
    }
    for (auto& object : objects) {
        object->Acquire();
    }
    return 0;
}

DWORD Wait(const Objects& objects, bool all, DWORD milliseconds) {
    using Clock = std::chrono::steady_clock;
    const bool forever = milliseconds == INFINITE;
    const auto deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : milliseconds);
    const bool poll = std::any_of(objects.begin(), objects.end(),
                                  [](auto& object) { return object->ChangesElsewhere(); });
    std::unique_lock guard(Hub().lock);
    for (;;) {
        const int index = Satisfied(objects, all);
        if (index >= 0) {
            return WAIT_OBJECT_0 + static_cast<DWORD>(index);
        }
        const auto now = Clock::now();
        if (!forever && now >= deadline) {
            return WAIT_TIMEOUT;
        }
        auto until = forever ? now + std::chrono::hours(1) : deadline;
        if (poll) {
            until = std::min(until, now + kElsewherePoll);
        }
        Hub().changed.wait_until(guard, until);
    }
}

// The objects behind the handles; false (with the error set) when a handle names none that waits.
bool Resolve(const HANDLE* handles, DWORD count, Objects& objects);

} // namespace

std::mutex& WaitLock() {
    return Hub().lock;
}

void WakeWaiters() {
    // Taking the lock orders the change before any waiter's next look.
    { std::lock_guard guard(Hub().lock); }
    Hub().changed.notify_all();
}

// Defined with the process objects: the object for a process's pseudo handle.
std::shared_ptr<WaitableObject> PseudoHandleObject(HANDLE handle);

namespace {

bool Resolve(const HANDLE* handles, DWORD count, Objects& objects) {
    for (DWORD i = 0; i < count; ++i) {
        std::shared_ptr<WaitableObject> object = LookupHandleAs<WaitableObject>(handles[i]);
        if (!object) {
            object = PseudoHandleObject(handles[i]);
        }
        if (!object) {
            SetLastError(ERROR_INVALID_HANDLE);
            return false;
        }
        objects.push_back(std::move(object));
    }
    return true;
}

} // namespace
} // namespace moltr::sim

using namespace moltr::sim;

extern "C" {

DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
    Objects objects;
    if (!Resolve(&hHandle, 1, objects)) {
        return WAIT_FAILED;
    }
    return Wait(objects, false, dwMilliseconds);
}

DWORD WINAPI WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll,
                                    DWORD dwMilliseconds) {
    if (nCount == 0 || nCount > MAXIMUM_WAIT_OBJECTS || !lpHandles) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    Objects objects;
    if (!Resolve(lpHandles, nCount, objects)) {
        return WAIT_FAILED;
    }
    // Waiting for all of a set that names one object twice could never be satisfied in one step.
    for (DWORD i = 0; i < nCount; ++i) {
        if (std::find(lpHandles + i + 1, lpHandles + nCount, lpHandles[i]) != lpHandles + nCount) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return WAIT_FAILED;
        }
    }
    return Wait(objects, bWaitAll, dwMilliseconds);
}
}
