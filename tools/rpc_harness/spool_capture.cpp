#include "spool_capture.h"

namespace moltr::harness {

STDMETHODIMP_(ULONG) SpoolCapture::AddRef() {
    return ++references;
}

STDMETHODIMP_(ULONG) SpoolCapture::Release() {
    return --references;
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

} // namespace moltr::harness
