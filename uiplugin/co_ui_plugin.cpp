#include "uiplugin/co_ui_plugin.h"

#include <winddiui.h>
#include <new>
#include "common/plugin_devmode.h"
#include "common/plugin_info.h"
#include "compiler/compile_driver.h"
#include "uiplugin/co_ui_plugin_ext.h"
#include "uiplugin/module_counts.h"
#include "uiplugin/registry_values.h"

namespace moltr::ui {
namespace {

// The one PROPSHEETUI_INFO layout the plug-in knows.
constexpr WORD kPropSheetInfoVersion = 0x0100;

// A hook's answer, or E_NOTIMPL when there is no hook or it declines.
template <typename Hook, typename... Arguments>
HRESULT OfferOnly(Hook hook, Arguments... arguments) {
    if (hook == nullptr) {
        return E_NOTIMPL;
    }
    HRESULT answer = hook(arguments...);
    return Declined(answer) ? E_NOTIMPL : answer;
}

// Whether a hook took the call: its answer is then the method's.
template <typename Hook, typename... Arguments>
bool Offered(HRESULT& answer, Hook hook, Arguments... arguments) {
    if (hook == nullptr) {
        return false;
    }
    answer = hook(arguments...);
    return !Declined(answer);
}

} // namespace

CoUIPlugin::CoUIPlugin(const UIPluginHooks& hooks) : hooks_(hooks) {
    AddLiveObject();
}

CoUIPlugin::~CoUIPlugin() {
    if (engine_ != nullptr) {
        engine_->Release();
    }
    if (settings_ != nullptr) {
        settings_->Release();
    }
    if (driver_ != nullptr) {
        driver_->Release();
    }
}

STDMETHODIMP CoUIPlugin::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IPrintOemUI) &&
        !IsEqualIID(iid, IID_IPrintOemUI2)) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IPrintOemUI2*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CoUIPlugin::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) CoUIPlugin::Release() {
    LONG count = InterlockedDecrement(&references_);
    if (count == 0) {
        if (hooks_.destruct != nullptr) {
            hooks_.destruct(this);
        }
        RemoveLiveObject();
        delete this;
    }
    return static_cast<ULONG>(count);
}

STDMETHODIMP CoUIPlugin::GetInfo(DWORD mode, PVOID buffer, DWORD size, PDWORD needed) {
    return common::AnswerPluginInfo(mode, buffer, size, needed);
}

// A printer without compiled structures gets them compiled once, then the object is made again.
HRESULT CoUIPlugin::CreateSettings(HANDLE printer) {
    if (settings_ != nullptr) {
        return S_OK;
    }
    if (SUCCEEDED(common::CreateDrvSettings(common::kModeDocument, printer, &settings_))) {
        return S_OK;
    }
    compiler::CompileForPrinter(printer);
    if (SUCCEEDED(common::CreateDrvSettings(common::kModeDocument, printer, &settings_))) {
        return S_OK;
    }
    settings_ = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CoUIPlugin::DevMode(DWORD mode, POEMDMPARAM param) {
    if (mode < OEMDM_SIZE || mode > OEMDM_MERGE || param == nullptr) {
        return E_INVALIDARG;
    }
    HRESULT answer = CreateSettings(param->hPrinter);
    if (FAILED(answer) || Offered(answer, hooks_.devMode, mode, param)) {
        return answer;
    }
    answer = common::AnswerDevMode(*settings_, mode, *param);
    if (mode == OEMDM_MERGE && SUCCEEDED(answer) && param->pPublicDMOut != nullptr &&
        param->pPublicDMOut->dmDuplex != DMDUP_SIMPLEX && hooks_.duplexValidated != nullptr) {
        hooks_.duplexValidated(param->hPrinter, param->pPublicDMOut);
    }
    return answer;
}

STDMETHODIMP CoUIPlugin::PublishDriverInterface(IUnknown* driver) {
    if (driver == nullptr) {
        return E_INVALIDARG;
    }
    if (driver_ != nullptr) {
        return S_OK;
    }
    void* services = nullptr;
    if (FAILED(driver->QueryInterface(IID_IPrintOemDriverUI, &services)) || services == nullptr) {
        if (services != nullptr) {
            static_cast<IUnknown*>(services)->Release();
        }
        return E_FAIL;
    }
    driver_ = static_cast<IPrintOemDriverUI*>(services);
    return S_OK;
}

STDMETHODIMP CoUIPlugin::CommonUIProp(DWORD mode, POEMCUIPPARAM param) {
    if (param == nullptr) {
        return E_INVALIDARG;
    }
    if (mode != OEMCUIP_DOCPROP && mode != OEMCUIP_PRNPROP) {
        return E_NOTIMPL;
    }
    // The host's first, counting call finds the descriptions compiled for the UI engine.
    if (param->pOEMOptItems == nullptr && param->hPrinter != nullptr) {
        compiler::CompileForPrinter(param->hPrinter);
    }
    // Without its engine the plug-in adds nothing: the host shows its own items only.
    if (FAILED(CreateEngine(mode, param))) {
        return E_NOTIMPL;
    }
    return engine_->ItemStep(param);
}

HRESULT CoUIPlugin::CreateEngine(DWORD mode, POEMCUIPPARAM param) {
    if (engine_ != nullptr) {
        return S_OK;
    }
    if (FAILED(CreateSettings(param->hPrinter))) {
        return E_FAIL;
    }
    auto* engine = new (std::nothrow) CoUIPluginExt();
    if (engine == nullptr) {
        return E_OUTOFMEMORY;
    }
    const DWORD sheetKind = mode == OEMCUIP_PRNPROP ? kSheetPrinter : kSheetDocument;
    if (FAILED(engine->Initialise(sheetKind, param, driver_, settings_))) {
        engine->Release();
        return E_FAIL;
    }
    engine_ = engine;
    return S_OK;
}

HRESULT CoUIPlugin::PropertySheets(PropertySheetsHook hook, PPROPSHEETUI_INFO info, LPARAM lParam) {
    if (info == nullptr || info->Version != kPropSheetInfoVersion) {
        return E_INVALIDARG;
    }
    HRESULT answer = E_NOTIMPL;
    if (Offered(answer, hook, info, lParam) || engine_ == nullptr) {
        return answer;
    }
    return engine_->PageStep(info, lParam);
}

STDMETHODIMP CoUIPlugin::DocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
    return PropertySheets(hooks_.documentPropertySheets, info, lParam);
}

STDMETHODIMP CoUIPlugin::DevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
    return PropertySheets(hooks_.devicePropertySheets, info, lParam);
}

STDMETHODIMP CoUIPlugin::PrinterEvent(PWSTR printerName, INT event, DWORD flags, LPARAM lParam) {
    if (printerName == nullptr || printerName[0] == 0) {
        return E_INVALIDARG;
    }
    HRESULT answer = E_NOTIMPL;
    if (Offered(answer, hooks_.printerEvent, printerName, event, flags, lParam)) {
        return answer;
    }
    return event == PRINTER_EVENT_INITIALIZE ? WriteRegistryValues(printerName) : E_NOTIMPL;
}

STDMETHODIMP CoUIPlugin::DevQueryPrintEx(POEMUIOBJ uiObject, PDEVQUERYPRINT_INFO info,
                                         PDEVMODEW devmode, PVOID privateDevMode) {
    return OfferOnly(hooks_.devQueryPrintEx, uiObject, info, devmode, privateDevMode);
}

STDMETHODIMP CoUIPlugin::DeviceCapabilities(POEMUIOBJ uiObject, HANDLE printer, PWSTR deviceName,
                                            WORD capability, PVOID output, PDEVMODEW devmode,
                                            PVOID privateDevMode, DWORD old, DWORD* result) {
    return OfferOnly(hooks_.deviceCapabilities, uiObject, printer, deviceName, capability, output,
                     devmode, privateDevMode, old, result, settings_);
}

STDMETHODIMP CoUIPlugin::UpgradePrinter(DWORD level, PBYTE upgradeInfo) {
    return OfferOnly(hooks_.upgradePrinter, level, upgradeInfo);
}

STDMETHODIMP CoUIPlugin::DriverEvent(DWORD event, DWORD level, LPBYTE driverInfo, LPARAM lParam) {
    return OfferOnly(hooks_.driverEvent, event, level, driverInfo, lParam);
}

STDMETHODIMP CoUIPlugin::QueryColorProfile(HANDLE printer, POEMUIOBJ uiObject, PDEVMODEW devmode,
                                           PVOID privateDevMode, ULONG queryMode, VOID* profile,
                                           ULONG* profileSize, FLONG* profileFlags) {
    return OfferOnly(hooks_.queryColorProfile, printer, uiObject, devmode, privateDevMode,
                     queryMode, profile, profileSize, profileFlags, settings_);
}

STDMETHODIMP CoUIPlugin::FontInstallerDlgProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    return OfferOnly(hooks_.fontInstallerDlgProc, window, message, wParam, lParam);
}

STDMETHODIMP CoUIPlugin::UpdateExternalFonts(HANDLE printer, HANDLE heap, PWSTR cartridges) {
    return OfferOnly(hooks_.updateExternalFonts, printer, heap, cartridges);
}

STDMETHODIMP CoUIPlugin::QueryJobAttributes(HANDLE printer, PDEVMODEW devmode, DWORD level,
                                            LPBYTE attributeInfo) {
    return OfferOnly(hooks_.queryJobAttributes, printer, devmode, level, attributeInfo);
}

STDMETHODIMP CoUIPlugin::HideStandardUI(DWORD mode) {
    return OfferOnly(hooks_.hideStandardUI, mode);
}

STDMETHODIMP CoUIPlugin::DocumentEvent(HANDLE printer, HDC dc, INT escape, ULONG inSize, PVOID in,
                                       ULONG outSize, PVOID out, PINT result) {
    return OfferOnly(hooks_.documentEvent, printer, dc, escape, inSize, in, outSize, out, result);
}

} // namespace moltr::ui
