// DocumentPropertiesW with DM_IN_PROMPT, AdvancedDocumentPropertiesW and PrinterPropertiesW on the
// sample printer: the driver's sheets open through compstui on the simulated desktop, where the
// queued sheet actions play the user.
#include <windows.h>
#include <winspool.h>
#include <gtest/gtest.h>
#include <vector>
#include <commctrl.h>
#include <prsht.h>
#include "sim/option_items.h"
#include "sim/property_sheets.h"
#include "sim/utf.h"
#include "ui_printer.h"

namespace moltr::test {
namespace {

using sim::SheetAction;

class DocumentPrompt : public ::testing::Test {
protected:
    explicit DocumentPrompt(const UiPrinterSetup& setup = {}) : printer_(setup) {}
    void SetUp() override { sim::ClearSheetActions(); }
    void TearDown() override { sim::ClearSheetActions(); }

    static void Press(int button) { sim::QueueSheetAction({SheetAction::Kind::Press, button, {}}); }

    std::vector<BYTE> Buffer() {
        const LONG size =
            DocumentPropertiesW(nullptr, printer_.handle(), nullptr, nullptr, nullptr, 0);
        EXPECT_GT(size, 0);
        return std::vector<BYTE>(size > 0 ? size : 1, 0xCD);
    }
    DEVMODEW* At(std::vector<BYTE>& bytes) { return reinterpret_cast<DEVMODEW*>(bytes.data()); }

    UiPrinter printer_;
};

TEST_F(DocumentPrompt, OkAnswersIdokWithTheSheetsDevmode) {
    std::vector<BYTE> plain = Buffer();
    ASSERT_EQ(
        DocumentPropertiesW(nullptr, printer_.handle(), nullptr, At(plain), nullptr, DM_OUT_BUFFER),
        IDOK);
    std::vector<BYTE> shown = Buffer();
    Press(IDOK);
    EXPECT_EQ(DocumentPropertiesW(nullptr, printer_.handle(), nullptr, At(shown), nullptr,
                                  DM_IN_PROMPT | DM_OUT_BUFFER),
              IDOK);
    EXPECT_EQ(At(shown)->dmSize, sizeof(DEVMODEW));
    EXPECT_TRUE(At(shown)->dmFields & DM_PAPERSIZE);
    EXPECT_EQ(At(shown)->dmDriverExtra, At(plain)->dmDriverExtra);
}

TEST_F(DocumentPrompt, CancelAnswersIdcancelAndLeavesTheOutputAlone) {
    std::vector<BYTE> out = Buffer();
    const std::vector<BYTE> before = out;
    Press(IDCANCEL);
    EXPECT_EQ(DocumentPropertiesW(nullptr, printer_.handle(), nullptr, At(out), nullptr,
                                  DM_IN_PROMPT | DM_OUT_BUFFER),
              IDCANCEL);
    EXPECT_EQ(out, before);
}

TEST_F(DocumentPrompt, APromptWithoutItsOutputBufferFails) {
    EXPECT_EQ(DocumentPropertiesW(nullptr, printer_.handle(), nullptr, nullptr, nullptr,
                                  DM_IN_PROMPT | DM_OUT_BUFFER),
              -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(DocumentPrompt, TheAdvancedSheetAnswersOneOrZero) {
    std::vector<BYTE> out = Buffer();
    Press(IDOK);
    EXPECT_EQ(AdvancedDocumentPropertiesW(nullptr, printer_.handle(), nullptr, At(out), nullptr),
              1);
    EXPECT_EQ(At(out)->dmSize, sizeof(DEVMODEW));
    Press(IDCANCEL);
    EXPECT_EQ(AdvancedDocumentPropertiesW(nullptr, printer_.handle(), nullptr, At(out), At(out)),
              0);
}

TEST_F(DocumentPrompt, PrinterPropertiesNeedsAPrinterHandle) {
    EXPECT_FALSE(PrinterPropertiesW(nullptr, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    HANDLE closed = nullptr;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ACCESS_USE};
    ASSERT_TRUE(OpenPrinterW(sim::W(printer_.name()), &closed, &defaults));
    ASSERT_TRUE(ClosePrinter(closed));
    EXPECT_FALSE(PrinterPropertiesW(nullptr, closed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(DocumentPrompt, ThePrinterSheetOpensForAnyOpenHandle) {
    Press(IDOK);
    EXPECT_TRUE(PrinterPropertiesW(nullptr, printer_.handle()));
    HANDLE user = nullptr;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ACCESS_USE};
    ASSERT_TRUE(OpenPrinterW(sim::W(printer_.name()), &user, &defaults));
    Press(IDOK);
    EXPECT_TRUE(PrinterPropertiesW(nullptr, user));
    ClosePrinter(user);
}

UiPrinterSetup ItemsInTheTreeView() {
    UiPrinterSetup setup;
    setup.uipSettings = "UIPTYPEDOCUMENT=1\r\nUIPTYPEPRINTER=1\r\n";
    return setup;
}

class DocumentPromptInTheTreeView : public DocumentPrompt {
protected:
    DocumentPromptInTheTreeView() : DocumentPrompt(ItemsInTheTreeView()) {}
};

// The driver's items lead the tree: orientation, paper size, source, media type, duplex, colour,
// resolution, copies, scale, then the TrueType item.
constexpr int kTrueTypeItem = 9;

TEST_F(DocumentPromptInTheTreeView, AnItemChangedInTheTreeReachesTheDevmodeOnOk) {
    bool changed = false;
    sim::QueueSheetAction({SheetAction::Kind::Run, 0, [&changed](HWND sheet) {
                               changed = sim::SetOptionItemSelection(
                                   PropSheet_GetCurrentPageHwnd(sheet), kTrueTypeItem, 2);
                           }});
    Press(IDOK);
    std::vector<BYTE> out = Buffer();
    EXPECT_EQ(DocumentPropertiesW(nullptr, printer_.handle(), nullptr, At(out), nullptr,
                                  DM_IN_PROMPT | DM_OUT_BUFFER),
              IDOK);
    EXPECT_TRUE(changed);
    EXPECT_EQ(At(out)->dmTTOption, DMTT_BITMAP);
}

TEST_F(DocumentPromptInTheTreeView, AnItemChangedAndCancelledLeavesTheOutputAlone) {
    sim::QueueSheetAction({SheetAction::Kind::Run, 0, [](HWND sheet) {
                               sim::SetOptionItemSelection(PropSheet_GetCurrentPageHwnd(sheet),
                                                           kTrueTypeItem, 2);
                           }});
    Press(IDCANCEL);
    std::vector<BYTE> out = Buffer();
    const std::vector<BYTE> before = out;
    EXPECT_EQ(DocumentPropertiesW(nullptr, printer_.handle(), nullptr, At(out), nullptr,
                                  DM_IN_PROMPT | DM_OUT_BUFFER),
              IDCANCEL);
    EXPECT_EQ(out, before);
}

} // namespace
} // namespace moltr::test
