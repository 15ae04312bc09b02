// Modal dialogs answered by the machine's responder: the messages the procedure receives, the
// owner disabled while the dialog is open, the record of every dialog, and the failure answers.
#include "sim/dialogs.h"
#include "sim/machine.h"
#include "sim/utf.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <utility>
#include <vector>

namespace {

using moltr::sim::DialogRecord;
using moltr::sim::DialogRecords;
using moltr::sim::DialogResponse;
using moltr::sim::SetDialogResponse;
using moltr::sim::Utf8;

constexpr int kPicture = 100;
constexpr int kOther = 200;

// A DLGTEMPLATE in memory: caption "Question", an OK button, an owner-drawn picture and a second
// button, each item on a DWORD boundary.
class TemplateBytes {
public:
    TemplateBytes() {
        Dword(WS_POPUP | WS_CAPTION | DS_MODALFRAME);
        Dword(0);
        Word(3);
        Units(0, 0, 200, 100);
        Word(0);
        Word(0);
        Text(u"Question");
        Item(BS_DEFPUSHBUTTON | WS_VISIBLE, IDOK, 0x0080, u"OK");
        Item(SS_OWNERDRAW | WS_VISIBLE, kPicture, 0x0082, u"");
        Item(BS_PUSHBUTTON | WS_VISIBLE, kOther, 0x0080, u"Other");
    }
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

private:
    void Word(WORD value) {
        const auto* at = reinterpret_cast<const BYTE*>(&value);
        bytes_.insert(bytes_.end(), at, at + sizeof value);
    }
    void Dword(DWORD value) {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Units(short x, short y, short cx, short cy) {
        for (short value : {x, y, cx, cy}) {
            Word(static_cast<WORD>(value));
        }
    }
    void Text(const char16_t* text) {
        for (; *text; ++text) {
            Word(*text);
        }
        Word(0);
    }
    void Item(DWORD style, WORD id, WORD classOrdinal, const char16_t* title) {
        bytes_.resize((bytes_.size() + 3) & ~size_t{3});
        Dword(style);
        Dword(0);
        Units(10, 10, 50, 14);
        Word(id);
        Word(0xFFFF);
        Word(classOrdinal);
        Text(title);
        Word(0);
    }
    alignas(4) std::vector<BYTE> bytes_;
};

// What the procedure saw.
struct Seen {
    LPARAM initParam = 0;
    std::vector<UINT> messages;
    std::vector<DRAWITEMSTRUCT> drawn;
    std::vector<WORD> commands;
    HWND owner = nullptr;
    bool ownerEnabledDuring = true;
    bool endOnCommand = true;
    bool endOnInit = false;
};

Seen* g_seen = nullptr;

INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    // A dialog procedure sees the window's own messages too; these are the dialog manager's.
    if (message == WM_INITDIALOG || message == WM_DRAWITEM || message == WM_COMMAND) {
        g_seen->messages.push_back(message);
    }
    switch (message) {
    case WM_INITDIALOG:
        g_seen->initParam = lParam;
        if (g_seen->endOnInit) {
            EndDialog(dialog, 3);
        }
        return TRUE;
    case WM_DRAWITEM:
        g_seen->drawn.push_back(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_COMMAND:
        g_seen->commands.push_back(LOWORD(wParam));
        g_seen->ownerEnabledDuring = g_seen->owner && IsWindowEnabled(g_seen->owner);
        if (g_seen->endOnCommand) {
            EndDialog(dialog, 100 + LOWORD(wParam));
        }
        return TRUE;
    default:
        return FALSE;
    }
}

class DialogBoxes : public ::testing::Test {
protected:
    void SetUp() override { g_seen = &seen_; }
    void TearDown() override { g_seen = nullptr; }

    INT_PTR Show(HWND parent = nullptr) {
        return DialogBoxIndirectParamW(nullptr, template_.get(), parent, Procedure, 42);
    }

    moltr::sim::TestMachine machine_;
    TemplateBytes template_;
    Seen seen_;
};

TEST_F(DialogBoxes, DefaultResponderPressesOkAfterInitAndDrawing) {
    EXPECT_EQ(Show(), 100 + IDOK);
    EXPECT_EQ(seen_.initParam, 42);
    // Painting may draw the owner-drawn picture more than once, always between the two.
    ASSERT_GE(seen_.messages.size(), 3u);
    EXPECT_EQ(seen_.messages.front(), static_cast<UINT>(WM_INITDIALOG));
    EXPECT_EQ(seen_.messages.back(), static_cast<UINT>(WM_COMMAND));
    for (size_t i = 1; i + 1 < seen_.messages.size(); ++i) {
        EXPECT_EQ(seen_.messages[i], static_cast<UINT>(WM_DRAWITEM));
    }
    ASSERT_FALSE(seen_.drawn.empty());
    const DRAWITEMSTRUCT& item = seen_.drawn[0];
    EXPECT_EQ(item.CtlType, static_cast<UINT>(ODT_STATIC));
    EXPECT_EQ(item.CtlID, static_cast<UINT>(kPicture));
    EXPECT_EQ(item.itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
    EXPECT_NE(item.hDC, nullptr);
    EXPECT_EQ(item.rcItem.left, 0);
    EXPECT_GT(item.rcItem.right, 0);
    EXPECT_EQ(seen_.commands, std::vector<WORD>{IDOK});

    const std::vector<DialogRecord> records = DialogRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(Utf8(records[0].caption), "Question");
    ASSERT_EQ(records[0].controls.size(), 3u);
    EXPECT_EQ(records[0].controls[0].id, IDOK);
    EXPECT_EQ(Utf8(records[0].controls[0].text), "OK");
    EXPECT_EQ(records[0].controls[2].id, kOther);
    EXPECT_EQ(Utf8(records[0].controls[2].text), "Other");
    EXPECT_EQ(records[0].closedBy, IDOK);
    EXPECT_EQ(records[0].ownerDrawn, 1);
    EXPECT_EQ(records[0].process, GetCurrentProcessId());
    EXPECT_EQ(records[0].appWindow, nullptr);
}

TEST_F(DialogBoxes, ResponderPressesTheChosenControlOrClosesTheDialog) {
    SetDialogResponse(DialogResponse{kOther, 20});
    EXPECT_EQ(moltr::sim::CurrentDialogResponse().control, kOther);
    EXPECT_EQ(Show(), 100 + kOther);
    // A control the dialog lacks cannot be pressed: the user closes it instead.
    SetDialogResponse(DialogResponse{999, 0});
    EXPECT_EQ(Show(), 100 + IDCANCEL);
    moltr::sim::ClearDialogResponse();
    EXPECT_EQ(Show(), 100 + IDOK);
    const std::vector<DialogRecord> records = DialogRecords();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].closedBy, kOther);
    EXPECT_EQ(records[1].closedBy, IDCANCEL);
    EXPECT_EQ(records[2].closedBy, IDOK);
    moltr::sim::ClearDialogRecords();
    EXPECT_TRUE(DialogRecords().empty());
}

TEST_F(DialogBoxes, ProcedureThatNeverEndsDoesNotHang) {
    seen_.endOnCommand = false;
    EXPECT_EQ(Show(), 0);
    EXPECT_EQ(seen_.commands, (std::vector<WORD>{IDOK, IDCANCEL}));
    ASSERT_EQ(DialogRecords().size(), 1u);
    EXPECT_EQ(DialogRecords()[0].closedBy, 0);
}

TEST_F(DialogBoxes, EndedDuringInitDialogIsNeitherDrawnNorPressed) {
    seen_.endOnInit = true;
    EXPECT_EQ(Show(), 3);
    EXPECT_EQ(seen_.messages, std::vector<UINT>{WM_INITDIALOG});
}

TEST_F(DialogBoxes, OwnerIsDisabledWhileOpenAndEnabledAfter) {
    HWND owner = CreateWindowExW(0, L"Static", L"App", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                                 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    seen_.owner = owner;
    EXPECT_EQ(Show(owner), 100 + IDOK);
    EXPECT_FALSE(seen_.ownerEnabledDuring);
    EXPECT_TRUE(IsWindowEnabled(owner));
    ASSERT_EQ(DialogRecords().size(), 1u);
    EXPECT_TRUE(DialogRecords()[0].appWindowDisabled);
    EXPECT_TRUE(DialogRecords()[0].appWindowEnabledAfter);
    DestroyWindow(owner);
}

// Without an owner, the application window is that of the thread whose input the showing thread
// shares; whether it is enabled again is known when the thread lets go.
TEST_F(DialogBoxes, SharedInputWindowIsTheApplicationWindow) {
    HWND app = CreateWindowExW(0, L"Static", L"App", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                               200, nullptr, nullptr, nullptr, nullptr);
    std::pair<DWORD, HWND> context(GetCurrentThreadId(), app);
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID parameter) -> DWORD {
            auto* context = static_cast<std::pair<DWORD, HWND>*>(parameter);
            const DWORD self = GetCurrentThreadId();
            AttachThreadInput(self, context->first, TRUE);
            EnableWindow(context->second, FALSE);
            TemplateBytes bytes;
            DialogBoxIndirectParamW(nullptr, bytes.get(), nullptr, Procedure, 0);
            EnableWindow(context->second, TRUE);
            AttachThreadInput(self, context->first, FALSE);
            return 0;
        },
        &context, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 30000), WAIT_OBJECT_0);
    CloseHandle(thread);
    ASSERT_EQ(DialogRecords().size(), 1u);
    EXPECT_EQ(DialogRecords()[0].appWindow, app);
    EXPECT_TRUE(DialogRecords()[0].appWindowDisabled);
    EXPECT_TRUE(DialogRecords()[0].appWindowEnabledAfter);
    DestroyWindow(app);
}

TEST_F(DialogBoxes, FailureAnswers) {
    SetLastError(0);
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, template_.get(), reinterpret_cast<HWND>(0x7777),
                                      Procedure, 0),
              0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    SetLastError(0);
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, nullptr, nullptr, Procedure, 0), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_TRUE(seen_.messages.empty());
    SetLastError(0);
    EXPECT_FALSE(EndDialog(reinterpret_cast<HWND>(0x7777), 1));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_TRUE(DialogRecords().empty());
}

} // namespace
