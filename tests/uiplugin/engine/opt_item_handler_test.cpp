// The handlers' rules as the host's items see them: stepping with wrapping and clamping, the
// central setter's notifications, values, the edit buffer's bound, the quick-settings records and
// what constraints change on an item, as the page's control shows it.
#include <gtest/gtest.h>
#include <string>
#include <vector>
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

// A page with one combo box for item 3010 and one check box for item 3011.
class HandlerOnPage : public HandlerTest {
protected:
    void SetUp() override {
        page_ = CreateWindowExW(0, L"STATIC", L"Page", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                                nullptr, nullptr);
        ASSERT_NE(page_, nullptr);
        combo_ = Control(L"COMBOBOX", 3010);
        check_ = Control(L"BUTTON", 3011);
    }
    void TearDown() override { DestroyWindow(page_); }
    HWND Control(LPCWSTR windowClass, int id) {
        HWND control =
            CreateWindowExW(0, windowClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, page_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        EXPECT_NE(control, nullptr);
        return control;
    }
    // The visible options the combo box lists, as the indices of their options.
    std::vector<LRESULT> Listed() {
        std::vector<LRESULT> listed;
        const LRESULT count = SendMessageW(combo_, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            listed.push_back(SendMessageW(combo_, CB_GETITEMDATA, static_cast<WPARAM>(i), 0));
        }
        return listed;
    }

    HWND page_ = nullptr;
    HWND combo_ = nullptr;
    HWND check_ = nullptr;
};

// Each bit of the enable mask keeps the control disabled until it is cleared again; the first bit
// is the one the control itself stands for.
TEST_F(HandlerOnPage, TheControlIsEnabledOnlyWithoutEnableBits) {
    OPTITEM& item = sheet_.AddOwnItem(TVOT_CHKBOX, {1}, 3011);
    VORTAOptItemHandler& handler = Registered(item);
    ASSERT_EQ(sheet_.Factory().FinishRegistration(), S_OK);
    sheet_.Factory().AttachDialog(page_);
    EXPECT_TRUE(IsWindowEnabled(check_));
    handler.Disable(ui::kDisabledControl | 0x4);
    sheet_.Factory().FlushPending();
    EXPECT_FALSE(IsWindowEnabled(check_));
    EXPECT_FALSE(handler.IsEnabled(0, ui::kDisabledControl));
    handler.Enable(ui::kDisabledControl);
    sheet_.Factory().FlushPending();
    EXPECT_TRUE(handler.IsEnabled(0, ui::kDisabledControl));
    EXPECT_FALSE(IsWindowEnabled(check_));
    handler.Enable(0x4);
    sheet_.Factory().FlushPending();
    EXPECT_TRUE(IsWindowEnabled(check_));
}

TEST_F(HandlerOnPage, ARemovedItemsControlIsHidden) {
    OPTITEM& item = sheet_.AddOwnItem(TVOT_CHKBOX, {1}, 3011);
    VORTAOptItemHandler& handler = Registered(item);
    ASSERT_EQ(sheet_.Factory().FinishRegistration(), S_OK);
    sheet_.Factory().AttachDialog(page_);
    // The page itself is not shown: the control's own style tells.
    const auto shown = [&] { return (GetWindowLongW(check_, GWL_STYLE) & WS_VISIBLE) != 0; };
    handler.SetState(ui::kStateRemoved);
    sheet_.Factory().FlushPending();
    EXPECT_FALSE(shown());
    handler.SetState(ui::kStateShown);
    sheet_.Factory().FlushPending();
    EXPECT_TRUE(shown());
}

// Hiding the chosen option moves the choice to the first option still shown, unless the caller
// keeps it; the list shows the visible options only.
TEST_F(HandlerOnPage, HidingTheChosenOptionMovesTheChoiceUnlessKept) {
    OPTITEM& item = sheet_.AddOwnItem(TVOT_COMBOBOX, {10, 20, 30}, 3010, 2);
    VORTAOptItemHandler& handler = Registered(item);
    ASSERT_EQ(sheet_.Factory().FinishRegistration(), S_OK);
    sheet_.Factory().AttachDialog(page_);
    handler.SetOptionVisible(0, false, 0);
    handler.SetOptionVisible(2, false, ui::kKeepSelection);
    EXPECT_EQ(item.Sel, 2);
    sheet_.Factory().FlushPending();
    EXPECT_EQ(Listed(), (std::vector<LRESULT>{1}));
    handler.SetOptionVisible(2, true, 0);
    handler.SetOptionVisible(2, false, 0);
    EXPECT_EQ(item.Sel, 1);
    handler.SetOptionVisible(0, true, 0);
    sheet_.Factory().FlushPending();
    EXPECT_EQ(Listed(), (std::vector<LRESULT>{0, 1}));
    EXPECT_EQ(SendMessageW(combo_, CB_GETCURSEL, 0, 0), 1);
}

TEST_F(HandlerTest, ABubbleOfKindZeroIsNone) {
    OPTITEM& item = sheet_.AddOwnItem(TVOT_CHKBOX, {1}, 3012);
    VORTAOptItemHandler& handler = Registered(item);
    handler.SetBubble(0x400, 33101, 33100);
    EXPECT_EQ(handler.BubbleKind(), 0x400u);
    EXPECT_EQ(handler.BubbleText(), 33101u);
    EXPECT_EQ(handler.BubbleCaption(), 33100u);
    handler.SetBubble(0, 33101, 33100);
    EXPECT_EQ(handler.BubbleKind(), 0u);
    EXPECT_EQ(handler.BubbleText(), 0u);
    EXPECT_EQ(handler.BubbleCaption(), 0u);
}

} // namespace
} // namespace moltr::test
