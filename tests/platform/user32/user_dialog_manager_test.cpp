// The dialog manager: dialogs made from templates (CreateDialogParamW, CreateDialogIndirectParamW,
// DialogBoxParamW) with their font, focus rule and DefDlgProcW's answers, the keyboard interface
// (IsDialogMessageW, GetNextDlgTabItem, GetNextDlgGroupItem, WM_NEXTDLGCTL, DM_GETDEFID and
// DM_SETDEFID) and the calls on controls by id.
#include "sim/dialogs.h"
#include "sim/machine.h"
#include "sim/utf.h"
#include "sim/windows_admin.h"
#include "this_module.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>

namespace {

constexpr int kSettings = 100;
constexpr int kPage = 101;

// The test's control class: it answers WM_GETDLGCODE with the code kept in its "MoltrCode"
// property, keeps a check state, and records what it is sent.
struct Heard {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Heard> g_heard;

LRESULT CALLBACK Keys(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE:
        return reinterpret_cast<LRESULT>(GetPropW(window, L"MoltrCode"));
    case BM_GETCHECK:
        return reinterpret_cast<LRESULT>(GetPropW(window, L"MoltrCheck"));
    case BM_SETCHECK:
        SetPropW(window, L"MoltrCheck", reinterpret_cast<HANDLE>(wParam));
        break;
    case WM_NCDESTROY:
        RemovePropW(window, L"MoltrCode");
        RemovePropW(window, L"MoltrCheck");
        break;
    default:
        break;
    }
    if (message == WM_SETFOCUS || message == WM_KEYDOWN || message == WM_CHAR ||
        message == EM_SETSEL || message == BM_SETCHECK || message == BM_SETSTYLE ||
        message == BM_CLICK || message == WM_SETFONT) {
        g_heard.push_back({window, message, wParam, lParam});
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

struct Told {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Told> g_told;
INT_PTR g_initResult = TRUE;

INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETFONT:
    case WM_INITDIALOG:
    case WM_COMMAND:
        g_told.push_back({message, wParam, lParam});
        if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
            EndDialog(dialog, LOWORD(wParam));
        }
        return message == WM_INITDIALOG ? g_initResult : TRUE;
    case WM_USER + 7:
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 1234);
        return TRUE;
    case WM_CTLCOLORDLG:
        return 77;
    default:
        return FALSE;
    }
}

class DialogManager : public ::testing::Test {
protected:
    void SetUp() override {
        g_heard.clear();
        g_told.clear();
        g_initResult = TRUE;
        WNDCLASSW description{};
        description.lpfnWndProc = Keys;
        description.hInstance = ThisModuleHandle();
        description.lpszClassName = L"MoltrKeys";
        RegisterClassW(&description);
    }
    void TearDown() override {
        if (dialog_) {
            DestroyWindow(dialog_);
        }
        SetFocus(nullptr);
        UnregisterClassW(L"MoltrKeys", ThisModuleHandle());
        moltr::sim::DispatchPostedMessages();
    }
    HWND Open(int id = kSettings, HWND parent = nullptr) {
        return CreateDialogParamW(ThisModuleHandle(), MAKEINTRESOURCEW(id), parent, Procedure, 99);
    }
    HWND Item(int id) const { return GetDlgItem(dialog_, id); }
    static void Code(HWND control, LRESULT code) {
        SetPropW(control, L"MoltrCode", reinterpret_cast<HANDLE>(code));
    }
    // A key pressed and released on the focused control, through the dialog's keyboard interface.
    void Press(WPARAM key) {
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
        PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
        moltr::sim::DispatchPostedMessages(dialog_);
    }
    std::vector<UINT> Commands() const {
        std::vector<UINT> ids;
        for (const Told& told : g_told) {
            if (told.message == WM_COMMAND) {
                ids.push_back(LOWORD(told.wParam));
            }
        }
        return ids;
    }
    HWND dialog_ = nullptr;
};

TEST_F(DialogManager, FontThenInitDialogWithTheFirstTabStopWhichTakesTheFocus) {
    dialog_ = Open();
    ASSERT_NE(dialog_, nullptr);
    ASSERT_GE(g_told.size(), 2u);
    EXPECT_EQ(g_told[0].message, static_cast<UINT>(WM_SETFONT));
    const auto font = reinterpret_cast<HFONT>(g_told[0].wParam);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(g_told[1].message, static_cast<UINT>(WM_INITDIALOG));
    EXPECT_EQ(g_told[1].wParam, reinterpret_cast<WPARAM>(Item(1001)));
    EXPECT_EQ(g_told[1].lParam, 99);
    EXPECT_EQ(GetFocus(), Item(1001));
    // Every control is given the dialog's font; the dialog answers it too.
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(dialog_, WM_GETFONT, 0, 0)), font);
    std::vector<int> given;
    for (const Heard& heard : g_heard) {
        if (heard.message == WM_SETFONT && reinterpret_cast<HFONT>(heard.wParam) == font) {
            given.push_back(GetDlgCtrlID(heard.window));
        }
    }
    EXPECT_EQ(given, (std::vector<int>{1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007}));
    EXPECT_TRUE(IsWindowVisible(dialog_));
    EXPECT_EQ(GetWindowLongPtrW(dialog_, DWLP_DLGPROC), reinterpret_cast<LONG_PTR>(Procedure));
    // The template's size is the client area, in the font's dialog units.
    RECT client{};
    GetClientRect(dialog_, &client);
    RECT units{0, 0, 200, 120};
    MapDialogRect(dialog_, &units);
    EXPECT_EQ(client.right, units.right);
    EXPECT_EQ(client.bottom, units.bottom);
    EXPECT_EQ(moltr::sim::WindowClassName(dialog_), u"#32770");
}

TEST_F(DialogManager, InitDialogAnsweringFalseSetsNoFocus) {
    g_initResult = FALSE;
    dialog_ = Open();
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(DialogManager, AHiddenChildDialogTakesNoFocus) {
    dialog_ = Open();
    HWND page = Open(kPage, dialog_);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(GetParent(page), dialog_);
    EXPECT_FALSE(IsWindowVisible(page));
    EXPECT_NE(GetWindowLongW(page, GWL_EXSTYLE) & WS_EX_CONTROLPARENT, 0);
    EXPECT_EQ(GetWindowLongW(page, GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_EQ(GetFocus(), Item(1001));
}

TEST_F(DialogManager, ResultsComeThroughMsgResultOrDirectly) {
    dialog_ = Open();
    EXPECT_EQ(SendMessageW(dialog_, WM_USER + 7, 0, 0), 1234);
    EXPECT_EQ(SendMessageW(dialog_, WM_CTLCOLORDLG, 0, 0), 77);
    SetWindowLongPtrW(dialog_, DWLP_USER, 0x55);
    EXPECT_EQ(GetWindowLongPtrW(dialog_, DWLP_USER), 0x55);
}

TEST_F(DialogManager, TabStopsSkipDisabledAndHiddenControlsAndWrap) {
    dialog_ = Open();
    EXPECT_EQ(GetNextDlgTabItem(dialog_, nullptr, FALSE), Item(1001));
    EXPECT_EQ(GetNextDlgTabItem(dialog_, nullptr, TRUE), Item(1007));
    EXPECT_EQ(GetNextDlgTabItem(dialog_, Item(1002), FALSE), Item(1004));
    EXPECT_EQ(GetNextDlgTabItem(dialog_, Item(1007), FALSE), Item(1001));
    EXPECT_EQ(GetNextDlgTabItem(dialog_, Item(1001), TRUE), Item(1007));
    ShowWindow(Item(1004), SW_HIDE);
    EXPECT_EQ(GetNextDlgTabItem(dialog_, Item(1002), FALSE), Item(1007));
}

TEST_F(DialogManager, TabStopsReachIntoAVisibleChildDialog) {
    dialog_ = Open();
    HWND page = Open(kPage, dialog_);
    EXPECT_EQ(GetNextDlgTabItem(dialog_, Item(1007), FALSE), Item(1001));
    ShowWindow(page, SW_SHOW);
    // The page was made last, so its controls come last.
    EXPECT_EQ(GetNextDlgTabItem(dialog_, Item(1007), FALSE), GetDlgItem(page, 2001));
    EXPECT_EQ(GetNextDlgTabItem(dialog_, GetDlgItem(page, 2002), FALSE), Item(1001));
}

TEST_F(DialogManager, GroupsRunFromOneGroupControlToTheNext) {
    dialog_ = Open();
    EXPECT_EQ(GetNextDlgGroupItem(dialog_, Item(1004), FALSE), Item(1005));
    EXPECT_EQ(GetNextDlgGroupItem(dialog_, Item(1006), FALSE), Item(1004));
    EXPECT_EQ(GetNextDlgGroupItem(dialog_, Item(1004), TRUE), Item(1006));
    // The first group skips its disabled control.
    EXPECT_EQ(GetNextDlgGroupItem(dialog_, Item(1002), FALSE), Item(1000));
    EXPECT_EQ(GetNextDlgGroupItem(dialog_, Item(1007), FALSE), Item(1007));
}

TEST_F(DialogManager, TabAndShiftTabMoveTheFocusAndSelectAnEditsText) {
    dialog_ = Open();
    Code(Item(1002), DLGC_HASSETSEL | DLGC_WANTCHARS);
    g_heard.clear();
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), Item(1002));
    ASSERT_GE(g_heard.size(), 2u);
    EXPECT_EQ(g_heard[0].message, static_cast<UINT>(EM_SETSEL));
    EXPECT_EQ(g_heard[0].wParam, 0u);
    EXPECT_EQ(g_heard[0].lParam, -1);
    EXPECT_EQ(g_heard[1].message, static_cast<UINT>(WM_SETFOCUS));
    // The dialog took the key: the control never heard it.
    for (const Heard& heard : g_heard) {
        EXPECT_NE(heard.message, static_cast<UINT>(WM_KEYDOWN));
    }
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_SHIFT, 1);
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), Item(1001));
    PostMessageW(GetFocus(), WM_KEYUP, VK_SHIFT, 0xC0000001);
    moltr::sim::DispatchPostedMessages(dialog_);
}

TEST_F(DialogManager, AControlThatWantsTheKeyGetsItWithItsCharacter) {
    dialog_ = Open();
    Code(Item(1001), DLGC_WANTTAB | DLGC_WANTCHARS);
    g_heard.clear();
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), Item(1001));
    ASSERT_EQ(g_heard.size(), 2u);
    EXPECT_EQ(g_heard[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(g_heard[1].message, static_cast<UINT>(WM_CHAR));
    EXPECT_EQ(g_heard[1].wParam, static_cast<WPARAM>(u'\t'));
}

TEST_F(DialogManager, ArrowsMoveWithinTheGroupAndCheckAutomaticRadioButtons) {
    dialog_ = Open();
    SetFocus(Item(1004));
    SetWindowLongW(Item(1005), GWL_STYLE,
                   GetWindowLongW(Item(1005), GWL_STYLE) | BS_AUTORADIOBUTTON);
    Code(Item(1005), DLGC_BUTTON | DLGC_RADIOBUTTON);
    g_heard.clear();
    Press(VK_DOWN);
    EXPECT_EQ(GetFocus(), Item(1005));
    bool clicked = false;
    for (const Heard& heard : g_heard) {
        clicked = clicked || (heard.window == Item(1005) && heard.message == BM_CLICK);
    }
    EXPECT_TRUE(clicked);
    Press(VK_UP);
    EXPECT_EQ(GetFocus(), Item(1004));
    Press(VK_LEFT);
    EXPECT_EQ(GetFocus(), Item(1006));
}

TEST_F(DialogManager, EnterPressesTheDefaultButtonElseOkAndEscapeCancels) {
    dialog_ = Open();
    EXPECT_EQ(SendMessageW(dialog_, DM_GETDEFID, 0, 0), 0);
    Press(VK_RETURN);
    EXPECT_EQ(Commands(), std::vector<UINT>{IDOK});
    g_told.clear();
    EXPECT_TRUE(SendMessageW(dialog_, DM_SETDEFID, 1007, 0));
    EXPECT_EQ(SendMessageW(dialog_, DM_GETDEFID, 0, 0), MAKELONG(1007, DC_HASDEFID));
    Press(VK_RETURN);
    Press(VK_ESCAPE);
    const std::vector<UINT> expected{1007, IDCANCEL};
    EXPECT_EQ(Commands(), expected);
    // A push button with the focus is the one Enter presses, and it is drawn as the default.
    Code(Item(1002), DLGC_UNDEFPUSHBUTTON | DLGC_BUTTON);
    g_told.clear();
    g_heard.clear();
    SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(1002)), TRUE);
    EXPECT_EQ(GetFocus(), Item(1002));
    bool drawnDefault = false;
    for (const Heard& heard : g_heard) {
        drawnDefault =
            drawnDefault || (heard.window == Item(1002) && heard.message == BM_SETSTYLE &&
                             heard.wParam == BS_DEFPUSHBUTTON);
    }
    EXPECT_TRUE(drawnDefault);
    Press(VK_RETURN);
    EXPECT_EQ(Commands(), std::vector<UINT>{1002});
}

TEST_F(DialogManager, KeysOfOtherWindowsAreNotTheDialogs) {
    dialog_ = Open();
    HWND other = CreateWindowExW(0, L"MoltrKeys", L"", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr,
                                 ThisModuleHandle(), nullptr);
    MSG message{other, WM_KEYDOWN, VK_RETURN, 1, 0, {0, 0}};
    EXPECT_FALSE(IsDialogMessageW(dialog_, &message));
    EXPECT_FALSE(IsDialogMessageW(nullptr, &message));
    EXPECT_TRUE(Commands().empty());
    DestroyWindow(other);
}

TEST_F(DialogManager, CloseIsAPostedCancel) {
    dialog_ = Open();
    SendMessageW(dialog_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Commands().empty());
    moltr::sim::DispatchPostedMessages(dialog_);
    EXPECT_EQ(Commands(), std::vector<UINT>{IDCANCEL});
}

TEST_F(DialogManager, NumbersOfControlsAsGetDlgItemIntReadsThem) {
    dialog_ = Open();
    struct Case {
        const WCHAR* text;
        BOOL isSigned;
        BOOL translated;
        UINT value;
    };
    const Case cases[] = {
        {L" 42 ", FALSE, TRUE, 42},
        {L"-7", TRUE, TRUE, static_cast<UINT>(-7)},
        {L"-7", FALSE, FALSE, 0},
        {L"12a", TRUE, FALSE, 0},
        {L"", TRUE, FALSE, 0},
        {L"4294967295", FALSE, TRUE, 4294967295u},
        {L"4294967296", FALSE, FALSE, 0},
        {L"2147483648", TRUE, FALSE, 0},
        {L"-2147483648", TRUE, TRUE, 0x80000000u},
    };
    for (const Case& test : cases) {
        SetDlgItemTextW(dialog_, 1001, test.text);
        BOOL translated = 2;
        EXPECT_EQ(GetDlgItemInt(dialog_, 1001, &translated, test.isSigned), test.value);
        EXPECT_EQ(translated, test.translated);
    }
    EXPECT_TRUE(SetDlgItemInt(dialog_, 1001, static_cast<UINT>(-15), TRUE));
    WCHAR text[16];
    EXPECT_EQ(GetDlgItemTextW(dialog_, 1001, text, 16), 3u);
    EXPECT_EQ(moltr::sim::Utf8(text), "-15");
    SetDlgItemInt(dialog_, 1001, static_cast<UINT>(-15), FALSE);
    EXPECT_EQ(GetDlgItemInt(dialog_, 1001, nullptr, FALSE), 4294967281u);
}

TEST_F(DialogManager, ItemCallsOnAMissingIdSayItIsNotFound) {
    dialog_ = Open();
    SetLastError(0);
    EXPECT_FALSE(SetDlgItemTextW(dialog_, 4242, L"x"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CONTROL_ID_NOT_FOUND));
    WCHAR text[4] = {u'z', u'z', 0, 0};
    EXPECT_EQ(GetDlgItemTextW(dialog_, 4242, text, 4), 0u);
    EXPECT_EQ(text[0], 0);
    BOOL translated = TRUE;
    EXPECT_EQ(GetDlgItemInt(dialog_, 4242, &translated, TRUE), 0u);
    EXPECT_FALSE(translated);
    EXPECT_EQ(SendDlgItemMessageW(dialog_, 4242, WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_FALSE(CheckDlgButton(dialog_, 4242, BST_CHECKED));
}

TEST_F(DialogManager, CheckRadioButtonTellsEveryControlOfTheRange) {
    dialog_ = Open();
    g_heard.clear();
    EXPECT_TRUE(CheckRadioButton(dialog_, 1004, 1006, 1005));
    std::vector<std::pair<int, WPARAM>> checks;
    for (const Heard& heard : g_heard) {
        if (heard.message == BM_SETCHECK) {
            checks.emplace_back(GetDlgCtrlID(heard.window), heard.wParam);
        }
    }
    const std::vector<std::pair<int, WPARAM>> expected{
        {1004, BST_UNCHECKED}, {1005, BST_CHECKED}, {1006, BST_UNCHECKED}};
    EXPECT_EQ(checks, expected);
    EXPECT_EQ(IsDlgButtonChecked(dialog_, 1005), static_cast<UINT>(BST_CHECKED));
    EXPECT_TRUE(CheckDlgButton(dialog_, 1005, BST_UNCHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dialog_, 1005), static_cast<UINT>(BST_UNCHECKED));
}

TEST_F(DialogManager, FocusComesBackToItsControlWhenTheDialogIsActivatedAgain) {
    dialog_ = Open();
    SetActiveWindow(dialog_);
    SetFocus(Item(1004));
    HWND other = CreateWindowExW(0, L"MoltrKeys", L"", WS_POPUP | WS_VISIBLE, 0, 0, 5, 5, nullptr,
                                 nullptr, ThisModuleHandle(), nullptr);
    SetActiveWindow(other);
    SetActiveWindow(dialog_);
    EXPECT_EQ(GetFocus(), Item(1004));
    DestroyWindow(other);
}

TEST_F(DialogManager, TheTemplatesFontIsDeletedWithTheDialog) {
    const size_t before = moltr::sim::GdiObjectCount();
    dialog_ = Open();
    EXPECT_GT(moltr::sim::GdiObjectCount(), before);
    DestroyWindow(dialog_);
    dialog_ = nullptr;
    EXPECT_EQ(moltr::sim::GdiObjectCount(), before);
}

TEST_F(DialogManager, ModalFromAResourceEndsWithTheKeyboardsAnswer) {
    moltr::sim::TestMachine machine;
    moltr::sim::DialogResponse response;
    response.control = IDCANCEL;
    moltr::sim::SetDialogResponse(response);
    EXPECT_EQ(
        DialogBoxParamW(ThisModuleHandle(), MAKEINTRESOURCEW(kSettings), nullptr, Procedure, 5),
        IDCANCEL);
    const std::vector<moltr::sim::DialogRecord> records = moltr::sim::DialogRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].templateId, kSettings);
    EXPECT_EQ(moltr::sim::Utf8(records[0].caption), "Settings");
    SetLastError(0);
    EXPECT_EQ(DialogBoxParamW(ThisModuleHandle(), MAKEINTRESOURCEW(4242), nullptr, Procedure, 0),
              -1);
    EXPECT_EQ(CreateDialogParamW(ThisModuleHandle(), MAKEINTRESOURCEW(4242), nullptr, Procedure, 0),
              nullptr);
}

} // namespace
