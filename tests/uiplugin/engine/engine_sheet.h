#pragma once
// A sheet of option items as the host hands them to the engine: the sample printer installed, its
// settings and resources objects, the host's parameter with both devmodes, a driver-UI stand-in
// that records the item updates, and helpers that build OPTITEMs with their OPTTYPEs.
#include <windows.h>
#include <gtest/gtest.h>
#include <compstui.h>
#include <algorithm>
#include <deque>
#include <string>
#include <vector>
#include "common/drv_settings.h"
#include "common/resources.h"
#include "prcomoem.h"
#include "sim/utf.h"
#include "uiplugin/engine/opt_item_handler.h"
#include "uiplugin/engine/opt_item_handler_factory.h"
#include "uiplugin/ui_printer.h"

namespace moltr::test {

// Records every DrvUpdateUISetting call: the item and its Sel at the time.
class DriverUiRecorder : public IPrintOemDriverUI {
public:
    struct Update {
        void* item;
        LONG sel;
        DWORD flags;
        DWORD mode;
    };
    STDMETHOD(QueryInterface)(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return 1; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(DrvGetDriverSetting)(PVOID, PCSTR, PVOID, DWORD, PDWORD, PDWORD) override {
        return E_NOTIMPL;
    }
    STDMETHOD(DrvUpgradeRegistrySetting)(HANDLE, PCSTR, PCSTR) override { return E_NOTIMPL; }
    STDMETHOD(DrvUpdateUISetting)(PVOID, PVOID item, DWORD, DWORD mode) override {
        const OPTITEM* optItem = static_cast<const OPTITEM*>(item);
        updates.push_back({item, optItem->Sel, optItem->Flags, mode});
        return S_OK;
    }
    std::vector<Update> updates;
};

// One item with its own options; the address stays put (kept in a deque).
struct HostItem {
    std::vector<OPTPARAM> options;
    OPTTYPE type = {};
    OPTITEM item = {};
    std::vector<WCHAR> buffer;
};

inline constexpr WCHAR kSentinel = 0x7777;

class EngineSheet {
public:
    explicit EngineSheet(DWORD sheetKind = ui::kSheetDocument, DWORD uiType = 2, DWORD pdl = 20,
                         DWORD modelClass = 7)
        : heap_(HeapCreate(0, 0, 0)) {
        const DWORD mode =
            sheetKind == ui::kSheetDocument ? common::kModeDocument : common::kModePrinter;
        EXPECT_EQ(common::CreateDrvSettings(mode, printer_.handle(), &settings_), S_OK);
        EXPECT_EQ(common::CreatePrinterResources(&resources_, printer_.handle(), heap_), S_OK);
        DWORD size = 0;
        if (settings_ != nullptr && sheetKind == ui::kSheetDocument) {
            EXPECT_EQ(settings_->GetDevModeSize(&size), S_OK);
            privateDevMode_.assign(size, 0);
            EXPECT_EQ(settings_->GetDefaultDevMode(&size, privateDevMode_.data()), S_OK);
        }
        publicDevMode_.dmSize = sizeof(DEVMODEW);
        publicDevMode_.dmPaperSize = DMPAPER_LETTER;
        param_.cbSize = sizeof(param_);
        param_.hPrinter = printer_.handle();
        param_.hOEMHeap = heap_;
        param_.pPublicDM = &publicDevMode_;
        param_.pOEMDM = privateDevMode_.empty() ? nullptr : privateDevMode_.data();
        environment_.heap = heap_;
        environment_.settings = settings_;
        environment_.resources = resources_;
        environment_.driverUI = &driverUi_;
        environment_.param = &param_;
        environment_.sheetKind = sheetKind;
        environment_.uiType = uiType;
        environment_.pdl = pdl;
        environment_.modelClass = modelClass;
    }
    ~EngineSheet() {
        delete factory_;
        if (resources_ != nullptr) {
            resources_->Release();
        }
        if (settings_ != nullptr) {
            settings_->Release();
        }
        HeapDestroy(heap_);
    }
    EngineSheet(const EngineSheet&) = delete;
    EngineSheet& operator=(const EngineSheet&) = delete;

    // The factory, created on first use.
    ui::VORTAOptItemHandlerFactory& Factory() {
        if (factory_ == nullptr) {
            EXPECT_EQ(ui::CreateOptItemHandlerFactory(environment_, &factory_), S_OK);
        }
        return *factory_;
    }

    // The handler filed for `item` after registering it.
    ui::VORTAOptItemHandler& Registered(OPTITEM& item) {
        EXPECT_EQ(Factory().RegisterItem(&item), S_OK);
        ui::VORTAOptItemHandler* handler = Factory().Find(Factory().ItemId(item));
        EXPECT_NE(handler, nullptr);
        return *handler;
    }

    // A list-like item (types 0, 1, 5, 6, 9, 20 ...) with one option per value; the texts are
    // literal; `dmPubId` 0 leaves the id to the help index or the name.
    OPTITEM& AddItem(BYTE type, const std::vector<LPARAM>& values, BYTE dmPubId,
                     DWORD helpIndex = 0, LONG sel = 0) {
        HostItem& host = items_.emplace_back();
        for (size_t i = 0; i < values.size(); ++i) {
            OPTPARAM option = {};
            option.cbSize = sizeof(OPTPARAM);
            option.pData = Text("option " + std::to_string(i));
            option.lParam = values[i];
            host.options.push_back(option);
        }
        host.type.cbSize = sizeof(OPTTYPE);
        host.type.Type = type;
        host.type.Count = static_cast<WORD>(values.size());
        host.type.pOptParam = host.options.data();
        host.item.cbSize = sizeof(OPTITEM);
        host.item.pName = Text("item");
        host.item.pOptType = &host.type;
        host.item.DMPubID = dmPubId;
        host.item.HelpIndex = helpIndex;
        host.item.Sel = sel;
        return host.item;
    }
    // A plug-in item with id `itemId`, encoded into DMPubID and UserItemID.
    OPTITEM& AddOwnItem(BYTE type, const std::vector<LPARAM>& values, DWORD itemId, LONG sel = 0) {
        OPTITEM& item = AddItem(type, values, 0, 0, sel);
        if (itemId < 100) {
            item.DMPubID = static_cast<BYTE>(itemId);
        } else {
            item.DMPubID = static_cast<BYTE>(100 + (itemId - 100) % 156);
            item.UserItemID = static_cast<BYTE>((itemId - 100) / 156);
        }
        return item;
    }
    // A plug-in edit box whose buffer holds `length` characters.
    OPTITEM& AddEditBox(DWORD itemId, WORD length) {
        OPTITEM& item = AddOwnItem(TVOT_EDITBOX, {0, 0}, itemId);
        HostItem& host = items_.back();
        host.options[1].IconID = length;
        // Sentinels after the zeroed buffer.
        host.buffer.assign(length + 8u, kSentinel);
        std::fill(host.buffer.begin(), host.buffer.begin() + length, WCHAR{0});
        item.pSel = host.buffer.data();
        return item;
    }
    // The characters just past an edit item's buffer.
    const WCHAR* AfterBuffer(const OPTITEM& item) const {
        for (const HostItem& host : items_) {
            if (&host.item == &item) {
                return host.buffer.data() + host.options[1].IconID;
            }
        }
        return nullptr;
    }

    LPWSTR Text(const std::string& text) {
        std::u16string& stored = texts_.emplace_back(sim::Utf16(text));
        return sim::W(stored);
    }

    // A compstui callback of `reason` for `item`, after the host stored `newSel` in it.
    LONG Callback(WORD reason, OPTITEM& item, LONG newSel) {
        CPSUICBPARAM param = {};
        param.cbSize = sizeof(param);
        param.Reason = reason;
        param.pCurItem = &item;
        param.OldSel = item.Sel;
        item.Sel = newSel;
        return Factory().Callback(&param);
    }

    template <typename Value> Value DevModeField(const WCHAR* field) {
        Value value{};
        EXPECT_EQ(settings_->GetValue(privateDevMode_.data(), field, &value, sizeof value,
                                      common::kLayoutDevMode),
                  S_OK);
        return value;
    }
    template <typename Value> Value PrinterField(const WCHAR* field) {
        Value value{};
        EXPECT_EQ(settings_->GetValue(nullptr, field, &value, sizeof value,
                                      common::kLayoutPrinterSettings),
                  S_OK);
        return value;
    }
    template <typename Value> void SetDevModeField(const WCHAR* field, Value value) {
        EXPECT_EQ(
            settings_->SetValue(privateDevMode_.data(), field, &value, common::kLayoutDevMode),
            S_OK);
    }
    template <typename Value> void SetPrinterField(const WCHAR* field, Value value) {
        EXPECT_EQ(settings_->SetValue(nullptr, field, &value, common::kLayoutPrinterSettings),
                  S_OK);
    }

    // What the factory is made with; a change counts only before the first Factory().
    ui::FactoryEnvironment& Environment() { return environment_; }
    DriverUiRecorder& DriverUi() { return driverUi_; }
    DEVMODEW& PublicDevMode() { return publicDevMode_; }
    OEMCUIPPARAM& Param() { return param_; }
    HANDLE Heap() const { return heap_; }
    LPCWSTR PrinterName() { return sim::W(printer_.name()); }

private:
    UiPrinter printer_;
    HANDLE heap_;
    common::IDrvSettings* settings_ = nullptr;
    common::IDrvResources* resources_ = nullptr;
    std::vector<BYTE> privateDevMode_;
    DEVMODEW publicDevMode_ = {};
    OEMCUIPPARAM param_ = {};
    DriverUiRecorder driverUi_;
    ui::FactoryEnvironment environment_ = {};
    ui::VORTAOptItemHandlerFactory* factory_ = nullptr;
    std::deque<HostItem> items_;
    std::deque<std::u16string> texts_;
};

} // namespace moltr::test
