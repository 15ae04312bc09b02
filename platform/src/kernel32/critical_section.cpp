// Critical sections: recursive like Windows. The section's DebugInfo points at the host mutex; the
// other fields are kept as Windows keeps them, which debuggers and tests may look at.
#include <windows.h>

#include <mutex>

namespace {

std::recursive_mutex* MutexOf(LPCRITICAL_SECTION section) {
    return section ? reinterpret_cast<std::recursive_mutex*>(section->DebugInfo) : nullptr;
}

void Owned(LPCRITICAL_SECTION section) {
    if (++section->RecursionCount == 1) {
        section->OwningThread =
            reinterpret_cast<HANDLE>(static_cast<uintptr_t>(GetCurrentThreadId()));
    }
}

} // namespace

extern "C" {

void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
    InitializeCriticalSectionAndSpinCount(lpCriticalSection, 0);
}

BOOL WINAPI InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION lpCriticalSection,
                                                  DWORD dwSpinCount) {
    if (!lpCriticalSection) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    lpCriticalSection->DebugInfo =
        reinterpret_cast<PRTL_CRITICAL_SECTION_DEBUG>(new std::recursive_mutex);
    lpCriticalSection->LockCount = -1;
    lpCriticalSection->RecursionCount = 0;
    lpCriticalSection->OwningThread = nullptr;
    lpCriticalSection->LockSemaphore = nullptr;
    lpCriticalSection->SpinCount = dwSpinCount;
    return TRUE;
}

void WINAPI EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
    if (auto* mutex = MutexOf(lpCriticalSection)) {
        mutex->lock();
        Owned(lpCriticalSection);
    }
}

BOOL WINAPI TryEnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
    auto* mutex = MutexOf(lpCriticalSection);
    if (!mutex || !mutex->try_lock()) {
        return FALSE;
    }
    Owned(lpCriticalSection);
    return TRUE;
}

void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
    auto* mutex = MutexOf(lpCriticalSection);
    // Leaving a section the thread does not own is a caller's bug; ignoring it keeps the mutex
    // sane.
    if (!mutex || lpCriticalSection->RecursionCount <= 0 ||
        lpCriticalSection->OwningThread !=
            reinterpret_cast<HANDLE>(static_cast<uintptr_t>(GetCurrentThreadId()))) {
        return;
    }
    if (--lpCriticalSection->RecursionCount == 0) {
        lpCriticalSection->OwningThread = nullptr;
    }
    mutex->unlock();
}

void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
    if (auto* mutex = MutexOf(lpCriticalSection)) {
        delete mutex;
        lpCriticalSection->DebugInfo = nullptr;
    }
}
}
