#include "src/unidrv/driver_services.h"

namespace moltr::unidrv {

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

} // namespace moltr::unidrv
