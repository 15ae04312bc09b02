// MessageBoxW answered by the responder and recorded, and the recorded help calls of WinHelpW and
// the HTML Help control's stand-in.
#include "sim/help_calls.h"
#include "sim/message_box.h"
#include "sim/utf.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

using moltr::sim::ClearHelpCalls;
using moltr::sim::ClearMessageBoxCalls;
using moltr::sim::HelpCall;
using moltr::sim::HelpCalls;
using moltr::sim::MessageBoxCall;
using moltr::sim::MessageBoxCalls;
using moltr::sim::SetMessageBoxResponder;
using moltr::sim::Utf8;

class MessageBoxes : public ::testing::Test {
protected:
    void SetUp() override { ClearMessageBoxCalls(); }
    void TearDown() override { SetMessageBoxResponder(nullptr); }
};

TEST_F(MessageBoxes, DefaultResponderPressesTheDefaultButton) {
    EXPECT_EQ(MessageBoxW(nullptr, L"t", L"c", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxW(nullptr, L"t", L"c", MB_OKCANCEL), IDOK);
    EXPECT_EQ(MessageBoxW(nullptr, L"t", L"c", MB_ABORTRETRYIGNORE), IDABORT);
    EXPECT_EQ(MessageBoxW(nullptr, L"t", L"c", MB_YESNOCANCEL), IDYES);
    EXPECT_EQ(MessageBoxW(nullptr, L"t", L"c", MB_YESNO), IDYES);
    EXPECT_EQ(MessageBoxW(nullptr, L"t", L"c", MB_RETRYCANCEL), IDRETRY);
    EXPECT_EQ(MessageBoxW(nullptr, L"t", L"c", MB_CANCELTRYCONTINUE), IDCANCEL);
    EXPECT_EQ(MessageBoxW(nullptr, L"t", L"c", MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
    EXPECT_EQ(MessageBoxW(nullptr, L"t", L"c", MB_YESNO | MB_DEFBUTTON2), IDNO);
    // A default button the box does not have: the first.
    EXPECT_EQ(MessageBoxW(nullptr, L"t", L"c", MB_OK | MB_DEFBUTTON4), IDOK);
    EXPECT_EQ(MessageBoxCalls().size(), 10u);
}

TEST_F(MessageBoxes, EveryCallIsRecordedInOrder) {
    HWND owner = CreateWindowExW(0, L"#32770", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                                 nullptr);
    MessageBoxW(owner, L"First", L"Caption", MB_ICONWARNING | MB_RTLREADING);
    MessageBoxW(nullptr, L"Second", nullptr, MB_YESNO);
    const std::vector<MessageBoxCall> calls = MessageBoxCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].owner, owner);
    EXPECT_EQ(Utf8(calls[0].text), "First");
    EXPECT_EQ(Utf8(calls[0].caption), "Caption");
    EXPECT_EQ(calls[0].type, UINT{MB_ICONWARNING | MB_RTLREADING});
    EXPECT_EQ(calls[0].result, IDOK);
    EXPECT_EQ(Utf8(calls[1].caption), "Error"); // the system's caption when none is given
    EXPECT_EQ(calls[1].result, IDYES);
    ClearMessageBoxCalls();
    EXPECT_TRUE(MessageBoxCalls().empty());
    DestroyWindow(owner);
}

TEST_F(MessageBoxes, ScriptedResponderDecidesAndSeesTheCall) {
    SetMessageBoxResponder(
        [](const MessageBoxCall& call) { return Utf8(call.text) == "Delete?" ? IDNO : IDCANCEL; });
    EXPECT_EQ(MessageBoxW(nullptr, L"Delete?", L"", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBoxW(nullptr, L"Other", L"", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBoxCalls().back().result, IDCANCEL);
    SetMessageBoxResponder(nullptr);
    EXPECT_EQ(MessageBoxW(nullptr, L"Other", L"", MB_OKCANCEL), IDOK);
}

TEST_F(MessageBoxes, NullTextShowsAnEmptyBox) {
    EXPECT_EQ(MessageBoxW(nullptr, nullptr, L"c", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxCalls().back().text, u"");
}

TEST_F(MessageBoxes, BadStyleOrOwnerFailsWithoutAskingTheResponder) {
    int asked = 0;
    SetMessageBoxResponder([&asked](const MessageBoxCall&) {
        ++asked;
        return IDOK;
    });
    SetLastError(0);
    EXPECT_EQ(MessageBoxW(nullptr, L"t", L"c", 7), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MSGBOX_STYLE));
    SetLastError(0);
    EXPECT_EQ(
        MessageBoxW(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x7FFF0001)), L"t", L"c", MB_OK),
        0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(asked, 0);
    ASSERT_EQ(MessageBoxCalls().size(), 2u);
    EXPECT_EQ(MessageBoxCalls()[0].result, 0);
}

class Help : public ::testing::Test {
protected:
    void SetUp() override { ClearHelpCalls(); }
};

TEST_F(Help, WinHelpIsRecorded) {
    HWND window = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x10002));
    EXPECT_TRUE(WinHelpW(window, L"C:\\DRIVERS\\MOLTR.HLP", HELP_CONTEXT, 1234));
    const std::vector<HelpCall> calls = HelpCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].kind, HelpCall::Kind::WinHelp);
    EXPECT_EQ(calls[0].window, window);
    EXPECT_EQ(Utf8(calls[0].file), "C:\\DRIVERS\\MOLTR.HLP");
    EXPECT_EQ(calls[0].command, UINT{HELP_CONTEXT});
    EXPECT_EQ(calls[0].data, 1234u);
}

TEST_F(Help, HtmlHelpStandInIsRecordedAndOpensNoWindow) {
    constexpr UINT kHelpContext = 15;
    EXPECT_EQ(moltr::sim::HtmlHelpEntry()(nullptr, L"C:\\HELP\\MOLTR.CHM", kHelpContext, 77),
              nullptr);
    WinHelpW(nullptr, nullptr, HELP_CONTEXT, 1);
    const std::vector<HelpCall> calls = HelpCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].kind, HelpCall::Kind::HtmlHelp);
    EXPECT_EQ(Utf8(calls[0].file), "C:\\HELP\\MOLTR.CHM");
    EXPECT_EQ(calls[0].command, kHelpContext);
    EXPECT_EQ(calls[0].data, 77u);
    EXPECT_EQ(calls[1].file, u"");
    ClearHelpCalls();
    EXPECT_TRUE(HelpCalls().empty());
}

} // namespace
