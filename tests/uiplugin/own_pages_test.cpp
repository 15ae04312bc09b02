// The plug-in's own pages as the property sheet makes them: inside the activation context of the
// plug-in's manifest, with the tab texture of the theme, and with help for the sheet they show.
#include <windows.h>
#include <gtest/gtest.h>
#include <commctrl.h>
#include <compstui.h>
#include <prsht.h>
#include <uxtheme.h>
#include <filesystem>
#include <fstream>
#include <vector>
#include "prcomoem.h"
#include "sim/activation_contexts.h"
#include "sim/help_calls.h"
#include "sim/property_sheets.h"
#include "sim/themes.h"
#include "sim/utf.h"
#include "ui_module.h"
#include "ui_printer.h"

namespace moltr::test {
namespace {

// The document sheet's SHEET records of the sample: their DIALOGIDs, in order.
const std::vector<ULONG_PTR> kDocumentSheets = {1000, 2000, 19000, 4000, 5000, 16000};

UiPrinterSetup WithHelpFile() {
    UiPrinterSetup setup;
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "MOLTR4KC.HLP";
    std::ofstream(file, std::ios::binary) << "help";
    setup.helpFile = file.string();
    return setup;
}

// compstui's side of DocumentPropertySheets: the pages the plug-in adds, kept whole.
struct AddedPages {
    std::vector<PROPSHEETPAGEW> pages;
    static LONG_PTR CALLBACK Function(HANDLE sheet, UINT function, LPARAM lParam1, LPARAM) {
        auto* added = static_cast<AddedPages*>(sheet);
        if (function == CPSFUNC_ADD_PROPSHEETPAGEW) {
            added->pages.push_back(*reinterpret_cast<const PROPSHEETPAGEW*>(lParam1));
            return static_cast<LONG_PTR>(added->pages.size());
        }
        return 0;
    }
};

// The host's first page as the plug-in's sheet 0 stands in it: an empty page of its own, which
// counts the commands it still gets.
int hostCommands = 0;
INT_PTR CALLBACK HostPageProc(HWND, UINT message, WPARAM, LPARAM) {
    hostCommands += message == WM_COMMAND ? 1 : 0;
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

struct HostPageTemplate {
    DLGTEMPLATE dialog{WS_CHILD | DS_CONTROL, 0, 0, 0, 0, 200, 150};
    WORD menu = 0, windowClass = 0, title = 0;
};

class OwnPages : public ::testing::Test {
protected:
    OwnPages() : printer_(WithHelpFile()) {}
    void SetUp() override {
        plugin_ = module_.CreatePlugin();
        ASSERT_NE(plugin_, nullptr);
        heap_ = HeapCreate(0, 0, 0);
        host_.cbSize = sizeof host_;
        host_.DMPubID = DMPUB_ORIENTATION;
        host_.pName = const_cast<LPWSTR>(L"Orientation");
        param_.cbSize = sizeof param_;
        param_.hPrinter = printer_.handle();
        param_.pPrinterName = sim::W(printer_.name());
        param_.hOEMHeap = heap_;
        param_.pDrvOptItems = &host_;
        param_.cDrvOptItems = 1;
        ASSERT_EQ(plugin_->CommonUIProp(OEMCUIP_DOCPROP, &param_), S_OK);
        own_.assign(param_.cOEMOptItems, OPTITEM{});
        param_.pOEMOptItems = own_.data();
        ASSERT_EQ(plugin_->CommonUIProp(OEMCUIP_DOCPROP, &param_), S_OK);
        OEMUIPSPARAM pageParam = {};
        pageParam.cbSize = sizeof pageParam;
        PROPSHEETUI_INFO info = SheetInit(&added_, AddedPages::Function, pageParam);
        ASSERT_EQ(plugin_->DocumentPropertySheets(&info, reinterpret_cast<LPARAM>(&pageParam)),
                  S_OK);
        ASSERT_EQ(added_.pages.size(), kDocumentSheets.size() - 1);
    }
    void TearDown() override {
        sim::ClearSheetActions();
        if (plugin_ != nullptr) {
            plugin_->Release();
        }
        HeapDestroy(heap_);
    }

    // The sheet with the host's page first and the plug-in's pages after it, run to its end.
    void RunSheet() {
        PROPSHEETPAGEW hostPage = {};
        hostPage.dwSize = sizeof hostPage;
        hostPage.dwFlags = PSP_DLGINDIRECT;
        hostPage.pResource = &hostTemplate_.dialog;
        hostPage.pfnDlgProc = HostPageProc;
        std::vector<HPROPSHEETPAGE> pages = {CreatePropertySheetPageW(&hostPage)};
        for (const PROPSHEETPAGEW& page : added_.pages) {
            pages.push_back(CreatePropertySheetPageW(&page));
        }
        PROPSHEETHEADERW header = {};
        header.dwSize = sizeof header;
        header.dwFlags = PSH_HASHELP;
        header.pszCaption = L"Printing preferences";
        header.nPages = static_cast<UINT>(pages.size());
        header.phpage = pages.data();
        sim::QueueSheetAction({sim::SheetAction::Kind::Press, IDCANCEL, {}});
        PropertySheetW(&header);
    }

    UiPrinter printer_;
    UiModule module_;
    IPrintOemUI2* plugin_ = nullptr;
    HANDLE heap_ = nullptr;
    OPTITEM host_ = {};
    OEMCUIPPARAM param_ = {};
    std::vector<OPTITEM> own_;
    AddedPages added_;
    HostPageTemplate hostTemplate_;
};

TEST_F(OwnPages, AreMadeInTheManifestsActivationContextUntilThePlugInGoes) {
    const HANDLE context = added_.pages[0].hActCtx;
    for (const PROPSHEETPAGEW& page : added_.pages) {
        EXPECT_TRUE(page.dwFlags & PSP_USEFUSIONCONTEXT);
        EXPECT_EQ(page.hActCtx, context); // made once for every page
    }
    EXPECT_EQ(sim::ActivationContextDependencies(context),
              std::vector<std::string>{"Microsoft.Windows.Common-Controls"});
    const size_t live = sim::LiveActivationContexts();
    plugin_->Release();
    plugin_ = nullptr;
    EXPECT_EQ(sim::LiveActivationContexts(), live - 1);
}

TEST_F(OwnPages, DrawTheTabTextureAndOpenHelpForTheirSheet) {
    std::vector<DWORD> textures;
    sim::ClearHelpCalls();
    for (int tab : {2, 4}) {
        sim::QueueSheetAction({sim::SheetAction::Kind::SelectPage, tab, {}});
        sim::QueueSheetAction({sim::SheetAction::Kind::Run, 0, [&textures](HWND sheet) {
                                   textures.push_back(
                                       sim::DialogTexture(PropSheet_GetCurrentPageHwnd(sheet)));
                               }});
        sim::QueueSheetAction({sim::SheetAction::Kind::Press, IDHELP, {}});
    }
    RunSheet();
    EXPECT_EQ(textures, (std::vector<DWORD>{ETDT_ENABLETAB, ETDT_ENABLETAB}));
    const std::vector<sim::HelpCall> calls = sim::HelpCalls();
    ASSERT_EQ(calls.size(), 2u);
    for (size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].kind, sim::HelpCall::Kind::WinHelp);
        EXPECT_EQ(calls[i].command, static_cast<UINT>(HELP_CONTEXT));
        EXPECT_NE(sim::Utf8(calls[i].file).find("MOLTR4KC.HLP"), std::string::npos);
    }
    // The host's page is sheet 0: the own page on tab N shows sheet N.
    EXPECT_EQ(calls[0].data, kDocumentSheets[2]);
    EXPECT_EQ(calls[1].data, kDocumentSheets[4]);
}

TEST_F(OwnPages, TheHostsPageBecomesTheFirstSheetOnItsFirstActivation) {
    HWND hostPage = nullptr;
    int children = 0;
    std::string caption;
    HANDLE kept = nullptr;
    hostCommands = 0;
    sim::QueueSheetAction({sim::SheetAction::Kind::Run, 0, [&](HWND sheet) {
                               hostPage = PropSheet_IndexToHwnd(sheet, 0);
                               CPSUICBPARAM callback = {};
                               callback.cbSize = sizeof callback;
                               callback.Reason = CPSUICB_REASON_SETACTIVE;
                               callback.hDlg = hostPage;
                               for (int twice = 0; twice < 2; ++twice) {
                                   param_.OEMCUIPCallback(&callback, &param_);
                               }
                               for (HWND child = GetWindow(hostPage, GW_CHILD); child != nullptr;
                                    child = GetWindow(child, GW_HWNDNEXT)) {
                                   ++children;
                               }
                               WCHAR text[64] = {};
                               TCITEMW item = {};
                               item.mask = TCIF_TEXT;
                               item.pszText = text;
                               item.cchTextMax = 64;
                               SendMessageW(PropSheet_GetTabControl(sheet), TCM_GETITEMW, 0,
                                            reinterpret_cast<LPARAM>(&item));
                               caption = sim::Utf8(text);
                               kept = GetPropW(sheet, L"OrgDlgProc");
                               SendMessageW(hostPage, WM_COMMAND, 0, 0);
                           }});
    RunSheet();
    EXPECT_GT(children, 0); // the controls of sheet 0's template
    EXPECT_EQ(caption, "General");
    EXPECT_EQ(kept, reinterpret_cast<HANDLE>(&HostPageProc));
    EXPECT_EQ(hostCommands, 1); // what the engine leaves reaches the host's procedure once
}

} // namespace
} // namespace moltr::test
