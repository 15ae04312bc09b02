// The keyboard focus and the active window: SetFocus, GetFocus, SetActiveWindow and
// GetActiveWindow, with their messages in order, and what hiding, disabling and destroying a
// window does to them.
#include "this_module.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <thread>
#include <vector>

namespace {

struct Seen {
    HWND window;
    UINT message;
    WPARAM wParam;
    bool operator==(const Seen&) const = default;
};
std::vector<Seen> g_seen;
HWND g_focusDuringKill = nullptr;
HWND g_redirect = nullptr; // where a window losing the focus sends it instead

LRESULT CALLBACK Watching(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KILLFOCUS:
        g_focusDuringKill = GetFocus();
        g_seen.push_back({window, message, wParam});
        if (g_redirect) {
            HWND to = g_redirect;
            g_redirect = nullptr;
            SetFocus(to);
        }
        break;
    case WM_SETFOCUS:
    case WM_DESTROY:
        g_seen.push_back({window, message, wParam});
        break;
    case WM_ACTIVATE:
        g_seen.push_back({window, message, LOWORD(wParam)});
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class Focus : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW description{};
        description.lpfnWndProc = Watching;
        description.hInstance = ThisModuleHandle();
        description.lpszClassName = L"MoltrWatching";
        RegisterClassW(&description);
        top_ = Create(nullptr, WS_POPUP | WS_VISIBLE);
        first_ = Create(top_, WS_CHILD | WS_VISIBLE);
        second_ = Create(top_, WS_CHILD | WS_VISIBLE);
        SetFocus(first_);
        g_seen.clear();
    }
    void TearDown() override {
        DestroyWindow(top_);
        SetFocus(nullptr);
        UnregisterClassW(L"MoltrWatching", ThisModuleHandle());
    }
    static HWND Create(HWND parent, DWORD style) {
        return CreateWindowExW(0, L"MoltrWatching", L"", style, 0, 0, 50, 50, parent, nullptr,
                               ThisModuleHandle(), nullptr);
    }
    HWND top_ = nullptr;
    HWND first_ = nullptr;
    HWND second_ = nullptr;
};

TEST_F(Focus, MovesWithKillFocusThenSetFocusNamingEachOther) {
    ASSERT_EQ(GetFocus(), first_);
    EXPECT_EQ(SetFocus(second_), first_);
    const std::vector<Seen> expected{{first_, WM_KILLFOCUS, reinterpret_cast<WPARAM>(second_)},
                                     {second_, WM_SETFOCUS, reinterpret_cast<WPARAM>(first_)}};
    EXPECT_EQ(g_seen, expected);
    // The window losing the focus already sees it where it goes.
    EXPECT_EQ(g_focusDuringKill, second_);
    EXPECT_EQ(GetFocus(), second_);
    // Focusing the focused window again sends nothing.
    g_seen.clear();
    EXPECT_EQ(SetFocus(second_), second_);
    EXPECT_TRUE(g_seen.empty());
}

TEST_F(Focus, NoWindowTakesItAwayAndABadWindowChangesNothing) {
    EXPECT_EQ(SetFocus(nullptr), first_);
    const std::vector<Seen> expected{{first_, WM_KILLFOCUS, 0}};
    EXPECT_EQ(g_seen, expected);
    EXPECT_EQ(GetFocus(), nullptr);
    SetFocus(first_);
    SetLastError(0);
    EXPECT_EQ(SetFocus(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x7FFF1234))), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(GetFocus(), first_);
}

TEST_F(Focus, AWindowLosingItMayRedirectIt) {
    g_redirect = top_;
    SetFocus(second_);
    EXPECT_EQ(GetFocus(), top_);
    // The window first asked for never hears of it.
    for (const Seen& seen : g_seen) {
        EXPECT_FALSE(seen.window == second_ && seen.message == WM_SETFOCUS);
    }
}

TEST_F(Focus, FocusingAWindowActivatesItsTopLevelWindow) {
    HWND other = Create(nullptr, WS_POPUP | WS_VISIBLE);
    HWND inside = Create(other, WS_CHILD | WS_VISIBLE);
    ASSERT_EQ(GetActiveWindow(), top_);
    g_seen.clear();
    SetFocus(inside);
    EXPECT_EQ(GetActiveWindow(), other);
    EXPECT_EQ(GetFocus(), inside);
    // The activated window takes the focus on its way to the child.
    const std::vector<Seen> expected{
        {top_, WM_ACTIVATE, WA_INACTIVE},
        {other, WM_ACTIVATE, WA_ACTIVE},
        {first_, WM_KILLFOCUS, reinterpret_cast<WPARAM>(other)},
        {other, WM_SETFOCUS, reinterpret_cast<WPARAM>(first_)},
        {other, WM_KILLFOCUS, reinterpret_cast<WPARAM>(inside)},
        {inside, WM_SETFOCUS, reinterpret_cast<WPARAM>(other)},
    };
    EXPECT_EQ(g_seen, expected);
    DestroyWindow(other);
}

TEST_F(Focus, AHiddenChildHandsItToItsParentADisabledOneToNobody) {
    ShowWindow(first_, SW_HIDE);
    EXPECT_EQ(GetFocus(), top_);
    SetFocus(second_);
    EnableWindow(second_, FALSE);
    EXPECT_EQ(GetFocus(), nullptr);
    // Hiding or disabling a window without the focus leaves it where it is.
    EnableWindow(second_, TRUE);
    SetFocus(second_);
    ShowWindow(first_, SW_SHOW);
    ShowWindow(first_, SW_HIDE);
    EnableWindow(first_, FALSE);
    EXPECT_EQ(GetFocus(), second_);
}

TEST_F(Focus, ADestroyedChildHandsItToItsParentBeforeItsDestruction) {
    DestroyWindow(first_);
    const std::vector<Seen> expected{{first_, WM_KILLFOCUS, reinterpret_cast<WPARAM>(top_)},
                                     {top_, WM_SETFOCUS, reinterpret_cast<WPARAM>(first_)},
                                     {first_, WM_DESTROY, 0}};
    EXPECT_EQ(g_seen, expected);
    EXPECT_EQ(GetFocus(), top_);
}

TEST_F(Focus, ADestroyedTopLevelWindowLeavesNoFocusAndNoActiveWindow) {
    ASSERT_EQ(GetActiveWindow(), top_);
    DestroyWindow(top_);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(GetActiveWindow(), nullptr);
}

TEST_F(Focus, AnotherThreadsWindowCannotTakeIt) {
    HWND foreign = nullptr;
    std::thread([&] { foreign = Create(nullptr, WS_POPUP); }).join();
    ASSERT_NE(foreign, nullptr);
    SetLastError(0);
    EXPECT_EQ(SetFocus(foreign), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(GetFocus(), first_);
    DestroyWindow(foreign);
}

} // namespace
