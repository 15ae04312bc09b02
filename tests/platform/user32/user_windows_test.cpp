// Window classes and windows: RegisterClassW/ExW, UnregisterClassW, CreateWindowExW, DestroyWindow,
// IsWindow, GetParent, GetDlgItem, GetDlgCtrlID, EnumChildWindows and the window values of
// GetWindowLong(Ptr)W and SetWindowLong(Ptr)W.
#include "sim/utf.h"
#include "sim/windows_admin.h"
#include "this_module.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>

namespace {

using moltr::sim::Utf8;
using moltr::sim::WindowClassName;
using moltr::sim::WindowCount;

HWND Popup(HWND owner = nullptr, DWORD style = WS_POPUP) {
    return CreateWindowExW(0, L"#32770", L"Dialog", style, 10, 20, 300, 200, owner, nullptr,
                           ThisModuleHandle(), nullptr);
}

HWND Control(HWND parent, const WCHAR* className, int id, DWORD style = WS_CHILD | WS_VISIBLE) {
    return CreateWindowExW(0, className, L"text", style, 0, 0, 50, 14, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModuleHandle(),
                           nullptr);
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(
        parent,
        [](HWND window, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND Bogus() {
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x7FFF1234));
}

TEST(StandardClasses, EveryControlClassCreatesWindowsByAnyCase) {
    HWND dialog = Popup();
    ASSERT_NE(dialog, nullptr);
    int id = 100;
    for (const WCHAR* name : {L"Button", L"EDIT", L"static", L"ComboBox", L"ListBox", L"ScrollBar",
                              L"msctls_trackbar32", L"msctls_updown32", L"SysListView32"}) {
        HWND control = Control(dialog, name, id++);
        ASSERT_NE(control, nullptr) << Utf8(name);
        EXPECT_EQ(GetParent(control), dialog);
    }
    EXPECT_EQ(WindowClassName(GetDlgItem(dialog, 101)), u"Edit");
    EXPECT_EQ(WindowClassName(GetDlgItem(dialog, 102)), u"Static");
    EXPECT_EQ(Children(dialog).size(), 9u);
    DestroyWindow(dialog);
}

TEST(StandardClasses, UnknownClassIsRefused) {
    SetLastError(0);
    EXPECT_EQ(CreateWindowExW(0, L"NoSuchClass", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                              nullptr, nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
    EXPECT_EQ(
        CreateWindowExW(0, L"", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
        nullptr);
    EXPECT_EQ(
        CreateWindowExW(0, nullptr, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
        nullptr);
}

// A custom class that records its messages.
std::vector<UINT> g_messages;
LRESULT g_createResult = 0;
LRESULT CALLBACK Recording(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    g_messages.push_back(message);
    if (message == WM_CREATE) {
        return g_createResult;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class CustomClass : public ::testing::Test {
protected:
    void SetUp() override {
        g_messages.clear();
        g_createResult = 0;
        WNDCLASSW description{};
        description.lpfnWndProc = Recording;
        description.cbWndExtra = 16;
        description.hInstance = ThisModuleHandle();
        description.lpszClassName = L"MoltrRecording";
        atom_ = RegisterClassW(&description);
        ASSERT_NE(atom_, 0);
    }
    void TearDown() override { UnregisterClassW(L"MoltrRecording", ThisModuleHandle()); }
    HWND Create(HWND parent = nullptr, DWORD style = WS_POPUP) {
        return CreateWindowExW(0, L"MoltrRecording", L"Custom", style, 0, 0, 10, 10, parent,
                               nullptr, ThisModuleHandle(), nullptr);
    }
    ATOM atom_ = 0;
};

TEST_F(CustomClass, CreationAndDestructionMessagesInOrder) {
    HWND window = Create();
    ASSERT_NE(window, nullptr);
    char16_t text[16] = {};
    EXPECT_EQ(GetWindowTextW(window, reinterpret_cast<WCHAR*>(text), 16), 6);
    EXPECT_EQ(std::u16string(text), u"Custom");
    EXPECT_TRUE(DestroyWindow(window));
    const std::vector<UINT> expected{WM_NCCREATE, WM_CREATE, WM_GETTEXT, WM_DESTROY, WM_NCDESTROY};
    EXPECT_EQ(g_messages, expected);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(CustomClass, CreateFailingGivesNoWindow) {
    g_createResult = -1;
    const size_t before = WindowCount();
    EXPECT_EQ(Create(), nullptr);
    EXPECT_EQ(WindowCount(), before);
    const std::vector<UINT> expected{WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY};
    EXPECT_EQ(g_messages, expected);
}

TEST_F(CustomClass, FoundByAtomAndOnlyForItsModule) {
    HWND byAtom = CreateWindowExW(0, MAKEINTRESOURCEW(atom_), L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                                  nullptr, ThisModuleHandle(), nullptr);
    EXPECT_NE(byAtom, nullptr);
    DestroyWindow(byAtom);
    SetLastError(0);
    EXPECT_EQ(CreateWindowExW(0, L"MoltrRecording", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                              nullptr, nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
}

TEST_F(CustomClass, ClassWithWindowsCannotBeUnregistered) {
    HWND window = Create();
    SetLastError(0);
    EXPECT_FALSE(UnregisterClassW(L"MoltrRecording", ThisModuleHandle()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_HAS_WINDOWS));
    DestroyWindow(window);
    EXPECT_TRUE(UnregisterClassW(L"MoltrRecording", ThisModuleHandle()));
    SetLastError(0);
    EXPECT_FALSE(UnregisterClassW(L"MoltrRecording", ThisModuleHandle()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_DOES_NOT_EXIST));
}

TEST_F(CustomClass, ExtraBytesHoldValuesAtAnyOffsetThatFits) {
    HWND window = Create();
    EXPECT_EQ(GetWindowLongPtrW(window, 0), 0);
    EXPECT_EQ(SetWindowLongPtrW(window, 8, 0x123456789LL), 0);
    EXPECT_EQ(GetWindowLongPtrW(window, 8), 0x123456789LL);
    EXPECT_EQ(GetWindowLongW(window, 8), 0x23456789);
    EXPECT_EQ(SetWindowLongW(window, 12, -1), 1);
    EXPECT_EQ(GetWindowLongW(window, 12), -1);
    SetLastError(0);
    EXPECT_EQ(GetWindowLongPtrW(window, 9), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
    EXPECT_EQ(GetWindowLongW(window, 13), 0);
    EXPECT_EQ(GetWindowLongW(window, 16), 0);
    DestroyWindow(window);
}

TEST(CreateWindow, ChildNeedsAParent) {
    SetLastError(0);
    EXPECT_EQ(Control(nullptr, L"Button", 1), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TLW_WITH_WSCHILD));
    SetLastError(0);
    EXPECT_EQ(Control(Bogus(), L"Button", 1), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST(CreateWindow, TopLevelWindowHasNoMenuHere) {
    SetLastError(0);
    EXPECT_EQ(CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(5)), nullptr, nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
}

TEST(CreateWindow, HandlesAreNotReusedRightAway) {
    HWND first = Popup();
    DestroyWindow(first);
    HWND second = Popup();
    EXPECT_NE(first, second);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(second) >> 32, 0u);
    DestroyWindow(second);
}

TEST(Family, PopupNamesItsOwnerOverlappedDoesNot) {
    HWND owner = Popup();
    HWND popup = Popup(owner);
    HWND overlapped = Popup(owner, WS_OVERLAPPED);
    EXPECT_EQ(GetParent(popup), owner);
    EXPECT_EQ(GetParent(overlapped), nullptr);
    EXPECT_EQ(GetParent(owner), nullptr);
    EXPECT_EQ(GetWindowLongPtrW(overlapped, GWLP_HWNDPARENT), reinterpret_cast<LONG_PTR>(owner));
    DestroyWindow(owner);
    EXPECT_FALSE(IsWindow(popup)); // owned windows go with their owner
    EXPECT_FALSE(IsWindow(overlapped));
}

TEST(Family, OwnerOfAChildIsItsTopLevelWindow) {
    HWND dialog = Popup();
    HWND button = Control(dialog, L"Button", 1);
    HWND popup = Popup(button);
    EXPECT_EQ(GetParent(popup), dialog);
    DestroyWindow(dialog);
    EXPECT_FALSE(IsWindow(popup));
}

TEST(Family, DestroyTakesEveryDescendant) {
    const size_t before = WindowCount();
    HWND dialog = Popup();
    HWND group = Control(dialog, L"Static", 1);
    HWND inner = Control(group, L"Edit", 2);
    EXPECT_EQ(WindowCount(), before + 3);
    EXPECT_TRUE(DestroyWindow(dialog));
    EXPECT_FALSE(IsWindow(group));
    EXPECT_FALSE(IsWindow(inner));
    EXPECT_EQ(WindowCount(), before);
    SetLastError(0);
    EXPECT_FALSE(DestroyWindow(dialog));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST(Family, DestroyingAChildUnlinksIt) {
    HWND dialog = Popup();
    HWND a = Control(dialog, L"Button", 1);
    HWND b = Control(dialog, L"Button", 2);
    DestroyWindow(a);
    EXPECT_EQ(Children(dialog), std::vector<HWND>{b});
    EXPECT_EQ(GetDlgItem(dialog, 1), nullptr);
    DestroyWindow(dialog);
}

TEST(Family, BadHandlesFailEverywhere) {
    SetLastError(0);
    EXPECT_FALSE(IsWindow(nullptr));
    EXPECT_FALSE(IsWindow(Bogus()));
    EXPECT_EQ(GetParent(Bogus()), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    SetLastError(0);
    EXPECT_EQ(GetDlgCtrlID(nullptr), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    SetLastError(0);
    EXPECT_EQ(GetDlgItem(Bogus(), 1), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(LoadIconW(nullptr, IDI_APPLICATION))));
}

TEST(DialogItems, FoundByIdAmongDirectChildrenOnly) {
    HWND dialog = Popup();
    HWND group = Control(dialog, L"Static", 10);
    HWND nested = Control(group, L"Button", 20);
    HWND negative = Control(dialog, L"Edit", -1);
    EXPECT_EQ(GetDlgItem(dialog, 10), group);
    EXPECT_EQ(GetDlgItem(dialog, -1), negative);
    EXPECT_EQ(GetDlgCtrlID(negative), -1);
    EXPECT_EQ(GetDlgCtrlID(nested), 20);
    SetLastError(0);
    EXPECT_EQ(GetDlgItem(dialog, 20), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CONTROL_ID_NOT_FOUND));
    EXPECT_EQ(GetDlgItem(group, 20), nested);
    DestroyWindow(dialog);
}

TEST(DialogItems, FirstOfTwoWithTheSameIdWins) {
    HWND dialog = Popup();
    HWND first = Control(dialog, L"Button", 7);
    Control(dialog, L"Button", 7);
    EXPECT_EQ(GetDlgItem(dialog, 7), first);
    DestroyWindow(dialog);
}

TEST(EnumChildren, DepthFirstInCreationOrder) {
    HWND dialog = Popup();
    HWND a = Control(dialog, L"Static", 1);
    HWND a1 = Control(a, L"Button", 2);
    HWND b = Control(dialog, L"Edit", 3);
    const std::vector<HWND> expected{a, a1, b};
    EXPECT_EQ(Children(dialog), expected);
    EXPECT_FALSE(EnumChildWindows(
        b, [](HWND, LPARAM) { return TRUE; }, 0)); // none
    DestroyWindow(dialog);
}

TEST(EnumChildren, StopsWhenTheCallbackSaysSo) {
    HWND dialog = Popup();
    Control(dialog, L"Static", 1);
    Control(dialog, L"Static", 2);
    int calls = 0;
    EnumChildWindows(
        dialog,
        [](HWND, LPARAM count) {
            ++*reinterpret_cast<int*>(count);
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&calls));
    EXPECT_EQ(calls, 1);
    DestroyWindow(dialog);
}

TEST(EnumChildren, SkipsWindowsDestroyedMeanwhile) {
    HWND dialog = Popup();
    Control(dialog, L"Static", 1);
    Control(dialog, L"Static", 2);
    std::vector<int> seen;
    struct State {
        HWND dialog;
        std::vector<int>* seen;
    } state{dialog, &seen};
    EnumChildWindows(
        dialog,
        [](HWND window, LPARAM param) {
            auto* s = reinterpret_cast<State*>(param);
            s->seen->push_back(GetDlgCtrlID(window));
            DestroyWindow(GetDlgItem(s->dialog, 2));
            Control(s->dialog, L"Static", 3);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&state));
    EXPECT_EQ(seen, std::vector<int>{1});
    DestroyWindow(dialog);
}

TEST(EnumChildren, RefusesBadArguments) {
    SetLastError(0);
    EXPECT_FALSE(EnumChildWindows(
        Bogus(), [](HWND, LPARAM) { return TRUE; }, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    HWND dialog = Popup();
    Control(dialog, L"Static", 1);
    EXPECT_FALSE(EnumChildWindows(dialog, nullptr, 0));
    DestroyWindow(dialog);
}

TEST(WindowValues, StylesIdAndUserData) {
    HWND dialog = Popup();
    HWND button = CreateWindowExW(WS_EX_CLIENTEDGE, L"Button", L"", WS_CHILD | WS_TABSTOP, 0, 0, 1,
                                  1, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(42)),
                                  ThisModuleHandle(), nullptr);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(button, GWL_STYLE)), DWORD{WS_CHILD | WS_TABSTOP});
    EXPECT_EQ(GetWindowLongW(button, GWL_EXSTYLE), WS_EX_CLIENTEDGE);
    EXPECT_EQ(GetWindowLongW(button, GWL_ID), 42);
    EXPECT_EQ(SetWindowLongW(button, GWL_ID, 43), 42);
    EXPECT_EQ(GetDlgItem(dialog, 43), button);
    EXPECT_EQ(static_cast<DWORD>(SetWindowLongW(button, GWL_STYLE, WS_CHILD)),
              DWORD{WS_CHILD | WS_TABSTOP});
    EXPECT_EQ(GetWindowLongW(button, GWL_STYLE), WS_CHILD);
    EXPECT_EQ(SetWindowLongPtrW(button, GWLP_USERDATA, 0x1122334455667788LL), 0);
    EXPECT_EQ(GetWindowLongPtrW(button, GWLP_USERDATA), 0x1122334455667788LL);
    EXPECT_EQ(GetWindowLongW(button, GWLP_USERDATA), 0x55667788);
    EXPECT_EQ(SetWindowLongW(button, GWLP_USERDATA, -2), 0x55667788);
    EXPECT_EQ(GetWindowLongPtrW(button, GWLP_USERDATA), -2);
    EXPECT_EQ(GetWindowLongPtrW(button, GWLP_HINSTANCE),
              reinterpret_cast<LONG_PTR>(ThisModuleHandle()));
    EXPECT_EQ(GetWindowLongPtrW(button, GWLP_HWNDPARENT), reinterpret_cast<LONG_PTR>(dialog));
    DestroyWindow(dialog);
}

TEST(WindowValues, SuccessLeavesTheLastErrorAlone) {
    HWND window = Popup();
    SetLastError(1234);
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_USERDATA), 0);
    EXPECT_EQ(GetLastError(), 1234u);
    DestroyWindow(window);
}

TEST(WindowValues, PointerIndicesNeedThePointerCalls) {
    HWND window = Popup();
    SetLastError(0);
    EXPECT_EQ(GetWindowLongW(window, GWLP_HINSTANCE), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
    SetLastError(0);
    EXPECT_EQ(GetWindowLongPtrW(window, -100), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
    SetLastError(0);
    EXPECT_EQ(GetWindowLongPtrW(Bogus(), GWL_STYLE), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(SetWindowLongW(Bogus(), GWL_ID, 1), 0);
    DestroyWindow(window);
}

TEST(WindowValues, DialogClassHasRoomForItsValues) {
    HWND dialog = Popup();
    EXPECT_EQ(SetWindowLongPtrW(dialog, DWLP_USER, 77), 0);
    EXPECT_EQ(GetWindowLongPtrW(dialog, DWLP_USER), 77);
    DestroyWindow(dialog);
}

} // namespace
