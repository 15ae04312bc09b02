// The universal driver's document and printer sheets, opened through DrvDocumentPropertySheets and
// DrvDevicePropertySheets as compstui opens them: the test plays compstui's side of the
// documented protocol (PROPSHEETUI_INFO reasons, pfnComPropSheet, the items' callback), and the
// sample printer's UI plug-in takes part as it does on a desktop.
#include <windows.h>
#include <gtest/gtest.h>
#include <compstui.h>
#include <winddiui.h>
#include <cstring>
#include <string>
#include <vector>
#include "prcomoem.h"
#include "sim/utf.h"
#include "ui_printer.h"

namespace moltr::test {
namespace {

// compstui's side: what the driver adds through pfnComPropSheet. The functions it adds are
// called at once with PROPSHEETUI_REASON_INIT, as compstui calls them.
class CompstuiStandIn {
public:
    static LONG_PTR CALLBACK Call(HANDLE sheet, UINT function, LPARAM first, LPARAM second) {
        auto* self = static_cast<CompstuiStandIn*>(sheet);
        switch (function) {
        case CPSFUNC_ADD_PCOMPROPSHEETUIW:
            self->page = reinterpret_cast<COMPROPSHEETUI*>(first);
            *reinterpret_cast<LONG*>(second) = 1;
            return 1;
        case CPSFUNC_ADD_PFNPROPSHEETUIW: {
            PROPSHEETUI_INFO info = {sizeof info,
                                     PROPSHEETUI_INFO_VERSION,
                                     PSUIINFO_UNICODE,
                                     PROPSHEETUI_REASON_INIT,
                                     sheet,
                                     Call,
                                     second,
                                     0,
                                     0};
            self->functionAnswers.push_back(reinterpret_cast<PFNPROPSHEETUI>(first)(&info, 0));
            self->functionParams.push_back(second);
            return 2;
        }
        case CPSFUNC_ADD_PROPSHEETPAGEW:
            ++self->ownPages;
            return 10 + self->ownPages;
        default:
            return 0;
        }
    }

    COMPROPSHEETUI* page = nullptr;
    std::vector<LONG> functionAnswers;
    std::vector<LPARAM> functionParams;
    int ownPages = 0;
};

class DriverSheet {
public:
    using Entry = LONG(WINAPI*)(PPROPSHEETUI_INFO, LPARAM);

    DriverSheet(Entry entry, LPARAM header) : entry_(entry) {
        info_ = {sizeof info_,
                 PROPSHEETUI_INFO_VERSION,
                 PSUIINFO_UNICODE,
                 PROPSHEETUI_REASON_INIT,
                 &compstui_,
                 CompstuiStandIn::Call,
                 header,
                 0,
                 0};
        opened_ = entry_(&info_, 0);
    }
    ~DriverSheet() {
        info_.Reason = PROPSHEETUI_REASON_DESTROY;
        entry_(&info_, 0);
    }

    LONG opened() const { return opened_; }
    CompstuiStandIn& compstui() { return compstui_; }
    COMPROPSHEETUI& page() { return *compstui_.page; }

    // The first of the page's items with `dmPubId` and, when given, that name.
    OPTITEM* Item(BYTE dmPubId, const char* name = nullptr) {
        for (WORD i = 0; compstui_.page && i < page().cOptItem; ++i) {
            OPTITEM& item = page().pOptItem[i];
            if (item.DMPubID == dmPubId && (!name || sim::Utf8(item.pName) == name)) {
                return &item;
            }
        }
        ADD_FAILURE() << "no item " << int(dmPubId) << " " << (name ? name : "");
        return nullptr;
    }
    // The index of the option of `item` whose text is `text`.
    static LONG Option(const OPTITEM& item, const char* text) {
        for (WORD i = 0; i < item.pOptType->Count; ++i) {
            if (sim::Utf8(item.pOptType->pOptParam[i].pData) == text) {
                return i;
            }
        }
        ADD_FAILURE() << "no option " << text;
        return 0;
    }

    // The user changes an item, as compstui reports it.
    LONG Change(OPTITEM* item, LONG selection, WORD reason = CPSUICB_REASON_SEL_CHANGED) {
        const LONG old = item->Sel;
        item->Sel = selection;
        item->Flags |= OPTIF_CHANGED;
        return Report(reason, item, old);
    }
    LONG Apply() { return Report(CPSUICB_REASON_APPLYNOW, nullptr, 0); }
    LONG Close(LRESULT result) {
        SETRESULT_INFO set = {sizeof set, 0, &compstui_, result};
        info_.Reason = PROPSHEETUI_REASON_SET_RESULT;
        return entry_(&info_, reinterpret_cast<LPARAM>(&set));
    }

private:
    LONG Report(WORD reason, OPTITEM* item, LONG old) {
        CPSUICBPARAM callback = {};
        callback.cbSize = sizeof callback;
        callback.Reason = reason;
        callback.pOptItem = page().pOptItem;
        callback.cOptItem = page().cOptItem;
        callback.pCurItem = item;
        callback.OldSel = old;
        callback.UserData = page().UserData;
        return page().pfnCallBack(&callback);
    }

    Entry entry_;
    CompstuiStandIn compstui_;
    PROPSHEETUI_INFO info_ = {};
    LONG opened_ = 0;
};

class DriverPropertySheets : public ::testing::Test {
protected:
    explicit DriverPropertySheets(const UiPrinterSetup& setup = {}) : printer_(setup) {}

    std::vector<BYTE> DevmodeBuffer() {
        LONG size = DocumentPropertiesW(nullptr, printer_.handle(), nullptr, nullptr, nullptr, 0);
        EXPECT_GT(size, 0);
        return std::vector<BYTE>(size > 0 ? size : 1, 0xCD);
    }
    DOCUMENTPROPERTYHEADER DocumentHeader(std::vector<BYTE>& out, DWORD mode = DM_OUT_BUFFER) {
        return {sizeof(DOCUMENTPROPERTYHEADER),
                0,
                printer_.handle(),
                sim::W(printer_.name()),
                nullptr,
                reinterpret_cast<DEVMODEW*>(out.data()),
                static_cast<DWORD>(out.size()),
                mode | DM_IN_PROMPT};
    }
    DEVICEPROPERTYHEADER PrinterHeader(WORD flags = 0) {
        return {sizeof(DEVICEPROPERTYHEADER), flags, printer_.handle(), sim::W(printer_.name())};
    }
    std::vector<BYTE> PrinterData(LPCWSTR name) {
        DWORD type = 0, needed = 0;
        GetPrinterDataW(printer_.handle(), const_cast<LPWSTR>(name), &type, nullptr, 0, &needed);
        std::vector<BYTE> bytes(needed);
        if (needed) {
            GetPrinterDataW(printer_.handle(), const_cast<LPWSTR>(name), &type, bytes.data(),
                            needed, &needed);
        }
        return bytes;
    }

    UiPrinter printer_;
};

TEST_F(DriverPropertySheets, TheDocumentPageHoldsTheDriversItemsThenThePluginsItems) {
    std::vector<BYTE> out = DevmodeBuffer();
    DOCUMENTPROPERTYHEADER header = DocumentHeader(out);
    DriverSheet sheet(DrvDocumentPropertySheets, reinterpret_cast<LPARAM>(&header));
    ASSERT_GT(sheet.opened(), 0);
    ASSERT_NE(sheet.compstui().page, nullptr);
    EXPECT_EQ(sheet.page().pDlgPage, CPSUI_PDLGPAGE_DOCPROP);
    OPTITEM* paper = sheet.Item(DMPUB_FORMNAME);
    ASSERT_NE(paper, nullptr);
    EXPECT_EQ(sim::Utf8(paper->pName), "Paper Size");
    EXPECT_EQ(paper->HelpIndex, 1000u + DMPUB_FORMNAME);
    EXPECT_EQ(paper->pOptType->Type, TVOT_LISTBOX);
    // The plug-in's default for a machine in the United States.
    EXPECT_EQ(sim::Utf8(paper->pOptType->pOptParam[paper->Sel].pData), "LT 8.5 x 11 in");
    OPTITEM* copies = sheet.Item(DMPUB_COPIES_COLLATE);
    ASSERT_NE(copies, nullptr);
    EXPECT_EQ(copies->pOptType->Type, TVOT_UDARROW);
    EXPECT_EQ(copies->Sel, 1);
    EXPECT_EQ(copies->pOptType->pOptParam[1].lParam, 999); // the GPD's *MaxCopies
    ASSERT_NE(copies->pExtChkBox, nullptr);
    // Trays by a standard name, by the resource module's string and by their *Name; no tray
    // falls back to its keyword.
    OPTITEM* source = sheet.Item(DMPUB_DEFSOURCE);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(sim::Utf8(source->pOptType->pOptParam[0].pData), "Automatically Select");
    EXPECT_EQ(sim::Utf8(source->pOptType->pOptParam[2].pData), "Tray 1");
    EXPECT_EQ(sim::Utf8(source->pOptType->pOptParam[3].pData), "Tray 2");
    EXPECT_EQ(sim::Utf8(source->pOptType->pOptParam[6].pData), "Tray 5");
    // Media types by the resource module's string, not by their keyword.
    OPTITEM* media = sheet.Item(DMPUB_MEDIATYPE);
    ASSERT_NE(media, nullptr);
    EXPECT_EQ(sim::Utf8(media->pOptType->pOptParam[0].pData), "Plain");
    EXPECT_EQ(sim::Utf8(media->pOptType->pOptParam[9].pData), "Extra thick");
    // A feature the devmode has no field for is an item of its own, with the help index its
    // *HelpIndex gives.
    OPTITEM* graphics = sheet.Item(DMPUB_NONE);
    ASSERT_NE(graphics, nullptr);
    EXPECT_EQ(graphics->HelpIndex, 30300u);
    EXPECT_NE(graphics->UserData, 0u);
    // The plug-in's items follow, built by its second CommonUIProp call.
    int own = 0;
    for (WORD i = 0; i < sheet.page().cOptItem; ++i) {
        const OPTITEM& item = sheet.page().pOptItem[i];
        own += item.DMPubID >= DMPUB_USER ? 1 : 0;
        EXPECT_EQ(item.cbSize, sizeof(OPTITEM)) << i;
    }
    EXPECT_GT(own, 20);
    // Its own pages came through the function the driver added for it.
    ASSERT_EQ(sheet.compstui().functionAnswers.size(), 1u);
    EXPECT_EQ(sheet.compstui().functionAnswers[0], 1);
    auto* oem = reinterpret_cast<const OEMUIPSPARAM*>(sheet.compstui().functionParams[0]);
    EXPECT_EQ(oem->cbSize, sizeof(OEMUIPSPARAM));
    EXPECT_EQ(oem->hPrinter, printer_.handle());
    EXPECT_GT(sheet.compstui().ownPages, 0);
}

TEST_F(DriverPropertySheets, OkWritesTheChosenValuesIntoTheOutputDevmode) {
    std::vector<BYTE> out = DevmodeBuffer();
    DOCUMENTPROPERTYHEADER header = DocumentHeader(out);
    {
        DriverSheet sheet(DrvDocumentPropertySheets, reinterpret_cast<LPARAM>(&header));
        ASSERT_GT(sheet.opened(), 0);
        OPTITEM* copies = sheet.Item(DMPUB_COPIES_COLLATE);
        OPTITEM* orientation = sheet.Item(DMPUB_ORIENTATION);
        OPTITEM* nup = sheet.Item(DMPUB_NUP);
        ASSERT_TRUE(copies && orientation && nup);
        copies->Flags |= OPTIF_ECB_CHECKED;
        sheet.Change(copies, 3, CPSUICB_REASON_ECB_CHANGED);
        sheet.Change(orientation, DriverSheet::Option(*orientation, "Landscape"));
        sheet.Change(nup, DriverSheet::Option(*nup, "4"));
        EXPECT_EQ(sheet.Apply(), CPSUICB_ACTION_ITEMS_APPLIED);
        EXPECT_EQ(sheet.Close(CPSUI_OK), 1);
    }
    const DEVMODEW* devmode = reinterpret_cast<const DEVMODEW*>(out.data());
    EXPECT_EQ(devmode->dmSize, sizeof(DEVMODEW));
    EXPECT_EQ(devmode->dmCopies, 3);
    EXPECT_EQ(devmode->dmCollate, DMCOLLATE_TRUE);
    EXPECT_EQ(devmode->dmOrientation, DMORIENT_LANDSCAPE);
    EXPECT_TRUE(devmode->dmFields & DM_ORIENTATION);
    // The driver's part (size, signature, version, then the layout) holds the pages a sheet.
    WORD pagesPerSheet = 0;
    std::memcpy(&pagesPerSheet, out.data() + sizeof(DEVMODEW) + 3 * sizeof(DWORD),
                sizeof pagesPerSheet);
    EXPECT_EQ(pagesPerSheet, 4);
    // The devmode is whole: the application may hand it back in.
    std::vector<BYTE> again = DevmodeBuffer();
    EXPECT_EQ(DocumentPropertiesW(
                  nullptr, printer_.handle(), nullptr, reinterpret_cast<DEVMODEW*>(again.data()),
                  reinterpret_cast<DEVMODEW*>(out.data()), DM_IN_BUFFER | DM_OUT_BUFFER),
              IDOK);
    EXPECT_EQ(reinterpret_cast<const DEVMODEW*>(again.data())->dmOrientation, DMORIENT_LANDSCAPE);
}

TEST_F(DriverPropertySheets, CancelLeavesTheOutputDevmodeAlone) {
    std::vector<BYTE> out = DevmodeBuffer();
    const std::vector<BYTE> before = out;
    DOCUMENTPROPERTYHEADER header = DocumentHeader(out);
    DriverSheet sheet(DrvDocumentPropertySheets, reinterpret_cast<LPARAM>(&header));
    ASSERT_GT(sheet.opened(), 0);
    OPTITEM* paper = sheet.Item(DMPUB_FORMNAME);
    ASSERT_NE(paper, nullptr);
    sheet.Change(paper, 0);
    EXPECT_EQ(sheet.Close(CPSUI_CANCEL), 1);
    EXPECT_EQ(out, before);
}

TEST_F(DriverPropertySheets, AnOutputBufferTooSmallIsNotWritten) {
    std::vector<BYTE> out = DevmodeBuffer();
    const std::vector<BYTE> before = out;
    DOCUMENTPROPERTYHEADER header = DocumentHeader(out);
    header.cbOut = sizeof(DEVMODEW);
    DriverSheet sheet(DrvDocumentPropertySheets, reinterpret_cast<LPARAM>(&header));
    ASSERT_GT(sheet.opened(), 0);
    sheet.Apply();
    sheet.Close(CPSUI_OK);
    EXPECT_EQ(out, before);
}

TEST_F(DriverPropertySheets, WithoutAPromptTheEntryAnswersTheDevmode) {
    DOCUMENTPROPERTYHEADER header = {
        sizeof header, 0, printer_.handle(), sim::W(printer_.name()), nullptr, nullptr, 0, 0};
    const LONG size = DrvDocumentPropertySheets(nullptr, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(size, DocumentPropertiesW(nullptr, printer_.handle(), nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(header.cbOut, static_cast<DWORD>(size));
    EXPECT_EQ(DrvDevicePropertySheets(nullptr, 0), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(DriverPropertySheets, ThePrinterSheetStoresInstallableOptionsAndTrayForms) {
    DEVICEPROPERTYHEADER header = PrinterHeader();
    {
        DriverSheet sheet(DrvDevicePropertySheets, reinterpret_cast<LPARAM>(&header));
        ASSERT_GT(sheet.opened(), 0);
        EXPECT_EQ(sheet.page().pDlgPage, CPSUI_PDLGPAGE_PRINTERPROP);
        EXPECT_TRUE(sheet.page().Flags & CPSUIF_UPDATE_PERMISSION);
        // The installable features in the GPD's order, each with the help index the GPD gives
        // it: EnablePJL, RAMDisk, CompactFlash.
        std::vector<OPTITEM*> installable;
        OPTITEM* tray = nullptr;
        for (WORD i = 0; i < sheet.page().cOptItem; ++i) {
            OPTITEM& item = sheet.page().pOptItem[i];
            if (item.HelpIndex == 31050 || item.HelpIndex == 31250 || item.HelpIndex == 31300) {
                installable.push_back(&item);
            }
            if (item.HelpIndex == 1027 && sim::Utf8(item.pName) == "Tray 5") {
                tray = &item;
            }
        }
        ASSERT_EQ(installable.size(), 3u);
        OPTITEM* disk = installable[1];
        ASSERT_NE(disk, nullptr);
        ASSERT_NE(tray, nullptr);
        EXPECT_EQ(disk->Sel, 0);
        sheet.Change(disk, 1);
        sheet.Change(tray, DriverSheet::Option(*tray, "A5 148 x 210 mm"));
        EXPECT_EQ(sheet.Apply(), CPSUICB_ACTION_ITEMS_APPLIED);
        sheet.Close(CPSUI_OK);
    }
    const std::vector<BYTE> keywords = PrinterData(L"FeatureKeyword");
    const std::string text(keywords.begin(), keywords.end());
    EXPECT_NE(text.find(std::string("RAMDisk\0NOTINSTALLED\0", 21)), std::string::npos);
    EXPECT_EQ(text.back(), '\0');
    // Opened again, the sheet shows what was stored.
    DriverSheet again(DrvDevicePropertySheets, reinterpret_cast<LPARAM>(&header));
    ASSERT_GT(again.opened(), 0);
    bool trayFound = false;
    for (WORD i = 0; i < again.page().cOptItem; ++i) {
        const OPTITEM& item = again.page().pOptItem[i];
        if (item.HelpIndex == 1027 && sim::Utf8(item.pName) == "Tray 5") {
            trayFound = true;
            EXPECT_EQ(sim::Utf8(item.pOptType->pOptParam[item.Sel].pData), "A5 148 x 210 mm");
        }
    }
    EXPECT_TRUE(trayFound);
}

TEST_F(DriverPropertySheets, APrinterSheetWithoutPermissionStoresNothing) {
    DEVICEPROPERTYHEADER header = PrinterHeader(DPS_NOPERMISSION);
    DriverSheet sheet(DrvDevicePropertySheets, reinterpret_cast<LPARAM>(&header));
    ASSERT_GT(sheet.opened(), 0);
    EXPECT_FALSE(sheet.page().Flags & CPSUIF_UPDATE_PERMISSION);
    sheet.Apply();
    sheet.Close(CPSUI_OK);
    EXPECT_TRUE(PrinterData(L"FeatureKeyword").empty());
}

TEST_F(DriverPropertySheets, AnInitWithoutItsHeaderAddsNothing) {
    DriverSheet document(DrvDocumentPropertySheets, 0);
    EXPECT_EQ(document.opened(), ERR_CPSUI_INVALID_LPARAM);
    EXPECT_EQ(document.compstui().page, nullptr);
    DriverSheet printer(DrvDevicePropertySheets, 0);
    EXPECT_EQ(printer.opened(), ERR_CPSUI_INVALID_LPARAM);
    EXPECT_EQ(printer.compstui().page, nullptr);
}

UiPrinterSetup ItemsInTheTreeView() {
    UiPrinterSetup setup;
    setup.uipSettings = "UIPTYPEDOCUMENT=1\r\nUIPTYPEPRINTER=1\r\n";
    return setup;
}

// The plug-in's items join the driver's in the tree view, and the driver's stay visible.
class DriverPropertySheetsInTheTreeView : public DriverPropertySheets {
protected:
    DriverPropertySheetsInTheTreeView() : DriverPropertySheets(ItemsInTheTreeView()) {}
};

TEST_F(DriverPropertySheetsInTheTreeView, TheDriversVisibleItemsReachTheDevmode) {
    std::vector<BYTE> out = DevmodeBuffer();
    DOCUMENTPROPERTYHEADER header = DocumentHeader(out);
    {
        DriverSheet sheet(DrvDocumentPropertySheets, reinterpret_cast<LPARAM>(&header));
        ASSERT_GT(sheet.opened(), 0);
        EXPECT_EQ(sheet.compstui().ownPages, 0);
        OPTITEM* media = sheet.Item(DMPUB_MEDIATYPE);
        OPTITEM* scale = sheet.Item(DMPUB_SCALE);
        OPTITEM* fonts = sheet.Item(DMPUB_TTOPTION);
        ASSERT_TRUE(media && scale && fonts);
        EXPECT_FALSE(media->Flags & OPTIF_HIDE);
        sheet.Change(media, DriverSheet::Option(*media, "Bond"));
        sheet.Change(scale, 150);
        sheet.Change(fonts, DriverSheet::Option(*fonts, "Print as Graphics"));
        EXPECT_EQ(sheet.Apply(), CPSUICB_ACTION_ITEMS_APPLIED);
        sheet.Close(CPSUI_OK);
    }
    const DEVMODEW* devmode = reinterpret_cast<const DEVMODEW*>(out.data());
    EXPECT_EQ(devmode->dmScale, 150);
    EXPECT_EQ(devmode->dmTTOption, DMTT_BITMAP);
    EXPECT_TRUE(devmode->dmFields & DM_TTOPTION);
    EXPECT_EQ(devmode->dmMediaType, 539u); // the option's *OptionID
}

} // namespace
} // namespace moltr::test
