// Events: manual-reset ones stay signalled until reset; auto-reset ones release one wait.
#include "src/kernel32/waitable_object.h"

#include <windows.h>

namespace moltr::sim {
namespace {

class EventObject : public WaitableObject {
public:
    EventObject(bool manual, bool signalled) : manual_(manual), signalled_(signalled) {}
    bool IsSignalled() override { return signalled_; }
    void Acquire() override { signalled_ = manual_; }
    void Set(bool signalled) {
        {
            std::lock_guard guard(WaitLock());
            signalled_ = signalled;
        }
        if (signalled) {
            WakeWaiters();
        }
    }

private:
    const bool manual_;
    bool signalled_; // guarded by WaitLock()
};

BOOL SetState(HANDLE event, bool signalled) {
    auto object = LookupHandleAs<EventObject>(event);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    object->Set(signalled);
    return TRUE;
}

} // namespace
} // namespace moltr::sim

using namespace moltr::sim;

extern "C" {

HANDLE WINAPI CreateEventW(LPSECURITY_ATTRIBUTES, BOOL bManualReset, BOOL bInitialState,
                           LPCWSTR lpName) {
    // Events are private to their process here: no other process could open one by name.
    if (lpName && *lpName) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    HANDLE handle = InsertHandle(std::make_shared<EventObject>(bManualReset, bInitialState));
    SetLastError(handle ? ERROR_SUCCESS : ERROR_NOT_ENOUGH_MEMORY);
    return handle;
}

BOOL WINAPI SetEvent(HANDLE hEvent) {
    return SetState(hEvent, true);
}

BOOL WINAPI ResetEvent(HANDLE hEvent) {
    return SetState(hEvent, false);
}
}
