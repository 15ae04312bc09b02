// `moltr desktop`: the responder it sets answers this process's dialogs, and the dialogs shown are
// listed as text and JSON; bad input.
#include "moltr_run.h"

#include "sim/dialogs.h"
#include "sim/machine.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace moltr::test {
namespace {

INT_PTR CALLBACK EndOnCommand(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND) {
        EndDialog(dialog, LOWORD(wParam));
    }
    return message == WM_INITDIALOG || message == WM_COMMAND;
}

// A template with the caption "Hello" and two buttons, OK (1) and Cancel (2).
std::vector<WORD> TwoButtonTemplate() {
    std::vector<WORD> words = {LOWORD(WS_POPUP),
                               HIWORD(WS_POPUP),
                               0,
                               0,
                               2,
                               0,
                               0,
                               100,
                               50,
                               0,
                               0,
                               u'H',
                               u'e',
                               u'l',
                               u'l',
                               u'o',
                               0};
    for (WORD id : {IDOK, IDCANCEL}) {
        words.resize((words.size() + 1) & ~size_t{1});
        const std::vector<WORD> item = {LOWORD(WS_VISIBLE),
                                        HIWORD(WS_VISIBLE),
                                        0,
                                        0,
                                        5,
                                        5,
                                        40,
                                        14,
                                        id,
                                        0xFFFF,
                                        0x0080,
                                        u'B',
                                        static_cast<WORD>(u'0' + id),
                                        0,
                                        0};
        words.insert(words.end(), item.begin(), item.end());
    }
    return words;
}

TEST(MoltrDesktop, RespondAnswersDialogsAndDialogsListsThem) {
    sim::TestMachine machine;
    ASSERT_EQ(Moltr("desktop respond 2 --after 5").status, 0);
    const std::vector<WORD> words = TwoButtonTemplate();
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, reinterpret_cast<const DLGTEMPLATE*>(words.data()),
                                      nullptr, EndOnCommand, 0),
              IDCANCEL);
    const MoltrRun json = Moltr("desktop dialogs --json");
    ASSERT_EQ(json.status, 0);
    EXPECT_EQ(json.output, "[{\"template\":0,\"caption\":\"Hello\",\"controls\":[{\"id\":1,"
                           "\"text\":\"B1\"},{\"id\":2,\"text\":\"B2\"}],\"appWindowDisabled\":"
                           "false,\"appWindowEnabledAfter\":false,\"closedBy\":2}]\n");
    const MoltrRun text = Moltr("desktop dialogs");
    EXPECT_EQ(text.status, 0);
    EXPECT_NE(text.output.find("\"Hello\" closed by 2"), std::string::npos) << text.output;
}

TEST(MoltrDesktop, HelpAndBadInput) {
    sim::TestMachine machine;
    EXPECT_EQ(Moltr("desktop dialogs").output, "no dialogs\n");
    const MoltrRun help = Moltr("desktop --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("usage: moltr desktop respond"), std::string::npos);
    for (const char* bad : {"desktop", "desktop respond", "desktop respond x", "desktop respond -1",
                            "desktop respond 1 --after", "desktop respond 1 --later 5",
                            "desktop dialogs --xml", "desktop shout"}) {
        EXPECT_EQ(Moltr(bad).status, 2) << bad;
    }
}

} // namespace
} // namespace moltr::test
