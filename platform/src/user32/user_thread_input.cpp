// Shared input queues: AttachThreadInput and SetActiveWindow. A thread of this process may attach
// to any thread of the machine; its active window is then that of the shared queue.
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
};

Queues& TheQueues() {
    static Queues* queues = new Queues;
    return *queues;
}

DWORD QueueOf(Queues& queues, DWORD thread) {
    const auto found = queues.attached.find(thread);
    return found == queues.attached.end() ? thread : found->second;
}

} // namespace

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
    const DWORD owner = GetWindowThreadProcessId(hWnd, nullptr);
    if (owner == 0) {
        return nullptr;
    }
    Queues& queues = TheQueues();
    std::lock_guard guard(queues.lock);
    const DWORD queue = QueueOf(queues, GetCurrentThreadId());
    // Only a window of the calling thread's own input queue can become its active window.
    if (owner != queue && owner != GetCurrentThreadId()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    HWND& active = queues.active[queue];
    HWND previous = active;
    active = hWnd;
    return previous;
}
}
