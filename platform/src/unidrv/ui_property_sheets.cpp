#include "src/unidrv/ui_property_sheets.h"

#include <winspool.h>
#include <algorithm>
#include <memory>
#include <vector>
#include "src/unidrv/driver_devmode.h"
#include "src/unidrv/gpd_reader.h"
#include "src/unidrv/ui_display_names.h"
#include "src/unidrv/ui_document_devmode.h"
#include "src/unidrv/ui_driver_services.h"
#include "src/unidrv/ui_plugin.h"
#include "src/unidrv/ui_printer_choices.h"
#include "src/unidrv/ui_standard_items.h"

namespace moltr::unidrv {
namespace {

enum class Sheet { kDocument, kPrinter };

class SheetSession;

// What the plug-in's page function receives as lParamInit: the documented part first.
struct PluginPagesParam {
    OEMUIPSPARAM oem;
    SheetSession* session;
};

// The heap the plug-in allocates its objects on; it outlives the plug-in, which is released
// before it.
class OemHeap {
public:
    OemHeap() : heap_(HeapCreate(0, 0, 0)) {}
    ~OemHeap() {
        if (heap_) {
            HeapDestroy(heap_);
        }
    }
    OemHeap(const OemHeap&) = delete;
    OemHeap& operator=(const OemHeap&) = delete;
    HANDLE get() const { return heap_; }

private:
    HANDLE heap_;
};

// One open sheet, from PROPSHEETUI_REASON_INIT to PROPSHEETUI_REASON_DESTROY.
class SheetSession {
public:
    SheetSession(Sheet sheet, HANDLE printer, LPWSTR printerName, DWORD flags)
        : sheet_(sheet), printer_(printer), printerName_(printerName), flags_(flags) {}
    SheetSession(const SheetSession&) = delete;
    SheetSession& operator=(const SheetSession&) = delete;

    // Everything up to the pages added; false leaves nothing added.
    bool Open(PPROPSHEETUI_INFO info, const DEVMODEW* input);
    LONG Callback(PCPSUICBPARAM callback);
    LONG PluginPages(PPROPSHEETUI_INFO info, LPARAM lParam);
    const std::vector<BYTE>& devmode() const { return devmode_; }

private:
    bool SettleDevmode(const DEVMODEW* input);
    void CallPlugin();
    DEVMODEW* publicPart() { return reinterpret_cast<DEVMODEW*>(devmode_.data()); }
    size_t hostCount() const { return standard_->items().size(); }
    void UpdateDevmode();
    bool readOnly() const { return sheet_ == Sheet::kPrinter && (flags_ & DPS_NOPERMISSION); }

    Sheet sheet_;
    HANDLE printer_;
    LPWSTR printerName_;
    DWORD flags_;
    GpdModel model_;
    OemHeap heap_;
    UiPlugin plugin_;
    bool withPlugin_ = false;
    std::unique_ptr<DisplayNames> names_;
    std::unique_ptr<StandardItems> standard_;
    std::vector<BYTE> devmode_;
    std::vector<OPTITEM> items_;
    OEMCUIPPARAM param_ = {};
    PluginPagesParam pages_ = {};
    COMPROPSHEETUI page_ = {};
};

bool SheetSession::SettleDevmode(const DEVMODEW* input) {
    const LONG size = DocumentDevMode(printer_, printerName_, nullptr, nullptr, 0);
    if (size <= 0) {
        return false;
    }
    devmode_.assign(static_cast<size_t>(size), 0);
    const DWORD mode = DM_OUT_BUFFER | (input ? DM_IN_BUFFER : 0);
    return DocumentDevMode(printer_, printerName_, publicPart(), input, mode) == IDOK;
}

bool SheetSession::Open(PPROPSHEETUI_INFO info, const DEVMODEW* input) {
    DWORD needed = 0;
    GetPrinterDriverW(printer_, nullptr, 3, nullptr, 0, &needed);
    std::vector<BYTE> driver(needed ? needed : 1);
    if (!needed || !GetPrinterDriverW(printer_, nullptr, 3, driver.data(), needed, &needed)) {
        return false;
    }
    GpdReadResult gpd =
        ReadGpdFile(reinterpret_cast<const DRIVER_INFO_3W*>(driver.data())->pDataFile);
    if (!gpd.ok || !heap_.get() || !SettleDevmode(input)) {
        return false;
    }
    model_ = std::move(gpd.model);
    names_ = std::make_unique<DisplayNames>(printer_, model_);
    standard_ = std::make_unique<StandardItems>(model_, *names_);
    if (sheet_ == Sheet::kDocument) {
        standard_->BuildDocument(*publicPart());
    } else {
        standard_->BuildPrinter(ReadPrinterChoices(printer_));
    }
    withPlugin_ = SUCCEEDED(plugin_.Load(printer_));
    CallPlugin();
    page_.cbSize = sizeof page_;
    page_.Flags = readOnly() ? 0 : CPSUIF_UPDATE_PERMISSION;
    page_.hInstCaller = GetModuleHandleW(nullptr);
    page_.pCallerName = printerName_;
    page_.UserData = reinterpret_cast<ULONG_PTR>(this);
    page_.pfnCallBack = [](PCPSUICBPARAM callback) -> LONG {
        auto* session = callback ? reinterpret_cast<SheetSession*>(callback->UserData) : nullptr;
        return session ? session->Callback(callback) : CPSUICB_ACTION_NONE;
    };
    page_.pOptItem = items_.data();
    page_.cOptItem = static_cast<WORD>(items_.size());
    page_.pDlgPage = sheet_ == Sheet::kPrinter ? CPSUI_PDLGPAGE_PRINTERPROP
                     : (flags_ & DM_ADVANCED)  ? CPSUI_PDLGPAGE_ADVDOCPROP
                                               : CPSUI_PDLGPAGE_DOCPROP;
    page_.cDlgPage = 0;
    page_.IconID = IDI_CPSUI_PRINTER2;
    page_.pOptItemName = printerName_;
    page_.CallerVersion = 0x0100;
    page_.OptItemVersion = 0x0100;
    LONG added = 0;
    if (!info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_ADD_PCOMPROPSHEETUIW,
                               reinterpret_cast<LPARAM>(&page_),
                               reinterpret_cast<LPARAM>(&added))) {
        return false;
    }
    if (withPlugin_ && param_.pOEMUserData) {
        pages_.oem = {sizeof(OEMUIPSPARAM),
                      plugin_.uiObject(),
                      printer_,
                      printerName_,
                      plugin_.module(),
                      heap_.get(),
                      publicPart(),
                      param_.pOEMDM,
                      param_.pOEMUserData,
                      flags_,
                      nullptr};
        pages_.session = this;
        PFNPROPSHEETUI function = [](PPROPSHEETUI_INFO pages, LPARAM lParam) -> LONG {
            auto* param = pages ? reinterpret_cast<PluginPagesParam*>(pages->lParamInit) : nullptr;
            return param ? param->session->PluginPages(pages, lParam) : -1;
        };
        info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_ADD_PFNPROPSHEETUIW,
                              reinterpret_cast<LPARAM>(function),
                              reinterpret_cast<LPARAM>(&pages_));
    }
    return true;
}

// Both CommonUIProp calls; a plug-in that fails either keeps no items, and the driver's own
// items are then the whole page.
void SheetSession::CallPlugin() {
    items_ = standard_->items();
    if (!withPlugin_) {
        return;
    }
    DWORD pluginSize = 0;
    const BYTE* part = PluginPart(publicPart(), plugin_.signature(), &pluginSize);
    param_ = {};
    param_.cbSize = sizeof param_;
    param_.poemuiobj = plugin_.uiObject();
    param_.hPrinter = printer_;
    param_.pPrinterName = printerName_;
    param_.hModule = plugin_.module();
    param_.hOEMHeap = heap_.get();
    param_.pPublicDM = publicPart();
    param_.pOEMDM = const_cast<BYTE*>(part);
    param_.dwFlags = flags_;
    param_.pDrvOptItems = items_.data();
    param_.cDrvOptItems = static_cast<DWORD>(items_.size());
    const DWORD mode = sheet_ == Sheet::kDocument ? OEMCUIP_DOCPROP : OEMCUIP_PRNPROP;
    plugin_.services()->SetDevMode(publicPart());
    plugin_.services()->SetItemUpdate(
        [](void* context, const OPTITEM& item) {
            auto* session = static_cast<SheetSession*>(context);
            if (session->sheet_ == Sheet::kDocument) {
                session->standard_->WriteItem(item, session->publicPart());
            }
        },
        this);
    if (FAILED(plugin_.plugin()->CommonUIProp(mode, &param_)) || param_.cOEMOptItems == 0 ||
        param_.cOEMOptItems > 0xFFFF - items_.size()) {
        param_.cOEMOptItems = 0;
        param_.OEMCUIPCallback = nullptr;
        return;
    }
    const size_t host = items_.size();
    items_.resize(host + param_.cOEMOptItems, OPTITEM{});
    param_.pDrvOptItems = items_.data();
    param_.pOEMOptItems = items_.data() + host;
    if (FAILED(plugin_.plugin()->CommonUIProp(mode, &param_))) {
        items_.resize(host);
        param_.pDrvOptItems = items_.data();
        param_.pOEMOptItems = nullptr;
        param_.cOEMOptItems = 0;
        param_.pOEMUserData = nullptr;
        param_.OEMCUIPCallback = nullptr;
    }
}

void SheetSession::UpdateDevmode() {
    if (sheet_ == Sheet::kDocument) {
        standard_->WriteDevmode(items_.data(), hostCount(), publicPart());
    }
}

LONG SheetSession::Callback(PCPSUICBPARAM callback) {
    const bool changed = callback->Reason == CPSUICB_REASON_SEL_CHANGED ||
                         callback->Reason == CPSUICB_REASON_ECB_CHANGED;
    if (changed || callback->Reason == CPSUICB_REASON_APPLYNOW) {
        UpdateDevmode();
    }
    LONG answer = CPSUICB_ACTION_NONE;
    if (param_.OEMCUIPCallback) {
        plugin_.services()->SetDevMode(publicPart());
        answer = param_.OEMCUIPCallback(callback, &param_);
    }
    if (callback->Reason != CPSUICB_REASON_APPLYNOW) {
        return answer;
    }
    if (sheet_ == Sheet::kPrinter && !readOnly()) {
        WritePrinterChoices(printer_, standard_->ReadPrinterChoices(items_.data(), hostCount()));
    }
    return CPSUICB_ACTION_ITEMS_APPLIED;
}

LONG SheetSession::PluginPages(PPROPSHEETUI_INFO info, LPARAM lParam) {
    IPrintOemUI* plugin = plugin_.plugin();
    const HRESULT result = sheet_ == Sheet::kDocument ? plugin->DocumentPropertySheets(info, lParam)
                                                      : plugin->DevicePropertySheets(info, lParam);
    // A plug-in that adds no pages of its own (E_NOTIMPL) leaves the sheet as it is.
    return SUCCEEDED(result) || result == E_NOTIMPL ? 1 : -1;
}

// The steps of the property-sheet protocol both sheets share.
LONG RunSheet(Sheet sheet, PPROPSHEETUI_INFO info, LPARAM lParam) {
    switch (info->Reason) {
    case PROPSHEETUI_REASON_INIT: {
        std::unique_ptr<SheetSession> session;
        const DEVMODEW* input = nullptr;
        if (sheet == Sheet::kDocument) {
            auto* header = reinterpret_cast<PDOCUMENTPROPERTYHEADER>(info->lParamInit);
            if (!header) {
                return ERR_CPSUI_INVALID_LPARAM;
            }
            input = (header->fMode & DM_IN_BUFFER) ? header->pdmIn : nullptr;
            session = std::make_unique<SheetSession>(sheet, header->hPrinter,
                                                     header->pszPrinterName, header->fMode);
        } else {
            auto* header = reinterpret_cast<PDEVICEPROPERTYHEADER>(info->lParamInit);
            if (!header) {
                return ERR_CPSUI_INVALID_LPARAM;
            }
            session = std::make_unique<SheetSession>(sheet, header->hPrinter,
                                                     header->pszPrinterName, header->Flags);
        }
        if (!session->Open(info, input)) {
            return ERR_CPSUI_GETLASTERROR;
        }
        info->UserData = reinterpret_cast<ULONG_PTR>(session.release());
        info->Result = CPSUI_CANCEL;
        return 1;
    }
    case PROPSHEETUI_REASON_GET_INFO_HEADER: {
        auto* header = reinterpret_cast<PPROPSHEETUI_INFO_HEADER>(lParam);
        if (!header) {
            return -1;
        }
        // Applications take a document's settings on OK only.
        header->Flags = sheet == Sheet::kDocument ? PSUIHDRF_PROPTITLE | PSUIHDRF_NOAPPLYNOW
                                                  : PSUIHDRF_PROPTITLE;
        header->pTitle =
            sheet == Sheet::kDocument
                ? reinterpret_cast<PDOCUMENTPROPERTYHEADER>(info->lParamInit)->pszPrinterName
                : reinterpret_cast<PDEVICEPROPERTYHEADER>(info->lParamInit)->pszPrinterName;
        header->hInst = GetModuleHandleW(nullptr);
        header->IconID = IDI_CPSUI_PRINTER2;
        return 1;
    }
    case PROPSHEETUI_REASON_SET_RESULT: {
        auto* result = reinterpret_cast<PSETRESULT_INFO>(lParam);
        auto* session = reinterpret_cast<SheetSession*>(info->UserData);
        if (!result || !session) {
            return -1;
        }
        info->Result = static_cast<ULONG_PTR>(result->Result);
        auto* header = reinterpret_cast<PDOCUMENTPROPERTYHEADER>(info->lParamInit);
        const std::vector<BYTE>& devmode = session->devmode();
        if (sheet == Sheet::kDocument && result->Result == CPSUI_OK && header->pdmOut &&
            (header->fMode & DM_OUT_BUFFER) && header->cbOut >= devmode.size()) {
            std::copy(devmode.begin(), devmode.end(), reinterpret_cast<BYTE*>(header->pdmOut));
        }
        return 1;
    }
    case PROPSHEETUI_REASON_DESTROY:
        delete reinterpret_cast<SheetSession*>(info->UserData);
        info->UserData = 0;
        return 1;
    default:
        return 1;
    }
}

} // namespace
} // namespace moltr::unidrv

extern "C" {

LONG WINAPI DrvDocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) {
    if (pPSUIInfo) {
        return moltr::unidrv::RunSheet(moltr::unidrv::Sheet::kDocument, pPSUIInfo, lParam);
    }
    auto* header = reinterpret_cast<PDOCUMENTPROPERTYHEADER>(lParam);
    if (!header) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    const DWORD mode = header->fMode & (DM_IN_BUFFER | DM_OUT_BUFFER);
    const LONG answer =
        moltr::unidrv::DocumentDevMode(header->hPrinter, header->pszPrinterName, header->pdmOut,
                                       (mode & DM_IN_BUFFER) ? header->pdmIn : nullptr, mode);
    if (mode == 0 && answer > 0) {
        header->cbOut = static_cast<DWORD>(answer);
    }
    return answer;
}

LONG WINAPI DrvDevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) {
    if (!pPSUIInfo) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    return moltr::unidrv::RunSheet(moltr::unidrv::Sheet::kPrinter, pPSUIInfo, lParam);
}

} // extern "C"
