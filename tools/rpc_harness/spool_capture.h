#pragma once
// The renderer's driver services as the harness offers them: DrvWriteSpoolBuf appends to a stream,
// everything else is declined.
#include <driver_uni_base.h>

#include <vector>

namespace moltr::harness {

class SpoolCapture final : public DriverUniBase {
public:
    std::vector<BYTE> stream;

    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(DrvWriteSpoolBuf)(PDEVOBJ, PVOID buffer, DWORD size, DWORD* written) override;

    // Lives on its owner's stack: the count only answers the plug-in's AddRef and Release, and
    // shows whether the plug-in holds the services.
    ULONG references = 1;
};

} // namespace moltr::harness
