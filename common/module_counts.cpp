#include "common/module_counts.h"

namespace moltr::common {

namespace {

LONG liveObjects = 0;
LONG serverLocks = 0;

} // namespace

void AddLiveObject() {
    InterlockedIncrement(&liveObjects);
}

void RemoveLiveObject() {
    InterlockedDecrement(&liveObjects);
}

void AddServerLock() {
    InterlockedIncrement(&serverLocks);
}

void RemoveServerLock() {
    InterlockedDecrement(&serverLocks);
}

bool ModuleInUse() {
    return InterlockedCompareExchange(&liveObjects, 0, 0) != 0 ||
           InterlockedCompareExchange(&serverLocks, 0, 0) != 0;
}

HRESULT CanUnloadNow() {
    return ModuleInUse() ? S_FALSE : S_OK;
}

} // namespace moltr::common
