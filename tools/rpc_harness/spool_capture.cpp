#include "spool_capture.h"

namespace moltr::harness {

STDMETHODIMP SpoolCapture::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPrintOemDriverUni)) {
        *object = static_cast<IPrintOemDriverUni*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) SpoolCapture::AddRef() {
    return ++references;
}

STDMETHODIMP_(ULONG) SpoolCapture::Release() {
    return --references;
}

STDMETHODIMP SpoolCapture::DrvGetDriverSetting(PVOID, PCSTR, PVOID, DWORD, PDWORD, PDWORD) {
    return E_NOTIMPL;
}

STDMETHODIMP SpoolCapture::DrvWriteSpoolBuf(PDEVOBJ, PVOID buffer, DWORD size, DWORD* written) {
    if (buffer == nullptr && size != 0) {
        return E_INVALIDARG;
    }
    const BYTE* bytes = static_cast<const BYTE*>(buffer);
    stream.insert(stream.end(), bytes, bytes + size);
    if (written != nullptr) {
        *written = size;
    }
    return S_OK;
}

STDMETHODIMP SpoolCapture::DrvXMoveTo(PDEVOBJ, INT, DWORD, INT*) {
    return E_NOTIMPL;
}

STDMETHODIMP SpoolCapture::DrvYMoveTo(PDEVOBJ, INT, DWORD, INT*) {
    return E_NOTIMPL;
}

STDMETHODIMP SpoolCapture::DrvGetStandardVariable(PDEVOBJ, DWORD, PVOID, DWORD, PDWORD) {
    return E_NOTIMPL;
}

STDMETHODIMP SpoolCapture::DrvGetGPDData(PDEVOBJ, DWORD, PVOID, PVOID, DWORD, PDWORD) {
    return E_NOTIMPL;
}

STDMETHODIMP SpoolCapture::DrvUniTextOut(SURFOBJ*, STROBJ*, FONTOBJ*, CLIPOBJ*, RECTL*, RECTL*,
                                         BRUSHOBJ*, BRUSHOBJ*, POINTL*, MIX) {
    return E_NOTIMPL;
}

STDMETHODIMP SpoolCapture::DrvWriteAbortBuf(PDEVOBJ, PVOID, DWORD, DWORD) {
    return E_NOTIMPL;
}

} // namespace moltr::harness
