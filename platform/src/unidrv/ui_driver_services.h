#pragma once
// The universal driver's services to its UI plug-in (IPrintOemDriverUI), published through
// PublishDriverInterface and answered from the printer's GPD and the devmode the driver is working
// on. The plug-in's calls carry the driver object (OEMUIOBJ) that the driver handed it; calls with
// another one fail.
#include <windows.h>
#include <prcomoem.h>
#include "src/unidrv/gpd_model.h"

namespace moltr::unidrv {

class UiDriverServices final : public IPrintOemDriverUI {
public:
    // Starts with one reference, the creator's; `model` must outlive the object.
    explicit UiDriverServices(const GpdModel& model) : model_(model) {}
    UiDriverServices(const UiDriverServices&) = delete;
    UiDriverServices& operator=(const UiDriverServices&) = delete;

    POEMUIOBJ uiObject() { return &uiObject_; }
    // The public devmode the driver is working on; null for the GPD's defaults.
    void SetDevMode(const DEVMODEW* devmode) { devmode_ = devmode; }
    // Where DrvUpdateUISetting hands the items the plug-in changed; none by default.
    using ItemUpdate = void (*)(void* context, const OPTITEM& item);
    void SetItemUpdate(ItemUpdate update, void* context) {
        update_ = update;
        updateContext_ = context;
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // For a GPD feature keyword: the keyword of the option the devmode selects, NUL-terminated,
    // with one option returned. E_FAIL for an unknown feature or driver object, and with the size
    // needed (ERROR_INSUFFICIENT_BUFFER) for a buffer too small; E_NOTIMPL for the OEMGDS_
    // constants, which this driver does not keep.
    STDMETHODIMP DrvGetDriverSetting(PVOID pci, PCSTR Feature, PVOID pOutput, DWORD cbSize,
                                     PDWORD pcbNeeded, PDWORD pdwOptionsReturned) override;
    // S_OK when the GPD has the feature with that option, else E_FAIL.
    STDMETHODIMP DrvUpgradeRegistrySetting(HANDLE hPrinter, PCSTR pFeature, PCSTR pOption) override;
    // S_OK for an item of this driver object's sheets (document or printer), which reaches the
    // item update, else E_FAIL.
    STDMETHODIMP DrvUpdateUISetting(PVOID pci, PVOID pOptItem, DWORD dwPreviousSelection,
                                    DWORD dwMode) override;

private:
    ~UiDriverServices() = default;

    LONG references_ = 1;
    const GpdModel& model_;
    const DEVMODEW* devmode_ = nullptr;
    ItemUpdate update_ = nullptr;
    void* updateContext_ = nullptr;
    OEMUIOBJ uiObject_ = {sizeof(OEMUIOBJ), nullptr};
};

} // namespace moltr::unidrv
