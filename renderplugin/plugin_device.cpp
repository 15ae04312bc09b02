// CoPlugin's devmode requests and the life of its driver table and PDEVs.
#include <windows.h>
#include <winspool.h>
#include <memory>
#include "renderplugin/co_plugin.h"
#include "renderplugin/ddi_hooks.h"
#include "renderplugin/devmode_override.h"
#include "renderplugin/page_progress.h"
#include "renderplugin/render_state.h"
#include "renderplugin/settings_view.h"
#include "common/plugin_devmode.h"
#include "common/windows_version.h"

namespace moltr::render {

namespace {

constexpr DWORD kDriverVersion = 0x30000;

// The printer's name from its level 5 record, as a copy the state owns; null on failure.
LPWSTR CopyPrinterName(HANDLE printer) {
    DWORD needed = 0;
    GetPrinterW(printer, 5, nullptr, 0, &needed);
    if (needed == 0) {
        return nullptr;
    }
    auto info = std::make_unique<BYTE[]>(needed);
    if (!GetPrinterW(printer, 5, info.get(), needed, &needed)) {
        return nullptr;
    }
    LPCWSTR name = reinterpret_cast<const PRINTER_INFO_5W*>(info.get())->pPrinterName;
    int length = name != nullptr ? lstrlenW(name) : 0;
    auto* copy = new (std::nothrow) WCHAR[length + 1];
    if (copy != nullptr) {
        lstrcpynW(copy, name != nullptr ? name : L"", length + 1);
    }
    return copy;
}

// The settings that only the spooler's rendering reads; elsewhere they keep their defaults.
void ReadSpoolerSettings(RenderState& state, const SettingsView& settings) {
    if (!InSpooler()) {
        return;
    }
    state.scalePercent = settings.Job(L"_SCALE_FACTOR");
    state.rotated = settings.Job(L"_ROTATED") != 0;
    state.printTextBlack = settings.Job(L"_PRNTXTBLACK") != 0;
}

} // namespace

STDMETHODIMP CoPlugin::DevMode(DWORD mode, POEMDMPARAM param) {
    if (mode < OEMDM_SIZE || mode > OEMDM_MERGE || param == nullptr) {
        return E_INVALIDARG;
    }
    if (settings_ == nullptr &&
        FAILED(common::CreateDrvSettings(common::kModeDocument, param->hPrinter, &settings_))) {
        settings_ = nullptr;
        return E_NOTIMPL;
    }
    if (hooks_.devMode != nullptr) {
        HRESULT answer = hooks_.devMode(*this, mode, param);
        if (!Declined(answer)) {
            return answer;
        }
    }
    return DefaultDevMode(mode, param);
}

HRESULT CoPlugin::DefaultDevMode(DWORD mode, POEMDMPARAM param) {
    HRESULT result = common::AnswerDevMode(*settings_, mode, *param);
    return mode == OEMDM_MERGE && SUCCEEDED(result) ? MergeInSpooler(settings_, param) : result;
}

STDMETHODIMP CoPlugin::EnableDriver(DWORD, DWORD, PDRVENABLEDATA table) {
    if (table == nullptr) {
        return E_FAIL;
    }
    if (AtDeviceLevel()) {
        table->iDriverVersion = kDriverVersion;
        table->c = kHookedDdiCount;
        table->pdrvfn = const_cast<DRVFN*>(HookedDdiTable());
    }
    return S_OK;
}

STDMETHODIMP CoPlugin::DisableDriver() {
    return E_NOTIMPL;
}

STDMETHODIMP CoPlugin::EnablePDEV(PDEVOBJ devobj, PWSTR, ULONG, HSURF*, ULONG gdiSize,
                                  GDIINFO* gdiInfo, ULONG devSize, DEVINFO* devInfo,
                                  DRVENABLEDATA* driverTable, PDEVOEM* pdev) {
    if (devobj == nullptr || devInfo == nullptr || driverTable == nullptr || pdev == nullptr) {
        return E_FAIL;
    }
    LPWSTR printerName = CopyPrinterName(devobj->hPrinter);
    if (AtDeviceLevel()) {
        devInfo->cxDither = 0;
        devInfo->cyDither = 0;
    }
    if (resources_ != nullptr) {
        resources_->Release();
        resources_ = nullptr;
    }
    if (FAILED(common::CreatePrinterResources(&resources_, devobj->hPrinter, nullptr))) {
        resources_ = nullptr;
        delete[] printerName;
        return E_FAIL;
    }
    if (!AtDeviceLevel()) {
        delete[] printerName;
        return S_OK;
    }
    auto* state = new (std::nothrow) RenderState;
    if (state == nullptr || !state->heapUser) {
        delete state;
        delete[] printerName;
        return E_FAIL;
    }
    state->printerName = printerName;
    state->settings = settings_;
    state->resources = resources_;
    state->driver = driver_;
    state->hooks = &hooks_;
    state->devobj = devobj;
    state->publicDevMode = devobj->pPublicDM;
    state->privateDevMode = devobj->pOEMDM;
    state->windows2000 = common::RunsWindowsVersion(5, 0);
    TakeDriverEntryPoints(*state, *driverTable);
    if (!CopyGeometry(*state, gdiInfo, gdiSize, devInfo, devSize)) {
        delete state;
        return E_FAIL;
    }
    SettingsView settings(settings_, devobj->pOEMDM);
    state->pdlType = fixedPdlType_ != 0 ? fixedPdlType_ : settings.Job(L"_PDLTYPE");
    if (settings.Job(L"_GRXMODE") == 0) {
        state->deviceFlags |= kDeviceRasterMode;
    }
    ReadSpoolerSettings(*state, settings);
    *pdev = state;
    return S_OK;
}

STDMETHODIMP CoPlugin::DisablePDEV(PDEVOBJ devobj) {
    if (devobj == nullptr) {
        return E_FAIL;
    }
    if (AtDeviceLevel()) {
        delete StateOf(devobj);
        devobj->pdevOEM = nullptr;
    }
    return S_OK;
}

STDMETHODIMP CoPlugin::ResetPDEV(PDEVOBJ oldDevobj, PDEVOBJ newDevobj) {
    if (oldDevobj == nullptr || newDevobj == nullptr) {
        return E_FAIL;
    }
    if (!AtDeviceLevel()) {
        return S_OK;
    }
    RenderState* from = StateOf(oldDevobj);
    RenderState* to = StateOf(newDevobj);
    if (from == nullptr || to == nullptr) {
        return E_FAIL;
    }
    CarryJob(*from, *to);
    return S_OK;
}

} // namespace moltr::render
