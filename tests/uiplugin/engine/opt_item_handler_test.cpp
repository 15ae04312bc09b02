// The handlers' rules as the host's items see them: stepping with wrapping and clamping, the
// central setter's notifications, values, the edit buffer's bound and the quick-settings records.
#include <gtest/gtest.h>
#include <string>
#include "uiplugin/engine/engine_sheet.h"
#include "uiplugin/engine/opt_item_handler.h"
#include "uiplugin/engine/quick_settings_text.h"

namespace moltr::test {
namespace {

using ui::VORTAOptItemHandler;

// The record the quick-settings text holds for an item: 0xFFFD, id in hex, 0xFFFE, value, 0xFFFF.
std::u16string Record(const std::u16string& id, const std::u16string& value) {
    return u"\xFFFD" + id + u"\xFFFE" + value + u"\xFFFF";
}

class HandlerTest : public ::testing::Test {
protected:
    VORTAOptItemHandler& Registered(OPTITEM& item) { return sheet_.Registered(item); }
    std::u16string Saved(VORTAOptItemHandler& handler) {
        ui::QuickSettingsText text(sheet_.Heap());
        EXPECT_TRUE(handler.SaveState(text));
        return std::u16string(reinterpret_cast<const char16_t*>(text.Text()), text.Length());
    }

    EngineSheet sheet_;
};

TEST_F(HandlerTest, SteppingPastTheLastOptionOfAListWrapsToTheFirst) {
    OPTITEM& item = sheet_.AddOwnItem(TVOT_COMBOBOX, {10, 20, 30}, 3000, 2);
    VORTAOptItemHandler& handler = Registered(item);
    EXPECT_EQ(handler.Step(1), 2);
    EXPECT_EQ(item.Sel, 0);
    EXPECT_EQ(handler.Step(-1), 0);
    EXPECT_EQ(item.Sel, 2);
}

TEST_F(HandlerTest, ATrackBarStaysAtItsEndsWhenStepped) {
    OPTITEM& item = sheet_.AddOwnItem(TVOT_TRACKBAR, {0, 200, 1}, 3001, 190);
    item.pOptType->pOptParam[1].IconID = 10; // minimum
    VORTAOptItemHandler& handler = Registered(item);
    handler.Step(25);
    EXPECT_EQ(item.Sel, 200);
    handler.SetSelectionByValue(5, nullptr);
    EXPECT_EQ(item.Sel, 10);
    handler.Step(-1);
    EXPECT_EQ(item.Sel, 10);
}

TEST_F(HandlerTest, AnUpDownArrowClampsValuesAndReadsDecimalText) {
    OPTITEM& item = sheet_.AddOwnItem(TVOT_UDARROW, {0, 999}, 3002, 1);
    item.pOptType->pOptParam[1].IconID = 1;
    VORTAOptItemHandler& handler = Registered(item);
    handler.SetSelectionByValue(5000, nullptr);
    EXPECT_EQ(item.Sel, 999);
    handler.SetSelectionFromText(L"42");
    EXPECT_EQ(item.Sel, 42);
    EXPECT_EQ(handler.GetValue(nullptr), 42);
    handler.SetSelectionFromText(L"4x");
    EXPECT_EQ(item.Sel, 42);
}

TEST_F(HandlerTest, SelectingTheCurrentOptionTellsNobody) {
    OPTITEM& item = sheet_.AddItem(TVOT_LISTBOX, {0, 1, 2}, 9, 0, 1);
    VORTAOptItemHandler& handler = Registered(item);
    ASSERT_EQ(sheet_.Factory().FinishRegistration(), S_OK);
    EXPECT_EQ(handler.SetSelection(1, nullptr), 1);
    EXPECT_TRUE(sheet_.DriverUi().updates.empty());
    EXPECT_EQ(item.Flags & OPTIF_CHANGED, 0u);
}

TEST_F(HandlerTest, AChangeMarksTheItemAndTellsTheHostWithTheItemShownForTheCall) {
    OPTITEM& item = sheet_.AddItem(TVOT_LISTBOX, {0, 1, 2}, 9, 0, 1);
    item.Flags = OPTIF_HIDE;
    VORTAOptItemHandler& handler = Registered(item);
    ASSERT_EQ(sheet_.Factory().FinishRegistration(), S_OK);
    EXPECT_EQ(handler.SetSelection(2, nullptr), 1);
    ASSERT_EQ(sheet_.DriverUi().updates.size(), 1u);
    const DriverUiRecorder::Update& update = sheet_.DriverUi().updates[0];
    EXPECT_EQ(update.item, &item);
    EXPECT_EQ(update.sel, 2);
    EXPECT_EQ(update.flags & OPTIF_HIDE, 0u);
    EXPECT_EQ(update.mode, static_cast<DWORD>(ui::kSheetDocument));
    EXPECT_EQ(item.Flags & (OPTIF_HIDE | OPTIF_CHANGED),
              static_cast<DWORD>(OPTIF_HIDE | OPTIF_CHANGED));
    EXPECT_EQ(sheet_.Factory().OldSelection(), 1);
}

TEST_F(HandlerTest, OwnItemsOfOwnPagesAreNotSentToTheHost) {
    OPTITEM& item = sheet_.AddOwnItem(TVOT_COMBOBOX, {10, 20}, 3003);
    VORTAOptItemHandler& handler = Registered(item);
    ASSERT_EQ(sheet_.Factory().FinishRegistration(), S_OK);
    handler.SetSelection(1, nullptr);
    EXPECT_EQ(item.Sel, 1);
    EXPECT_TRUE(sheet_.DriverUi().updates.empty());
}

TEST_F(HandlerTest, OwnItemsSelectByTheValuesTheirOptionsStandFor) {
    static const LONG wide = 0x12345;
    OPTITEM& item = sheet_.AddOwnItem(TVOT_COMBOBOX, {7, reinterpret_cast<LPARAM>(&wide), 9}, 3004);
    VORTAOptItemHandler& handler = Registered(item);
    handler.SetSelectionByValue(0x12345, nullptr);
    EXPECT_EQ(item.Sel, 1);
    EXPECT_EQ(handler.GetValue(nullptr), 0x12345);
    handler.SetSelectionByValue(9, nullptr);
    EXPECT_EQ(item.Sel, 2);
    handler.SetSelectionByValue(8, nullptr);
    EXPECT_EQ(item.Sel, 2);
}

TEST_F(HandlerTest, AnOptionIsFoundByItsExactText) {
    OPTITEM& item = sheet_.AddOwnItem(TVOT_LISTBOX, {1, 2, 3}, 3005);
    VORTAOptItemHandler& handler = Registered(item);
    handler.SetSelectionFromText(L"option 2");
    EXPECT_EQ(item.Sel, 2);
    handler.SetSelectionFromText(L"option");
    EXPECT_EQ(item.Sel, 2);
}

TEST_F(HandlerTest, TextCopiedIntoAnEditBoxStaysInsideItsBuffer) {
    OPTITEM& item = sheet_.AddEditBox(16100, 8);
    VORTAOptItemHandler& handler = Registered(item);
    handler.SetSelectionFromText(L"A NAME FAR LONGER THAN EIGHT");
    EXPECT_EQ(sim::Utf8(item.pSel), "A NAME ");
    EXPECT_EQ(sheet_.AfterBuffer(item)[0], kSentinel);
    handler.LoadState(L"\xFFFCQUICK SETTING NAME", nullptr);
    EXPECT_EQ(sim::Utf8(item.pSel), "QUICK S");
    EXPECT_EQ(sheet_.AfterBuffer(item)[0], kSentinel);
}

TEST_F(HandlerTest, AnEditBoxSavesItsTextAsATextRecord) {
    OPTITEM& item = sheet_.AddEditBox(18100, 32);
    VORTAOptItemHandler& handler = Registered(item);
    handler.SetSelectionFromText(L"ABC");
    // 18100 is 0x46b4.
    EXPECT_EQ(Saved(handler), Record(u"46b4", u"\xFFFC"
                                              u"ABC"));
}

TEST_F(HandlerTest, AListSavesItsValueInLowerCaseHexadecimal) {
    OPTITEM& item = sheet_.AddOwnItem(TVOT_COMBOBOX, {0xAB, 0xCD}, 3006, 1);
    VORTAOptItemHandler& handler = Registered(item);
    // 3006 is 0xbbe.
    EXPECT_EQ(Saved(handler), Record(u"bbe", u"cd"));
}

TEST_F(HandlerTest, RestoringAValueNoOptionHasKeepsTheSelectionAndSaysSo) {
    OPTITEM& item = sheet_.AddOwnItem(TVOT_COMBOBOX, {0xAB, 0xCD}, 3007, 1);
    VORTAOptItemHandler& handler = Registered(item);
    BOOL complete = TRUE;
    handler.LoadState(L"ef", &complete);
    EXPECT_EQ(item.Sel, 1);
    EXPECT_FALSE(complete);
    complete = TRUE;
    handler.LoadState(L"ab", &complete);
    EXPECT_EQ(item.Sel, 0);
    EXPECT_TRUE(complete);
}

TEST_F(HandlerTest, APushButtonHasNoSelection) {
    OPTITEM& item = sheet_.AddOwnItem(TVOT_PUSHBUTTON, {0}, 3008, 0);
    VORTAOptItemHandler& handler = Registered(item);
    handler.SetSelection(3, nullptr);
    EXPECT_EQ(item.Sel, 0);
    EXPECT_EQ(handler.GetValue(nullptr), 0);
    // Without a dialog record there is nothing to run.
    EXPECT_EQ(handler.Activate(nullptr), 0);
}

TEST_F(HandlerTest, OptionsOutOfRangeAnswerNothingAndChangeNothing) {
    OPTITEM& item = sheet_.AddOwnItem(TVOT_LISTBOX, {1, 2}, 3009);
    VORTAOptItemHandler& handler = Registered(item);
    WCHAR text[ui::kOptionTextMax];
    BOOL visible = TRUE;
    handler.GetOptionText(5, text, &visible);
    EXPECT_EQ(text[0], 0);
    EXPECT_FALSE(visible);
    EXPECT_EQ(handler.ChangeOptionFlags(5, OPTPF_HIDE, 0, nullptr), 0);
    EXPECT_EQ(handler.GetOptionValue(5, nullptr), 0);
    EXPECT_EQ(handler.ChangeOptionFlags(1, OPTPF_HIDE, 0, nullptr), OPTPF_HIDE);
    EXPECT_EQ(handler.GetVisibleOptionCount(), 1u);
}

} // namespace
} // namespace moltr::test
