// CommonUIProp as the universal driver's user interface calls it: the counting call, then the
// building call with the host's own items and the zeroed array for the plug-in's items, in both
// UI types, and the apply that stores what the user changed.
#include <windows.h>
#include <gtest/gtest.h>
#include <compstui.h>
#include <fstream>
#include <string>
#include <vector>
#include "prcomoem.h"
#include "sim/option_item_views.h"
#include "sim/utf.h"
#include "store/xpr.h"
#include "ui_module.h"
#include "ui_printer.h"

namespace moltr::test {
namespace {

// The feature records of a kind in the sample description, counted from its text.
DWORD SampleRecords(const std::string& kind) {
    std::ifstream in(std::string(MOLTR_SOURCE_DIR) + "/samples/MOLTR4KC.GPD", std::ios::binary);
    std::string line;
    DWORD count = 0;
    while (std::getline(in, line)) {
        count += line.rfind("*" + kind + ": ", 0) == 0 ? 1 : 0;
    }
    return count;
}

// The id an own item carries, read back as the family reads it.
DWORD ReadBackId(const OPTITEM& item) {
    return item.DMPubID < 100 ? item.DMPubID : item.DMPubID + 156u * item.UserItemID;
}

// A host item as the universal driver makes them: a name, one of its DMPubIDs and a help index.
struct HostItems {
    std::vector<std::u16string> names;
    std::vector<OPTITEM> items;
    void Add(const std::u16string& name, BYTE dmPubId, DWORD helpIndex) {
        names.push_back(name);
        OPTITEM item = {};
        item.cbSize = sizeof(OPTITEM);
        item.DMPubID = dmPubId;
        item.HelpIndex = helpIndex;
        items.push_back(item);
    }
    void Finish() {
        for (size_t i = 0; i < items.size(); ++i) {
            items[i].pName = sim::W(names[i]);
        }
    }
};

class CommonUiProp : public ::testing::Test {
protected:
    explicit CommonUiProp(const UiPrinterSetup& setup = {}) : printer_(setup) {}
    void SetUp() override {
        plugin_ = module_.CreatePlugin();
        ASSERT_NE(plugin_, nullptr);
        heap_ = HeapCreate(0, 0, 0);
        host_.Add(u"Orientation", 0, 0); // no id: neither DMPubID, "#" name nor help index
        host_.Add(u"Orientation", DMPUB_ORIENTATION, 0);
        host_.Add(u"Copies", DMPUB_COPIES_COLLATE, 0);
        host_.Finish();
    }
    void TearDown() override {
        if (plugin_ != nullptr) {
            plugin_->Release();
        }
        HeapDestroy(heap_);
    }

    // Both calls; the plug-in's items are then in own_.
    HRESULT Open(DWORD mode) {
        param_.cbSize = sizeof(param_);
        param_.hPrinter = printer_.handle();
        param_.pPrinterName = sim::W(printer_.name());
        param_.hOEMHeap = heap_;
        param_.pDrvOptItems = host_.items.data();
        param_.cDrvOptItems = static_cast<DWORD>(host_.items.size());
        HRESULT counted = plugin_->CommonUIProp(mode, &param_);
        if (FAILED(counted)) {
            return counted;
        }
        own_.assign(param_.cOEMOptItems, OPTITEM{});
        param_.pOEMOptItems = own_.data();
        return plugin_->CommonUIProp(mode, &param_);
    }

    const OPTITEM* Own(DWORD id) const {
        for (const OPTITEM& item : own_) {
            if (ReadBackId(item) == id) {
                return &item;
            }
        }
        ADD_FAILURE() << "no item " << id;
        return nullptr;
    }

    UiPrinter printer_;
    UiModule module_;
    IPrintOemUI2* plugin_ = nullptr;
    HANDLE heap_ = nullptr;
    HostItems host_;
    OEMCUIPPARAM param_ = {};
    std::vector<OPTITEM> own_;
};

TEST_F(CommonUiProp, TheCountingCallCountsTheFeatureRecords) {
    param_.cbSize = sizeof(param_);
    param_.hPrinter = printer_.handle();
    param_.pPrinterName = sim::W(printer_.name());
    param_.hOEMHeap = heap_;
    EXPECT_EQ(plugin_->CommonUIProp(OEMCUIP_DOCPROP, &param_), S_OK);
    EXPECT_EQ(param_.cOEMOptItems, SampleRecords("DOCUMENTFEATURE"));
    EXPECT_GT(param_.cOEMOptItems, 30u);
}

TEST_F(CommonUiProp, ThePrinterSheetCountsItsOwnRecords) {
    EXPECT_EQ(Open(OEMCUIP_PRNPROP), S_OK);
    EXPECT_EQ(param_.cOEMOptItems, SampleRecords("PRINTERFEATURE"));
}

TEST_F(CommonUiProp, EveryItemCarriesItsIdTheEngineAndItsCallback) {
    ASSERT_EQ(Open(OEMCUIP_DOCPROP), S_OK);
    EXPECT_NE(param_.pOEMUserData, nullptr);
    EXPECT_NE(param_.OEMCUIPCallback, nullptr);
    for (const OPTITEM& item : own_) {
        EXPECT_EQ(item.cbSize, sizeof(OPTITEM));
        EXPECT_EQ(item.Flags & (OPTIF_CALLBACK | OPTIF_COLLAPSE),
                  static_cast<DWORD>(OPTIF_CALLBACK | OPTIF_COLLAPSE));
        ASSERT_NE(item.pOptType, nullptr);
        EXPECT_EQ(item.pOptType->cbSize, sizeof(OPTTYPE));
    }
    // 17052 = 204 + 156 x 108: DMPubID 100 + (17052 - 100) mod 156, UserItemID the quotient.
    const OPTITEM* custom = Own(17052);
    ASSERT_NE(custom, nullptr);
    EXPECT_EQ(custom->DMPubID, 204);
    EXPECT_EQ(custom->UserItemID, 108);
    const OPTITEM* quick = Own(101);
    ASSERT_NE(quick, nullptr);
    EXPECT_EQ(quick->DMPubID, 101);
    EXPECT_EQ(quick->UserItemID, 0);
}

TEST_F(CommonUiProp, ListItemsTakeTheirOptionsTextsAndValues) {
    ASSERT_EQ(Open(OEMCUIP_DOCPROP), S_OK);
    const OPTITEM* paper = Own(1203);
    ASSERT_NE(paper, nullptr);
    EXPECT_EQ(sim::Utf8(paper->pName), "Paper size:"); // own pages keep the colon
    EXPECT_EQ(paper->pOptType->Type, TVOT_COMBOBOX);
    ASSERT_EQ(paper->pOptType->Count, 10);
    EXPECT_EQ(sim::Utf8(static_cast<LPCWSTR>(paper->pOptType->pOptParam[0].pData)), "A4");
    EXPECT_EQ(paper->pOptType->pOptParam[0].lParam, DMPAPER_A4);
    EXPECT_EQ(paper->pOptType->pOptParam[2].lParam, DMPAPER_LETTER);
    const OPTITEM* quick = Own(101);
    ASSERT_NE(quick, nullptr);
    // The free slots of the quick-settings list come hidden.
    EXPECT_EQ(quick->pOptType->pOptParam[1].Flags & OPTPF_HIDE, 0);
    EXPECT_EQ(quick->pOptType->pOptParam[2].Flags & OPTPF_HIDE, OPTPF_HIDE);
    const OPTITEM* angle = Own(19202);
    ASSERT_NE(angle, nullptr);
    EXPECT_EQ(angle->pOptType->Type, TVOT_3STATES);
    EXPECT_EQ(angle->pOptType->Count, 3);
    EXPECT_EQ(sim::Utf8(reinterpret_cast<LPCWSTR>(angle->UserData)), "OEMDEVMODE._WMK_ANGLE");
}

TEST_F(CommonUiProp, NumericItemsTakeTheirRangeAndSelection) {
    ASSERT_EQ(Open(OEMCUIP_DOCPROP), S_OK);
    const OPTITEM* degrees = Own(19250);
    ASSERT_NE(degrees, nullptr);
    EXPECT_EQ(degrees->pOptType->Type, TVOT_UDARROW);
    ASSERT_EQ(degrees->pOptType->Count, 2);
    EXPECT_EQ(degrees->Sel, 45);
    EXPECT_EQ(degrees->pOptType->pOptParam[1].IconID, 0u);
    EXPECT_EQ(degrees->pOptType->pOptParam[1].lParam, 359);
    const OPTITEM* gamma = Own(4352);
    ASSERT_NE(gamma, nullptr);
    EXPECT_EQ(gamma->pOptType->Type, TVOT_TRACKBAR);
    ASSERT_EQ(gamma->pOptType->Count, 3);
    EXPECT_EQ(gamma->Sel, 22);
    EXPECT_EQ(gamma->pOptType->pOptParam[1].IconID, 10u);
    EXPECT_EQ(gamma->pOptType->pOptParam[1].lParam, 30);
    EXPECT_EQ(gamma->pOptType->pOptParam[2].IconID, 1u); // a multiplier of 1 stays 1
    EXPECT_EQ(gamma->pOptType->pOptParam[2].lParam, 2);
}

TEST_F(CommonUiProp, EditBoxesGetAZeroedBufferOfTheirFieldsLength) {
    ASSERT_EQ(Open(OEMCUIP_DOCPROP), S_OK);
    const OPTITEM* name = Own(16100);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->pOptType->Type, TVOT_EDITBOX);
    ASSERT_EQ(name->pOptType->Count, 2);
    const DWORD chars = static_cast<DWORD>(name->pOptType->pOptParam[1].IconID);
    EXPECT_EQ(chars, 64u); // the length of the 64-character text its VALUE is typed by
    ASSERT_NE(name->pSel, nullptr);
    for (DWORD i = 0; i < chars; ++i) {
        EXPECT_EQ(name->pSel[i], 0) << i;
    }
    const OPTITEM* check = Own(5053);
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->pOptType->Type, TVOT_CHKBOX);
    EXPECT_EQ(check->pOptType->Count, 1);
}

TEST_F(CommonUiProp, OwnPagesLeaveTheFirstHostItemWithAnIdVisible) {
    ASSERT_EQ(Open(OEMCUIP_DOCPROP), S_OK);
    EXPECT_TRUE(host_.items[0].Flags & OPTIF_HIDE);
    EXPECT_FALSE(host_.items[1].Flags & OPTIF_HIDE);
    EXPECT_TRUE(host_.items[2].Flags & OPTIF_HIDE);
    for (const OPTITEM& item : own_) {
        EXPECT_TRUE(item.Flags & OPTIF_HIDE) << ReadBackId(item);
    }
}

TEST_F(CommonUiProp, AHashNameGivesAHostItemItsId) {
    host_ = {};
    host_.Add(u"Plain", 0, 0);
    host_.Add(u"#1A2|3F", 0, 0);
    host_.Add(u"Copies", DMPUB_COPIES_COLLATE, 0);
    host_.Finish();
    ASSERT_EQ(Open(OEMCUIP_DOCPROP), S_OK);
    EXPECT_TRUE(host_.items[0].Flags & OPTIF_HIDE);
    EXPECT_FALSE(host_.items[1].Flags & OPTIF_HIDE);
    EXPECT_TRUE(host_.items[2].Flags & OPTIF_HIDE);
}

TEST_F(CommonUiProp, ThePrinterSheetKeepsItsFirstOwnAndHostItems) {
    ASSERT_EQ(Open(OEMCUIP_PRNPROP), S_OK);
    EXPECT_FALSE(host_.items[0].Flags & OPTIF_HIDE);
    EXPECT_TRUE(host_.items[1].Flags & OPTIF_HIDE);
    ASSERT_FALSE(own_.empty());
    EXPECT_FALSE(own_[0].Flags & OPTIF_HIDE);
    for (size_t i = 1; i < own_.size(); ++i) {
        EXPECT_TRUE(own_[i].Flags & OPTIF_HIDE) << i;
    }
}

UiPrinterSetup ItemsInTheHostsPage() {
    UiPrinterSetup setup;
    setup.uipSettings = "UIPTYPEDOCUMENT=1\r\nUIPTYPEPRINTER=1\r\n";
    return setup;
}

class CommonUiPropInTheHostsPage : public CommonUiProp {
protected:
    CommonUiPropInTheHostsPage() : CommonUiProp(ItemsInTheHostsPage()) {}
};

TEST_F(CommonUiPropInTheHostsPage, TheSettingsFileForcesTheItemsIntoTheTreeView) {
    ASSERT_EQ(Open(OEMCUIP_DOCPROP), S_OK);
    const OPTITEM* paper = Own(1203);
    ASSERT_NE(paper, nullptr);
    EXPECT_EQ(sim::Utf8(paper->pName), "Paper size"); // the tree view drops the colon
    // The help index of a record that names its control's id is that id.
    EXPECT_EQ(paper->HelpIndex, 1203u);
    const OPTITEM* quick = Own(101);
    ASSERT_NE(quick, nullptr);
    EXPECT_EQ(quick->HelpIndex, 0u); // no help
    for (const OPTITEM& item : host_.items) {
        EXPECT_FALSE(item.Flags & OPTIF_HIDE);
    }
    for (const OPTITEM& item : own_) {
        EXPECT_FALSE(item.Flags & OPTIF_HIDE) << ReadBackId(item);
    }
}

// The value of a printer-settings field of the printer, as stored.
BYTE StoredByte(UiPrinter& printer, LPCWSTR field) {
    store::StructureRecord* record = nullptr;
    BYTE value = 0xEE;
    if (store::OpenByName(sim::W(printer.name()), L"PRINTERSETTINGS", &record) != 0) {
        return value;
    }
    store::StructureHandle settings = nullptr;
    if (store::GetStructure(record, L"PRINTERSETTINGS", &settings, nullptr) == 0) {
        store::GetField(settings, field, &value, sizeof value);
    }
    store::Close(&record);
    return value;
}

TEST_F(CommonUiPropInTheHostsPage, AnAdministratorStoresPrinterSettingsFromTheTreeView) {
    ASSERT_EQ(Open(OEMCUIP_PRNPROP), S_OK);
    OPTITEM* feeder = const_cast<OPTITEM*>(Own(8152));
    ASSERT_NE(feeder, nullptr);
    EXPECT_EQ(StoredByte(printer_, L"_ENVFEEDER"), 0);
    feeder->Sel = 1;
    feeder->Flags |= OPTIF_CHANGED;
    CPSUICBPARAM callback = {};
    callback.cbSize = sizeof callback;
    callback.Reason = CPSUICB_REASON_APPLYNOW;
    callback.pOptItem = feeder;
    ASSERT_NE(param_.OEMCUIPCallback, nullptr);
    EXPECT_EQ(param_.OEMCUIPCallback(&callback, &param_), CPSUICB_ACTION_ITEMS_APPLIED);
    EXPECT_EQ(StoredByte(printer_, L"_ENVFEEDER"), 1);
}

// A text setting of the stored printer settings, up to its terminator.
std::string StoredText(UiPrinter& printer, LPCWSTR field) {
    store::StructureRecord* record = nullptr;
    WCHAR value[81] = {};
    if (store::OpenByName(sim::W(printer.name()), L"PRINTERSETTINGS", &record) != 0) {
        return "(no settings)";
    }
    store::StructureHandle settings = nullptr;
    if (store::GetStructure(record, L"PRINTERSETTINGS", &settings, nullptr) == 0) {
        store::GetField(settings, field, value, sizeof value - sizeof(WCHAR));
    }
    store::Close(&record);
    return sim::Utf8(value);
}

TEST_F(CommonUiPropInTheHostsPage, ThePrinterSheetsApplyNamesTheAssignedFormsSymbols) {
    ASSERT_EQ(Open(OEMCUIP_PRNPROP), S_OK);
    EXPECT_EQ(StoredText(printer_, L"_FORMSIZE_ALLOWED_00"), "");
    CPSUICBPARAM callback = {};
    callback.cbSize = sizeof callback;
    callback.Reason = CPSUICB_REASON_APPLYNOW;
    callback.pOptItem = own_.data();
    ASSERT_NE(param_.OEMCUIPCallback, nullptr);
    EXPECT_EQ(param_.OEMCUIPCallback(&callback, &param_), CPSUICB_ACTION_ITEMS_APPLIED);
    // The sample assigns A4 plain paper to each of its four sources.
    for (int slot = 0; slot < 4; ++slot) {
        const std::u16string size = sim::Utf16("_FORMSIZE_ALLOWED_0" + std::to_string(slot));
        const std::u16string type = sim::Utf16("_FORMTYPE_ALLOWED_0" + std::to_string(slot));
        EXPECT_EQ(StoredText(printer_, sim::W(size)), "_MEDIASIZE_A4_ALLOWED_01") << slot;
        EXPECT_EQ(StoredText(printer_, sim::W(type)), "_MEDIATYPE_PLAIN_ALLOWED_01") << slot;
    }
    EXPECT_EQ(StoredText(printer_, L"_FORMSIZE_ALLOWED_04"), "");
    EXPECT_EQ(StoredText(printer_, L"_FORMTYPE_ALLOWED_06"), "");
}

// compstui's side of Document/DevicePropertySheets: the pages added and the start page chosen.
struct SheetCalls {
    struct Page {
        DWORD flags;
        const DLGTEMPLATE* dialog;
    };
    std::vector<Page> pages;
    std::vector<LONG_PTR> startPages;

    static LONG_PTR CALLBACK Function(HANDLE sheet, UINT function, LPARAM lParam1, LPARAM) {
        auto* calls = static_cast<SheetCalls*>(sheet);
        if (function == CPSFUNC_ADD_PROPSHEETPAGEW) {
            const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam1);
            calls->pages.push_back({page->dwFlags, page->pResource});
            return static_cast<LONG_PTR>(calls->pages.size());
        }
        if (function == CPSFUNC_SET_HSTARTPAGE) {
            calls->startPages.push_back(lParam1);
        }
        return 0;
    }
};

TEST_F(CommonUiProp, TheDocumentSheetAddsEveryOwnPageAfterTheFirst) {
    ASSERT_EQ(Open(OEMCUIP_DOCPROP), S_OK);
    SheetCalls calls;
    OEMUIPSPARAM pageParam = {};
    pageParam.cbSize = sizeof pageParam;
    PROPSHEETUI_INFO info = SheetInit(&calls, SheetCalls::Function, pageParam);
    EXPECT_EQ(plugin_->DocumentPropertySheets(&info, reinterpret_cast<LPARAM>(&pageParam)), S_OK);
    // Six document pages: the first shows in the host's page, five are added.
    ASSERT_EQ(calls.pages.size(), 5u);
    for (size_t i = 0; i < calls.pages.size(); ++i) {
        EXPECT_NE(calls.pages[i].dialog, nullptr);
        EXPECT_EQ(calls.pages[i].flags & (PSP_DLGINDIRECT | PSP_HASHELP),
                  static_cast<DWORD>(PSP_DLGINDIRECT | PSP_HASHELP));
        EXPECT_EQ((calls.pages[i].flags & PSP_PREMATURE) != 0, i == 0) << i;
    }
    EXPECT_TRUE(calls.startPages.empty());
    // Later reasons add nothing.
    info.Reason = PROPSHEETUI_REASON_DESTROY;
    EXPECT_EQ(plugin_->DocumentPropertySheets(&info, 0), S_OK);
    EXPECT_EQ(calls.pages.size(), 5u);
}

TEST_F(CommonUiProp, AStartFlagOpensTheSheetOnTheFirstAddedPage) {
    ASSERT_EQ(Open(OEMCUIP_DOCPROP), S_OK);
    SheetCalls calls;
    OEMUIPSPARAM pageParam = {};
    pageParam.cbSize = sizeof pageParam;
    pageParam.dwFlags = 0x20;
    PROPSHEETUI_INFO info = SheetInit(&calls, SheetCalls::Function, pageParam);
    EXPECT_EQ(plugin_->DocumentPropertySheets(&info, reinterpret_cast<LPARAM>(&pageParam)), S_OK);
    EXPECT_EQ(calls.startPages, (std::vector<LONG_PTR>{1}));
}

TEST_F(CommonUiProp, ASecondPluginFindsTheHandCursorClassRegistered) {
    for (int load = 0; load < 2; ++load) {
        IPrintOemUI2* plugin = module_.CreatePlugin();
        ASSERT_NE(plugin, nullptr);
        std::swap(plugin, plugin_);
        own_.clear();
        param_ = {};
        ASSERT_EQ(Open(OEMCUIP_PRNPROP), S_OK) << load;
        SheetCalls calls;
        OEMUIPSPARAM pageParam = {};
        pageParam.cbSize = sizeof pageParam;
        PROPSHEETUI_INFO info = SheetInit(&calls, SheetCalls::Function, pageParam);
        EXPECT_EQ(plugin_->DevicePropertySheets(&info, reinterpret_cast<LPARAM>(&pageParam)), S_OK)
            << load;
        EXPECT_EQ(calls.pages.size(), 1u); // Form assignment after Installed options
        std::swap(plugin, plugin_);
        plugin->Release();
    }
}

TEST_F(CommonUiPropInTheHostsPage, TheTreeViewAddsNoPages) {
    ASSERT_EQ(Open(OEMCUIP_DOCPROP), S_OK);
    SheetCalls calls;
    OEMUIPSPARAM pageParam = {};
    pageParam.cbSize = sizeof pageParam;
    PROPSHEETUI_INFO info = SheetInit(&calls, SheetCalls::Function, pageParam);
    EXPECT_EQ(plugin_->DocumentPropertySheets(&info, reinterpret_cast<LPARAM>(&pageParam)),
              E_NOTIMPL);
    EXPECT_TRUE(calls.pages.empty());
}

// While the plug-in's factory lives, the simulation shows its items to the tools that drive the
// sheet: the host's items that have an id and every own item, each with its id, marked as the
// plug-in's or the host's, and its options as the engine reads them.
TEST_F(CommonUiProp, TheFactoryPublishesItsItemsWhileItLives) {
    ASSERT_EQ(Open(OEMCUIP_DOCPROP), S_OK);
    std::vector<sim::OptionItemsView> views = sim::PublishedOptionItems();
    ASSERT_EQ(views.size(), 1u);
    EXPECT_EQ(views[0].uiType, 2u);
    size_t hostSeen = 0;
    size_t ownSeen = 0;
    for (const sim::PublishedItem& view : views[0].items) {
        const bool own = view.item >= own_.data() && view.item < own_.data() + own_.size();
        EXPECT_EQ(view.own, own) << view.id;
        if (own) {
            ++ownSeen;
            EXPECT_EQ(view.id, ReadBackId(*view.item));
            EXPECT_EQ(view.options.size(), view.item->pOptType ? view.item->pOptType->Count : 0u)
                << view.id;
        } else {
            ++hostSeen;
            EXPECT_EQ(view.id, view.item->DMPubID);
        }
    }
    EXPECT_EQ(hostSeen, 2u); // the item without an id has no handler
    EXPECT_EQ(ownSeen, own_.size());
    plugin_->Release();
    plugin_ = nullptr;
    EXPECT_TRUE(sim::PublishedOptionItems().empty());
}

} // namespace
} // namespace moltr::test
