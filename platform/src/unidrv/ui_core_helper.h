#pragma once
// The universal driver's print-core helper for its print-ticket provider (IPrintCoreHelperUni):
// it makes the XML documents a provider asks for through CoCreateInstance; the feature and
// snapshot services of the GPD configuration answer E_NOTIMPL in this driver.
#include <windows.h>
#include <prcomoem.h>

namespace moltr::unidrv {

class UiCoreHelper final : public IPrintCoreHelperUni {
public:
    // Starts with one reference, the creator's.
    UiCoreHelper() = default;
    UiCoreHelper(const UiCoreHelper&) = delete;
    UiCoreHelper& operator=(const UiCoreHelper&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP SetOptions(PDEVMODEW, DWORD, BOOL, const PRINT_FEATURE_OPTION*, DWORD, DWORD*,
                            DWORD*) override;
    STDMETHODIMP EnumConstrainedOptions(PDEVMODEW, DWORD, PCSTR, PCSTR**, DWORD*) override;
    STDMETHODIMP WhyConstrained(PDEVMODEW, DWORD, PCSTR, PCSTR, const PRINT_FEATURE_OPTION**,
                                DWORD*) override;
    STDMETHODIMP GetOption(PDEVMODEW, DWORD, PCSTR, PCSTR*) override;
    STDMETHODIMP EnumFeatures(PCSTR**, DWORD*) override;
    STDMETHODIMP EnumOptions(PCSTR, PCSTR**, DWORD*) override;
    STDMETHODIMP GetFontSubstitution(PCWSTR, PCWSTR*) override;
    STDMETHODIMP SetFontSubstitution(PCWSTR, PCWSTR) override;
    // CoCreateInstance's answer for the class asked for.
    STDMETHODIMP CreateInstanceOfMSXMLObject(REFCLSID rclsid, LPUNKNOWN pUnkOuter,
                                             DWORD dwClsContext, REFIID riid, LPVOID* ppv) override;
    STDMETHODIMP CreateGDLSnapshot(PDEVMODEW, DWORD, DWORD, IStream**) override;
    STDMETHODIMP CreateDefaultGDLSnapshot(DWORD, IStream**) override;

private:
    ~UiCoreHelper() = default;

    LONG references_ = 1;
};

} // namespace moltr::unidrv
