#include "src/unidrv/ui_driver_services.h"

#include <cstring>
#include "src/unidrv/gpd_configuration.h"

namespace moltr::unidrv {
namespace {

// Feature values up to this are OEMGDS_ constants, not keyword texts.
constexpr ULONG_PTR kLastConstantFeature = 0xFFFF;

bool IsConstant(PCSTR feature) {
    return reinterpret_cast<ULONG_PTR>(feature) <= kLastConstantFeature;
}

} // namespace

STDMETHODIMP UiDriverServices::QueryInterface(REFIID riid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IPrintOemDriverUI)) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IPrintOemDriverUI*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) UiDriverServices::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) UiDriverServices::Release() {
    LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

STDMETHODIMP UiDriverServices::DrvGetDriverSetting(PVOID pci, PCSTR Feature, PVOID pOutput,
                                                   DWORD cbSize, PDWORD pcbNeeded,
                                                   PDWORD pdwOptionsReturned) {
    if (pci != &uiObject_ || !pcbNeeded || !pdwOptionsReturned) {
        return E_FAIL;
    }
    if (IsConstant(Feature)) {
        return E_NOTIMPL;
    }
    const GpdConfiguration configuration = ConfigurationFromDevmode(model_, devmode_);
    const GpdOption* option = configuration.Selected(model_, Feature);
    if (!option) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    const DWORD needed = static_cast<DWORD>(option->name.size() + 1);
    *pcbNeeded = needed;
    if (!pOutput || cbSize < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return E_FAIL;
    }
    std::memcpy(pOutput, option->name.c_str(), needed);
    *pdwOptionsReturned = 1;
    return S_OK;
}

STDMETHODIMP UiDriverServices::DrvUpgradeRegistrySetting(HANDLE, PCSTR pFeature, PCSTR pOption) {
    if (IsConstant(pFeature) || !pOption) {
        return E_FAIL;
    }
    const GpdFeature* feature = model_.Feature(pFeature);
    return feature && OptionIndex(*feature, pOption) >= 0 ? S_OK : E_FAIL;
}

STDMETHODIMP UiDriverServices::DrvUpdateUISetting(PVOID pci, PVOID pOptItem, DWORD, DWORD dwMode) {
    if (pci != &uiObject_ || !pOptItem ||
        (dwMode != OEMCUIP_DOCPROP && dwMode != OEMCUIP_PRNPROP)) {
        return E_FAIL;
    }
    if (update_) {
        update_(updateContext_, *static_cast<const OPTITEM*>(pOptItem));
    }
    return S_OK;
}

} // namespace moltr::unidrv
