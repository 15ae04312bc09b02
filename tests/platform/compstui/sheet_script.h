#pragma once
// A property-sheet UI function for the tests: it records every call it gets and, on
// PROPSHEETUI_REASON_INIT, runs the test's description of the pages.
#include "platform/comctl32/page_template.h"

#include "sim/machine.h"
#include "sim/property_sheets.h"

#include <compstui.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace moltr::test {

struct FunctionCall {
    int function = 0; // which of the script's functions: 0 the sheet's, 1 the nested one
    WORD reason = 0;
    LPARAM lParam = 0;
    PROPSHEETUI_INFO info{};
    SETRESULT_INFO result{}; // for PROPSHEETUI_REASON_SET_RESULT
};

class SheetScript {
public:
    SheetScript() { current_ = this; }
    ~SheetScript() {
        current_ = nullptr;
        sim::ClearSheetActions();
    }
    SheetScript(const SheetScript&) = delete;
    SheetScript& operator=(const SheetScript&) = delete;

    std::function<LONG(PPROPSHEETUI_INFO)> init[2];
    LONG answers[2][MAX_PROPSHEETUI_REASON_INDEX + 1] = {{1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}};
    const WCHAR* title = L"Printer";
    std::vector<FunctionCall> calls;

    static LONG Sheet(PPROPSHEETUI_INFO info, LPARAM lParam) { return Call(0, info, lParam); }
    static LONG Nested(PPROPSHEETUI_INFO info, LPARAM lParam) { return Call(1, info, lParam); }

    // A caller's page: its template and a procedure that keeps what WM_INITDIALOG brought.
    PROPSHEETPAGEW Page(int index) {
        PROPSHEETPAGEW page{};
        page.dwSize = sizeof page;
        page.dwFlags = PSP_DLGINDIRECT;
        page.pResource = templates_[index].get();
        page.pfnDlgProc = PageProc;
        page.lParam = 100 + index;
        return page;
    }
    struct Arrival {
        LPARAM lParam = 0;
        PSPINFO info{};
    };
    std::vector<Arrival> arrivals;
    std::vector<UINT> pageNotifications;

    std::vector<WORD> Reasons(int function) const {
        std::vector<WORD> reasons;
        for (const FunctionCall& call : calls) {
            if (call.function == function) {
                reasons.push_back(call.reason);
            }
        }
        return reasons;
    }

private:
    static LONG Call(int function, PPROPSHEETUI_INFO info, LPARAM lParam) {
        SheetScript* self = current_;
        FunctionCall call{function, info->Reason, lParam, *info, {}};
        if (info->Reason == PROPSHEETUI_REASON_SET_RESULT) {
            call.result = *reinterpret_cast<const SETRESULT_INFO*>(lParam);
            info->Result = static_cast<ULONG_PTR>(call.result.Result);
        }
        if (info->Reason == PROPSHEETUI_REASON_GET_INFO_HEADER) {
            reinterpret_cast<PROPSHEETUI_INFO_HEADER*>(lParam)->pTitle =
                const_cast<WCHAR*>(self->title);
        }
        self->calls.push_back(call);
        if (info->Reason == PROPSHEETUI_REASON_INIT && self->init[function]) {
            const LONG answer = self->init[function](info);
            if (answer < 1) {
                return answer;
            }
        }
        return self->answers[function][info->Reason];
    }

    static INT_PTR CALLBACK PageProc(HWND, UINT message, WPARAM, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
            current_->arrivals.push_back(
                {page->lParam, *PPSPINFO_FROM_WM_INITDIALOG_LPARAM(lParam)});
            return TRUE;
        }
        if (message == WM_NOTIFY) {
            current_->pageNotifications.push_back(reinterpret_cast<const NMHDR*>(lParam)->code);
        }
        return FALSE;
    }

    static inline SheetScript* current_ = nullptr;
    sim::TestMachine machine_;
    PageTemplate templates_[2] = {PageTemplate(u"General", 200, 120),
                                  PageTemplate(u"Layout", 200, 120)};
};

} // namespace moltr::test
