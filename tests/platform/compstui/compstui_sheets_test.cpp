// CommonPropertySheetUIW and pfnComPropSheet: the order of the PROPSHEETUI_ reasons and what
// each brings, pages of nested functions, the PSPINFO a caller's page finds after its
// description, SET_RESULT walking up the groups, the start page, deleting, and the answers to
// handles and descriptions compstui refuses.
#include "platform/compstui/sheet_script.h"

#include "sim/dialogs.h"
#include "sim/utf.h"

#include <prsht.h>

#include <algorithm>

namespace {

using moltr::sim::SheetAction;
using moltr::test::FunctionCall;
using moltr::test::SheetScript;
using Reasons = std::vector<WORD>;

class Sheets : public ::testing::Test {
protected:
    LONG Show(LPARAM lParam = 0x5150) {
        return CommonPropertySheetUIW(nullptr, SheetScript::Sheet, lParam, &result_);
    }
    LONG_PTR AddPage(PPROPSHEETUI_INFO info, int index) {
        PROPSHEETPAGEW page = script_.Page(index);
        return info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW,
                                     reinterpret_cast<LPARAM>(&page), 0);
    }
    static void Run(std::function<void(HWND)> run) {
        moltr::sim::QueueSheetAction({SheetAction::Kind::Run, 0, std::move(run)});
    }

    SheetScript script_;
    DWORD result_ = 0xDEAD;
};

TEST_F(Sheets, TheFunctionDescribesTitlesAndIsDestroyedWithItsResult) {
    script_.init[0] = [this](PPROPSHEETUI_INFO info) {
        info->Result = 7;
        return AddPage(info, 0) ? 1 : 0;
    };
    EXPECT_EQ(Show(), CPSUI_OK);
    EXPECT_EQ(script_.Reasons(0),
              (Reasons{PROPSHEETUI_REASON_INIT, PROPSHEETUI_REASON_GET_INFO_HEADER,
                       PROPSHEETUI_REASON_DESTROY}));
    const PROPSHEETUI_INFO& first = script_.calls[0].info;
    EXPECT_EQ(first.cbSize, sizeof(PROPSHEETUI_INFO));
    EXPECT_EQ(first.Version, PROPSHEETUI_INFO_VERSION);
    EXPECT_EQ(first.Flags, PSUIINFO_UNICODE);
    EXPECT_EQ(first.lParamInit, 0x5150);
    EXPECT_EQ(script_.calls[0].lParam, 0x5150);
    EXPECT_NE(first.hComPropSheet, nullptr);
    EXPECT_EQ(first.Result, 0U);
    EXPECT_EQ(script_.calls[2].lParam, 1); // closed with OK
    EXPECT_EQ(script_.calls[2].info.Result, 7U);
    EXPECT_EQ(result_, 7U);
    const auto records = moltr::sim::DialogRecords();
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(moltr::sim::Utf8(records.back().caption), "Printer");
}

TEST_F(Sheets, AFailedDescriptionShowsNothingAndIsStillDestroyed) {
    moltr::sim::ClearDialogRecords();
    script_.init[0] = [this](PPROPSHEETUI_INFO info) {
        AddPage(info, 0);
        return 0;
    };
    EXPECT_EQ(Show(), CPSUI_CANCEL);
    EXPECT_EQ(script_.Reasons(0), (Reasons{PROPSHEETUI_REASON_INIT, PROPSHEETUI_REASON_DESTROY}));
    EXPECT_TRUE(moltr::sim::DialogRecords().empty());
    EXPECT_TRUE(script_.arrivals.empty());
}

TEST_F(Sheets, ASheetWithoutPagesIsRefused) {
    EXPECT_EQ(Show(), ERR_CPSUI_NO_PROPSHEETPAGE);
    EXPECT_EQ(CommonPropertySheetUIW(nullptr, nullptr, 0, nullptr), ERR_CPSUI_INVALID_PDATA);
}

TEST_F(Sheets, ACallersPageFindsItsDescriptionWithThePspInfoAfterIt) {
    LONG_PTR added = 0;
    HANDLE group = nullptr;
    script_.init[0] = [&](PPROPSHEETUI_INFO info) {
        group = info->hComPropSheet;
        added = AddPage(info, 0);
        return 1;
    };
    EXPECT_EQ(Show(), CPSUI_OK);
    ASSERT_EQ(script_.arrivals.size(), 1U);
    EXPECT_EQ(script_.arrivals[0].lParam, 100);
    const PSPINFO& info = script_.arrivals[0].info;
    EXPECT_EQ(info.cbSize, sizeof(PSPINFO));
    EXPECT_EQ(info.hComPropSheet, group);
    EXPECT_EQ(info.hCPSUIPage, reinterpret_cast<HANDLE>(added));
    EXPECT_NE(info.pfnComPropSheet, nullptr);
    // The page's own procedure still answers the sheet's notifications.
    EXPECT_NE(std::count(script_.pageNotifications.begin(), script_.pageNotifications.end(),
                         static_cast<UINT>(PSN_APPLY)),
              0);
}

TEST_F(Sheets, ANestedFunctionAddsPagesToItsOwnGroupAndResultsWalkUp) {
    HANDLE root = nullptr;
    HANDLE nested = nullptr;
    LONG_PTR walked[2] = {};
    LONG_PTR counts[2] = {};
    script_.init[0] = [&](PPROPSHEETUI_INFO info) {
        root = info->hComPropSheet;
        AddPage(info, 0);
        nested = reinterpret_cast<HANDLE>(
            info->pfnComPropSheet(root, CPSFUNC_ADD_PFNPROPSHEETUIW,
                                  reinterpret_cast<LPARAM>(SheetScript::Nested), 0x77));
        counts[0] = info->pfnComPropSheet(root, CPSFUNC_GET_PAGECOUNT, 0, 0);
        counts[1] = info->pfnComPropSheet(nested, CPSFUNC_GET_PAGECOUNT, 0, 0);
        walked[0] = info->pfnComPropSheet(nested, CPSFUNC_SET_RESULT, 0, 42);
        script_.answers[1][PROPSHEETUI_REASON_SET_RESULT] = 0; // the nested one stops the walk
        walked[1] = info->pfnComPropSheet(nested, CPSFUNC_SET_RESULT, 0, 43);
        return 1;
    };
    script_.init[1] = [this](PPROPSHEETUI_INFO info) { return AddPage(info, 1) ? 1 : 0; };
    EXPECT_EQ(Show(), CPSUI_OK);
    ASSERT_NE(nested, nullptr);
    EXPECT_NE(nested, root);
    EXPECT_EQ(counts[0], 2);
    EXPECT_EQ(counts[1], 1);
    EXPECT_EQ(walked[0], 2);
    EXPECT_EQ(walked[1], 1);
    const FunctionCall& nestedInit = script_.calls[1];
    EXPECT_EQ(nestedInit.function, 1);
    EXPECT_EQ(nestedInit.info.lParamInit, 0x77);
    EXPECT_EQ(nestedInit.info.hComPropSheet, nested);
    // The root heard the first result only, naming the nested group.
    std::vector<LRESULT> heard;
    for (const auto& call : script_.calls) {
        if (call.function == 0 && call.reason == PROPSHEETUI_REASON_SET_RESULT) {
            EXPECT_EQ(call.result.hSetResult, nested);
            EXPECT_EQ(call.result.cbSize, sizeof(SETRESULT_INFO));
            heard.push_back(call.result.Result);
        }
    }
    EXPECT_EQ(heard, (std::vector<LRESULT>{42}));
    // Destroyed innermost first.
    EXPECT_EQ(script_.calls[script_.calls.size() - 2].function, 1);
    EXPECT_EQ(script_.calls.back().function, 0);
    EXPECT_EQ(script_.calls.back().reason, PROPSHEETUI_REASON_DESTROY);
}

TEST_F(Sheets, TheStartPageIsShownFirstAndADeletedPageIsGone) {
    LONG_PTR answers[4] = {};
    LONG_PTR deleted = 0;
    script_.init[0] = [&](PPROPSHEETUI_INFO info) {
        const auto call = [info](UINT function, LPARAM one) {
            return info->pfnComPropSheet(info->hComPropSheet, function, one, 0);
        };
        deleted = AddPage(info, 0);
        const LONG_PTR first = AddPage(info, 0);
        const LONG_PTR second = AddPage(info, 1);
        answers[0] = call(CPSFUNC_DELETE_HCOMPROPSHEET, deleted);
        answers[1] = call(CPSFUNC_SET_HSTARTPAGE, deleted);
        answers[2] = call(CPSFUNC_SET_HSTARTPAGE, second);
        answers[3] = call(CPSFUNC_GET_PAGECOUNT, 0);
        return first ? 1 : 0;
    };
    int shown = -1;
    Run([&shown](HWND sheet) {
        shown = PropSheet_HwndToIndex(sheet, PropSheet_GetCurrentPageHwnd(sheet));
    });
    EXPECT_EQ(Show(), CPSUI_OK);
    EXPECT_EQ(answers[0], 1);
    EXPECT_EQ(answers[1], 0);
    EXPECT_GT(answers[2], 0);
    EXPECT_EQ(answers[3], 2);
    EXPECT_EQ(shown, 1);
    ASSERT_EQ(script_.arrivals.size(), 1U);
    EXPECT_EQ(script_.arrivals[0].lParam, 101);
}

TEST_F(Sheets, HandlesThatAreNoGroupAreRefused) {
    LONG_PTR answers[5] = {};
    script_.init[0] = [&](PPROPSHEETUI_INFO info) {
        const LONG_PTR page = AddPage(info, 0);
        PROPSHEETPAGEW description = script_.Page(1);
        const auto fn = info->pfnComPropSheet;
        answers[0] = fn(reinterpret_cast<HANDLE>(page), CPSFUNC_ADD_PROPSHEETPAGEW,
                        reinterpret_cast<LPARAM>(&description), 0);
        answers[1] = fn(reinterpret_cast<HANDLE>(0x1234), CPSFUNC_GET_PAGECOUNT, 0, 0);
        answers[2] = fn(info->hComPropSheet, CPSFUNC_SET_RESULT, 0x1234, 1);
        answers[3] = fn(reinterpret_cast<HANDLE>(0x1234), CPSFUNC_SET_RESULT, 0, 1);
        answers[4] = fn(info->hComPropSheet, CPSFUNC_DELETE_HCOMPROPSHEET,
                        reinterpret_cast<LPARAM>(info->hComPropSheet), 0);
        return page ? 1 : 0;
    };
    EXPECT_EQ(Show(), CPSUI_OK);
    EXPECT_EQ(answers[0], 0);
    EXPECT_EQ(answers[1], 0);
    EXPECT_EQ(answers[2], -1);
    EXPECT_EQ(answers[3], -1);
    EXPECT_EQ(answers[4], 0); // a group cannot delete itself
}

TEST_F(Sheets, CpsuiStringsAndDataBlocksFollowTheirSizes) {
    WCHAR wide[32] = {};
    WCHAR narrow[5] = {L'x', L'x', L'x', L'x', L'x'};
    LONG_PTR lengths[3] = {};
    BYTE stored[3] = {1, 2, 3};
    BYTE back[8] = {};
    BYTE small[2] = {};
    LONG_PTR blocks[4] = {};
    LONG_PTR handles = 0;
    HANDLE list[4] = {};
    LONG_PTR page = 0;
    script_.init[0] = [&](PPROPSHEETUI_INFO info) {
        const auto fn = [info](UINT function, LPARAM one, LPARAM two) {
            return info->pfnComPropSheet(info->hComPropSheet, function, one, two);
        };
        lengths[0] = fn(CPSFUNC_LOAD_CPSUI_STRINGW, reinterpret_cast<LPARAM>(wide),
                        MAKELPARAM(32, IDS_CPSUI_ORIENTATION));
        lengths[1] = fn(CPSFUNC_LOAD_CPSUI_STRINGW, reinterpret_cast<LPARAM>(narrow),
                        MAKELPARAM(5, IDS_CPSUI_ORIENTATION));
        lengths[2] =
            fn(CPSFUNC_LOAD_CPSUI_STRINGW, reinterpret_cast<LPARAM>(wide), MAKELPARAM(32, 7));
        CPSUIDATABLOCK block{sizeof stored, stored};
        blocks[0] = fn(CPSFUNC_SET_DATABLOCK, reinterpret_cast<LPARAM>(&block), 9);
        CPSUIDATABLOCK into{sizeof back, back};
        blocks[1] = fn(CPSFUNC_QUERY_DATABLOCK, reinterpret_cast<LPARAM>(&into), 9);
        CPSUIDATABLOCK tight{sizeof small, small};
        blocks[2] = fn(CPSFUNC_QUERY_DATABLOCK, reinterpret_cast<LPARAM>(&tight), 9);
        blocks[3] = fn(CPSFUNC_QUERY_DATABLOCK, reinterpret_cast<LPARAM>(&into), 10);
        page = AddPage(info, 0);
        handles = fn(CPSFUNC_GET_HPSUIPAGES, reinterpret_cast<LPARAM>(list), 4);
        return 1;
    };
    EXPECT_EQ(Show(), CPSUI_OK);
    EXPECT_EQ(lengths[0], 11);
    EXPECT_EQ(moltr::sim::Utf8(wide), "Orientation");
    EXPECT_EQ(lengths[1], 4);
    EXPECT_EQ(moltr::sim::Utf8(narrow), "Orie");
    EXPECT_EQ(lengths[2], 0);
    EXPECT_EQ(blocks[0], 3);
    EXPECT_EQ(blocks[1], 3);
    EXPECT_EQ(back[2], 3);
    EXPECT_EQ(back[3], 0);
    EXPECT_EQ(blocks[2], 2);
    EXPECT_EQ(small[1], 2);
    EXPECT_EQ(blocks[3], 0);
    EXPECT_EQ(handles, 1);
    EXPECT_EQ(list[0], reinterpret_cast<HANDLE>(page));
}

} // namespace
