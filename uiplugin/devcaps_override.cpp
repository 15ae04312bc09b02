#include "uiplugin/devcaps_override.h"

#include <cstring>
#include "common/resources.h"
#include "uiplugin/paper_limits.h"

namespace moltr::ui {
namespace {

constexpr UINT kBinNameAutomatic = 3265;
constexpr UINT kBinNamePrinterDefault = 3266;
constexpr DWORD kMicrometresPerTenthMillimetre = 100;

// A smallest size is rounded up and a largest one down, so that the answer stays inside the range.
DWORD TenthsOfMillimetre(DWORD micrometres, bool roundUp) {
    DWORD tenths = micrometres / kMicrometresPerTenthMillimetre;
    return roundUp && micrometres % kMicrometresPerTenthMillimetre != 0 ? tenths + 1 : tenths;
}

DWORD PackExtent(DWORD width, DWORD length, bool minimum) {
    return (TenthsOfMillimetre(width, minimum) & 0xFFFF) |
           ((TenthsOfMillimetre(length, minimum) & 0xFFFF) << 16);
}

HRESULT NameFirstBin(HANDLE printer, WCHAR* output, DWORD old) {
    // An application that sized its buffer for no bins gets nothing written.
    if (old == 0) {
        return E_NOTIMPL;
    }
    common::IDrvResources* resources = nullptr;
    if (FAILED(common::CreatePrinterResources(&resources, printer, nullptr))) {
        return E_NOTIMPL;
    }
    WCHAR name[kBinNameChars] = {};
    resources->LoadString(old == 1 ? kBinNamePrinterDefault : kBinNameAutomatic, name,
                          kBinNameChars);
    resources->Release();
    std::memcpy(output, name, sizeof name);
    return S_OK;
}

} // namespace

HRESULT OverrideDeviceCapabilities(POEMUIOBJ, HANDLE printer, PWSTR deviceName, WORD capability,
                                   PVOID output, PDEVMODEW, PVOID, DWORD old, DWORD* result,
                                   common::IDrvSettings*) {
    switch (capability) {
    case DC_MINEXTENT:
    case DC_MAXEXTENT: {
        if (result == nullptr) {
            return E_INVALIDARG;
        }
        // The table is the model's; the document's settings have no say in it.
        PaperLimits limits = LookUpPaperLimits(deviceName, nullptr);
        *result = capability == DC_MINEXTENT ? PackExtent(limits.widthMin, limits.lengthMin, true)
                                             : PackExtent(limits.widthMax, limits.lengthMax, false);
        return S_OK;
    }
    case DC_BINNAMES:
        return output != nullptr ? NameFirstBin(printer, static_cast<WCHAR*>(output), old)
                                 : E_NOTIMPL;
    default:
        return E_NOTIMPL;
    }
}

} // namespace moltr::ui
