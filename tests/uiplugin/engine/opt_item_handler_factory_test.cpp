// The factory as the engine drives it: items of the host and of the plug-in registered by their
// ids, the compstui callbacks, the lazy default handler, commit on the sheets, and the quick-
// settings text with bad text refused.
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>
#include "uiplugin/engine/engine_sheet.h"
#include "uiplugin/engine/opt_item_constraint.h"
#include "uiplugin/engine/opt_item_handler.h"
#include "uiplugin/engine/quick_settings_text.h"

namespace moltr::test {
namespace {

using ui::VORTAOptItemHandler;

class FactoryTest : public ::testing::Test {
protected:
    ui::VORTAOptItemHandlerFactory& Factory() { return sheet_.Factory(); }
    EngineSheet sheet_;
};

TEST_F(FactoryTest, AnOwnItemIsKnownByTheIdItsDmPubIdAndUserItemIdEncode) {
    OPTITEM& item = sheet_.AddOwnItem(TVOT_COMBOBOX, {1, 2}, 17052);
    // 17052 - 100 = 108 x 156 + 104.
    EXPECT_EQ(item.DMPubID, 204);
    EXPECT_EQ(item.UserItemID, 108);
    EXPECT_EQ(Factory().ItemId(item), 17052u);
}

TEST_F(FactoryTest, AHostItemNamedByHashCarriesItsStringIdAndItemId) {
    OPTITEM& both = sheet_.AddItem(TVOT_LISTBOX, {0, 1}, 0, 1234);
    both.pName = sheet_.Text("#1A2|3F");
    EXPECT_EQ(Factory().ItemId(both), 0x3Fu);
    OPTITEM& single = sheet_.AddItem(TVOT_LISTBOX, {0, 1}, 0, 1234);
    single.pName = sheet_.Text("#1A2");
    EXPECT_EQ(Factory().ItemId(single), 0x1A2u);
    OPTITEM& bad = sheet_.AddItem(TVOT_LISTBOX, {0, 1}, 0, 1234);
    bad.pName = sheet_.Text("#1G2");
    EXPECT_EQ(Factory().ItemId(bad), 1234u | 0x80000000u);
}

TEST_F(FactoryTest, HostItemsOfEachInstallableFeatureAreToldApartByTheirUserData) {
    OPTITEM& first = sheet_.AddItem(TVOT_LISTBOX, {0, 1}, 0, 1025);
    first.UserData = 0x5000;
    OPTITEM& second = sheet_.AddItem(TVOT_LISTBOX, {0, 1}, 0, 1025);
    second.UserData = 0x6000;
    OPTITEM& other = sheet_.AddItem(TVOT_LISTBOX, {0, 1}, 0, 1200);
    EXPECT_EQ(Factory().ItemId(first), 1025u | 0x80000000u);
    EXPECT_EQ(Factory().ItemId(second), 1025u | (1u << 16) | 0x80000000u);
    EXPECT_EQ(Factory().ItemId(first), 1025u | 0x80000000u);
    EXPECT_EQ(Factory().ItemId(other), 1200u | 0x80000000u);
    OPTITEM& none = sheet_.AddItem(TVOT_LISTBOX, {0, 1}, 0, 0);
    EXPECT_EQ(Factory().RegisterItem(&none), S_FALSE);
}

TEST_F(FactoryTest, AnItemIsRegisteredOnce) {
    OPTITEM& item = sheet_.AddItem(TVOT_LISTBOX, {0, 1}, 9);
    OPTITEM& again = sheet_.AddItem(TVOT_LISTBOX, {0, 1}, 9);
    EXPECT_EQ(Factory().RegisterItem(&item), S_OK);
    EXPECT_EQ(Factory().RegisterItem(&again), S_FALSE);
    EXPECT_EQ(Factory().Find(9)->Item(), &item);
}

TEST_F(FactoryTest, AHashNamedHostItemInTheHostsPageGetsNoHandler) {
    EngineSheet sheet(ui::kSheetDocument, ui::kUITypeHostPage);
    OPTITEM& item = sheet.AddItem(TVOT_LISTBOX, {0, 1}, 0, 1234);
    LPWSTR name = sheet.Text("#1A2|3F");
    item.pName = name;
    EXPECT_EQ(sheet.Factory().RegisterItem(&item), S_FALSE);
    EXPECT_EQ(sheet.Factory().Find(0x3F), nullptr);
}

TEST_F(FactoryTest, ASelectionChangedInTheHostsPageIsTakenByTheHandler) {
    OPTITEM& item = sheet_.AddItem(TVOT_LISTBOX, {0, 1, 2}, 9, 0, 0);
    ASSERT_EQ(Factory().RegisterItem(&item), S_OK);
    ASSERT_EQ(Factory().FinishRegistration(), S_OK);
    EXPECT_EQ(sheet_.Callback(CPSUICB_REASON_SEL_CHANGED, item, 2), CPSUICB_ACTION_OPTIF_CHANGED);
    EXPECT_EQ(item.Sel, 2);
    EXPECT_NE(item.Flags & OPTIF_CHANGED, 0u);
    ASSERT_EQ(sheet_.DriverUi().updates.size(), 1u);
    EXPECT_EQ(sheet_.DriverUi().updates[0].sel, 2);
    EXPECT_EQ(Factory().OldSelection(), 0);
}

TEST_F(FactoryTest, AnUnchangedSelectionSendsNoNotification) {
    OPTITEM& item = sheet_.AddItem(TVOT_LISTBOX, {0, 1, 2}, 9, 0, 1);
    ASSERT_EQ(Factory().RegisterItem(&item), S_OK);
    ASSERT_EQ(Factory().FinishRegistration(), S_OK);
    EXPECT_EQ(sheet_.Callback(CPSUICB_REASON_SEL_CHANGED, item, 1), CPSUICB_ACTION_NONE);
    EXPECT_TRUE(sheet_.DriverUi().updates.empty());
    EXPECT_EQ(item.Flags & OPTIF_CHANGED, 0u);
}

TEST_F(FactoryTest, ACallbackForAnUnknownItemMakesADefaultHandlerThatTellsNoHost) {
    OPTITEM& item = sheet_.AddItem(TVOT_LISTBOX, {0, 1}, 0, 4321, 0);
    ASSERT_EQ(Factory().FinishRegistration(), S_OK);
    EXPECT_EQ(Factory().Find(4321 | 0x80000000), nullptr);
    EXPECT_EQ(sheet_.Callback(CPSUICB_REASON_SEL_CHANGED, item, 1), CPSUICB_ACTION_OPTIF_CHANGED);
    VORTAOptItemHandler* handler = Factory().Find(4321 | 0x80000000);
    ASSERT_NE(handler, nullptr);
    EXPECT_TRUE(handler->IsUnbound());
    EXPECT_EQ(handler->GetSelection(0), 1);
    EXPECT_EQ(handler->GetVisibleOptionCount(), 0u);
    EXPECT_FALSE(handler->IsEnabled(0, 1));
    EXPECT_TRUE(sheet_.DriverUi().updates.empty());
    EXPECT_EQ(Factory().FindOrCreate(4321 | 0x80000000), handler);
}

TEST_F(FactoryTest, OtherCallbacksAnswerNoAction) {
    OPTITEM& button = sheet_.AddOwnItem(TVOT_PUSHBUTTON, {0}, 3100);
    ASSERT_EQ(Factory().RegisterItem(&button), S_OK);
    EXPECT_EQ(sheet_.Callback(CPSUICB_REASON_PUSHBUTTON, button, 0), CPSUICB_ACTION_NONE);
    EXPECT_EQ(Factory().PendingResult(), 0);
    EXPECT_EQ(sheet_.Callback(CPSUICB_REASON_APPLYNOW, button, 0), CPSUICB_ACTION_NONE);
    EXPECT_EQ(sheet_.Callback(CPSUICB_REASON_SETACTIVE, button, 0), CPSUICB_ACTION_NONE);
    EXPECT_EQ(Factory().Callback(nullptr), CPSUICB_ACTION_NONE);
}

TEST_F(FactoryTest, PushingFromTheValueAppliesTheItemsSelectionFirst) {
    OPTITEM& item = sheet_.AddItem(TVOT_LISTBOX, {0, 1, 2}, 9, 0, 0);
    ASSERT_EQ(Factory().RegisterItem(&item), S_OK);
    ASSERT_EQ(Factory().FinishRegistration(), S_OK);
    OPTITEM copy = item;
    copy.Sel = 2;
    EXPECT_EQ(Factory().Push(&copy, nullptr, TRUE), 0);
    EXPECT_EQ(item.Sel, 2);
}

TEST_F(FactoryTest, QuickSettingsRoundTripThroughTheText) {
    OPTITEM& list = sheet_.AddOwnItem(TVOT_COMBOBOX, {0x10, 0x20, 0x30}, 3200, 2);
    OPTITEM& edit = sheet_.AddEditBox(16100, 16);
    ASSERT_EQ(Factory().RegisterItem(&list), S_OK);
    ASSERT_EQ(Factory().RegisterItem(&edit), S_OK);
    Factory().Find(16100)->SetSelectionFromText(L"Office");
    ui::QuickSettingsText text(sheet_.Heap());
    ASSERT_TRUE(Factory().SaveStates(text));
    // 3200 is 0xc80, 16100 is 0x3ee4.
    const std::u16string expected = u"\xFFFD"
                                    u"c80\xFFFE"
                                    u"30\xFFFF\xFFFD"
                                    u"3ee4\xFFFE\xFFFC"
                                    u"Office\xFFFF";
    ASSERT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text.Text()), text.Length()),
              expected);
    list.Sel = 0;
    Factory().Find(16100)->SetSelectionFromText(L"");
    BOOL complete = TRUE;
    EXPECT_TRUE(Factory().LoadStates(text.Text(), text.Length(), &complete));
    EXPECT_TRUE(complete);
    EXPECT_EQ(list.Sel, 2);
    EXPECT_EQ(sim::Utf8(edit.pSel), "Office");
}

TEST_F(FactoryTest, SavedStatesLeaveOutTheSkippedItems) {
    OPTITEM& list = sheet_.AddOwnItem(TVOT_COMBOBOX, {0x10, 0x20, 0x30}, 3200, 1);
    OPTITEM& other = sheet_.AddOwnItem(TVOT_COMBOBOX, {0x10, 0x20}, 3203, 0);
    ASSERT_EQ(Factory().RegisterItem(&list), S_OK);
    ASSERT_EQ(Factory().RegisterItem(&other), S_OK);
    const DWORD skipped[] = {1, 3200};
    ui::QuickSettingsText text(sheet_.Heap());
    ASSERT_TRUE(Factory().SaveStates(text, skipped, 2));
    EXPECT_EQ(sim::Utf8(text.Text()), sim::Utf8(u"\xFFFD"
                                                u"c83\xFFFE"
                                                u"10\xFFFF"));
}

// Hears every item and records what it heard.
class Hearing : public ui::VORTAOptItemConstraint {
public:
    explicit Hearing(ui::VORTAOptItemHandlerFactory* factory) : VORTAOptItemConstraint(factory) {
        EXPECT_TRUE(Subscribe(0, true));
    }
    LONG Evaluate(DWORD itemId, DWORD value, DWORD) override {
        heard.emplace_back(itemId, value);
        return ui::kNotifyAccept;
    }
    std::vector<std::pair<DWORD, DWORD>> heard;
};

// A restore changes the items unheard and then tells each restored item once, however often the
// text names it; bad text restores nothing and tells no one.
TEST_F(FactoryTest, ARestoreTellsEachRestoredItemOnceAfterAllAreLoaded) {
    OPTITEM& first = sheet_.AddOwnItem(TVOT_COMBOBOX, {0x10, 0x20}, 3204, 0);
    OPTITEM& second = sheet_.AddOwnItem(TVOT_COMBOBOX, {0x10, 0x20}, 3205, 0);
    ASSERT_EQ(Factory().RegisterItem(&first), S_OK);
    ASSERT_EQ(Factory().RegisterItem(&second), S_OK);
    ASSERT_EQ(Factory().FinishRegistration(), S_OK);
    Hearing* hearing = new (sheet_.Heap()) Hearing(&Factory());
    ASSERT_NE(hearing, nullptr);
    // 3204 is 0xc84, 3205 0xc85; 0x777 names no item.
    const std::u16string text = u"\xFFFD"
                                u"c84\xFFFE"
                                u"10\xFFFF\xFFFD"
                                u"c85\xFFFE"
                                u"20\xFFFF\xFFFD"
                                u"777\xFFFE"
                                u"1\xFFFF\xFFFD"
                                u"c84\xFFFE"
                                u"20\xFFFF";
    EXPECT_TRUE(Factory().RestoreStates(reinterpret_cast<LPCWSTR>(text.data()), text.size()));
    EXPECT_EQ(first.Sel, 1);
    EXPECT_EQ(second.Sel, 1);
    const std::vector<std::pair<DWORD, DWORD>> told = {{3204, ui::kEventRestored},
                                                       {3205, ui::kEventRestored}};
    EXPECT_EQ(hearing->heard, told);
    hearing->heard.clear();
    const std::u16string cut = u"\xFFFD"
                               u"c84\xFFFE"
                               u"10\xFFFF\xFFFD";
    EXPECT_FALSE(Factory().RestoreStates(reinterpret_cast<LPCWSTR>(cut.data()), cut.size()));
    EXPECT_EQ(first.Sel, 1);
    EXPECT_TRUE(hearing->heard.empty());
    // Notifications flow again afterwards.
    Factory().Find(3204)->SetSelection(0, nullptr);
    EXPECT_EQ(hearing->heard, (std::vector<std::pair<DWORD, DWORD>>{{3204, 0}}));
    delete hearing;
}

TEST_F(FactoryTest, ARecordOfAnUnknownItemMeansTheStateIsNotWhole) {
    OPTITEM& list = sheet_.AddOwnItem(TVOT_COMBOBOX, {0x10, 0x20}, 3201, 0);
    ASSERT_EQ(Factory().RegisterItem(&list), S_OK);
    const std::u16string text = u"\xFFFD"
                                u"c81\xFFFE"
                                u"20\xFFFF\xFFFD"
                                u"777\xFFFE"
                                u"1\xFFFF";
    BOOL complete = TRUE;
    EXPECT_TRUE(
        Factory().LoadStates(reinterpret_cast<LPCWSTR>(text.data()), text.size(), &complete));
    EXPECT_FALSE(complete);
    EXPECT_EQ(list.Sel, 1);
}

TEST_F(FactoryTest, BadQuickSettingsTextIsRefusedWithoutChangingAnything) {
    OPTITEM& list = sheet_.AddOwnItem(TVOT_COMBOBOX, {0x10, 0x20}, 3202, 0);
    ASSERT_EQ(Factory().RegisterItem(&list), S_OK);
    const std::u16string bad[] = {
        u"\xFFFD"
        u"c82\xFFFE"
        u"20\xFFFF\xFFFD", // a record cut short
        u"\xFFFD"
        u"c82\xFFFE"
        u"20", // no end
        u"\xFFFD"
        u"c8g\xFFFE"
        u"20\xFFFF", // not hexadecimal
        u"\xFFFD\xFFFE"
        u"20\xFFFF", // no id
        u"\xFFFD"
        u"123456789\xFFFE"
        u"20\xFFFF", // an id too long
        u"c82\xFFFE"
        u"20\xFFFF", // no start
        u"\xFFFD"
        u"c82\xFFFE"
        u"2\xFFFE"
        u"0\xFFFF", // two value marks
    };
    for (const std::u16string& text : bad) {
        EXPECT_FALSE(
            Factory().LoadStates(reinterpret_cast<LPCWSTR>(text.data()), text.size(), nullptr));
        EXPECT_EQ(list.Sel, 0);
    }
    EXPECT_FALSE(Factory().LoadStates(nullptr, 4, nullptr));
}

TEST_F(FactoryTest, AttachingADialogShowsTheOwnFirstLevelItems) {
    OPTITEM* own = nullptr;
    OPTITEM& first = sheet_.AddOwnItem(TVOT_LISTBOX, {0, 1}, 12);
    own = &first;
    own->Flags = OPTIF_HIDE;
    OPTITEM& host = sheet_.AddItem(TVOT_LISTBOX, {0, 1}, 13);
    host.Flags = OPTIF_HIDE;
    sheet_.Param().pOEMOptItems = own;
    sheet_.Param().cOEMOptItems = 1;
    ASSERT_EQ(Factory().RegisterItem(own), S_OK);
    ASSERT_EQ(Factory().RegisterItem(&host), S_OK);
    Factory().AttachDialog(nullptr);
    EXPECT_EQ(own->Flags & OPTIF_HIDE, 0u);
    EXPECT_NE(host.Flags & OPTIF_HIDE, 0u);
    EXPECT_FALSE(Factory().ApplyWasEnabled());
}

} // namespace
} // namespace moltr::test
