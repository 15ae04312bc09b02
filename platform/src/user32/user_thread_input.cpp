// Shared input queues: AttachThreadInput, SetActiveWindow, GetActiveWindow, SetFocus and GetFocus.
// A thread of this process may attach to any thread of the machine; its active and focused windows
// are then those of the shared queue. The focus moves with WM_KILLFOCUS to the window losing it and
// then WM_SETFOCUS to the one gaining it; activation sends WM_ACTIVATE to both windows.
#include "src/user32/user_thread_input.h"
#include "src/user32/user_desktop.h"
#include "src/user32/user_dialog_records.h"
#include "src/user32/user_objects.h"

#include <map>
#include <mutex>

namespace moltr::platform {
namespace {

struct Queues {
    std::mutex lock;
    std::map<DWORD, DWORD> attached; // thread -> the thread whose input it shares
    std::map<DWORD, HWND> active;    // queue's thread -> its active window
    std::map<DWORD, HWND> focus;     // queue's thread -> its focused window
};

Queues& TheQueues() {
    static Queues* queues = new Queues;
    return *queues;
}

DWORD QueueOf(Queues& queues, DWORD thread) {
    const auto found = queues.attached.find(thread);
    return found == queues.attached.end() ? thread : found->second;
}

DWORD CallersQueue() {
    Queues& queues = TheQueues();
    std::lock_guard guard(queues.lock);
    return QueueOf(queues, GetCurrentThreadId());
}

HWND& Slot(std::map<DWORD, HWND> Queues::*table, DWORD queue) {
    return (TheQueues().*table)[queue];
}

HWND Current(std::map<DWORD, HWND> Queues::*table) {
    const DWORD queue = CallersQueue();
    std::lock_guard guard(TheQueues().lock);
    return Slot(table, queue);
}

// Replaces the queue's window in `table`; answers the one it had.
HWND Exchange(std::map<DWORD, HWND> Queues::*table, DWORD queue, HWND window) {
    std::lock_guard guard(TheQueues().lock);
    HWND& slot = Slot(table, queue);
    HWND previous = slot;
    slot = window;
    return previous;
}

bool IsLocalWindow(HWND window) {
    std::lock_guard guard(UserLock());
    return FindWindowObject(window) != nullptr;
}

bool FocusWithin(HWND window) {
    const HWND focus = GetFocus();
    std::lock_guard guard(UserLock());
    return IsSelfOrDescendant(window, focus);
}

HWND TopLevelOf(HWND window) {
    std::lock_guard guard(UserLock());
    for (const Window* found = FindWindowObject(window); found && found->parent;
         found = FindWindowObject(window)) {
        window = found->parent;
    }
    return window;
}

// The queue a window's messages take part in; 0 (with the error set) when the calling thread may
// not give it the focus or activate it.
DWORD QueueAllowing(HWND window) {
    const DWORD owner = GetWindowThreadProcessId(window, nullptr);
    if (owner == 0) {
        return 0;
    }
    const DWORD queue = CallersQueue();
    // Only a window of the calling thread's own input queue.
    if (owner != queue && owner != GetCurrentThreadId()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    return queue;
}

} // namespace

void RevertFocus(HWND window, HWND to) {
    if (FocusWithin(window)) {
        SetFocus(to);
    }
}

void ForgetActiveWindow(HWND window) {
    Queues& queues = TheQueues();
    std::lock_guard guard(queues.lock);
    for (auto& [queue, active] : queues.active) {
        if (active == window) {
            active = nullptr;
        }
    }
}

DWORD AttachedInputThread(DWORD thread) {
    std::lock_guard guard(TheQueues().lock);
    const auto found = TheQueues().attached.find(thread);
    return found == TheQueues().attached.end() ? 0 : found->second;
}

} // namespace moltr::platform

using namespace moltr::platform;

extern "C" {

BOOL WINAPI AttachThreadInput(DWORD idAttach, DWORD idAttachTo, BOOL fAttach) {
    if (idAttach == 0 || idAttachTo == 0 || idAttach == idAttachTo) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    {
        Queues& queues = TheQueues();
        std::lock_guard guard(queues.lock);
        const auto found = queues.attached.find(idAttach);
        if (fAttach) {
            queues.attached[idAttach] = idAttachTo;
            return TRUE;
        }
        // Only an attachment that exists can be undone.
        if (found == queues.attached.end() || found->second != idAttachTo) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        queues.attached.erase(found);
    }
    CompleteDialogRecords(idAttach);
    return TRUE;
}

HWND WINAPI SetActiveWindow(HWND hWnd) {
    const DWORD queue = QueueAllowing(hWnd);
    if (queue == 0) {
        return nullptr;
    }
    const HWND previous = Exchange(&Queues::active, queue, hWnd);
    // Another process's window learns of its activation from its own queue, not from here.
    if (previous != hWnd) {
        if (previous && IsLocalWindow(previous)) {
            SendMessageW(previous, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(hWnd));
        }
        if (IsLocalWindow(hWnd)) {
            SendMessageW(hWnd, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(previous));
        }
    }
    return previous;
}

HWND WINAPI GetActiveWindow() {
    return Current(&Queues::active);
}

HWND WINAPI SetFocus(HWND hWnd) {
    const HWND previous = GetFocus();
    if (hWnd == previous) {
        return previous;
    }
    DWORD queue = CallersQueue();
    if (hWnd) {
        if (!IsLocalWindow(hWnd)) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
        queue = QueueAllowing(hWnd);
        if (queue == 0) {
            return nullptr;
        }
        // The focus is in the active window: its top-level window is activated first.
        const HWND top = TopLevelOf(hWnd);
        if (GetActiveWindow() != top) {
            SetActiveWindow(top);
        }
    }
    const HWND losing = Exchange(&Queues::focus, queue, hWnd);
    if (losing == hWnd) {
        return previous;
    }
    if (losing && IsLocalWindow(losing)) {
        SendMessageW(losing, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
        // Its procedure may have moved the focus elsewhere.
        if (GetFocus() != hWnd) {
            return previous;
        }
    }
    if (hWnd) {
        SendMessageW(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(losing), 0);
    }
    return previous;
}

HWND WINAPI GetFocus() {
    return Current(&Queues::focus);
}
}
