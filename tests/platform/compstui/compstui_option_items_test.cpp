// The option-item page of a COMPROPSHEETUI as a user sees and drives it: the tree view's texts,
// nesting, hidden and collapsed items; changes through the change area with the callbacks they
// cause (CPSUICBPARAM contents, no callback for an unchanged value, hidden and disabled options
// refused, the edit buffer's bound); the callback's answers; SETACTIVE, KILLACTIVE and APPLYNOW
// with its result, also from a sheet whose option-item page was never shown.
#include "platform/compstui/sheet_script.h"

#include "sim/option_items.h"
#include "sim/utf.h"

#include <prsht.h>

#include <string>

namespace {

using moltr::sim::SheetAction;
using moltr::test::SheetScript;

struct Seen {
    CPSUICBPARAM param{};
    int current = -1; // index of pCurItem
    std::string oldText;
};

std::vector<Seen> g_seen;
std::function<LONG(PCPSUICBPARAM)> g_answer;

class OptionItems : public ::testing::Test {
protected:
    OptionItems() {
        g_seen.clear();
        g_answer = nullptr;
        Param(orientation_[0], L"Portrait");
        Param(orientation_[1], L"Landscape");
        Param(copies_[0], L"copies");
        Param(copies_[1], nullptr);
        copies_[1].IconID = 1;
        copies_[1].lParam = 99;
        Param(quality_[0], L"Draft");
        Param(quality_[1], L"Normal");
        Param(quality_[2], L"Best");
        quality_[2].Flags = OPTPF_HIDE;
        Param(name_[0], nullptr);
        Param(name_[1], nullptr);
        name_[1].IconID = 8; // the buffer's characters
        Param(setup_[0], nullptr);
        setup_[0].Style = PUSHBUTTON_TYPE_CALLBACK;
        Type(types_[0], TVOT_2STATES, orientation_, 2);
        Type(types_[1], TVOT_UDARROW, copies_, 2);
        Type(types_[2], TVOT_COMBOBOX, quality_, 3);
        Type(types_[3], TVOT_EDITBOX, name_, 2);
        Type(types_[4], TVOT_PUSHBUTTON, setup_, 1);
        collate_.cbSize = sizeof collate_;
        collate_.pTitle = const_cast<WCHAR*>(L"Collate");
        collate_.pCheckedName = const_cast<WCHAR*>(L"Collated");
        Item(0, 0, L"Paper", nullptr, 0);
        Item(1, 1, L"Orientation", &types_[0], 0);
        Item(2, 1, L"Copies", &types_[1], 1);
        items_[2].pExtChkBox = &collate_;
        Item(3, 1, L"Tray", &types_[2], 0, OPTIF_HIDE);
        Item(4, 2, L"Under the tray", &types_[0], 0);
        Item(5, 0, L"Quality", &types_[2], 1, OPTIF_COLLAPSE);
        Item(6, 1, L"Name", &types_[3], 0);
        items_[6].pSel = buffer_;
        Item(7, 0, L"Setup", &types_[4], 0);
        Item(8, 0, L"Locked", &types_[0], 0, OPTIF_DISABLED);
        ui_.cbSize = sizeof ui_;
        ui_.hInstCaller = GetModuleHandleW(nullptr);
        ui_.pCallerName = const_cast<WCHAR*>(L"Driver");
        ui_.UserData = 0xC0FFEE;
        ui_.pfnCallBack = Callback;
        ui_.pOptItem = items_;
        ui_.cOptItem = kItems;
        ui_.pDlgPage = CPSUI_PDLGPAGE_TREEVIEWONLY;
        script_.init[0] = [this](PPROPSHEETUI_INFO info) {
            root_ = info->hComPropSheet;
            if (withCallerPage_) {
                PROPSHEETPAGEW page = script_.Page(0);
                info->pfnComPropSheet(root_, CPSFUNC_ADD_PROPSHEETPAGEW,
                                      reinterpret_cast<LPARAM>(&page), 0);
            }
            group_ = reinterpret_cast<HANDLE>(info->pfnComPropSheet(
                root_, CPSFUNC_ADD_PCOMPROPSHEETUIW, reinterpret_cast<LPARAM>(&ui_),
                reinterpret_cast<LPARAM>(&added_)));
            return group_ ? 1 : 0;
        };
    }

    static LONG APIENTRY Callback(PCPSUICBPARAM param) {
        Seen seen{*param, -1, {}};
        if (param->pCurItem) {
            seen.current = static_cast<int>(param->pCurItem - param->pOptItem);
        }
        if (param->Reason == CPSUICB_REASON_SEL_CHANGED && param->pCurItem->pOptType &&
            param->pCurItem->pOptType->Type == TVOT_EDITBOX) {
            seen.oldText = moltr::sim::Utf8(param->pOldSel);
        }
        g_seen.push_back(seen);
        return g_answer ? g_answer(param) : CPSUICB_ACTION_NONE;
    }

    // Runs `act` with the option-item page while the sheet is open, then presses `button`.
    LONG Drive(std::function<void(HWND page)> act, int button = IDOK) {
        moltr::sim::QueueSheetAction({SheetAction::Kind::Run, 0, [act](HWND sheet) {
                                          if (HWND page = moltr::sim::OptionItemPageOf(sheet)) {
                                              act(page);
                                          }
                                      }});
        moltr::sim::QueueSheetAction({SheetAction::Kind::Press, button, nullptr});
        return CommonPropertySheetUIW(nullptr, SheetScript::Sheet, 0, &result_);
    }

    std::vector<WORD> Reasons() const {
        std::vector<WORD> reasons;
        for (const Seen& seen : g_seen) {
            reasons.push_back(seen.param.Reason);
        }
        return reasons;
    }

    static constexpr int kItems = 9;
    SheetScript script_;
    OPTPARAM orientation_[2]{}, copies_[2]{}, quality_[3]{}, name_[2]{}, setup_[1]{};
    OPTTYPE types_[5]{};
    EXTCHKBOX collate_{};
    OPTITEM items_[kItems]{};
    WCHAR buffer_[8] = {L'A', 0};
    COMPROPSHEETUI ui_{};
    HANDLE root_ = nullptr;
    HANDLE group_ = nullptr;
    LONG added_ = 0;
    bool withCallerPage_ = false;
    DWORD result_ = 0;

private:
    static void Param(OPTPARAM& param, const WCHAR* text) {
        param.cbSize = sizeof param;
        param.pData = const_cast<WCHAR*>(text);
    }
    static void Type(OPTTYPE& type, BYTE kind, OPTPARAM* params, WORD count) {
        type.cbSize = sizeof type;
        type.Type = kind;
        type.Count = count;
        type.pOptParam = params;
    }
    void Item(int index, BYTE level, const WCHAR* name, OPTTYPE* type, LONG sel, DWORD flags = 0) {
        OPTITEM& item = items_[index];
        item.cbSize = sizeof item;
        item.Level = level;
        item.pName = const_cast<WCHAR*>(name);
        item.pOptType = type;
        item.Sel = sel;
        item.Flags = flags | OPTIF_CALLBACK;
    }
};

using ReasonList = std::vector<WORD>;

TEST_F(OptionItems, TheTreeShowsNameAndValueNestedByLevel) {
    std::vector<moltr::sim::PageItemView> seen;
    EXPECT_EQ(Drive([&seen](HWND page) { seen = moltr::sim::OptionItems(page); }), CPSUI_OK);
    EXPECT_EQ(added_, 1);
    ASSERT_EQ(seen.size(), static_cast<size_t>(kItems));
    const char* texts[] = {"Paper",
                           "Orientation: Portrait",
                           "Copies: 1 copies",
                           "Tray: Draft",
                           "Under the tray: Portrait",
                           "Quality: Normal",
                           "Name: A",
                           "Setup",
                           "Locked: Portrait"};
    for (int i = 0; i < kItems; ++i) {
        EXPECT_EQ(moltr::sim::Utf8(seen[i].text), texts[i]) << i;
    }
    EXPECT_TRUE(seen[0].shown);
    EXPECT_TRUE(seen[0].expanded);
    EXPECT_FALSE(seen[3].shown); // OPTIF_HIDE
    EXPECT_FALSE(seen[4].shown); // below a hidden item
    EXPECT_TRUE(seen[5].shown);
    EXPECT_FALSE(seen[5].expanded); // OPTIF_COLLAPSE
    EXPECT_TRUE(seen[0].current);
    EXPECT_FALSE(seen[8].enabled);
}

TEST_F(OptionItems, AChangedSelectionReachesTheItemAndTheCallbackOnce) {
    bool refused[4] = {};
    bool applyEnabled = false;
    HWND shownPage = nullptr;
    Drive([&](HWND page) {
        shownPage = page;
        g_seen.clear();
        EXPECT_TRUE(moltr::sim::SetOptionItemSelection(page, 1, 1));
        EXPECT_TRUE(moltr::sim::SetOptionItemSelection(page, 1, 1));    // unchanged: no call
        refused[0] = !moltr::sim::SetOptionItemSelection(page, 5, 2);   // a hidden option
        refused[1] = !moltr::sim::SetOptionItemSelection(page, 8, 1);   // a disabled item
        refused[2] = !moltr::sim::SetOptionItemSelection(page, 2, 100); // outside the range
        refused[3] = !moltr::sim::SetOptionItemSelection(page, 3, 1);   // not shown
        applyEnabled = IsWindowEnabled(GetDlgItem(GetParent(page), 12321)) != FALSE;
    });
    EXPECT_EQ(items_[1].Sel, 1);
    EXPECT_EQ(items_[5].Sel, 1);
    EXPECT_EQ(items_[2].Sel, 1);
    // The user's change is marked on the item, whatever the callback did with OPTIF_CHANGED.
    EXPECT_TRUE(items_[1].Flags & OPTIF_CHANGEONCE);
    EXPECT_FALSE(items_[2].Flags & OPTIF_CHANGEONCE);
    EXPECT_TRUE(refused[0] && refused[1] && refused[2] && refused[3]);
    EXPECT_TRUE(applyEnabled);
    ASSERT_GE(g_seen.size(), 1U);
    const Seen& change = g_seen[0];
    EXPECT_EQ(change.param.Reason, CPSUICB_REASON_SEL_CHANGED);
    EXPECT_EQ(change.param.cbSize, sizeof(CPSUICBPARAM));
    EXPECT_EQ(change.param.hDlg, shownPage);
    EXPECT_EQ(change.param.pOptItem, items_);
    EXPECT_EQ(change.param.cOptItem, kItems);
    EXPECT_EQ(change.current, 1);
    EXPECT_EQ(change.param.OldSel, 0);
    EXPECT_EQ(change.param.UserData, 0xC0FFEEU);
    // Only the one change was reported before the sheet closed.
    EXPECT_EQ(Reasons(), (ReasonList{CPSUICB_REASON_SEL_CHANGED, CPSUICB_REASON_KILLACTIVE,
                                     CPSUICB_REASON_APPLYNOW}));
}

TEST_F(OptionItems, TheCallbacksAnswerSaysWhatToShowAgain) {
    std::string after[2];
    bool unhidden = false;
    g_answer = [this](PCPSUICBPARAM param) -> LONG {
        if (param->Reason != CPSUICB_REASON_SEL_CHANGED) {
            return CPSUICB_ACTION_NONE;
        }
        if (param->pCurItem == &items_[1]) {
            items_[5].Sel = 0;
            items_[5].Flags |= OPTIF_CHANGED;
            return CPSUICB_ACTION_OPTIF_CHANGED;
        }
        items_[3].Flags &= ~static_cast<DWORD>(OPTIF_HIDE);
        return CPSUICB_ACTION_REINIT_ITEMS;
    };
    Drive([&](HWND page) {
        moltr::sim::SetOptionItemSelection(page, 1, 1);
        after[0] = moltr::sim::Utf8(moltr::sim::OptionItems(page)[5].text);
        moltr::sim::SetOptionItemSelection(page, 2, 5);
        unhidden = moltr::sim::OptionItems(page)[3].shown;
        after[1] = moltr::sim::Utf8(moltr::sim::OptionItems(page)[2].text);
    });
    EXPECT_EQ(after[0], "Quality: Draft");
    EXPECT_FALSE(items_[5].Flags & OPTIF_CHANGED);
    EXPECT_TRUE(unhidden);
    EXPECT_EQ(after[1], "Copies: 5 copies");
}

TEST_F(OptionItems, TypedTextStaysInsideTheBufferAndTheOldTextIsReported) {
    Drive([](HWND page) {
        EXPECT_TRUE(moltr::sim::SetOptionItemText(page, 6, u"ABCDEFGHIJ"));
        EXPECT_TRUE(moltr::sim::SetOptionItemText(page, 2, u"12"));
        EXPECT_FALSE(moltr::sim::SetOptionItemText(page, 2, u"12x"));
    });
    EXPECT_EQ(moltr::sim::Utf8(buffer_), "ABCDEFG");
    EXPECT_EQ(buffer_[7], 0);
    EXPECT_EQ(items_[2].Sel, 12);
    ASSERT_FALSE(g_seen.empty());
    EXPECT_EQ(g_seen[1].current, 6);
    EXPECT_EQ(g_seen[1].oldText, "A");
}

TEST_F(OptionItems, ExtendedCheckBoxesAndPushButtonsCallBack) {
    std::string text;
    Drive([&text](HWND page) {
        g_seen.clear();
        EXPECT_TRUE(moltr::sim::SetOptionItemCheck(page, 2, true));
        text = moltr::sim::Utf8(moltr::sim::OptionItems(page)[2].text);
        EXPECT_FALSE(moltr::sim::SetOptionItemCheck(page, 1, true)); // it has none
        EXPECT_TRUE(moltr::sim::PushOptionItem(page, 7));
        EXPECT_FALSE(moltr::sim::PushOptionItem(page, 1));
    });
    EXPECT_TRUE(items_[2].Flags & OPTIF_ECB_CHECKED);
    EXPECT_EQ(text, "Copies: 1 copies, Collated");
    ASSERT_GE(g_seen.size(), 2U);
    EXPECT_EQ(g_seen[0].param.Reason, CPSUICB_REASON_ECB_CHANGED);
    EXPECT_EQ(g_seen[0].current, 2);
    EXPECT_EQ(g_seen[1].param.Reason, CPSUICB_REASON_PUSHBUTTON);
    EXPECT_EQ(g_seen[1].current, 7);
}

INT_PTR CALLBACK SetupDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* param = reinterpret_cast<const CPSUICBPARAM*>(lParam);
        g_seen.push_back({*param, static_cast<int>(param->pCurItem - param->pOptItem), {}});
        // The dialog changes another item, which the page then shows.
        param->pOptItem[5].Sel = 0;
        param->pOptItem[5].Flags |= OPTIF_CHANGED;
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    return FALSE;
}

TEST_F(OptionItems, ADialogPushButtonShowsItsDialogWithTheCallbacksParameters) {
    const moltr::test::PageTemplate dialog(u"Setup", 100, 60);
    setup_[0].Style = PUSHBUTTON_TYPE_DLGPROC;
    setup_[0].Flags = OPTPF_USE_HDLGTEMPLATE;
    setup_[0].pData = reinterpret_cast<LPWSTR>(SetupDialog);
    setup_[0].lParam = reinterpret_cast<LPARAM>(dialog.get());
    std::string quality;
    Drive([&quality](HWND page) {
        g_seen.clear();
        EXPECT_TRUE(moltr::sim::PushOptionItem(page, 7));
        quality = moltr::sim::Utf8(moltr::sim::OptionItems(page)[5].text);
    });
    ASSERT_FALSE(g_seen.empty());
    EXPECT_EQ(g_seen[0].param.Reason, CPSUICB_REASON_DLGPROC);
    EXPECT_EQ(g_seen[0].current, 7);
    EXPECT_EQ(g_seen[0].param.UserData, 0xC0FFEEU);
    EXPECT_EQ(quality, "Quality: Draft");
}

TEST_F(OptionItems, OkAppliesTheItemsAndTheResultReachesTheSheetsFunction) {
    Drive([](HWND) {});
    EXPECT_EQ(Reasons(), (ReasonList{CPSUICB_REASON_SETACTIVE, CPSUICB_REASON_KILLACTIVE,
                                     CPSUICB_REASON_APPLYNOW}));
    EXPECT_EQ(g_seen[0].current, 0); // pCurItem is the first item
    EXPECT_NE(g_seen[0].param.pOldSel, nullptr);
    const Seen& apply = g_seen.back();
    EXPECT_EQ(apply.param.OldSel, -1);
    EXPECT_EQ(apply.current, 0);
    bool heard = false;
    for (const auto& call : script_.calls) {
        if (call.reason == PROPSHEETUI_REASON_SET_RESULT) {
            heard = true;
            EXPECT_EQ(call.result.hSetResult, group_);
            EXPECT_EQ(call.result.Result, CPSUI_OK);
        }
    }
    EXPECT_TRUE(heard);
    EXPECT_EQ(result_, static_cast<DWORD>(CPSUI_OK));
}

TEST_F(OptionItems, NoApplyExitKeepsTheSheetOpenUntilTheNextOk) {
    int applies = 0;
    g_answer = [&applies](PCPSUICBPARAM param) -> LONG {
        if (param->Reason != CPSUICB_REASON_APPLYNOW) {
            return CPSUICB_ACTION_NONE;
        }
        return ++applies == 1 ? CPSUICB_ACTION_NO_APPLY_EXIT : CPSUICB_ACTION_ITEMS_APPLIED;
    };
    moltr::sim::QueueSheetAction({SheetAction::Kind::Press, IDOK, nullptr});
    EXPECT_EQ(Drive([](HWND) {}), CPSUI_OK);
    EXPECT_EQ(applies, 2);
}

TEST_F(OptionItems, APageShownInsteadStillAppliesTheOptionItems) {
    withCallerPage_ = true;
    moltr::sim::QueueSheetAction({SheetAction::Kind::Press, IDOK, nullptr});
    EXPECT_EQ(CommonPropertySheetUIW(nullptr, SheetScript::Sheet, 0, &result_), CPSUI_OK);
    EXPECT_EQ(Reasons(), (ReasonList{CPSUICB_REASON_APPLYNOW}));
    EXPECT_EQ(g_seen[0].param.hDlg,
              nullptr == g_seen[0].param.hDlg ? nullptr : g_seen[0].param.hDlg);
}

TEST_F(OptionItems, DescriptionsCompstuiCannotShowAreRefused) {
    struct Case {
        std::function<void()> spoil;
        LONG error;
    };
    DLGPAGE own[1] = {};
    const Case cases[] = {
        {[this] { ui_.hInstCaller = nullptr; }, ERR_CPSUI_NULL_HINST},
        {[this] { ui_.pCallerName = nullptr; }, ERR_CPSUI_NULL_CALLERNAME},
        {[this] { ui_.cOptItem = 0; }, ERR_CPSUI_ZERO_OPTITEM},
        {[this, &own] { ui_.pDlgPage = own; }, ERR_CPSUI_INVALID_PDLGPAGE},
        {[this] { items_[1].pName = nullptr; }, ERR_CPSUI_NULL_OPTITEMNAME},
        {[this] { items_[1].cbSize = 1; }, ERR_CPSUI_INVALID_OPTITEM_CBSIZE},
        {[this] { types_[0].Count = 3; }, ERR_CPSUI_INVALID_OPTTYPE_COUNT},
        {[this] { types_[0].Type = 40; }, ERR_CPSUI_INVALID_TVOT_TYPE},
        {[this] { quality_[1].cbSize = 2; }, ERR_CPSUI_INVALID_OPTPARAM_CBSIZE},
        {[this] { items_[6].pSel = nullptr; }, ERR_CPSUI_INVALID_EDITBOX_PSEL},
        {[this] { name_[1].IconID = 1; }, ERR_CPSUI_INVALID_EDITBOX_BUF_SIZE},
        {[this] { collate_.pTitle = nullptr; }, ERR_CPSUI_NULL_ECB_PTITLE},
    };
    for (const Case& spoilt : cases) {
        const COMPROPSHEETUI kept = ui_;
        OPTITEM keptItems[kItems];
        std::copy(items_, items_ + kItems, keptItems);
        const OPTTYPE keptType = types_[0];
        const OPTPARAM keptParams[3] = {quality_[0], quality_[1], quality_[2]};
        const OPTPARAM keptName = name_[1];
        const EXTCHKBOX keptBox = collate_;
        spoilt.spoil();
        added_ = 0;
        EXPECT_EQ(CommonPropertySheetUIW(nullptr, SheetScript::Sheet, 0, &result_), CPSUI_CANCEL);
        EXPECT_EQ(group_, nullptr);
        EXPECT_EQ(added_, spoilt.error);
        ui_ = kept;
        std::copy(keptItems, keptItems + kItems, items_);
        types_[0] = keptType;
        std::copy(keptParams, keptParams + 3, quality_);
        name_[1] = keptName;
        collate_ = keptBox;
    }
}

} // namespace
