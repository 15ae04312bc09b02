#pragma once
// The renderer's driver services as the harness offers them: DrvWriteSpoolBuf appends to a stream,
// everything else is declined.
#include <prcomoem.h>

#include <vector>

namespace moltr::harness {

class SpoolCapture final : public IPrintOemDriverUni {
public:
    std::vector<BYTE> stream;

    STDMETHOD(QueryInterface)(REFIID iid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(DrvGetDriverSetting)(PVOID, PCSTR, PVOID, DWORD, PDWORD, PDWORD) override;
    STDMETHOD(DrvWriteSpoolBuf)(PDEVOBJ, PVOID buffer, DWORD size, DWORD* written) override;
    STDMETHOD(DrvXMoveTo)(PDEVOBJ, INT, DWORD, INT*) override;
    STDMETHOD(DrvYMoveTo)(PDEVOBJ, INT, DWORD, INT*) override;
    STDMETHOD(DrvGetStandardVariable)(PDEVOBJ, DWORD, PVOID, DWORD, PDWORD) override;
    STDMETHOD(DrvGetGPDData)(PDEVOBJ, DWORD, PVOID, PVOID, DWORD, PDWORD) override;
    STDMETHOD(DrvUniTextOut)
    (SURFOBJ*, STROBJ*, FONTOBJ*, CLIPOBJ*, RECTL*, RECTL*, BRUSHOBJ*, BRUSHOBJ*, POINTL*,
     MIX) override;
    STDMETHOD(DrvWriteAbortBuf)(PDEVOBJ, PVOID, DWORD, DWORD) override;

    // Lives on its owner's stack: the count only answers the plug-in's AddRef and Release, and
    // shows whether the plug-in holds the services.
    ULONG references = 1;
};

} // namespace moltr::harness
