// The quick-settings page: the list of entries (the defaults, the user's own settings and eight
// free slots, as the sample printer describes it), the action item and the name edit, with two
// settings of other pages; what saving, updating, deleting and choosing an entry leave behind.
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>
#include "sim/message_box.h"
#include "uiplugin/engine/engine_sheet.h"
#include "uiplugin/engine/named_list_handlers.h"
#include "uiplugin/engine/opt_item_constraint.h"
#include "uiplugin/engine/opt_item_handler.h"

namespace moltr::test {
namespace {

using ui::VORTAOptItemHandler;

constexpr DWORD kList = 101;
constexpr DWORD kAction = 150;
constexpr DWORD kName = 16100;
constexpr DWORD kSetting = 3000;      // a list of values 1, 2, 3
constexpr DWORD kFollower = 3001;     // a check box that a rule moves on a restore of kSetting
constexpr DWORD kCustomMedia = 17052; // changes of the custom-media list are not settings

constexpr LONG kDelete = 0;
constexpr LONG kSaveAsNew = 1;
constexpr LONG kUpdate = 2;

constexpr DWORD kSlots = 10;
constexpr LONG kOwnSettings = 1;
constexpr LONG kFirstSlot = 2;

// The record of one item in a stored entry.
std::u16string Record(const std::string& id, const std::string& value) {
    return u"\uFFFD" + sim::Utf16(id) + u"\uFFFE" + sim::Utf16(value) + u"\uFFFF";
}

std::string Text(LPCWSTR text) {
    return text != nullptr ? sim::Utf8(text) : "(none)";
}

// Hears every item after the page's constraint and records what it heard; a restore of
// kSetting moves kFollower, as the rules of other pages do.
class Listener : public ui::VORTAOptItemConstraint {
public:
    explicit Listener(ui::VORTAOptItemHandlerFactory* factory) : VORTAOptItemConstraint(factory) {
        EXPECT_TRUE(Subscribe(0, true));
    }
    LONG Evaluate(DWORD itemId, DWORD value, DWORD) override {
        heard.emplace_back(itemId, value);
        if (itemId == kSetting && value == ui::kEventRestored) {
            if (VORTAOptItemHandler* follower = Lookup(kFollower)) {
                follower->SetSelection(1 - follower->GetSelection(0), this);
            }
        }
        return ui::kNotifyAccept;
    }
    // The items that heard of a restore, in order.
    std::vector<DWORD> Restored() const {
        std::vector<DWORD> ids;
        for (const auto& [itemId, value] : heard) {
            if (value == ui::kEventRestored) {
                ids.push_back(itemId);
            }
        }
        return ids;
    }
    std::vector<std::pair<DWORD, DWORD>> heard;
};

// Records where the list moves.
class ListWatcher : public ui::VORTAOptItemConstraint {
public:
    explicit ListWatcher(ui::VORTAOptItemHandlerFactory* factory)
        : VORTAOptItemConstraint(factory) {
        EXPECT_TRUE(Subscribe(kList, true));
    }
    LONG Evaluate(DWORD itemId, DWORD, DWORD) override {
        if (itemId == kList) {
            moves.push_back(Lookup(kList)->GetSelection(0));
        }
        return ui::kNotifyAccept;
    }
    std::vector<LONG> moves;
};

class QuickSettingsPage : public ::testing::Test {
protected:
    QuickSettingsPage()
        : list_(sheet_.AddOwnItem(TVOT_COMBOBOX, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, kList,
                                  kOwnSettings)),
          action_(sheet_.AddOwnItem(TVOT_COMBOBOX, {0, 1, 2}, kAction)),
          name_(sheet_.AddEditBox(kName, 64)),
          setting_(sheet_.AddOwnItem(TVOT_COMBOBOX, {1, 2, 3}, kSetting)),
          follower_(sheet_.AddOwnItem(TVOT_CHKBOX, {1}, kFollower)),
          media_(sheet_.AddOwnItem(TVOT_COMBOBOX, {0, 1}, kCustomMedia)) {
        const char* texts[kSlots] = {"Defaults",        "Current settings", "Quick setting 1",
                                     "Quick setting 2", "Quick setting 3",  "Quick setting 4",
                                     "Quick setting 5", "Quick setting 6",  "Quick setting 7",
                                     "Quick setting 8"};
        for (DWORD i = 0; i < kSlots; ++i) {
            list_.pOptType->pOptParam[i].pData = sheet_.Text(texts[i]);
            list_.pOptType->pOptParam[i].Flags = i >= kFirstSlot ? OPTPF_HIDE : 0;
        }
        DEVMODEW& devmode = sheet_.PublicDevMode();
        devmode.dmDefaultSource = DMBIN_AUTO;
        devmode.dmColor = DMCOLOR_COLOR;
        devmode.dmMediaType = 521;
        devmode.dmPaperSize = DMPAPER_A4;
        for (OPTITEM* item : {&list_, &action_, &name_, &setting_, &follower_, &media_}) {
            EXPECT_EQ(sheet_.Factory().RegisterItem(item), S_OK);
        }
        EXPECT_EQ(sheet_.Factory().FinishRegistration(), S_OK);
        listener_ = new (sheet_.Heap()) Listener(&sheet_.Factory());
        watcher_ = new (sheet_.Heap()) ListWatcher(&sheet_.Factory());
        quick_ = dynamic_cast<ui::VORTAOptItemHandlerQSCOMBOBOX*>(&Item(kList));
        edit_ = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 200, 20, nullptr, nullptr, nullptr,
                                nullptr);
        sim::ClearMessageBoxCalls();
    }
    ~QuickSettingsPage() override {
        sim::SetMessageBoxResponder({});
        DestroyWindow(edit_);
        delete listener_;
        delete watcher_;
    }
    void SetUp() override {
        ASSERT_NE(quick_, nullptr);
        ASSERT_NE(listener_, nullptr);
        ASSERT_NE(watcher_, nullptr);
        ASSERT_NE(edit_, nullptr);
    }

    VORTAOptItemHandler& Item(DWORD id) {
        VORTAOptItemHandler* handler = sheet_.Factory().Find(id);
        EXPECT_NE(handler, nullptr) << id;
        return *handler;
    }
    // The user chooses `action` at the action item (which may already show it).
    void Run(LONG action) {
        action_.Sel = action == kDelete ? kSaveAsNew : kDelete;
        Item(kAction).SetSelection(action, nullptr);
    }
    // The user types `name` into the name edit and saves a new entry.
    void SaveAs(const char* name) {
        Item(kName).SetSelectionFromText(sheet_.Text(name));
        Run(kSaveAsNew);
    }
    // The user types `name` into the list's own edit window.
    void TypeIntoList(const char* name) {
        SetWindowTextW(edit_, sheet_.Text(name));
        quick_->CaptureName(edit_);
    }
    void AnswerWith(int button) {
        sim::SetMessageBoxResponder([button](const sim::MessageBoxCall&) { return button; });
    }
    std::string OptionText(LONG i) {
        WCHAR text[ui::kOptionTextMax];
        quick_->GetOptionText(static_cast<DWORD>(i), text, nullptr);
        return sim::Utf8(text);
    }
    bool Shown(LONG i) const { return (list_.pOptType->pOptParam[i].Flags & OPTPF_HIDE) == 0; }
    DWORD ShownCount() const {
        DWORD shown = 0;
        for (DWORD i = 0; i < kSlots; ++i) {
            shown += Shown(static_cast<LONG>(i)) ? 1 : 0;
        }
        return shown;
    }
    // Fills the free slots until `shown` entries are shown.
    void FillUpTo(DWORD shown) {
        for (DWORD i = ShownCount(); i < shown; ++i) {
            SaveAs(("Set " + std::to_string(i)).c_str());
        }
        ASSERT_EQ(ShownCount(), shown);
    }

    EngineSheet sheet_{ui::kSheetDocument, 2, 40, 5};
    OPTITEM& list_;
    OPTITEM& action_;
    OPTITEM& name_;
    OPTITEM& setting_;
    OPTITEM& follower_;
    OPTITEM& media_;
    Listener* listener_ = nullptr;
    ListWatcher* watcher_ = nullptr;
    ui::VORTAOptItemHandlerQSCOMBOBOX* quick_ = nullptr;
    HWND edit_ = nullptr;
};

// The defaults entry holds the document's defaults from the public devmode, in hexadecimal.
TEST_F(QuickSettingsPage, TheDefaultsEntryHoldsTheDevmodesDefaults) {
    const std::u16string expected = Record("1", "0") + Record("7", "0") + Record("3", "1") +
                                    Record("4", "7") + Record("6", "1") + Record("c", "209") +
                                    Record("4b3", "9");
    EXPECT_EQ(Text(quick_->EntryStates(0)), sim::Utf8(expected));
    EXPECT_EQ(quick_->EntryStates(kOwnSettings), nullptr);
}

// A name of blanks gives the entry the free slot's own name and clears the edit; the entry holds
// the settings, never the page's own items, and is chosen.
TEST_F(QuickSettingsPage, ABlankNameSavesUnderTheSlotsOwnName) {
    Item(kSetting).SetSelectionByValue(3, nullptr);
    SaveAs("  \t ");
    EXPECT_EQ(sim::Utf8(name_.pSel), "");
    EXPECT_TRUE(Shown(kFirstSlot));
    EXPECT_EQ(OptionText(kFirstSlot), "Quick setting 1");
    EXPECT_EQ(list_.Sel, kFirstSlot);
    EXPECT_EQ(Text(quick_->EntryStates(kFirstSlot)),
              sim::Utf8(Record("bb8", "3") + Record("bb9", "0")));
    EXPECT_TRUE(sim::MessageBoxCalls().empty());
}

// An update needs a name typed into the list: blanks store nothing.
TEST_F(QuickSettingsPage, AnUpdateWithABlankNameStoresNothing) {
    TypeIntoList("   ");
    Run(kUpdate);
    EXPECT_EQ(ShownCount(), 2u);
    EXPECT_EQ(list_.Sel, kOwnSettings);
    EXPECT_TRUE(sim::MessageBoxCalls().empty());
}

TEST_F(QuickSettingsPage, TheDefaultsNameIsRefused) {
    SaveAs("Defaults");
    EXPECT_EQ(ShownCount(), 2u);
    const std::vector<sim::MessageBoxCall> calls = sim::MessageBoxCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(sim::Utf8(calls[0].text), "This name is reserved. Choose another name.");
    EXPECT_EQ(sim::Utf8(calls[0].caption), "Quick settings");
    EXPECT_EQ(calls[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
}

// One slot always stays free: with the list one short of its slots a save says so and stores
// nothing; one more short it still saves.
TEST_F(QuickSettingsPage, SavingOneShortOfCapacityShowsTheNoteAndStoresNothing) {
    FillUpTo(kSlots - 2);
    EXPECT_TRUE(sim::MessageBoxCalls().empty());
    SaveAs("One more");
    ASSERT_EQ(ShownCount(), kSlots - 1);
    sim::ClearMessageBoxCalls();
    SaveAs("Too many");
    EXPECT_EQ(ShownCount(), kSlots - 1);
    EXPECT_EQ(quick_->EntryStates(kSlots - 1), nullptr);
    const std::vector<sim::MessageBoxCall> calls = sim::MessageBoxCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(sim::Utf8(calls[0].text),
              "The list of quick settings is full. Delete a quick setting before you save "
              "another.");
    EXPECT_EQ(sim::Utf8(calls[0].caption), "Quick settings");
    EXPECT_EQ(calls[0].type & (MB_ICONMASK | MB_TYPEMASK), static_cast<UINT>(MB_ICONINFORMATION));
}

// An update under a new name makes a new entry, and a full list has no room for it either.
TEST_F(QuickSettingsPage, AnUpdateUnderANewNameNeedsRoomToo) {
    TypeIntoList("Fresh");
    Run(kUpdate);
    EXPECT_EQ(OptionText(kFirstSlot), "Fresh");
    EXPECT_EQ(list_.Sel, kFirstSlot);
    FillUpTo(kSlots - 1);
    sim::ClearMessageBoxCalls();
    TypeIntoList("Fresher");
    Run(kUpdate);
    EXPECT_EQ(ShownCount(), kSlots - 1);
    EXPECT_EQ(quick_->EntryStates(kSlots - 1), nullptr);
    const std::vector<sim::MessageBoxCall> calls = sim::MessageBoxCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(sim::Utf8(calls[0].text),
              "The list of quick settings is full. Delete a quick setting before you save "
              "another.");
}

// Saving under a shown entry's name asks first: No keeps the entry, Yes replaces its states.
TEST_F(QuickSettingsPage, AnExistingNameIsReplacedOnlyWithYes) {
    SaveAs("Trip");
    const std::string before = Text(quick_->EntryStates(kFirstSlot));
    Item(kSetting).SetSelectionByValue(2, nullptr);
    AnswerWith(IDNO);
    SaveAs("Trip");
    EXPECT_EQ(Text(quick_->EntryStates(kFirstSlot)), before);
    AnswerWith(IDYES);
    SaveAs("Trip");
    EXPECT_EQ(Text(quick_->EntryStates(kFirstSlot)),
              sim::Utf8(Record("bb8", "2") + Record("bb9", "0")));
    EXPECT_EQ(ShownCount(), 3u);
    EXPECT_EQ(list_.Sel, kFirstSlot);
    const std::vector<sim::MessageBoxCall> calls = sim::MessageBoxCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(sim::Utf8(calls[0].text), "A quick setting of this name exists. Replace it?");
    EXPECT_EQ(calls[0].type & (MB_ICONMASK | MB_TYPEMASK),
              static_cast<UINT>(MB_YESNO | MB_ICONINFORMATION));
}

// Choosing an entry brings its settings back; each restored item hears of it once, and neither
// the restore nor what other rules change in answer make the settings the user's own.
TEST_F(QuickSettingsPage, ARestoreTellsEachItemOnceAndKeepsTheEntry) {
    Item(kSetting).SetSelectionByValue(2, nullptr);
    Item(kFollower).SetSelection(1, nullptr);
    SaveAs("Trip");
    Item(kSetting).SetSelectionByValue(3, nullptr);
    EXPECT_EQ(list_.Sel, kOwnSettings);
    Item(kFollower).SetSelection(0, nullptr);
    SaveAs("Home");
    ASSERT_EQ(list_.Sel, kFirstSlot + 1);
    listener_->heard.clear();
    watcher_->moves.clear();
    Item(kList).SetSelection(kFirstSlot, nullptr);
    EXPECT_EQ(Item(kSetting).GetValue(nullptr), 2);
    EXPECT_EQ(listener_->Restored(), (std::vector<DWORD>{kSetting, kFollower}));
    EXPECT_EQ(list_.Sel, kFirstSlot);
    // The list moved once, to the entry, and never by way of the own settings.
    EXPECT_EQ(watcher_->moves, std::vector<LONG>{kFirstSlot});
    // The user's own change afterwards does.
    Item(kSetting).SetSelectionByValue(1, nullptr);
    EXPECT_EQ(list_.Sel, kOwnSettings);
}

// Choosing the defaults brings the devmode's defaults back; a source code that the host's list
// of sources has no option for leaves the source as it is.
TEST(QuickSettingsDefaults, ChoosingTheDefaultsRestoresWhatTheItemsOffer) {
    EngineSheet sheet(ui::kSheetDocument, 2, 40, 5);
    OPTITEM& list = sheet.AddOwnItem(TVOT_COMBOBOX, {0, 1}, kList, kOwnSettings);
    list.pOptType->pOptParam[0].pData = sheet.Text("Defaults");
    list.pOptType->pOptParam[1].pData = sheet.Text("Current settings");
    OPTITEM& orientation = sheet.AddItem(TVOT_LISTBOX, {0, 1}, DMPUB_ORIENTATION, 0, 1);
    OPTITEM& source = sheet.AddItem(TVOT_LISTBOX, {0, 1, 2}, DMPUB_DEFSOURCE, 0, 1);
    OPTITEM& colour = sheet.AddItem(TVOT_2STATES, {0, 1}, DMPUB_COLOR, 0, 0);
    sheet.PublicDevMode().dmDefaultSource = DMBIN_AUTO;
    sheet.PublicDevMode().dmColor = DMCOLOR_COLOR;
    for (OPTITEM* item : {&list, &orientation, &source, &colour}) {
        ASSERT_EQ(sheet.Factory().RegisterItem(item), S_OK);
    }
    ASSERT_EQ(sheet.Factory().FinishRegistration(), S_OK);
    sheet.Factory().Find(kList)->SetSelection(0, nullptr);
    EXPECT_EQ(list.Sel, 0);
    EXPECT_EQ(orientation.Sel, 0);
    EXPECT_EQ(colour.Sel, 1);
    EXPECT_EQ(source.Sel, 1);
}

// The custom angle counts as a setting only once the list has a selection; other items always.
TEST(QuickSettingsSelection, TheCustomAngleCountsOnlyWithASelection) {
    EngineSheet sheet(ui::kSheetDocument, 2, 40, 5);
    OPTITEM& list = sheet.AddOwnItem(TVOT_COMBOBOX, {0, 1, 2}, kList, -1);
    list.pOptType->pOptParam[0].pData = sheet.Text("Defaults");
    list.pOptType->pOptParam[1].pData = sheet.Text("Current settings");
    list.pOptType->pOptParam[2].pData = sheet.Text("Trip");
    OPTITEM& angle = sheet.AddOwnItem(TVOT_UDARROW, {0, 359}, 19250, 45);
    OPTITEM& setting = sheet.AddOwnItem(TVOT_COMBOBOX, {1, 2, 3}, kSetting);
    for (OPTITEM* item : {&list, &angle, &setting}) {
        ASSERT_EQ(sheet.Factory().RegisterItem(item), S_OK);
    }
    ASSERT_EQ(sheet.Factory().FinishRegistration(), S_OK);
    sheet.Factory().Find(19250)->SetSelectionByValue(90, nullptr);
    EXPECT_EQ(angle.Sel, 90);
    EXPECT_EQ(list.Sel, -1);
    sheet.Factory().Find(kSetting)->SetSelection(1, nullptr);
    EXPECT_EQ(list.Sel, kOwnSettings);
    list.Sel = 2;
    sheet.Factory().Find(19250)->SetSelectionByValue(180, nullptr);
    EXPECT_EQ(list.Sel, kOwnSettings);
}

// The page's own items and the custom-media dialog are not settings.
TEST_F(QuickSettingsPage, ChangesOfThePagesOwnItemsKeepTheEntry) {
    SaveAs("Trip");
    ASSERT_EQ(list_.Sel, kFirstSlot);
    Item(kCustomMedia).SetSelection(1, nullptr);
    Item(kName).SetSelectionFromText(sheet_.Text("Other"));
    EXPECT_EQ(list_.Sel, kFirstSlot);
}

// Deleting asks first; Cancel keeps the entry, OK frees its slot and shows the own settings.
TEST_F(QuickSettingsPage, DeleteIsConfirmedOrCancelled) {
    SaveAs("Trip");
    AnswerWith(IDCANCEL);
    Run(kDelete);
    EXPECT_TRUE(Shown(kFirstSlot));
    EXPECT_NE(quick_->EntryStates(kFirstSlot), nullptr);
    EXPECT_EQ(list_.Sel, kFirstSlot);
    AnswerWith(IDOK);
    Run(kDelete);
    EXPECT_FALSE(Shown(kFirstSlot));
    EXPECT_EQ(quick_->EntryStates(kFirstSlot), nullptr);
    EXPECT_EQ(list_.Sel, kOwnSettings);
    EXPECT_EQ(OptionText(kFirstSlot), "Quick setting 1");
    const std::vector<sim::MessageBoxCall> calls = sim::MessageBoxCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(sim::Utf8(calls[0].text), "Delete the selected quick setting?");
    EXPECT_EQ(sim::Utf8(calls[0].caption), "Quick settings");
    EXPECT_EQ(calls[0].type & (MB_ICONMASK | MB_TYPEMASK),
              static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION));
}

// The defaults and the own settings cannot be deleted.
TEST_F(QuickSettingsPage, TheFixedEntriesStay) {
    for (const LONG fixed : {LONG{0}, kOwnSettings}) {
        Item(kList).SetSelection(fixed, nullptr);
        Run(kDelete);
        EXPECT_TRUE(Shown(fixed)) << fixed;
    }
    EXPECT_TRUE(sim::MessageBoxCalls().empty());
}

// The action item offers what fits: nothing without a name, an update of a chosen entry, a new
// entry for a new name and an update for a known one.
TEST_F(QuickSettingsPage, TheActionItemFollowsTheNameAndTheChoice) {
    const auto offered = [&] {
        return std::make_pair(action_.Sel,
                              Item(kAction).IsEnabled(0, ui::kDisabledControl) != FALSE);
    };
    sheet_.Factory().AttachDialog(nullptr);
    EXPECT_EQ(offered(), std::make_pair(kDelete, false));
    SaveAs("Trip");
    EXPECT_EQ(offered(), std::make_pair(kUpdate, false));
    TypeIntoList("Holiday");
    sheet_.Factory().AttachDialog(nullptr);
    EXPECT_EQ(offered(), std::make_pair(kSaveAsNew, true));
    TypeIntoList("Trip");
    sheet_.Factory().AttachDialog(nullptr);
    EXPECT_EQ(offered(), std::make_pair(kUpdate, true));
}

} // namespace
} // namespace moltr::test
