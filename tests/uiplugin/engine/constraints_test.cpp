// The constraints between the items of the sample printer's sheets: which of them the factory
// makes for a sheet and model, and what each leaves in the items it works on as the page opens and
// the user changes what it watches.
#include <gtest/gtest.h>
#include <initializer_list>
#include "sim/message_box.h"
#include "uiplugin/engine/engine_sheet.h"
#include "uiplugin/engine/opt_item_constraint.h"
#include "uiplugin/engine/opt_item_handler.h"

namespace moltr::test {
namespace {

using ui::VORTAOptItemHandler;

constexpr DWORD kHelpId = 0x80000000;
constexpr DWORD kNoteCaption = 32769;

// Files every item and finishes the registration, as the engine does once its items are built.
void Register(EngineSheet& sheet, std::initializer_list<OPTITEM*> items) {
    for (OPTITEM* item : items) {
        ASSERT_EQ(sheet.Factory().RegisterItem(item), S_OK);
    }
    ASSERT_EQ(sheet.Factory().FinishRegistration(), S_OK);
}

VORTAOptItemHandler& HandlerOf(EngineSheet& sheet, DWORD itemId) {
    VORTAOptItemHandler* handler = sheet.Factory().Find(itemId);
    EXPECT_NE(handler, nullptr) << itemId;
    return *handler;
}

bool Enabled(EngineSheet& sheet, DWORD itemId) {
    return HandlerOf(sheet, itemId).IsEnabled(0, ui::kDisabledControl) != FALSE;
}

// Asks before item 3000 may change and takes the change back when the user cancels; each change
// of 3000 also moves item 3001, which it watches too.
class Confirming : public ui::VORTAOptItemConstraint {
public:
    explicit Confirming(ui::VORTAOptItemHandlerFactory* factory) : VORTAOptItemConstraint(factory) {
        EXPECT_TRUE(Subscribe(3000, true));
        EXPECT_TRUE(Subscribe(3001, true));
        EXPECT_FALSE(Subscribe(3999, true));
    }
    LONG Evaluate(DWORD itemId, DWORD, DWORD) override {
        heard.push_back(itemId);
        if (itemId != 3000) {
            return ui::kNotifyAccept;
        }
        if (VORTAOptItemHandler* follower = Lookup(3001)) {
            follower->SetSelection(1 - follower->GetSelection(0), this);
        }
        return Ask(33402, ui::kCaptionConflict, MB_OKCANCEL | MB_ICONINFORMATION) == IDOK
                   ? ui::kNotifyAccept
                   : ui::kNotifyReject;
    }
    std::vector<DWORD> heard;
};

// Hears every item through the factory.
class Hearing : public ui::VORTAOptItemConstraint {
public:
    explicit Hearing(ui::VORTAOptItemHandlerFactory* factory) : VORTAOptItemConstraint(factory) {
        EXPECT_TRUE(Subscribe(0, true));
    }
    LONG Evaluate(DWORD itemId, DWORD, DWORD) override {
        heard.push_back(itemId);
        return ui::kNotifyAccept;
    }
    std::vector<DWORD> heard;
};

class ConstraintBase : public ::testing::Test {
protected:
    ConstraintBase()
        : watched_(sheet_.AddOwnItem(TVOT_COMBOBOX, {1, 2, 3}, 3000)),
          follower_(sheet_.AddOwnItem(TVOT_CHKBOX, {1}, 3001)),
          other_(sheet_.AddOwnItem(TVOT_CHKBOX, {1}, 3002)) {
        Register(sheet_, {&watched_, &follower_, &other_});
        confirming_ = new (sheet_.Heap()) Confirming(&sheet_.Factory());
        hearing_ = new (sheet_.Heap()) Hearing(&sheet_.Factory());
        sim::ClearMessageBoxCalls();
    }
    ~ConstraintBase() override {
        sim::SetMessageBoxResponder({});
        delete confirming_;
        delete hearing_;
    }
    void SetUp() override {
        ASSERT_NE(confirming_, nullptr);
        ASSERT_NE(hearing_, nullptr);
    }
    EngineSheet sheet_{ui::kSheetDocument, 2, 40, 20};
    OPTITEM& watched_;
    OPTITEM& follower_;
    OPTITEM& other_;
    Confirming* confirming_ = nullptr;
    Hearing* hearing_ = nullptr;
};

// The user's answer decides: OK keeps the change, Cancel takes it back; the message is the
// language module's text under the conflict caption.
TEST_F(ConstraintBase, TheUsersAnswerKeepsOrTakesBackTheChange) {
    sim::SetMessageBoxResponder([](const sim::MessageBoxCall&) { return IDCANCEL; });
    HandlerOf(sheet_, 3000).SetSelection(2, nullptr);
    EXPECT_EQ(watched_.Sel, 0);
    sim::SetMessageBoxResponder([](const sim::MessageBoxCall&) { return IDOK; });
    HandlerOf(sheet_, 3000).SetSelection(1, nullptr);
    EXPECT_EQ(watched_.Sel, 1);
    const std::vector<sim::MessageBoxCall> calls = sim::MessageBoxCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(sim::Utf8(calls[0].text),
              "This paper size cannot be printed from the selected tray.");
    EXPECT_EQ(sim::Utf8(calls[0].caption), "Conflict");
    EXPECT_EQ(calls[0].type & (MB_OKCANCEL | MB_ICONINFORMATION),
              static_cast<UINT>(MB_OKCANCEL | MB_ICONINFORMATION));
}

// What a constraint changes itself does not bring it back while it is at work; the factory's
// subscriber hears every change, that one too.
TEST_F(ConstraintBase, ItsOwnChangesDoNotBringItBack) {
    HandlerOf(sheet_, 3000).SetSelection(1, nullptr);
    EXPECT_EQ(follower_.Sel, 1);
    EXPECT_EQ(confirming_->heard, (std::vector<DWORD>{3000}));
    HandlerOf(sheet_, 3002).SetSelection(1, nullptr);
    HandlerOf(sheet_, 3001).SetSelection(0, nullptr);
    EXPECT_EQ(confirming_->heard, (std::vector<DWORD>{3000, 3001}));
    EXPECT_EQ(hearing_->heard, (std::vector<DWORD>{3001, 3000, 3002, 3001}));
}

// The job-retention page of the sample: the switch, the job mode (quick copy, proof, private,
// stored), the names, the preview, the PIN and its display.
struct RetentionPage {
    explicit RetentionPage(EngineSheet& sheet)
        : retention(sheet.AddOwnItem(TVOT_CHKBOX, {1}, 5053)),
          mode(sheet.AddOwnItem(TVOT_COMBOBOX, {1, 2, 3, 4}, 5102)),
          jobName(sheet.AddEditBox(5152, 16)), userName(sheet.AddEditBox(5202, 16)),
          preview(sheet.AddOwnItem(TVOT_CHKBOX, {1}, 5253)), pin(sheet.AddEditBox(5302, 8)),
          showPin(sheet.AddOwnItem(TVOT_CHKBOX, {1}, 5350, 1)) {
        Register(sheet, {&retention, &mode, &jobName, &userName, &preview, &pin, &showPin});
    }
    OPTITEM& retention;
    OPTITEM& mode;
    OPTITEM& jobName;
    OPTITEM& userName;
    OPTITEM& preview;
    OPTITEM& pin;
    OPTITEM& showPin;
};

constexpr DWORD kRetentionItems[] = {5102, 5152, 5202, 5302, 5350};

// A printer of `modelClass` with the storage and job language given.
void SetPrinter(EngineSheet& sheet, BYTE ramDisk, BYTE compactFlash, BYTE pjl) {
    sheet.SetPrinterField<BYTE>(L"_RAMDISK", ramDisk);
    sheet.SetPrinterField<BYTE>(L"_CFLASH", compactFlash);
    sheet.SetPrinterField<BYTE>(L"_ENABLEPJL", pjl);
}

struct StorageNoteCase {
    DWORD modelClass;
    BYTE ramDisk;
    BYTE compactFlash;
    UINT note; // 0: none
};

class JobRetentionNote : public ::testing::TestWithParam<StorageNoteCase> {};

// The switch tells a printer without storage why a kept job may not stay; the four models of
// the shorter text say it their way.
TEST_P(JobRetentionNote, TheSwitchNamesMissingStorage) {
    const StorageNoteCase& c = GetParam();
    EngineSheet sheet(ui::kSheetDocument, 2, 40, c.modelClass);
    SetPrinter(sheet, c.ramDisk, c.compactFlash, 0);
    RetentionPage page(sheet);
    sheet.Factory().AttachDialog(nullptr);
    const VORTAOptItemHandler& retention = HandlerOf(sheet, 5053);
    EXPECT_EQ(retention.BubbleText(), c.note);
    EXPECT_EQ(retention.BubbleKind(), c.note != 0 ? 0x100u : 0u);
    EXPECT_EQ(retention.BubbleCaption(), c.note != 0 ? kNoteCaption : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Models, JobRetentionNote,
    ::testing::Values(StorageNoteCase{7, 0, 0, 33428}, StorageNoteCase{16, 0, 0, 33428},
                      StorageNoteCase{4, 0, 0, 33422}, StorageNoteCase{15, 0, 0, 33422},
                      StorageNoteCase{7, 1, 0, 0}, StorageNoteCase{16, 0, 1, 0},
                      StorageNoteCase{6, 1, 1, 0}));

// Without a RAM disk or a card the page still opens closed, and only the switch, enabled and on,
// opens it; the preview also waits for the job language to be off.
TEST(JobRetention, TheItemsOpenOnlyWhileTheEnabledSwitchIsOn) {
    EngineSheet sheet(ui::kSheetDocument, 2, 40, 7);
    SetPrinter(sheet, 0, 0, 0);
    RetentionPage page(sheet);
    sheet.Factory().AttachDialog(nullptr);
    for (DWORD id : kRetentionItems) {
        EXPECT_FALSE(Enabled(sheet, id)) << id;
    }
    EXPECT_FALSE(Enabled(sheet, 5253));
    HandlerOf(sheet, 5053).SetSelection(1, nullptr);
    for (DWORD id : kRetentionItems) {
        EXPECT_TRUE(Enabled(sheet, id)) << id;
    }
    EXPECT_TRUE(Enabled(sheet, 5253));
    // A switch that cannot be changed keeps the page closed, whatever it holds.
    HandlerOf(sheet, 5053).Disable(ui::kDisabledControl);
    sheet.Factory().AttachDialog(nullptr);
    for (DWORD id : kRetentionItems) {
        EXPECT_FALSE(Enabled(sheet, id)) << id;
    }
    HandlerOf(sheet, 5053).Enable(ui::kDisabledControl);
    HandlerOf(sheet, 5053).SetSelection(0, nullptr);
    HandlerOf(sheet, 5053).SetSelection(1, nullptr);
    EXPECT_TRUE(Enabled(sheet, 5102));
    EXPECT_EQ(page.retention.Sel, 1);
}

TEST(JobRetention, ThePreviewStaysClosedWhileThePrinterUsesItsJobLanguage) {
    EngineSheet sheet(ui::kSheetDocument, 2, 40, 16);
    SetPrinter(sheet, 1, 0, 1);
    RetentionPage page(sheet);
    sheet.Factory().AttachDialog(nullptr);
    HandlerOf(sheet, 5053).SetSelection(1, nullptr);
    EXPECT_TRUE(Enabled(sheet, 5102));
    EXPECT_FALSE(Enabled(sheet, 5253));
}

// A private job asks for a PIN instead of a preview; the PIN is not shown as the page opens.
TEST(JobRetention, APrivateJobTradesThePreviewForThePin) {
    EngineSheet sheet(ui::kSheetDocument, 2, 40, 7);
    SetPrinter(sheet, 0, 0, 0);
    RetentionPage page(sheet);
    sheet.Factory().AttachDialog(nullptr);
    EXPECT_EQ(page.showPin.Sel, 0);
    const auto states = [&] {
        return std::vector<DWORD>{HandlerOf(sheet, 5253).GetState(),
                                  HandlerOf(sheet, 5302).GetState(),
                                  HandlerOf(sheet, 5350).GetState()};
    };
    EXPECT_EQ(states(), (std::vector<DWORD>{1, 0, 0}));
    HandlerOf(sheet, 5102).SetSelectionByValue(3, nullptr);
    EXPECT_EQ(page.mode.Sel, 2);
    EXPECT_EQ(states(), (std::vector<DWORD>{0, 1, 1}));
    HandlerOf(sheet, 5102).SetSelectionByValue(4, nullptr);
    EXPECT_EQ(states(), (std::vector<DWORD>{1, 0, 0}));
}

struct StoredJobCase {
    DWORD modelClass;
    BYTE ramDisk;
    bool offered;
};

class StoredJobOption : public ::testing::TestWithParam<StoredJobCase> {};

// The card models offer a stored job only when the printer does not keep jobs on a RAM disk; a
// stored job chosen before falls back to the first mode.
TEST_P(StoredJobOption, IsOfferedWithoutARamDisk) {
    const StoredJobCase& c = GetParam();
    EngineSheet sheet(ui::kSheetDocument, 2, 40, c.modelClass);
    SetPrinter(sheet, c.ramDisk, 0, 0);
    RetentionPage page(sheet);
    page.mode.Sel = 3;
    page.mode.pOptType->pOptParam[1].Flags = OPTPF_HIDE;
    sheet.Factory().AttachDialog(nullptr);
    const bool cardModel = c.modelClass == 7 || c.modelClass == 16;
    EXPECT_EQ(page.mode.pOptType->pOptParam[1].Flags & OPTPF_HIDE, cardModel ? 0 : OPTPF_HIDE);
    EXPECT_EQ((page.mode.pOptType->pOptParam[3].Flags & OPTPF_HIDE) == 0, c.offered);
    EXPECT_EQ(page.mode.Sel, c.offered ? 3 : 0);
}

INSTANTIATE_TEST_SUITE_P(Models, StoredJobOption,
                         ::testing::Values(StoredJobCase{7, 1, false}, StoredJobCase{7, 0, true},
                                           StoredJobCase{16, 1, false}, StoredJobCase{16, 0, true},
                                           StoredJobCase{4, 1, true}));

// The models without retention get no such rule: the page's items are left as they are.
TEST(JobRetention, OtherModelsHaveNoRule) {
    EngineSheet sheet(ui::kSheetDocument, 2, 40, 5);
    SetPrinter(sheet, 0, 0, 0);
    RetentionPage page(sheet);
    sheet.Factory().AttachDialog(nullptr);
    EXPECT_TRUE(Enabled(sheet, 5102));
    EXPECT_EQ(HandlerOf(sheet, 5053).BubbleKind(), 0u);
    EXPECT_EQ(page.showPin.Sel, 1);
}

// The host's items of the installable options, as the printer sheet has them: option 0 installed.
struct InstalledOptions {
    explicit InstalledOptions(EngineSheet& sheet)
        : ramDisk(sheet.AddItem(TVOT_2STATES, {0, 1}, 0, 31250, 0)),
          compactFlash(sheet.AddItem(TVOT_2STATES, {0, 1}, 0, 31300, 1)) {
        Register(sheet, {&ramDisk, &compactFlash});
    }
    OPTITEM& ramDisk;
    OPTITEM& compactFlash;
};

class CompactFlash : public ::testing::TestWithParam<DWORD> {};

// A card installed on the models that take one stands in for the RAM disk, both as the user
// installs it and as a sheet opens on it; a commit changes nothing.
TEST_P(CompactFlash, TakesThePlaceOfTheRamDisk) {
    const DWORD modelClass = GetParam();
    const bool cardModel = modelClass == 7 || modelClass == 16;
    EngineSheet sheet(ui::kSheetPrinter, 2, 40, modelClass);
    InstalledOptions options(sheet);
    sheet.Factory().AttachDialog(nullptr);
    EXPECT_EQ(options.ramDisk.Sel, 0);
    HandlerOf(sheet, 31300 | kHelpId).SetSelection(0, nullptr);
    EXPECT_EQ(options.ramDisk.Sel, cardModel ? 1 : 0);
    // Installing the RAM disk again is taken back while the card is in.
    HandlerOf(sheet, 31250 | kHelpId).SetSelection(0, nullptr);
    EXPECT_EQ(options.ramDisk.Sel, cardModel ? 1 : 0);
    options.ramDisk.Sel = 0;
    sheet.Factory().Commit(FALSE);
    EXPECT_EQ(options.ramDisk.Sel, 0);
    sheet.Factory().AttachDialog(nullptr);
    EXPECT_EQ(options.ramDisk.Sel, cardModel ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Models, CompactFlash, ::testing::Values(7, 16, 4, 20));

// The document sheet has no such rule.
TEST(CompactFlashDocument, TheDocumentSheetLeavesTheOptions) {
    EngineSheet sheet(ui::kSheetDocument, 2, 40, 7);
    InstalledOptions options(sheet);
    sheet.Factory().AttachDialog(nullptr);
    HandlerOf(sheet, 31300 | kHelpId).SetSelection(0, nullptr);
    EXPECT_EQ(options.ramDisk.Sel, 0);
}

// The options page's 1200 dpi switch stands only while the host shows installable features.
TEST(Configure, The1200DpiSwitchGoesWithoutInstallableFeatures) {
    const DWORD remembered[] = {1019};
    for (const DWORD count : {0u, 1u}) {
        EngineSheet sheet(ui::kSheetPrinter, 2, 51, 16);
        sheet.Environment().hostHelpIndices = remembered;
        sheet.Environment().hostHelpIndexCount = count;
        OPTITEM& ramDisk = sheet.AddOwnItem(TVOT_CHKBOX, {1}, 9202);
        OPTITEM& dpi = sheet.AddOwnItem(TVOT_CHKBOX, {1}, 9302);
        Register(sheet, {&ramDisk, &dpi});
        sheet.Factory().AttachDialog(nullptr);
        EXPECT_EQ(HandlerOf(sheet, 9302).GetState(), count != 0 ? 1u : 0u) << count;
    }
}

// The name dialogs of quick settings and custom media: OK waits for a name that is more than
// blanks, as the user leaves the name's field.
class NameDialog : public ::testing::TestWithParam<DWORD> {
protected:
    void SetUp() override {
        dialog_ = CreateWindowExW(0, L"STATIC", L"Name", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_NE(dialog_, nullptr);
        ok_ = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE, 10, 60, 60, 20, dialog_,
                              reinterpret_cast<HMENU>(IDOK), nullptr, nullptr);
        edit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 20, dialog_,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(GetParam())), nullptr,
                                nullptr);
        ASSERT_NE(ok_, nullptr);
        ASSERT_NE(edit_, nullptr);
    }
    void TearDown() override { DestroyWindow(dialog_); }

    // The user types `text` into the name and leaves the field.
    void Type(EngineSheet& sheet, const char* text) {
        SetWindowTextW(edit_, sheet.Text(text));
        sheet.Factory().DialogMessage(dialog_, WM_COMMAND,
                                      MAKEWPARAM(static_cast<WORD>(GetParam()), EN_KILLFOCUS),
                                      reinterpret_cast<LPARAM>(edit_));
    }

    HWND dialog_ = nullptr;
    HWND ok_ = nullptr;
    HWND edit_ = nullptr;
};

TEST_P(NameDialog, OkWaitsForANameThatIsMoreThanBlanks) {
    EngineSheet sheet(ui::kSheetDocument, 2, 40, 7);
    OPTITEM& name = sheet.AddEditBox(GetParam(), 32);
    Register(sheet, {&name});
    sheet.Factory().AttachDialog(dialog_);
    EXPECT_FALSE(IsWindowEnabled(ok_));
    Type(sheet, "   ");
    EXPECT_EQ(sim::Utf8(reinterpret_cast<const char16_t*>(name.pSel)), "   ");
    EXPECT_FALSE(IsWindowEnabled(ok_));
    Type(sheet, " a ");
    EXPECT_TRUE(IsWindowEnabled(ok_));
    Type(sheet, "");
    EXPECT_FALSE(IsWindowEnabled(ok_));
}

INSTANTIATE_TEST_SUITE_P(Names, NameDialog, ::testing::Values(16100, 18100));

// While a graphics mode is chosen the print optimisation is on and fixed.
TEST(GraphicsMode, FixesThePrintOptimisation) {
    EngineSheet sheet(ui::kSheetDocument, 2, 40, 7);
    OPTITEM& mode = sheet.AddItem(TVOT_2STATES, {0, 1}, 0, 30300, 1);
    OPTITEM& optimisation = sheet.AddItem(TVOT_2STATES, {0, 1}, 0, 1034, 0);
    Register(sheet, {&mode, &optimisation});
    sheet.Factory().AttachDialog(nullptr);
    EXPECT_EQ(optimisation.Sel, 1);
    EXPECT_FALSE(Enabled(sheet, 1034 | kHelpId));
    HandlerOf(sheet, 30300 | kHelpId).SetSelection(0, nullptr);
    EXPECT_EQ(optimisation.Sel, 0);
    EXPECT_TRUE(Enabled(sheet, 1034 | kHelpId));
}

// The colour page of the older models: the colour item, the mode (2 and 5 fixed, 9 the user's
// adjustments, 10 colour matching), screening, the two colour-matching host items and the nine
// adjustments.
constexpr DWORD kAdjustments[] = {4252, 4302, 4352, 4402, 4452, 4502, 4552, 4602, 4652};
constexpr DWORD kMatching[] = {4100, 10, 11};

class LegacyColorPage : public ::testing::Test {
protected:
    explicit LegacyColorPage(DWORD modelClass = 2) : sheet_(ui::kSheetDocument, 2, 40, modelClass) {
        std::vector<OPTITEM*> items = {
            &sheet_.AddItem(TVOT_2STATES, {0, 1}, DMPUB_COLOR, 0, 1),
            &sheet_.AddOwnItem(TVOT_COMBOBOX, {2, 5, 9, 10}, 4053, 0),
            &sheet_.AddOwnItem(TVOT_COMBOBOX, {0, 1, 2}, 4100),
            &sheet_.AddItem(TVOT_LISTBOX, {0, 1, 2, 3}, DMPUB_ICMMETHOD, 0, 2),
            &sheet_.AddItem(TVOT_LISTBOX, {0, 1, 2, 3}, DMPUB_ICMINTENT, 0, 1),
        };
        for (DWORD id : kAdjustments) {
            items.push_back(&sheet_.AddOwnItem(TVOT_TRACKBAR, {0, 100}, id, 50));
        }
        for (OPTITEM* item : items) {
            EXPECT_EQ(sheet_.Factory().RegisterItem(item), S_OK);
        }
        EXPECT_EQ(sheet_.Factory().FinishRegistration(), S_OK);
    }
    VORTAOptItemHandler& Item(DWORD id) { return HandlerOf(sheet_, id); }
    std::vector<LONG_PTR> Adjustments() {
        std::vector<LONG_PTR> values;
        for (DWORD id : kAdjustments) {
            values.push_back(Item(id).GetValue(nullptr));
        }
        return values;
    }
    // Whether every one of `ids` has `state` and, as `enabled` says, its control open.
    template <size_t N> void ExpectItems(const DWORD (&ids)[N], DWORD state, bool enabled) {
        for (DWORD id : ids) {
            EXPECT_EQ(Item(id).GetState(), state) << id;
            EXPECT_EQ(Enabled(sheet_, id), enabled) << id;
        }
    }

    EngineSheet sheet_;
};

TEST_F(LegacyColorPage, AFixedModeTakesTheAdjustmentsOverAndTheUsersComeBack) {
    sheet_.Factory().AttachDialog(nullptr);
    EXPECT_EQ(Adjustments(), (std::vector<LONG_PTR>{2, 1, 18, 0, 0, 0, 0, 0, 0}));
    ExpectItems(kAdjustments, 1, false);
    ExpectItems(kMatching, 0, true);
    // A second attachment, and a second fixed mode, keep what the user had.
    sheet_.Factory().AttachDialog(nullptr);
    Item(4053).SetSelectionByValue(5, nullptr);
    EXPECT_EQ(Adjustments(), (std::vector<LONG_PTR>{4, 2, 18, 0, 0, 0, 0, 0, 0}));
    Item(4053).SetSelectionByValue(9, nullptr);
    EXPECT_EQ(Adjustments(), std::vector<LONG_PTR>(9, 50));
    ExpectItems(kAdjustments, 1, true);
    ExpectItems(kMatching, 0, true);
    EXPECT_EQ(Item(10).GetValue(nullptr), 0);
}

// Colour matching comes back as it was before a mode without it, or on when it was off.
TEST_F(LegacyColorPage, ColourMatchingReplacesTheAdjustments) {
    Item(4053).Item()->Sel = 2; // the user's adjustments
    Item(10).Item()->Sel = 0;
    sheet_.Factory().AttachDialog(nullptr);
    ExpectItems(kMatching, 0, true);
    Item(4252).SetSelectionByValue(3, nullptr);
    Item(4053).SetSelectionByValue(10, nullptr);
    EXPECT_EQ(Item(10).GetValue(nullptr), 1);
    ExpectItems(kMatching, 1, true);
    ExpectItems(kAdjustments, 0, true);
    Item(10).SetSelection(3, nullptr);
    Item(4053).SetSelectionByValue(9, nullptr);
    EXPECT_EQ(Item(10).GetValue(nullptr), 0);
    EXPECT_EQ(Item(4252).GetValue(nullptr), 3);
    ExpectItems(kAdjustments, 1, true);
    // The page attached again finds colour matching off already and keeps what was kept.
    sheet_.Factory().AttachDialog(nullptr);
    Item(4053).SetSelectionByValue(10, nullptr);
    EXPECT_EQ(Item(10).GetValue(nullptr), 3);
}

// Monochrome closes the items the mode leaves open and says why at the mode; colour opens them.
TEST_F(LegacyColorPage, MonochromeClosesTheModesItems) {
    Item(4053).Item()->Sel = 2;
    sheet_.Factory().AttachDialog(nullptr);
    Item(DMPUB_COLOR).SetSelection(0, nullptr);
    EXPECT_EQ(Item(4053).BubbleKind(), 0x4000u);
    EXPECT_EQ(Item(4053).BubbleText(), 33418u);
    ExpectItems(kAdjustments, 1, false);
    // A mode chosen in monochrome stays closed too.
    Item(4053).SetSelectionByValue(10, nullptr);
    ExpectItems(kMatching, 1, false);
    Item(DMPUB_COLOR).SetSelection(1, nullptr);
    EXPECT_EQ(Item(4053).BubbleKind(), 0u);
    EXPECT_EQ(Item(4053).BubbleText(), 0u);
    ExpectItems(kMatching, 1, true);
}

// The user's values are kept as a preset takes over even while monochrome has closed them.
TEST_F(LegacyColorPage, TheUsersValuesAreKeptInMonochromeToo) {
    Item(4053).Item()->Sel = 2;
    sheet_.Factory().AttachDialog(nullptr);
    Item(4252).SetSelectionByValue(7, nullptr);
    Item(DMPUB_COLOR).SetSelection(0, nullptr);
    Item(4053).SetSelectionByValue(2, nullptr);
    EXPECT_EQ(Item(4252).GetValue(nullptr), 2);
    Item(4053).SetSelectionByValue(9, nullptr);
    EXPECT_EQ(Item(4252).GetValue(nullptr), 7);
    ExpectItems(kAdjustments, 1, false);
}

// A quick setting that brings a mode back does not bring back the values kept for it.
TEST_F(LegacyColorPage, ARestoredModeKeepsTheRestoredValues) {
    Item(4053).Item()->Sel = 2;
    sheet_.Factory().AttachDialog(nullptr);
    Item(4053).SetSelectionByValue(10, nullptr);
    Item(4053).Item()->Sel = 2;
    Item(4252).Item()->Sel = 4;
    Item(4053).Notify(4053, ui::kEventRestored, 0);
    EXPECT_EQ(Item(4252).GetValue(nullptr), 4);
    ExpectItems(kAdjustments, 1, true);
}

class NewerColorPage : public LegacyColorPage {
protected:
    NewerColorPage() : LegacyColorPage(7) {}
};

TEST_F(NewerColorPage, HasNoLegacyRule) {
    sheet_.Factory().AttachDialog(nullptr);
    EXPECT_EQ(Adjustments(), std::vector<LONG_PTR>(9, 50));
    ExpectItems(kMatching, 1, true);
}

} // namespace
} // namespace moltr::test
