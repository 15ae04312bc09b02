// The simulated user's mouse and keyboard: ClickControl, TypeText, PressKey and ChooseEntry, as
// the messages reach the controls of a dialog and the dialog itself.
#include "sim/user_input.h"
#include "sim/windows_admin.h"
#include "this_module.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <vector>

namespace {

struct Heard {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Heard&) const = default;
};
std::vector<Heard> g_heard;

bool Recorded(UINT message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR ||
           message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_SETFOCUS ||
           message == CB_SHOWDROPDOWN || message == CB_SETCURSEL || message == LB_SETCURSEL;
}

LRESULT CALLBACK Field(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Recorded(message)) {
        g_heard.push_back({window, message, wParam, lParam});
    }
    if (message == WM_GETDLGCODE) {
        return DLGC_WANTCHARS;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

WNDPROC g_list = nullptr;
LRESULT CALLBACK ListRecorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Recorded(message)) {
        g_heard.push_back({window, message, wParam, lParam});
    }
    return CallWindowProcW(g_list, window, message, wParam, lParam);
}

std::vector<WPARAM> g_commands;
INT_PTR CALLBACK Procedure(HWND, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND) {
        g_commands.push_back(wParam);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

class SimulatedUser : public ::testing::Test {
protected:
    void SetUp() override {
        g_heard.clear();
        g_commands.clear();
        WNDCLASSW description{};
        description.lpfnWndProc = Field;
        description.hInstance = ThisModuleHandle();
        description.lpszClassName = L"MoltrField";
        RegisterClassW(&description);
        dialog_ = CreateWindowExW(0, L"#32770", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr,
                                  nullptr, ThisModuleHandle(), nullptr);
        SetWindowLongPtrW(dialog_, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(Procedure));
        first_ = Child(L"MoltrField", 1, WS_TABSTOP);
        second_ = Child(L"MoltrField", 2, WS_TABSTOP);
    }
    void TearDown() override {
        DestroyWindow(dialog_);
        UnregisterClassW(L"MoltrField", ThisModuleHandle());
    }
    HWND Child(const WCHAR* className, int id, DWORD style) {
        return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | style, 10, 10 * id, 80,
                               12, dialog_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               ThisModuleHandle(), nullptr);
    }
    std::vector<Heard> Of(UINT message) const {
        std::vector<Heard> found;
        for (const Heard& heard : g_heard) {
            if (heard.message == message) {
                found.push_back(heard);
            }
        }
        return found;
    }
    HWND dialog_ = nullptr;
    HWND first_ = nullptr;
    HWND second_ = nullptr;
};

TEST_F(SimulatedUser, TypingFocusesTheControlAndStrikesAKeyPerCharacter) {
    ASSERT_TRUE(moltr::sim::TypeText(second_, u"aB!\u00E9"));
    EXPECT_EQ(GetFocus(), second_);
    std::vector<WPARAM> characters;
    for (const Heard& heard : Of(WM_CHAR)) {
        EXPECT_EQ(heard.window, second_);
        characters.push_back(heard.wParam);
    }
    EXPECT_EQ(characters, (std::vector<WPARAM>{u'a', u'B', u'!', 0xE9}));
    const std::vector<Heard> downs = Of(WM_KEYDOWN);
    ASSERT_EQ(downs.size(), 6u); // Shift goes down for "B" and for "!"
    EXPECT_EQ(downs[0].wParam, static_cast<WPARAM>('A'));
    EXPECT_EQ(downs[1].wParam, static_cast<WPARAM>(VK_SHIFT));
    EXPECT_EQ(downs[2].wParam, static_cast<WPARAM>('B'));
    EXPECT_EQ(downs[5].wParam, MAKEWPARAM(VK_PACKET, 0xE9));
    EXPECT_EQ(Of(WM_KEYUP).size(), 6u);
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);
}

TEST_F(SimulatedUser, ATabTypedMovesOnAndTheRestGoesToTheNextControl) {
    ASSERT_TRUE(moltr::sim::TypeText(first_, u"x\ty"));
    EXPECT_EQ(GetFocus(), second_);
    const std::vector<Heard> characters = Of(WM_CHAR);
    ASSERT_EQ(characters.size(), 2u);
    EXPECT_EQ(characters[0].window, first_);
    EXPECT_EQ(characters[1].window, second_);
}

TEST_F(SimulatedUser, EnterPressedOnAControlIsTheDialogsOk) {
    ASSERT_TRUE(moltr::sim::PressKey(first_, VK_RETURN));
    EXPECT_EQ(g_commands, std::vector<WPARAM>{MAKEWPARAM(IDOK, BN_CLICKED)});
}

TEST_F(SimulatedUser, AClickLandsInTheMiddleWithTheFocus) {
    ASSERT_TRUE(moltr::sim::ClickControl(second_));
    EXPECT_EQ(GetFocus(), second_);
    const std::vector<Heard> downs = Of(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].wParam, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(downs[0].lParam, MAKELPARAM(40, 6));
    EXPECT_EQ(Of(WM_LBUTTONUP).size(), 1u);
    // Nobody clicks what cannot be seen or used.
    ShowWindow(first_, SW_HIDE);
    EXPECT_FALSE(moltr::sim::ClickControl(first_));
    EnableWindow(second_, FALSE);
    EXPECT_FALSE(moltr::sim::TypeText(second_, u"z"));
    EXPECT_FALSE(moltr::sim::ClickControl(nullptr));
}

TEST_F(SimulatedUser, ChoosingFromAComboBoxOpensItsListAndClicksTheEntry) {
    HWND combo = Child(L"ComboBox", 3, WS_TABSTOP | CBS_DROPDOWNLIST);
    for (const WCHAR* text : {L"One", L"Two", L"Three", L"Four"}) {
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    g_list = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(combo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListRecorder)));
    g_heard.clear();
    ASSERT_TRUE(moltr::sim::ChooseEntry(combo, 3)); // below what the short list shows at first
    // A user's two clicks, the field's and the entry's; the combo box itself tells the parent.
    EXPECT_EQ(Of(WM_LBUTTONDOWN).size(), 2u);
    EXPECT_TRUE(Of(CB_SETCURSEL).empty());
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), FALSE);
    const std::vector<WPARAM> notified{MAKEWPARAM(3, CBN_SETFOCUS), MAKEWPARAM(3, CBN_DROPDOWN),
                                       MAKEWPARAM(3, CBN_SELENDOK), MAKEWPARAM(3, CBN_CLOSEUP),
                                       MAKEWPARAM(3, CBN_SELCHANGE)};
    EXPECT_EQ(g_commands, notified);
    EXPECT_EQ(GetFocus(), combo);
    // The entry already chosen is no change; an entry the list lacks cannot be chosen.
    g_commands.clear();
    ASSERT_TRUE(moltr::sim::ChooseEntry(combo, 3));
    EXPECT_EQ(g_commands,
              (std::vector<WPARAM>{MAKEWPARAM(3, CBN_DROPDOWN), MAKEWPARAM(3, CBN_SELENDOK),
                                   MAKEWPARAM(3, CBN_CLOSEUP)}));
    EXPECT_FALSE(moltr::sim::ChooseEntry(combo, 4));
}

TEST_F(SimulatedUser, ChoosingFromAListBoxClicksTheEntry) {
    HWND list = Child(L"ListBox", 4, WS_TABSTOP | LBS_NOTIFY);
    for (const WCHAR* text : {L"One", L"Two", L"Three"}) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    g_list = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListRecorder)));
    ASSERT_TRUE(moltr::sim::ChooseEntry(list, 2)); // scrolled into the short list's view
    EXPECT_TRUE(Of(LB_SETCURSEL).empty());
    EXPECT_EQ(Of(WM_LBUTTONDOWN).size(), 1u);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2);
    std::vector<WPARAM> fromList;
    for (WPARAM command : g_commands) {
        if (LOWORD(command) == 4) {
            fromList.push_back(command);
        }
    }
    EXPECT_EQ(fromList,
              (std::vector<WPARAM>{MAKEWPARAM(4, LBN_SETFOCUS), MAKEWPARAM(4, LBN_SELCHANGE)}));
    EXPECT_FALSE(moltr::sim::ChooseEntry(list, 3));
    EXPECT_FALSE(moltr::sim::ChooseEntry(first_, 0)); // not a list
}

} // namespace
