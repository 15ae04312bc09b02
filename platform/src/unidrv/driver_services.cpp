#include "src/unidrv/driver_services.h"

namespace moltr::unidrv {

STDMETHODIMP DriverServices::QueryInterface(REFIID riid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IPrintOemDriverUni)) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IPrintOemDriverUni*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) DriverServices::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) DriverServices::Release() {
    LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

STDMETHODIMP DriverServices::DrvGetDriverSetting(PVOID, PCSTR, PVOID, DWORD, PDWORD, PDWORD) {
    return E_NOTIMPL;
}

STDMETHODIMP DriverServices::DrvWriteSpoolBuf(PDEVOBJ, PVOID pBuffer, DWORD cbSize,
                                              DWORD* pdwResult) {
    if (!pdwResult || (!pBuffer && cbSize != 0)) {
        return E_FAIL;
    }
    const BYTE* bytes = static_cast<const BYTE*>(pBuffer);
    output_->insert(output_->end(), bytes, bytes + cbSize);
    *pdwResult = cbSize;
    return S_OK;
}

STDMETHODIMP DriverServices::DrvXMoveTo(PDEVOBJ, INT, DWORD, INT*) {
    return E_NOTIMPL;
}

STDMETHODIMP DriverServices::DrvYMoveTo(PDEVOBJ, INT, DWORD, INT*) {
    return E_NOTIMPL;
}

STDMETHODIMP DriverServices::DrvGetStandardVariable(PDEVOBJ, DWORD, PVOID, DWORD, PDWORD) {
    return E_NOTIMPL;
}

STDMETHODIMP DriverServices::DrvGetGPDData(PDEVOBJ, DWORD, PVOID, PVOID, DWORD, PDWORD) {
    return E_NOTIMPL;
}

STDMETHODIMP DriverServices::DrvUniTextOut(SURFOBJ*, STROBJ*, FONTOBJ*, CLIPOBJ*, RECTL*, RECTL*,
                                           BRUSHOBJ*, BRUSHOBJ*, POINTL*, MIX) {
    return E_NOTIMPL;
}

STDMETHODIMP DriverServices::DrvWriteAbortBuf(PDEVOBJ, PVOID, DWORD, DWORD) {
    return E_NOTIMPL;
}

} // namespace moltr::unidrv
