#pragma once
// The universal driver's services to its render plug-in (IPrintOemDriverUni), published to the
// plug-in through PublishDriverInterface: what the plug-in writes with DrvWriteSpoolBuf goes to
// the job's output. Services the renderer does not offer yet answer E_NOTIMPL.
#include <windows.h>
#include <driver_uni_base.h>
#include <vector>

namespace moltr::unidrv {

class DriverServices final : public DriverUniBase {
public:
    // Starts with one reference, the creator's; `output` must outlive the object.
    explicit DriverServices(std::vector<BYTE>* output) : output_(output) {}
    DriverServices(const DriverServices&) = delete;
    DriverServices& operator=(const DriverServices&) = delete;

    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // Appends the bytes to the job's output and reports them all written; a null buffer with a
    // length, or no place for the count, answers E_FAIL and writes nothing.
    STDMETHODIMP DrvWriteSpoolBuf(PDEVOBJ pdevobj, PVOID pBuffer, DWORD cbSize,
                                  DWORD* pdwResult) override;

private:
    ~DriverServices() = default;

    LONG references_ = 1;
    std::vector<BYTE>* output_;
};

} // namespace moltr::unidrv
