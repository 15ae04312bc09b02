// `moltr desktop`: the responder it sets answers this process's dialogs, and the dialogs shown are
// listed as text and JSON, with their pictures saved as PNG files; bad input.
#include "moltr_run.h"
#include "png_picture.h"

#include "sim/dialogs.h"
#include "sim/machine.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <optional>
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

// A dialog of 100 by 50 units with an owner-drawn static (id 100) at 10, 10, 30 by 10 and OK.
std::vector<WORD> PictureTemplate() {
    constexpr DWORD kOwnerDrawn = WS_VISIBLE | SS_OWNERDRAW;
    std::vector<WORD> words = {
        LOWORD(WS_POPUP), HIWORD(WS_POPUP), 0, 0, 2, 0, 0, 100, 50, 0, 0, u'P', 0};
    const std::vector<std::vector<WORD>> items = {
        {LOWORD(kOwnerDrawn), HIWORD(kOwnerDrawn), 0, 0, 10, 10, 30, 10, 100, 0xFFFF, 0x0082, 0, 0},
        {LOWORD(WS_VISIBLE), HIWORD(WS_VISIBLE), 0, 0, 50, 30, 40, 14, IDOK, 0xFFFF, 0x0080, u'O',
         u'K', 0, 0}};
    for (const std::vector<WORD>& item : items) {
        words.resize((words.size() + 1) & ~size_t{1});
        words.insert(words.end(), item.begin(), item.end());
    }
    return words;
}

constexpr COLORREF kPainted = RGB(200, 16, 32);

// What the dialog looked like to its procedure: its client size and the picture's place.
struct Seen {
    RECT client{};
    RECT picture{};
};
Seen seen;

INT_PTR CALLBACK PaintPicture(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        GetClientRect(dialog, &seen.client);
        seen.picture = {10, 10, 40, 20};
        MapDialogRect(dialog, &seen.picture);
    } else if (message == WM_DRAWITEM) {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        HBRUSH brush = CreateSolidBrush(kPainted);
        FillRect(item->hDC, &item->rcItem, brush);
        DeleteObject(brush);
    } else if (message == WM_COMMAND) {
        EndDialog(dialog, LOWORD(wParam));
    }
    return message == WM_INITDIALOG || message == WM_COMMAND || message == WM_DRAWITEM;
}

TEST(MoltrDesktop, DialogsPngSavesEachDialogsSurfaceWithItsOwnerDrawnControls) {
    sim::TestMachine machine;
    const std::vector<WORD> words = PictureTemplate();
    for (int shown = 0; shown < 2; ++shown) {
        ASSERT_EQ(DialogBoxIndirectParamW(nullptr,
                                          reinterpret_cast<const DLGTEMPLATE*>(words.data()),
                                          nullptr, PaintPicture, 0),
                  IDOK);
    }
    ASSERT_EQ(sim::DialogRecords().size(), 2u);
    EXPECT_EQ(sim::DialogRecords()[0].ownerDrawn, 1);
    const std::string folder = machine.root() + "/pictures";
    const MoltrRun text = Moltr("desktop dialogs --png " + folder);
    ASSERT_EQ(text.status, 0);
    EXPECT_NE(text.output.find("picture written to " + folder + "/dialog-2.png"), std::string::npos)
        << text.output;
    EXPECT_FALSE(std::filesystem::exists(folder + "/dialog-3.png"));

    std::optional<Picture> read = ReadPng(folder + "/dialog-1.png");
    ASSERT_TRUE(read);
    const Picture& picture = *read;
    EXPECT_EQ(picture.width, static_cast<unsigned>(seen.client.right));
    EXPECT_EQ(picture.height, static_cast<unsigned>(seen.client.bottom));
    ASSERT_GT(seen.picture.right, seen.picture.left + 1);
    const LONG middleX = (seen.picture.left + seen.picture.right) / 2;
    const LONG middleY = (seen.picture.top + seen.picture.bottom) / 2;
    EXPECT_EQ(picture.At(seen.picture.left, seen.picture.top), kPainted);
    EXPECT_EQ(picture.At(middleX, middleY), kPainted);
    EXPECT_EQ(picture.At(seen.picture.right - 1, seen.picture.bottom - 1), kPainted);
    // Around the control the dialog's face shows.
    EXPECT_NE(picture.At(seen.picture.left - 1, middleY), kPainted);
    EXPECT_NE(picture.At(seen.picture.right, middleY), kPainted);
    EXPECT_NE(picture.At(middleX, seen.picture.bottom), kPainted);
}

TEST(MoltrDesktop, HelpAndBadInput) {
    sim::TestMachine machine;
    EXPECT_EQ(Moltr("desktop dialogs").output, "no dialogs\n");
    const MoltrRun help = Moltr("desktop --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("usage: moltr desktop respond"), std::string::npos);
    for (const char* bad :
         {"desktop", "desktop respond", "desktop respond x", "desktop respond -1",
          "desktop respond 1 --after", "desktop respond 1 --later 5", "desktop dialogs --xml",
          "desktop dialogs --png", "desktop dialogs --json --json", "desktop shout"}) {
        EXPECT_EQ(Moltr(bad).status, 2) << bad;
    }
}

} // namespace
} // namespace moltr::test
