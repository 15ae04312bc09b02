// Hostile quick-settings text as a stored quick setting may hold it: the input, read as UTF-16
// characters, is applied to a sheet of the engine's items (lists, numbers, an edit box, the paper
// and watermark-angle items, the quick-settings list) and the sheet's state is saved again; then
// it is stored as an entry of the quick-settings list, which the user chooses.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>
#include "common/drv_settings.h"
#include "common/resources.h"
#include "uiplugin/engine/named_list_handlers.h"
#include "uiplugin/engine/opt_item_handler_factory.h"
#include "uiplugin/engine/quick_settings_text.h"
#include "uiplugin_printer.h"

namespace {

constexpr WORD kEditLength = 12;
constexpr DWORD kQuickSettings = 101;
// The free slot of the quick-settings list that the input is stored in.
constexpr DWORD kSlot = 2;

// One item with its options, encoded as the plug-in's own (id 100 or more) or as a host item.
struct Item {
    OPTPARAM options[3] = {};
    OPTTYPE type = {};
    OPTITEM item = {};
};

struct Sheet {
    Sheet() {
        moltr::common::CreateDrvSettings(moltr::common::kModeDocument, printer.handle, &settings);
        moltr::common::CreatePrinterResources(&resources, printer.handle, heap);
        DWORD size = 0;
        if (settings != nullptr && SUCCEEDED(settings->GetDevModeSize(&size))) {
            devmode.assign(size, 0);
            settings->GetDefaultDevMode(&size, devmode.data());
        }
        publicDevMode.dmSize = sizeof(DEVMODEW);
        param.cbSize = sizeof(param);
        param.pPublicDM = &publicDevMode;
        param.pOEMDM = devmode.empty() ? nullptr : devmode.data();
        environment.heap = heap;
        environment.settings = settings;
        environment.resources = resources;
        environment.param = &param;
        environment.sheetKind = moltr::ui::kSheetDocument;
        environment.uiType = moltr::ui::kUITypeOwnPages;
        environment.pdl = 51;
        environment.modelClass = 16;
    }

    // Fresh items for every input, so that each run starts from the same state.
    void Fill() {
        Set(items[0], TVOT_COMBOBOX, 1203, {DMPAPER_LETTER, DMPAPER_A4, DMPAPER_A3}, 1);
        Set(items[1], TVOT_UDARROW, 19250, {0, 360, 0}, 45);
        items[1].options[1].IconID = 0;
        Set(items[2], TVOT_3STATES, 19202, {0, 1, 2}, 1);
        Set(items[3], TVOT_EDITBOX, 16100, {0, kEditLength, 0}, 0);
        items[3].options[1].IconID = kEditLength;
        std::memset(edit, 0, sizeof(edit));
        items[3].item.pSel = edit;
        Set(items[4], TVOT_TRACKBAR, 3000, {0, 200, 1}, 100);
        Set(items[5], TVOT_LISTBOX, 9, {0, 1, 2}, 0);
        Set(items[6], TVOT_CHKBOX, 32500, {0, 0, 0}, 0);
        Set(items[7], TVOT_2STATES, 6, {0, 1, 0}, 0);
        Set(items[8], TVOT_PUSHBUTTON, 3001, {0, 0, 0}, 0);
        Set(items[9], TVOT_COMBOBOX, kQuickSettings, {0, 1, 2}, 0);
        items[9].options[2].Flags = OPTPF_HIDE;
    }

    static void Set(Item& item, BYTE type, DWORD id, const LPARAM (&values)[3], LONG sel) {
        item = Item{};
        for (int i = 0; i < 3; ++i) {
            item.options[i].cbSize = sizeof(OPTPARAM);
            item.options[i].pData = const_cast<LPWSTR>(L"option");
            item.options[i].lParam = values[i];
        }
        item.type.cbSize = sizeof(OPTTYPE);
        item.type.Type = type;
        item.type.Count = type == TVOT_PUSHBUTTON || type == TVOT_CHKBOX ? 1 : 3;
        item.type.pOptParam = item.options;
        item.item.cbSize = sizeof(OPTITEM);
        item.item.pName = const_cast<LPWSTR>(L"item");
        item.item.pOptType = &item.type;
        item.item.Sel = sel;
        item.item.DMPubID = static_cast<BYTE>(id < 100 ? id : 100 + (id - 100) % 156);
        item.item.UserItemID = static_cast<BYTE>(id < 100 ? 0 : (id - 100) / 156);
    }

    moltr::fuzz::UiPluginPrinter printer;
    HANDLE heap = HeapCreate(0, 0, 0);
    moltr::common::IDrvSettings* settings = nullptr;
    moltr::common::IDrvResources* resources = nullptr;
    std::vector<BYTE> devmode;
    DEVMODEW publicDevMode = {};
    OEMCUIPPARAM param = {};
    moltr::ui::FactoryEnvironment environment = {};
    Item items[10];
    // Sentinels after the edit box's buffer show a copy that ran past it.
    WCHAR edit[kEditLength + 4];
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Sheet sheet;
    if (sheet.settings == nullptr || sheet.resources == nullptr) {
        return 0;
    }
    sheet.Fill();
    moltr::ui::VORTAOptItemHandlerFactory* factory = nullptr;
    if (FAILED(moltr::ui::CreateOptItemHandlerFactory(sheet.environment, &factory))) {
        return 0;
    }
    for (Item& item : sheet.items) {
        factory->RegisterItem(&item.item);
    }
    factory->FinishRegistration();
    // One character more than the input holds, so that an empty input still has an address.
    std::vector<WCHAR> text(size / sizeof(WCHAR) + 1, 0);
    if (size >= sizeof(WCHAR)) {
        std::memcpy(text.data(), data, (text.size() - 1) * sizeof(WCHAR));
    }
    BOOL complete = TRUE;
    factory->LoadStates(text.data(), text.size() - 1, &complete);
    if (sheet.edit[kEditLength - 1] != 0 || sheet.edit[kEditLength] != 0) {
        __builtin_trap();
    }
    moltr::ui::QuickSettingsText saved(sheet.heap);
    factory->SaveStates(saved);
    auto* list =
        dynamic_cast<moltr::ui::VORTAOptItemHandlerQSCOMBOBOX*>(factory->Find(kQuickSettings));
    if (list != nullptr && list->StoreEntry(kSlot, L"fuzz", text.data(), text.size() - 1)) {
        list->SetSelection(kSlot, nullptr);
    }
    if (sheet.edit[kEditLength - 1] != 0 || sheet.edit[kEditLength] != 0) {
        __builtin_trap();
    }
    factory->Commit(FALSE);
    delete factory;
    return 0;
}
