// VARIANTs: initialising, clearing and copying, for the value types the DOM interfaces pass.
#include <windows.h>
#include <oleauto.h>

namespace {

enum class Holding { kValue, kString, kInterface, kUnsupported };

// What a VARIANT of type `vt` owns: nothing (plain values and references), a BSTR, or an
// interface reference.
Holding HoldingOf(VARTYPE vt) {
    if (vt & VT_BYREF) {
        return Holding::kValue;
    }
    switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_DATE:
    case VT_ERROR:
    case VT_BOOL:
    case VT_I1:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_I8:
    case VT_UI8:
    case VT_INT:
    case VT_UINT:
        return Holding::kValue;
    case VT_BSTR:
        return Holding::kString;
    case VT_DISPATCH:
    case VT_UNKNOWN:
        return Holding::kInterface;
    default:
        return Holding::kUnsupported;
    }
}

} // namespace

extern "C" {

void WINAPI VariantInit(VARIANTARG* pvarg) {
    pvarg->vt = VT_EMPTY;
}

HRESULT WINAPI VariantClear(VARIANTARG* pvarg) {
    if (!pvarg) {
        return E_INVALIDARG;
    }
    switch (HoldingOf(pvarg->vt)) {
    case Holding::kUnsupported:
        return DISP_E_BADVARTYPE;
    case Holding::kString:
        SysFreeString(pvarg->bstrVal);
        break;
    case Holding::kInterface:
        if (pvarg->punkVal) {
            pvarg->punkVal->Release();
        }
        break;
    case Holding::kValue:
        break;
    }
    pvarg->vt = VT_EMPTY;
    return S_OK;
}

HRESULT WINAPI VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc) {
    if (!pvargDest || !pvargSrc) {
        return E_INVALIDARG;
    }
    const Holding holding = HoldingOf(pvargSrc->vt);
    if (holding == Holding::kUnsupported) {
        return DISP_E_BADVARTYPE;
    }
    if (pvargDest == pvargSrc) {
        return S_OK;
    }
    BSTR copy = nullptr;
    if (holding == Holding::kString && pvargSrc->bstrVal) {
        copy = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(pvargSrc->bstrVal),
                                     SysStringByteLen(pvargSrc->bstrVal));
        if (!copy) {
            return E_OUTOFMEMORY;
        }
    }
    HRESULT cleared = VariantClear(pvargDest);
    if (FAILED(cleared)) {
        SysFreeString(copy);
        return cleared;
    }
    *pvargDest = *pvargSrc;
    if (holding == Holding::kString) {
        pvargDest->bstrVal = copy;
    } else if (holding == Holding::kInterface && pvargDest->punkVal) {
        pvargDest->punkVal->AddRef();
    }
    return S_OK;
}

} // extern "C"
