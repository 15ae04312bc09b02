// The product's handlers: what each writes on commit into the sample printer's settings, and the
// items they keep in step with their own.
#include <gtest/gtest.h>
#include <cmath>
#include "uiplugin/engine/engine_sheet.h"
#include "uiplugin/engine/opt_item_handler.h"

namespace moltr::test {
namespace {

using ui::VORTAOptItemHandler;

constexpr DWORD kHelpId = 0x80000000;

// A flag the printer's language or model gates, as its host item is committed.
struct FlagCase {
    DWORD helpIndex;
    const WCHAR* field;
    bool printerSettings;
    DWORD pdl;
    DWORD modelClass;
    LONG selection;
    BYTE stored; // what the field holds afterwards (it starts at 0x5A)
};

class FlagCommitTest : public ::testing::TestWithParam<FlagCase> {};

TEST_P(FlagCommitTest, TheHandlerStoresItsFlagOnlyWhereThePrinterHasIt) {
    const FlagCase& flag = GetParam();
    EngineSheet sheet(flag.printerSettings ? ui::kSheetPrinter : ui::kSheetDocument, 2, flag.pdl,
                      flag.modelClass);
    if (flag.printerSettings) {
        sheet.SetPrinterField<BYTE>(flag.field, 0x5A);
    } else {
        sheet.SetDevModeField<BYTE>(flag.field, 0x5A);
    }
    OPTITEM& item = sheet.AddItem(TVOT_2STATES, {0, 1}, 0, flag.helpIndex, flag.selection);
    ASSERT_EQ(sheet.Factory().RegisterItem(&item), S_OK);
    sheet.Factory().Commit(TRUE);
    const BYTE afterCancel = flag.printerSettings ? sheet.PrinterField<BYTE>(flag.field)
                                                  : sheet.DevModeField<BYTE>(flag.field);
    EXPECT_EQ(afterCancel, 0x5A);
    sheet.Factory().Commit(FALSE);
    const BYTE stored = flag.printerSettings ? sheet.PrinterField<BYTE>(flag.field)
                                             : sheet.DevModeField<BYTE>(flag.field);
    EXPECT_EQ(stored, flag.stored);
}

// 1 - selection, except the protocol level; 0x5A where the rule does not apply.
INSTANTIATE_TEST_SUITE_P(Flags, FlagCommitTest,
                         ::testing::Values(FlagCase{31050, L"_ENABLEPJL", true, 30, 7, 0, 1},
                                           FlagCase{31050, L"_ENABLEPJL", true, 59, 7, 1, 0},
                                           FlagCase{31050, L"_ENABLEPJL", true, 60, 7, 0, 0x5A},
                                           FlagCase{31050, L"_ENABLEPJL", true, 29, 7, 0, 0x5A},
                                           FlagCase{31100, L"_LRGSIZES", true, 51, 7, 0, 1},
                                           FlagCase{31100, L"_LRGSIZES", true, 50, 7, 0, 0x5A},
                                           FlagCase{31150, L"_USE1200DPI", true, 51, 7, 1, 0},
                                           FlagCase{31200, L"_XLPROTLEVEL", true, 51, 7, 1, 1},
                                           FlagCase{31200, L"_XLPROTLEVEL", true, 52, 7, 1, 0x5A},
                                           FlagCase{31250, L"_RAMDISK", true, 20, 13, 0, 1},
                                           FlagCase{31250, L"_RAMDISK", true, 20, 5, 0, 0x5A},
                                           FlagCase{31300, L"_CFLASH", true, 20, 16, 0, 1},
                                           FlagCase{31300, L"_CFLASH", true, 20, 6, 0, 0x5A},
                                           FlagCase{1034, L"_GRXMODE", false, 50, 7, 0, 1},
                                           FlagCase{1034, L"_GRXMODE", false, 45, 7, 0, 0x5A},
                                           FlagCase{30300, L"_GRXMODE", false, 45, 7, 1, 0},
                                           FlagCase{30300, L"_GRXMODE", false, 50, 7, 1, 0x5A},
                                           FlagCase{30350, L"_COMPRESSION", false, 20, 7, 0, 1},
                                           FlagCase{30350, L"_COMPRESSION", false, 20, 11, 0,
                                                    0x5A}));

class ProductHandlerTest : public ::testing::Test {
protected:
    VORTAOptItemHandler& Registered(OPTITEM& item) { return sheet_.Registered(item); }
    EngineSheet sheet_;
};

TEST_F(ProductHandlerTest, ThePaperSizeCommitsTheChosenPaperIntoThePublicDevmode) {
    OPTITEM& paper = sheet_.AddOwnItem(TVOT_COMBOBOX, {DMPAPER_LETTER, DMPAPER_A4}, 1203, 0);
    VORTAOptItemHandler& handler = Registered(paper);
    handler.SetSelection(1, nullptr);
    sheet_.Factory().Commit(FALSE);
    EXPECT_EQ(sheet_.PublicDevMode().dmPaperSize, DMPAPER_A4);
}

TEST_F(ProductHandlerTest, APaperAQuickSettingNamesButTheListLacksIsNotCommitted) {
    OPTITEM& paper = sheet_.AddOwnItem(TVOT_COMBOBOX, {DMPAPER_LETTER, DMPAPER_A4}, 1203, 1);
    VORTAOptItemHandler& handler = Registered(paper);
    sheet_.PublicDevMode().dmPaperSize = DMPAPER_LEGAL;
    BOOL complete = TRUE;
    handler.LoadState(L"8", &complete); // A3
    EXPECT_FALSE(complete);
    EXPECT_EQ(handler.GetValue(nullptr), 0);
    sheet_.Factory().Commit(FALSE);
    EXPECT_EQ(sheet_.PublicDevMode().dmPaperSize, DMPAPER_LEGAL);
    handler.LoadState(L"1", &complete);
    EXPECT_EQ(handler.GetValue(nullptr), DMPAPER_LETTER);
}

TEST_F(ProductHandlerTest, TheScaleToSizeCommitsIntoThePrivateDevmode) {
    OPTITEM& size = sheet_.AddOwnItem(TVOT_COMBOBOX, {DMPAPER_A4, DMPAPER_A3}, 3102, 0);
    VORTAOptItemHandler& handler = Registered(size);
    handler.SetSelection(1, nullptr);
    sheet_.Factory().Commit(FALSE);
    EXPECT_EQ(sheet_.DevModeField<WORD>(L"_SCALEDOCON_SIZE"), DMPAPER_A3);
}

TEST_F(ProductHandlerTest, PagesPerSheetShowNumbersAndStopBeforeTheBookletOnOwnPages) {
    OPTITEM& nup = sheet_.AddItem(TVOT_LISTBOX, {0, 1, 2, 3}, DMPUB_NUP, 0, 0);
    for (WORD i = 0; i < 4; ++i) {
        nup.pOptType->pOptParam[i].pData = reinterpret_cast<LPWSTR>(ULONG_PTR{64865u + i});
    }
    OPTITEM& shadow = sheet_.AddOwnItem(TVOT_COMBOBOX, {0, 1, 2, 3}, 32501, 0);
    VORTAOptItemHandler& handler = Registered(nup);
    Registered(shadow);
    WCHAR text[ui::kOptionTextMax];
    handler.GetOptionText(0, text, nullptr);
    EXPECT_EQ(sim::Utf8(text), "1");
    handler.GetOptionText(1, text, nullptr);
    EXPECT_EQ(sim::Utf8(text), "2");
    handler.GetOptionText(3, text, nullptr);
    EXPECT_EQ(sim::Utf8(text), "6");
    handler.Step(1);
    handler.Step(1);
    EXPECT_EQ(nup.Sel, 2);
    EXPECT_EQ(shadow.Sel, 2);
    handler.Step(1); // option 3 is left to its own control
    EXPECT_EQ(nup.Sel, 0);
    EXPECT_EQ(shadow.Sel, 0);
}

TEST_F(ProductHandlerTest, ColourSetsItsOwnCheckBoxTheOtherWayRound) {
    OPTITEM& color = sheet_.AddItem(TVOT_2STATES, {0, 1}, DMPUB_COLOR, 0, 0);
    OPTITEM& box = sheet_.AddOwnItem(TVOT_CHKBOX, {0}, 32500, 0);
    VORTAOptItemHandler& handler = Registered(color);
    Registered(box);
    handler.SetSelection(1, nullptr);
    EXPECT_EQ(box.Sel, 0);
    handler.SetSelection(0, nullptr);
    EXPECT_EQ(box.Sel, 1);
}

TEST_F(ProductHandlerTest, DuplexAnswersItsTwoControlsAndTheShortEdgeNeedsItsPermission) {
    OPTITEM& duplex = sheet_.AddItem(TVOT_LISTBOX, {0, 1, 2}, DMPUB_DUPLEX, 0, 2);
    OPTITEM& allowed = sheet_.AddOwnItem(TVOT_CHKBOX, {0}, 2153, 0);
    VORTAOptItemHandler& handler = Registered(duplex);
    VORTAOptItemHandler& permission = Registered(allowed);
    EXPECT_EQ(handler.GetOptionCount(), 2u);
    EXPECT_EQ(handler.GetSelection(2053), 1);
    EXPECT_EQ(handler.GetSelection(2100), 1);
    EXPECT_FALSE(handler.IsEnabled(2100, 0));
    EXPECT_TRUE(handler.IsEnabled(2053, 0));
    permission.SetSelection(1, nullptr);
    EXPECT_TRUE(handler.IsEnabled(2100, 0));
    handler.SetSelection(0, nullptr);
    EXPECT_EQ(handler.GetSelection(2053), 0);
    EXPECT_EQ(handler.GetSelection(2100), 0);
}

TEST_F(ProductHandlerTest, TheWatermarkAngleFollowsThePapersDiagonal) {
    OPTITEM& paper = sheet_.AddOwnItem(TVOT_COMBOBOX, {DMPAPER_A4}, 1203, 0);
    OPTITEM& orientation = sheet_.AddItem(TVOT_2STATES, {0, 1}, DMPUB_ORIENTATION, 0, 0);
    OPTITEM& degrees = sheet_.AddOwnItem(TVOT_UDARROW, {0, 360}, 19250, 7);
    OPTITEM& angle = sheet_.AddOwnItem(TVOT_3STATES, {0, 1, 2}, 19202, 2);
    Registered(paper);
    VORTAOptItemHandler& turn = Registered(orientation);
    Registered(degrees);
    VORTAOptItemHandler& handler = Registered(angle);
    constexpr double kDegrees = 180.0 / 3.14159265358979323846;
    const LONG portrait = static_cast<LONG>(std::atan(297.0 / 210.0) * kDegrees);
    const LONG landscape = static_cast<LONG>(std::atan(210.0 / 297.0) * kDegrees);
    handler.SetSelection(0, nullptr);
    EXPECT_EQ(degrees.Sel, portrait);
    EXPECT_EQ(degrees.Sel, 54);
    turn.SetSelection(1, nullptr);
    handler.Evaluate(0, 0, 0);
    EXPECT_EQ(degrees.Sel, landscape);
    handler.SetSelection(1, nullptr);
    EXPECT_EQ(degrees.Sel, 0);
    handler.SetSelectionByValue(3, nullptr);
    EXPECT_EQ(angle.Sel, 2);
    EXPECT_EQ(degrees.Sel, 0);
}

TEST_F(ProductHandlerTest, WithoutTheOptionalOutputTrayItsBinIsHidden) {
    EngineSheet sheet(ui::kSheetPrinter, 2);
    sheet.SetPrinterField<BYTE>(L"_OPTOUTPUT", 1);
    OPTITEM& output = sheet.AddItem(TVOT_LISTBOX, {0, 1}, 0, 3350, 0);
    ASSERT_EQ(sheet.Factory().RegisterItem(&output), S_OK);
    EXPECT_NE(output.pOptType->pOptParam[1].Flags & OPTPF_HIDE, 0);
    EXPECT_EQ(output.pOptType->pOptParam[0].Flags & OPTPF_HIDE, 0);
}

TEST_F(ProductHandlerTest, OwnPageHandlersAreOnlyMadeForOwnPages) {
    EngineSheet sheet(ui::kSheetDocument, ui::kUITypeHostPage);
    OPTITEM& color = sheet.AddItem(TVOT_2STATES, {0, 1}, DMPUB_COLOR, 0, 0);
    OPTITEM& box = sheet.AddOwnItem(TVOT_CHKBOX, {0}, 32500, 0);
    ASSERT_EQ(sheet.Factory().RegisterItem(&color), S_OK);
    ASSERT_EQ(sheet.Factory().RegisterItem(&box), S_OK);
    sheet.Factory().Find(DMPUB_COLOR)->SetSelection(1, nullptr);
    EXPECT_EQ(box.Sel, 0);
    sheet.Factory().Find(DMPUB_COLOR)->SetSelection(0, nullptr);
    EXPECT_EQ(box.Sel, 0); // the generic handler has no shadow
}

TEST_F(ProductHandlerTest, ColourMethodsShowOwnStringsForTheHostsOnes) {
    OPTITEM& method = sheet_.AddItem(TVOT_LISTBOX, {0, 1, 2}, DMPUB_ICMMETHOD, 0, 0);
    VORTAOptItemHandler& handler = Registered(method);
    EXPECT_EQ(handler.GetStringForId(477), 4160u);
    EXPECT_EQ(handler.GetStringForId(479), 4162u);
    EXPECT_EQ(handler.GetStringForId(480), 0u);
    EXPECT_EQ(sheet_.Factory().Find(kHelpId | 1039), nullptr);
}

} // namespace
} // namespace moltr::test
