// Posted messages: PostMessageW, PostThreadMessageW, PostQuitMessage, PeekMessageW, GetMessageW,
// DispatchMessageW and GetKeyState. A message is taken in the order of its queue: posted messages
// (keyboard and mouse messages among them) first, then the quit request, then WM_PAINT for a
// window with something to paint, which stays until the window is painted.
#include "src/user32/user_message_queue.h"
#include "src/user32/user_objects.h"
#include "src/user32/user_painting.h"
#include "sim/windows_admin.h"

#include <windows.h>
#include <algorithm>
#include <array>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>

namespace moltr::platform {
namespace {

struct MessageQueue {
    std::deque<MSG> posted;
    bool quit = false;
    int quitCode = 0;
    std::array<BYTE, 256> keys{}; // 0x80 down, 0x01 toggled
    std::condition_variable_any arrived;
};

std::map<DWORD, std::shared_ptr<MessageQueue>>& Queues() {
    static auto* queues = new std::map<DWORD, std::shared_ptr<MessageQueue>>;
    return *queues;
}

// Ends the thread's queue with the thread.
struct QueueOwner {
    DWORD thread = 0;
    ~QueueOwner() {
        if (thread) {
            std::lock_guard guard(UserLock());
            Queues().erase(thread);
        }
    }
};

MessageQueue* QueueOf(DWORD thread) {
    const auto found = Queues().find(thread);
    return found == Queues().end() ? nullptr : found->second.get();
}

MessageQueue& OwnQueue() {
    EnsureMessageQueue();
    return *QueueOf(GetCurrentThreadId());
}

bool Post(DWORD thread, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MessageQueue* queue = QueueOf(thread);
    if (!queue) {
        return false;
    }
    queue->posted.push_back(MSG{window, message, wParam, lParam, GetTickCount(), {0, 0}});
    queue->arrived.notify_all();
    return true;
}

// What PeekMessageW and GetMessageW were asked for: the window (with its children), the
// thread's own messages ((HWND)-1) or both (null), and a range of messages (0, 0 for all).
struct Filter {
    HWND window = nullptr;
    UINT first = 0;
    UINT last = 0;

    bool Takes(const MSG& message) const {
        if (window == reinterpret_cast<HWND>(-1)) {
            if (message.hwnd) {
                return false;
            }
        } else if (window && !IsSelfOrDescendant(window, message.hwnd)) {
            return false;
        }
        return (first == 0 && last == 0) || (message.message >= first && message.message <= last);
    }
};

// The WM_PAINT the filter takes, for a window of the calling thread that is due one.
bool TakePaint(const Filter& filter, MSG& message) {
    if (filter.window == reinterpret_cast<HWND>(-1)) {
        return false;
    }
    HWND window = WindowToPaint(GetCurrentThreadId(), filter.window);
    if (!window) {
        return false;
    }
    message = MSG{window, WM_PAINT, 0, 0, GetTickCount(), {0, 0}};
    return filter.Takes(message);
}

// Keyboard messages set the key state as they are taken, as a real keyboard's do.
void Track(MessageQueue& queue, const MSG& message) {
    if (message.wParam > 0xFF) {
        return;
    }
    BYTE& key = queue.keys[message.wParam & 0xFF];
    if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
        if (!(key & 0x80)) {
            key ^= 0x01;
        }
        key |= 0x80;
    } else if (message.message == WM_KEYUP || message.message == WM_SYSKEYUP) {
        key &= static_cast<BYTE>(~0x80);
    }
}

// The first message the filter takes; the caller holds UserLock().
bool Take(MessageQueue& queue, const Filter& filter, bool remove, MSG& message) {
    const auto found = std::find_if(queue.posted.begin(), queue.posted.end(),
                                    [&](const MSG& posted) { return filter.Takes(posted); });
    if (found != queue.posted.end()) {
        message = *found;
        if (remove) {
            queue.posted.erase(found);
            Track(queue, message);
        }
        return true;
    }
    // The quit request passes every filter.
    if (queue.quit) {
        message =
            MSG{nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0, GetTickCount(), {0, 0}};
        if (remove) {
            queue.quit = false;
        }
        return true;
    }
    return TakePaint(filter, message);
}

bool CheckedFilterWindow(HWND window) {
    return !window || window == reinterpret_cast<HWND>(-1) || CheckedWindow(window);
}

} // namespace

void EnsureMessageQueue() {
    static thread_local QueueOwner owner;
    std::lock_guard guard(UserLock());
    if (!owner.thread) {
        owner.thread = GetCurrentThreadId();
        Queues()[owner.thread] = std::make_shared<MessageQueue>();
    }
}

void PostCharacter(HWND window, UINT message, WPARAM character, LPARAM keyData) {
    MessageQueue& queue = OwnQueue();
    std::lock_guard guard(UserLock());
    queue.posted.push_front(MSG{window, message, character, keyData, GetTickCount(), {0, 0}});
}

void WakeForPaint(DWORD thread) {
    if (MessageQueue* queue = QueueOf(thread)) {
        queue->arrived.notify_all();
    }
}

void FlushWindowMessages(HWND window, DWORD thread) {
    if (MessageQueue* queue = QueueOf(thread)) {
        std::erase_if(queue->posted,
                      [window](const MSG& message) { return message.hwnd == window; });
    }
}

} // namespace moltr::platform

namespace moltr::sim {

size_t DispatchPostedMessages(HWND dialog) {
    size_t dispatched = 0;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // A message loop further out ends on it.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        ++dispatched;
        if (dialog && IsDialogMessageW(dialog, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return dispatched;
}

} // namespace moltr::sim

using namespace moltr::platform;

extern "C" {

BOOL WINAPI PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (!hWnd) {
        return PostThreadMessageW(GetCurrentThreadId(), Msg, wParam, lParam);
    }
    std::lock_guard guard(UserLock());
    const Window* window = CheckedWindow(hWnd);
    if (!window) {
        return FALSE;
    }
    return Post(window->thread, hWnd, Msg, wParam, lParam) ? TRUE : FALSE;
}

BOOL WINAPI PostThreadMessageW(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (idThread == GetCurrentThreadId()) {
        EnsureMessageQueue();
    }
    std::lock_guard guard(UserLock());
    // Only a thread with a queue takes messages.
    if (!Post(idThread, nullptr, Msg, wParam, lParam)) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return FALSE;
    }
    return TRUE;
}

void WINAPI PostQuitMessage(int nExitCode) {
    MessageQueue& queue = OwnQueue();
    std::lock_guard guard(UserLock());
    queue.quit = true;
    queue.quitCode = nExitCode;
    queue.arrived.notify_all();
}

BOOL WINAPI PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax,
                         UINT wRemoveMsg) {
    MessageQueue& queue = OwnQueue();
    std::lock_guard guard(UserLock());
    if (!lpMsg) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    if (!CheckedFilterWindow(hWnd)) {
        return FALSE;
    }
    return Take(queue, {hWnd, wMsgFilterMin, wMsgFilterMax}, (wRemoveMsg & PM_REMOVE) != 0, *lpMsg)
               ? TRUE
               : FALSE;
}

BOOL WINAPI GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    MessageQueue& queue = OwnQueue();
    std::unique_lock guard(UserLock());
    if (!lpMsg) {
        SetLastError(ERROR_NOACCESS);
        return -1;
    }
    if (!CheckedFilterWindow(hWnd)) {
        return -1;
    }
    const Filter filter{hWnd, wMsgFilterMin, wMsgFilterMax};
    queue.arrived.wait(guard, [&] { return Take(queue, filter, true, *lpMsg); });
    return lpMsg->message == WM_QUIT ? FALSE : TRUE;
}

LRESULT WINAPI DispatchMessageW(const MSG* lpMsg) {
    if (!lpMsg) {
        SetLastError(ERROR_NOACCESS);
        return 0;
    }
    // A timer message may name the procedure to call instead of the window's.
    if (lpMsg->message == WM_TIMER && lpMsg->lParam) {
        reinterpret_cast<TIMERPROC>(lpMsg->lParam)(
            lpMsg->hwnd, WM_TIMER, static_cast<UINT_PTR>(lpMsg->wParam), GetTickCount());
        return 0;
    }
    // A thread's own message has no window to go to.
    if (!lpMsg->hwnd) {
        return 0;
    }
    WNDPROC proc = nullptr;
    {
        std::lock_guard guard(UserLock());
        const Window* window = CheckedWindow(lpMsg->hwnd);
        if (!window) {
            return 0;
        }
        proc = window->proc;
    }
    return proc(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

SHORT WINAPI GetKeyState(int nVirtKey) {
    MessageQueue& queue = OwnQueue();
    std::lock_guard guard(UserLock());
    const BYTE key = queue.keys[static_cast<size_t>(nVirtKey) & 0xFF];
    return static_cast<SHORT>(((key & 0x80) ? 0x8000 : 0) | (key & 0x01));
}
}
