// The thread's message queue: PostMessageW, PostThreadMessageW, PeekMessageW with its filters,
// GetMessageW, PostQuitMessage, TranslateMessage, DispatchMessageW and GetKeyState, and the
// simulation's helper that dispatches what was posted.
#include "sim/windows_admin.h"
#include "this_module.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <future>
#include <thread>
#include <vector>

namespace {

struct Received {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Received> g_received;

LRESULT CALLBACK Receiving(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_KEYFIRST && message <= WM_KEYLAST) {
        g_received.push_back({window, message, wParam, lParam});
    }
    if (message == WM_USER) {
        g_received.push_back({window, message, wParam, lParam});
        return static_cast<LRESULT>(wParam) * 2;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Every message the calling thread's queue still holds, taken out.
std::vector<MSG> Drain() {
    std::vector<MSG> messages;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        messages.push_back(message);
        if (message.message == WM_QUIT) {
            break;
        }
    }
    return messages;
}

class Queue : public ::testing::Test {
protected:
    void SetUp() override {
        Drain();
        g_received.clear();
        WNDCLASSW description{};
        description.lpfnWndProc = Receiving;
        description.hInstance = ThisModuleHandle();
        description.lpszClassName = L"MoltrReceiving";
        RegisterClassW(&description);
        window_ = CreateWindowExW(0, L"MoltrReceiving", L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, ThisModuleHandle(), nullptr);
        child_ = CreateWindowExW(0, L"MoltrReceiving", L"", WS_CHILD, 0, 0, 5, 5, window_,
                                 reinterpret_cast<HMENU>(1), ThisModuleHandle(), nullptr);
        other_ = CreateWindowExW(0, L"MoltrReceiving", L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                 nullptr, ThisModuleHandle(), nullptr);
        ASSERT_NE(child_, nullptr);
        ASSERT_NE(other_, nullptr);
    }
    void TearDown() override {
        DestroyWindow(window_);
        DestroyWindow(other_);
        UnregisterClassW(L"MoltrReceiving", ThisModuleHandle());
        Drain();
    }
    HWND window_ = nullptr;
    HWND child_ = nullptr;
    HWND other_ = nullptr;
};

TEST_F(Queue, PostedMessagesComeOutInOrderAndPeekingLeavesThem) {
    EXPECT_TRUE(PostMessageW(window_, WM_USER, 1, 10));
    EXPECT_TRUE(PostMessageW(window_, WM_USER, 2, 20));
    MSG message{};
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(message.wParam, 1u);
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.hwnd, window_);
    EXPECT_EQ(message.message, static_cast<UINT>(WM_USER));
    EXPECT_EQ(message.wParam, 1u);
    EXPECT_EQ(message.lParam, 10);
    // Nothing is sent before it is dispatched; dispatching answers the procedure's result.
    EXPECT_TRUE(g_received.empty());
    EXPECT_EQ(DispatchMessageW(&message), 2);
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].window, window_);
    ASSERT_EQ(GetMessageW(&message, nullptr, 0, 0), TRUE);
    EXPECT_EQ(message.wParam, 2u);
    EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Queue, FiltersByWindowWithItsChildrenByThreadAndByRange) {
    PostMessageW(other_, WM_USER, 1, 0);
    PostMessageW(child_, WM_USER, 2, 0);
    PostMessageW(nullptr, WM_USER, 3, 0);
    PostMessageW(window_, WM_USER + 5, 4, 0);
    MSG message{};
    ASSERT_TRUE(PeekMessageW(&message, window_, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.wParam, 2u); // the child's message is the window's too
    ASSERT_TRUE(PeekMessageW(&message, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
    EXPECT_EQ(message.wParam, 3u);
    EXPECT_EQ(message.hwnd, nullptr);
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_USER + 1, WM_USER + 9, PM_REMOVE));
    EXPECT_EQ(message.wParam, 4u);
    EXPECT_FALSE(PeekMessageW(&message, window_, 0, 0, PM_REMOVE));
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.wParam, 1u);
}

TEST_F(Queue, RefusesWindowsThatAreNone) {
    const HWND bogus = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x7FFF1234));
    MSG message{};
    SetLastError(0);
    EXPECT_FALSE(PostMessageW(bogus, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    SetLastError(0);
    EXPECT_FALSE(PeekMessageW(&message, bogus, 0, 0, PM_REMOVE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(GetMessageW(&message, bogus, 0, 0), -1);
    // A message for a window that is gone never comes out.
    PostMessageW(other_, WM_USER, 7, 0);
    DestroyWindow(other_);
    EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Queue, QuitComesAfterPostedMessagesAndPassesEveryFilter) {
    PostQuitMessage(5);
    PostMessageW(window_, WM_USER, 1, 0);
    MSG message{};
    ASSERT_EQ(GetMessageW(&message, nullptr, 0, 0), TRUE);
    EXPECT_EQ(message.message, static_cast<UINT>(WM_USER));
    ASSERT_TRUE(PeekMessageW(&message, window_, WM_USER, WM_USER, PM_NOREMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(GetMessageW(&message, nullptr, 0, 0), FALSE);
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 5u);
    EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Queue, ThreadMessagesNeedAThreadWithAQueue) {
    EXPECT_TRUE(PostThreadMessageW(GetCurrentThreadId(), WM_USER, 9, 0));
    MSG message{};
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.hwnd, nullptr);
    EXPECT_EQ(message.wParam, 9u);
    EXPECT_EQ(DispatchMessageW(&message), 0);
    EXPECT_TRUE(g_received.empty());
    SetLastError(0);
    EXPECT_FALSE(PostThreadMessageW(0xFFFFFFF0u, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_THREAD_ID));

    // A thread without a queue takes nothing; once it has one, its GetMessageW gets the message.
    std::promise<DWORD> bare;
    std::promise<void> checked;
    std::promise<DWORD> ready;
    std::thread worker([&] {
        bare.set_value(GetCurrentThreadId());
        checked.get_future().wait();
        MSG own{};
        PeekMessageW(&own, nullptr, 0, 0, PM_NOREMOVE);
        ready.set_value(GetCurrentThreadId());
        GetMessageW(&own, nullptr, 0, 0);
        EXPECT_EQ(own.message, static_cast<UINT>(WM_USER + 1));
        EXPECT_EQ(own.lParam, 42);
    });
    const DWORD workerId = bare.get_future().get();
    SetLastError(0);
    EXPECT_FALSE(PostThreadMessageW(workerId, WM_USER + 1, 0, 42));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_THREAD_ID));
    checked.set_value();
    EXPECT_TRUE(PostThreadMessageW(ready.get_future().get(), WM_USER + 1, 0, 42));
    worker.join();
}

void Key(HWND window, UINT message, WPARAM key) {
    PostMessageW(window, message, key, 1);
}

TEST_F(Queue, TranslatedKeysTypeTheirCharacterNext) {
    Key(window_, WM_KEYDOWN, 'A');
    Key(window_, WM_KEYUP, 'A');
    MSG message{};
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_TRUE(TranslateMessage(&message));
    std::vector<MSG> rest = Drain();
    ASSERT_EQ(rest.size(), 2u);
    EXPECT_EQ(rest[0].message, static_cast<UINT>(WM_CHAR));
    EXPECT_EQ(rest[0].wParam, static_cast<WPARAM>(u'a'));
    EXPECT_EQ(rest[0].hwnd, window_);
    EXPECT_EQ(rest[0].lParam, 1);
    EXPECT_EQ(rest[1].message, static_cast<UINT>(WM_KEYUP));
    // A key release and other messages type nothing.
    EXPECT_TRUE(TranslateMessage(&rest[1]));
    message.message = WM_USER;
    EXPECT_FALSE(TranslateMessage(&message));
    EXPECT_TRUE(Drain().empty());
}

std::u16string Typed(HWND window, const std::vector<WPARAM>& keys) {
    for (WPARAM key : keys) {
        Key(window, WM_KEYDOWN, key);
    }
    std::u16string text;
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_CHAR) {
            text += static_cast<char16_t>(message.wParam);
        }
        TranslateMessage(&message);
    }
    return text;
}

TEST_F(Queue, ShiftAsTakenFromTheQueueChangesWhatKeysType) {
    EXPECT_EQ(Typed(window_, {'1', VK_OEM_MINUS, VK_SPACE}), u"1- ");
    Key(window_, WM_KEYDOWN, VK_SHIFT);
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0); // not yet taken
    EXPECT_EQ(Typed(window_, {'1', VK_OEM_MINUS, 'Q'}), u"!_Q");
    EXPECT_NE(GetKeyState(VK_SHIFT) & 0x8000, 0);
    Key(window_, WM_KEYUP, VK_SHIFT);
    EXPECT_EQ(Typed(window_, {'Q', MAKEWPARAM(VK_PACKET, 0x00E9)}), u"q\u00E9");
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);
}

TEST_F(Queue, TheHelperDispatchesEverythingTranslatedAndLeavesTheQuit) {
    Key(child_, WM_KEYDOWN, 'B');
    PostMessageW(window_, WM_USER, 3, 0);
    PostQuitMessage(2);
    EXPECT_EQ(moltr::sim::DispatchPostedMessages(), 3u);
    ASSERT_EQ(g_received.size(), 3u);
    EXPECT_EQ(g_received[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(g_received[1].message, static_cast<UINT>(WM_CHAR));
    EXPECT_EQ(g_received[1].window, child_);
    EXPECT_EQ(g_received[1].wParam, static_cast<WPARAM>(u'b'));
    EXPECT_EQ(g_received[2].message, static_cast<UINT>(WM_USER));
    MSG message{};
    EXPECT_EQ(GetMessageW(&message, nullptr, 0, 0), FALSE);
    EXPECT_EQ(message.wParam, 2u);
}

} // namespace
