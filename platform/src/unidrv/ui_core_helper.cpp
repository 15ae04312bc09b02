#include "src/unidrv/ui_core_helper.h"

namespace moltr::unidrv {

STDMETHODIMP UiCoreHelper::QueryInterface(REFIID riid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IPrintCoreHelper) &&
        !IsEqualIID(riid, IID_IPrintCoreHelperUni)) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IPrintCoreHelperUni*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) UiCoreHelper::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) UiCoreHelper::Release() {
    LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

STDMETHODIMP UiCoreHelper::SetOptions(PDEVMODEW, DWORD, BOOL, const PRINT_FEATURE_OPTION*, DWORD,
                                      DWORD*, DWORD*) {
    return E_NOTIMPL;
}

STDMETHODIMP UiCoreHelper::EnumConstrainedOptions(PDEVMODEW, DWORD, PCSTR, PCSTR**, DWORD*) {
    return E_NOTIMPL;
}

STDMETHODIMP UiCoreHelper::WhyConstrained(PDEVMODEW, DWORD, PCSTR, PCSTR,
                                          const PRINT_FEATURE_OPTION**, DWORD*) {
    return E_NOTIMPL;
}

STDMETHODIMP UiCoreHelper::GetOption(PDEVMODEW, DWORD, PCSTR, PCSTR*) {
    return E_NOTIMPL;
}

STDMETHODIMP UiCoreHelper::EnumFeatures(PCSTR**, DWORD*) {
    return E_NOTIMPL;
}

STDMETHODIMP UiCoreHelper::EnumOptions(PCSTR, PCSTR**, DWORD*) {
    return E_NOTIMPL;
}

STDMETHODIMP UiCoreHelper::GetFontSubstitution(PCWSTR, PCWSTR*) {
    return E_NOTIMPL;
}

STDMETHODIMP UiCoreHelper::SetFontSubstitution(PCWSTR, PCWSTR) {
    return E_NOTIMPL;
}

STDMETHODIMP UiCoreHelper::CreateInstanceOfMSXMLObject(REFCLSID rclsid, LPUNKNOWN pUnkOuter,
                                                       DWORD dwClsContext, REFIID riid,
                                                       LPVOID* ppv) {
    return CoCreateInstance(rclsid, pUnkOuter, dwClsContext, riid, ppv);
}

STDMETHODIMP UiCoreHelper::CreateGDLSnapshot(PDEVMODEW, DWORD, DWORD, IStream**) {
    return E_NOTIMPL;
}

STDMETHODIMP UiCoreHelper::CreateDefaultGDLSnapshot(DWORD, IStream**) {
    return E_NOTIMPL;
}

} // namespace moltr::unidrv
