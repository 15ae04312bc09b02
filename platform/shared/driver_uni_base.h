#pragma once
// The part of the universal driver's services to a render plug-in (IPrintOemDriverUni) that every
// host of a plug-in shares, in both builds: the interface ids answered and every service that is
// not offered, declined with E_NOTIMPL. The owner gives the reference counting and
// DrvWriteSpoolBuf.
#include "prcomoem.h"

class DriverUniBase : public IPrintOemDriverUni {
public:
    // IUnknown and IPrintOemDriverUni, each with a reference; E_NOINTERFACE for any other.
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IPrintOemDriverUni)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IPrintOemDriverUni*>(this);
        AddRef();
        return S_OK;
    }

    STDMETHODIMP DrvGetDriverSetting(PVOID, PCSTR, PVOID, DWORD, PDWORD, PDWORD) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP DrvXMoveTo(PDEVOBJ, INT, DWORD, INT*) override { return E_NOTIMPL; }
    STDMETHODIMP DrvYMoveTo(PDEVOBJ, INT, DWORD, INT*) override { return E_NOTIMPL; }
    STDMETHODIMP DrvGetStandardVariable(PDEVOBJ, DWORD, PVOID, DWORD, PDWORD) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP DrvGetGPDData(PDEVOBJ, DWORD, PVOID, PVOID, DWORD, PDWORD) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP DrvUniTextOut(SURFOBJ*, STROBJ*, FONTOBJ*, CLIPOBJ*, RECTL*, RECTL*, BRUSHOBJ*,
                               BRUSHOBJ*, POINTL*, MIX) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP DrvWriteAbortBuf(PDEVOBJ, PVOID, DWORD, DWORD) override { return E_NOTIMPL; }

protected:
    ~DriverUniBase() = default;
};
