// Modal property sheets as a user drives them: the order of the PSN_ notifications for OK, Apply
// and Cancel, the answers that keep a page or the sheet open, the Apply button following
// PSM_CHANGED, pages made only when first shown, the page callbacks, the PSM_ messages and the
// value PropertySheetW returns.
#include "platform/comctl32/page_template.h"

#include "png_picture.h"
#include "sim/dialogs.h"
#include "sim/machine.h"
#include "sim/property_sheets.h"
#include "sim/utf.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

using moltr::sim::SheetAction;
using moltr::test::PageTemplate;

constexpr int kApply = 12321;

// How a page answers, and where it writes what it saw.
struct Script {
    int index = 0;
    std::vector<std::string>* log = nullptr;
    LRESULT killActive = 0;         // answered once, then 0
    LRESULT apply = PSNRET_NOERROR; // answered once, then PSNRET_NOERROR
    LRESULT queryCancel = 0;        // answered once, then 0
    LRESULT sibling = 0;
    LPARAM initParam = 0;
};

std::string Name(UINT code, LPARAM lParam) {
    switch (code) {
    case PSN_SETACTIVE:
        return "SETACTIVE";
    case PSN_KILLACTIVE:
        return "KILLACTIVE";
    case PSN_APPLY:
        return lParam ? "APPLY-OK" : "APPLY";
    case PSN_RESET:
        return "RESET";
    case PSN_QUERYCANCEL:
        return "QUERYCANCEL";
    case PSN_HELP:
        return "HELP";
    default:
        return "OTHER";
    }
}

LRESULT Once(LRESULT& answer) {
    return std::exchange(answer, 0);
}

INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    auto* script = reinterpret_cast<Script*>(GetWindowLongPtrW(page, DWLP_USER));
    if (message == WM_INITDIALOG) {
        const auto* description = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        script = reinterpret_cast<Script*>(description->lParam);
        script->initParam = lParam;
        SetWindowLongPtrW(page, DWLP_USER, reinterpret_cast<LONG_PTR>(script));
        script->log->push_back(std::to_string(script->index) + ":INIT");
        return TRUE;
    }
    if (!script) {
        return FALSE;
    }
    if (message == PSM_QUERYSIBLINGS) {
        script->log->push_back(std::to_string(script->index) + ":SIBLINGS");
        SetWindowLongPtrW(page, DWLP_MSGRESULT, script->sibling);
        return TRUE;
    }
    if (message != WM_NOTIFY) {
        return FALSE;
    }
    const auto* notification = reinterpret_cast<const PSHNOTIFY*>(lParam);
    script->log->push_back(std::to_string(script->index) + ":" +
                           Name(notification->hdr.code, notification->lParam));
    LRESULT answer = 0;
    switch (notification->hdr.code) {
    case PSN_KILLACTIVE:
        answer = Once(script->killActive);
        break;
    case PSN_APPLY:
        answer = Once(script->apply);
        break;
    case PSN_QUERYCANCEL:
        answer = Once(script->queryCancel);
        break;
    default:
        break;
    }
    SetWindowLongPtrW(page, DWLP_MSGRESULT, answer);
    return TRUE;
}

std::vector<std::string> g_callbacks;

UINT CALLBACK PageCallback(HWND, UINT message, PROPSHEETPAGEW* page) {
    const char* names[] = {"ADDREF", "RELEASE", "CREATE"};
    g_callbacks.push_back(std::string(names[message]) + ":" + std::to_string(page->lParam != 0));
    return 1;
}

class PropertySheets : public ::testing::Test {
protected:
    PropertySheets() {
        for (int i = 0; i < 3; ++i) {
            scripts_[i].index = i;
            scripts_[i].log = &log_;
        }
    }
    ~PropertySheets() override { moltr::sim::ClearSheetActions(); }

    PROPSHEETPAGEW Page(int index) const {
        PROPSHEETPAGEW page{};
        page.dwSize = sizeof page;
        page.dwFlags = PSP_DLGINDIRECT;
        page.pResource = templates_[index].get();
        page.pfnDlgProc = PageProc;
        page.lParam = reinterpret_cast<LPARAM>(&scripts_[index]);
        return page;
    }

    INT_PTR Show(int pages = 3, DWORD flags = 0, UINT start = 0) {
        for (int i = 0; i < pages; ++i) {
            pages_[i] = Page(i);
        }
        PROPSHEETHEADERW header{};
        header.dwSize = sizeof header;
        header.dwFlags = PSH_PROPSHEETPAGE | flags;
        header.pszCaption = L"Printer";
        header.nPages = static_cast<UINT>(pages);
        header.nStartPage = start;
        header.ppsp = pages_;
        return PropertySheetW(&header);
    }

    static void Queue(SheetAction::Kind kind, int value) {
        moltr::sim::QueueSheetAction({kind, value, nullptr});
    }
    static void Run(std::function<void(HWND)> run) {
        moltr::sim::QueueSheetAction({SheetAction::Kind::Run, 0, std::move(run)});
    }

    moltr::sim::TestMachine machine_;
    PageTemplate templates_[3] = {PageTemplate(u"General", 200, 120).Control(100, 0x0081, u""),
                                  PageTemplate(u"Layout", 180, 140),
                                  PageTemplate(u"Colour", 100, 80)};
    mutable Script scripts_[3];
    PROPSHEETPAGEW pages_[3]{};
    std::vector<std::string> log_;
};

using Log = std::vector<std::string>;

int CurrentPage(HWND sheet) {
    return PropSheet_HwndToIndex(sheet, PropSheet_GetCurrentPageHwnd(sheet));
}

TEST_F(PropertySheets, OkLeavesThePageThenAppliesEveryPageMadeAndNoOther) {
    Queue(SheetAction::Kind::SelectPage, 1);
    Queue(SheetAction::Kind::Press, IDOK);
    EXPECT_EQ(Show(), 0); // nothing was marked changed
    EXPECT_EQ(log_, (Log{"0:INIT", "0:SETACTIVE", "0:KILLACTIVE", "1:INIT", "1:SETACTIVE",
                         "1:KILLACTIVE", "0:APPLY-OK", "1:APPLY-OK"}));
}

TEST_F(PropertySheets, TheDefaultResponderPressesOk) {
    EXPECT_EQ(Show(), 0);
    EXPECT_EQ(log_, (Log{"0:INIT", "0:SETACTIVE", "0:KILLACTIVE", "0:APPLY-OK"}));
    const auto records = moltr::sim::DialogRecords();
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.back().closedBy, IDOK);
    EXPECT_EQ(moltr::sim::Utf8(records.back().caption), "Printer");
}

TEST_F(PropertySheets, ApplyIsEnabledOnlyWhileAPageIsChanged) {
    std::vector<bool> enabled;
    auto look = [&enabled](HWND sheet) {
        enabled.push_back(IsWindowEnabled(GetDlgItem(sheet, kApply)) != FALSE);
    };
    Run(look);
    Queue(SheetAction::Kind::Press, kApply); // disabled: nothing happens
    Run([](HWND sheet) { PropSheet_Changed(sheet, PropSheet_GetCurrentPageHwnd(sheet)); });
    Run(look);
    Queue(SheetAction::Kind::Press, kApply);
    Run(look);
    Queue(SheetAction::Kind::Press, IDOK);
    EXPECT_EQ(Show(), 1); // the change was saved
    EXPECT_EQ(enabled, (std::vector<bool>{false, true, false}));
    EXPECT_EQ(log_, (Log{"0:INIT", "0:SETACTIVE", "0:KILLACTIVE", "0:APPLY", "0:KILLACTIVE",
                         "0:APPLY-OK"}));
}

TEST_F(PropertySheets, UnchangedDisablesApplyAgain) {
    bool enabled = true;
    Run([&enabled](HWND sheet) {
        HWND page = PropSheet_GetCurrentPageHwnd(sheet);
        PropSheet_Changed(sheet, page);
        PropSheet_UnChanged(sheet, page);
        enabled = IsWindowEnabled(GetDlgItem(sheet, kApply)) != FALSE;
    });
    EXPECT_EQ(Show(), 0);
    EXPECT_FALSE(enabled);
}

TEST_F(PropertySheets, CancelAsksTheCurrentPageThenResetsEveryPageMade) {
    Queue(SheetAction::Kind::SelectPage, 2);
    Queue(SheetAction::Kind::Press, IDCANCEL);
    EXPECT_EQ(Show(), 0);
    EXPECT_EQ(log_, (Log{"0:INIT", "0:SETACTIVE", "0:KILLACTIVE", "2:INIT", "2:SETACTIVE",
                         "2:QUERYCANCEL", "0:RESET", "2:RESET"}));
}

TEST_F(PropertySheets, ARefusedCancelKeepsTheSheetOpen) {
    scripts_[0].queryCancel = TRUE;
    HWND pageAfter = nullptr;
    Queue(SheetAction::Kind::Press, IDCANCEL);
    Run([&pageAfter](HWND sheet) { pageAfter = PropSheet_GetCurrentPageHwnd(sheet); });
    Queue(SheetAction::Kind::Press, IDOK);
    EXPECT_EQ(Show(1), 0);
    EXPECT_NE(pageAfter, nullptr);
    EXPECT_EQ(log_, (Log{"0:INIT", "0:SETACTIVE", "0:QUERYCANCEL", "0:KILLACTIVE", "0:APPLY-OK"}));
}

TEST_F(PropertySheets, AnInvalidPageIsNotLeft) {
    scripts_[0].killActive = PSNRET_INVALID;
    int selected = -1;
    Queue(SheetAction::Kind::SelectPage, 1);
    Run([&selected](HWND sheet) {
        selected =
            static_cast<int>(SendMessageW(PropSheet_GetTabControl(sheet), TCM_GETCURSEL, 0, 0));
    });
    Queue(SheetAction::Kind::Press, IDOK);
    EXPECT_EQ(Show(), 0);
    EXPECT_EQ(selected, 0);
    // Page 1 was never made; OK asks page 0 again.
    EXPECT_EQ(log_, (Log{"0:INIT", "0:SETACTIVE", "0:KILLACTIVE", "0:KILLACTIVE", "0:APPLY-OK"}));
}

TEST_F(PropertySheets, AnInvalidApplyShowsTheRefusingPageAndKeepsTheSheetOpen) {
    scripts_[0].apply = PSNRET_INVALID;
    int current = -1;
    Queue(SheetAction::Kind::SelectPage, 1);
    Queue(SheetAction::Kind::Press, IDOK);
    Run([&current](HWND sheet) { current = CurrentPage(sheet); });
    Queue(SheetAction::Kind::Press, IDOK);
    EXPECT_EQ(Show(), 0);
    EXPECT_EQ(current, 0);
    EXPECT_EQ(log_,
              (Log{"0:INIT", "0:SETACTIVE", "0:KILLACTIVE", "1:INIT", "1:SETACTIVE", "1:KILLACTIVE",
                   "0:APPLY-OK", "0:SETACTIVE", "0:KILLACTIVE", "0:APPLY-OK", "1:APPLY-OK"}));
}

TEST_F(PropertySheets, NoChangePageKeepsTheCurrentPage) {
    scripts_[0].apply = PSNRET_INVALID_NOCHANGEPAGE;
    int current = -1;
    Queue(SheetAction::Kind::SelectPage, 1);
    Queue(SheetAction::Kind::Press, IDOK);
    Run([&current](HWND sheet) { current = CurrentPage(sheet); });
    Queue(SheetAction::Kind::Press, IDOK);
    EXPECT_EQ(Show(), 0);
    EXPECT_EQ(current, 1);
    EXPECT_EQ(std::count(log_.begin(), log_.end(), "1:SETACTIVE"), 1);
}

TEST_F(PropertySheets, TheStartPageIsTheOnlyPageMadeAtFirst) {
    EXPECT_EQ(Show(3, 0, 2), 0);
    EXPECT_EQ(log_, (Log{"2:INIT", "2:SETACTIVE", "2:KILLACTIVE", "2:APPLY-OK"}));
}

TEST_F(PropertySheets, TheStartPageMayBeNamedByItsCaption) {
    for (int i = 0; i < 3; ++i) {
        pages_[i] = Page(i);
    }
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_USEPSTARTPAGE;
    header.nPages = 3;
    header.pStartPage = L"Layout";
    header.ppsp = pages_;
    EXPECT_EQ(PropertySheetW(&header), 0);
    ASSERT_FALSE(log_.empty());
    EXPECT_EQ(log_[0], "1:INIT");
}

TEST_F(PropertySheets, PageCallbacksComeAtCreationShowingAndRelease) {
    PROPSHEETPAGEW description = Page(0);
    description.dwFlags |= PSP_USECALLBACK | PSP_USEREFPARENT;
    description.pfnCallback = PageCallback;
    UINT references = 0;
    description.pcRefParent = &references;
    g_callbacks.clear();
    HPROPSHEETPAGE pages[] = {CreatePropertySheetPageW(&description)};
    ASSERT_NE(pages[0], nullptr);
    EXPECT_EQ(g_callbacks, (Log{"ADDREF:1"}));
    EXPECT_EQ(references, 1u);
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.nPages = 1;
    header.phpage = pages;
    EXPECT_EQ(PropertySheetW(&header), 0);
    EXPECT_EQ(g_callbacks, (Log{"ADDREF:1", "CREATE:1", "RELEASE:1"}));
    EXPECT_EQ(references, 0u);
    // WM_INITDIALOG carries the page's own copy of the description, with the caller's lParam.
    EXPECT_NE(scripts_[0].initParam, reinterpret_cast<LPARAM>(&description));
    EXPECT_NE(scripts_[0].initParam, 0);
}

TEST_F(PropertySheets, TabsShowThePageTitleOrTheTemplateCaption) {
    pages_[0] = Page(0);
    pages_[1] = Page(1);
    pages_[1].dwFlags |= PSP_USETITLE;
    pages_[1].pszTitle = L"Finishing";
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE;
    header.nPages = 2;
    header.ppsp = pages_;
    std::vector<std::string> captions;
    Run([&captions](HWND sheet) {
        HWND tab = PropSheet_GetTabControl(sheet);
        for (int i = 0; i < SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0); ++i) {
            WCHAR text[32];
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = 32;
            SendMessageW(tab, TCM_GETITEMW, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&item));
            captions.push_back(moltr::sim::Utf8(text));
        }
    });
    EXPECT_EQ(PropertySheetW(&header), 0);
    EXPECT_EQ(captions, (Log{"General", "Finishing"}));
}

TEST_F(PropertySheets, PropTitleAndSetTitleMakeTheCaption) {
    std::string first;
    std::string second;
    auto caption = [](HWND sheet) {
        WCHAR text[64];
        GetWindowTextW(sheet, text, 64);
        return moltr::sim::Utf8(text);
    };
    Run([&](HWND sheet) {
        first = caption(sheet);
        PropSheet_SetTitle(sheet, 0, L"Document");
        second = caption(sheet);
    });
    EXPECT_EQ(Show(1, PSH_PROPTITLE), 0);
    EXPECT_EQ(first, "Printer Properties");
    EXPECT_EQ(second, "Document");
}

TEST_F(PropertySheets, QuerySiblingsStopsAtTheFirstPageThatAnswers) {
    scripts_[1].sibling = 7;
    LRESULT answer = 0;
    Queue(SheetAction::Kind::SelectPage, 1);
    Queue(SheetAction::Kind::SelectPage, 2);
    Run([&answer](HWND sheet) { answer = PropSheet_QuerySiblings(sheet, 1, 2); });
    Queue(SheetAction::Kind::Press, IDCANCEL);
    Show();
    EXPECT_EQ(answer, 7);
    EXPECT_EQ(std::count(log_.begin(), log_.end(), "0:SIBLINGS"), 1);
    EXPECT_EQ(std::count(log_.begin(), log_.end(), "1:SIBLINGS"), 1);
    EXPECT_EQ(std::count(log_.begin(), log_.end(), "2:SIBLINGS"), 0);
}

TEST_F(PropertySheets, PagesAddedAndRemovedWhileOpen) {
    PROPSHEETPAGEW added = Page(2);
    added.dwFlags |= PSP_USECALLBACK;
    added.pfnCallback = PageCallback;
    g_callbacks.clear();
    LRESULT counts[3] = {};
    Run([&](HWND sheet) {
        HWND tab = PropSheet_GetTabControl(sheet);
        EXPECT_TRUE(PropSheet_AddPage(sheet, CreatePropertySheetPageW(&added)));
        counts[0] = SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0);
        EXPECT_TRUE(PropSheet_SetCurSel(sheet, nullptr, 1));
        PropSheet_RemovePage(sheet, 1, nullptr);
        counts[1] = SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0);
        counts[2] = CurrentPage(sheet);
    });
    EXPECT_EQ(Show(1), 0);
    EXPECT_EQ(counts[0], 2);
    EXPECT_EQ(counts[1], 1);
    EXPECT_EQ(counts[2], 0);
    // The removed page was made when shown and released when removed.
    EXPECT_EQ(g_callbacks, (Log{"ADDREF:1", "CREATE:1", "RELEASE:1"}));
}

// A page's id is its template as the description names it: for an indirect template its
// address; a page not yet shown has one too.
TEST_F(PropertySheets, IndexToIdAndIdToIndexNameThePagesByTheirTemplates) {
    LRESULT ids[3] = {};
    int indices[3] = {};
    Run([&](HWND sheet) {
        for (int i = 0; i < 3; ++i) {
            ids[i] = PropSheet_IndexToId(sheet, i);
        }
        indices[0] = PropSheet_IdToIndex(sheet, reinterpret_cast<LPARAM>(templates_[1].get()));
        indices[1] = PropSheet_IdToIndex(sheet, reinterpret_cast<LPARAM>(templates_[0].get()));
        indices[2] = PropSheet_IdToIndex(sheet, reinterpret_cast<LPARAM>(templates_[2].get()));
    });
    Show(2);
    EXPECT_EQ(ids[0], reinterpret_cast<LRESULT>(templates_[0].get()));
    EXPECT_EQ(ids[1], reinterpret_cast<LRESULT>(templates_[1].get()));
    EXPECT_EQ(ids[2], 0); // no such page
    EXPECT_EQ(indices[0], 1);
    EXPECT_EQ(indices[1], 0);
    EXPECT_EQ(indices[2], -1); // a template no page of the sheet has
}

TEST_F(PropertySheets, ARebootRequestIsTheResultOfASavedSheet) {
    Run([](HWND sheet) {
        PropSheet_Changed(sheet, PropSheet_GetCurrentPageHwnd(sheet));
        PropSheet_RebootSystem(sheet);
    });
    EXPECT_EQ(Show(1), ID_PSREBOOTSYSTEM);
}

TEST_F(PropertySheets, PressButtonDrivesTheSheetFromAPage) {
    Run([](HWND sheet) { PropSheet_PressButton(sheet, PSBTN_CANCEL); });
    EXPECT_EQ(Show(1), 0);
    EXPECT_EQ(log_, (Log{"0:INIT", "0:SETACTIVE", "0:QUERYCANCEL", "0:RESET"}));
}

TEST_F(PropertySheets, AnotherThreadDrivesAHeldSheet) {
    moltr::sim::HoldSheets(true);
    INT_PTR result = -2;
    std::thread shown([&] { result = Show(); });
    Queue(SheetAction::Kind::SelectPage, 1);
    Queue(SheetAction::Kind::Press, IDCANCEL);
    shown.join();
    moltr::sim::HoldSheets(false);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(log_.back(), "1:RESET");
}

// The frame's client area holds the tab control and the button row below it whole, whatever the
// frame's caption and borders take. The tab control stands a margin of 7 dialog units from the
// client area's top left corner, which places the client area on the screen.
TEST_F(PropertySheets, TheFrameHoldsTheTabsAndTheButtonRow) {
    RECT client{};
    RECT margin{0, 0, 7, 7};
    RECT buttons[2]{};
    RECT tabs{};
    Run([&](HWND sheet) {
        GetClientRect(sheet, &client);
        MapDialogRect(sheet, &margin);
        GetWindowRect(GetDlgItem(sheet, IDOK), &buttons[0]);
        GetWindowRect(GetDlgItem(sheet, kApply), &buttons[1]);
        GetWindowRect(PropSheet_GetTabControl(sheet), &tabs);
    });
    Show(2);
    const LONG left = tabs.left - margin.right;
    const LONG top = tabs.top - margin.bottom;
    for (const RECT& button : buttons) {
        EXPECT_GT(button.top, tabs.bottom);
        EXPECT_LE(button.bottom - top + margin.bottom, client.bottom);
        EXPECT_LE(button.right - left + margin.right, client.right);
    }
}

// The tab control would paint over a page below it in the Z order.
TEST_F(PropertySheets, TheShownPageLiesAboveTheTabs) {
    std::vector<bool> onTop;
    Run([&](HWND sheet) {
        onTop.push_back(GetWindow(sheet, GW_CHILD) == PropSheet_GetCurrentPageHwnd(sheet));
        PropSheet_SetCurSel(sheet, nullptr, 1);
        onTop.push_back(GetWindow(sheet, GW_CHILD) == PropSheet_GetCurrentPageHwnd(sheet));
    });
    Show(2);
    EXPECT_EQ(onTop, (std::vector<bool>{true, true}));
}

TEST_F(PropertySheets, TheRecordKeepsAPictureOfTheSheetWithItsTabs) {
    RECT client{};
    RECT firstTab{};
    Run([&](HWND sheet) {
        GetClientRect(sheet, &client);
        SendMessageW(PropSheet_GetTabControl(sheet), TCM_GETITEMRECT, 0,
                     reinterpret_cast<LPARAM>(&firstTab));
    });
    Show(2);
    const auto records = moltr::sim::DialogRecords();
    ASSERT_FALSE(records.empty());
    const auto picture = moltr::test::ReadPng(records.back().picture);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, static_cast<unsigned>(client.right));
    EXPECT_EQ(picture->height, static_cast<unsigned>(client.bottom));
    // Above the pages only the tab captions are dark: frames use lighter shades.
    const unsigned band = static_cast<unsigned>(firstTab.bottom) + 20;
    const size_t dark = picture->Count(0, 0, picture->width, band, [](int r, int g, int b) {
        return r < 100 && g < 100 && b < 100;
    });
    EXPECT_GT(dark, 20u);
    // The face of dialogs fills what nothing paints: the frame's bottom right corner.
    EXPECT_EQ(picture->At(client.right - 1, client.bottom - 1), RGB(240, 240, 240));
}

TEST_F(PropertySheets, BadHeadersFail) {
    EXPECT_EQ(PropertySheetW(nullptr), -1);
    PROPSHEETHEADERW header{};
    EXPECT_EQ(PropertySheetW(&header), -1); // no size
    header.dwSize = sizeof header;
    HPROPSHEETPAGE bogus[] = {reinterpret_cast<HPROPSHEETPAGE>(0x1234)};
    header.nPages = 1;
    header.phpage = bogus;
    EXPECT_EQ(PropertySheetW(&header), -1);
    header.nPages = MAXPROPPAGES;
    SetLastError(5);
    EXPECT_EQ(PropertySheetW(&header), -1);
    EXPECT_EQ(GetLastError(), 0u);
}

TEST_F(PropertySheets, BadPagesFail) {
    EXPECT_EQ(CreatePropertySheetPageW(nullptr), nullptr);
    PROPSHEETPAGEW page = Page(0);
    page.dwSize = 8;
    EXPECT_EQ(CreatePropertySheetPageW(&page), nullptr);
    EXPECT_FALSE(DestroyPropertySheetPage(reinterpret_cast<HPROPSHEETPAGE>(0x1234)));
    // A page without a procedure cannot be shown, so the sheet cannot be made.
    pages_[0] = Page(0);
    pages_[0].pfnDlgProc = nullptr;
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE;
    header.nPages = 1;
    header.ppsp = pages_;
    EXPECT_EQ(PropertySheetW(&header), -1);
}

} // namespace
