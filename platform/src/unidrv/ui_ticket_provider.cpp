#include "src/unidrv/ui_ticket_provider.h"

#include <oleauto.h>
#include "src/unidrv/ui_core_helper.h"

namespace moltr::unidrv {
namespace {

constexpr INT kTicketVersion = 1;

bool OffersVersion(IPrintOemPrintTicketProvider* provider, HANDLE printer) {
    INT* versions = nullptr;
    INT count = 0;
    if (FAILED(provider->GetSupportedVersions(printer, &versions, &count))) {
        return false;
    }
    bool offered = false;
    for (INT i = 0; versions && i < count; ++i) {
        offered = offered || versions[i] == kTicketVersion;
    }
    CoTaskMemFree(versions);
    return offered;
}

} // namespace

UiTicketProvider::~UiTicketProvider() {
    Unload();
}

HRESULT UiTicketProvider::Load(HANDLE printer) {
    Unload();
    HRESULT result = plugin_.Load(printer);
    if (SUCCEEDED(result)) {
        result = plugin_.CreateTicketProvider(&provider_);
    }
    if (SUCCEEDED(result)) {
        result = OffersVersion(provider_, printer) ? Bind(printer) : E_VERSION_NOT_SUPPORTED;
    }
    if (FAILED(result)) {
        Unload();
    }
    return result;
}

HRESULT UiTicketProvider::Bind(HANDLE printer) {
    helper_ = new UiCoreHelper;
    HRESULT result =
        provider_->PublishPrintTicketHelper(static_cast<IPrintCoreHelperUni*>(helper_));
    if (FAILED(result)) {
        return result;
    }
    OEMPTOPTS options = OEMPT_DEFAULT;
    INT devModeId = 0;
    INT count = 0;
    BSTR* namespaces = nullptr;
    result =
        provider_->BindPrinter(printer, kTicketVersion, &options, &devModeId, &count, &namespaces);
    // The driver keeps no private namespaces of the provider's: they are freed at once.
    for (INT i = 0; namespaces && i < count; ++i) {
        SysFreeString(namespaces[i]);
    }
    CoTaskMemFree(namespaces);
    return result;
}

HRESULT UiTicketProvider::CompletePrintCapabilities(IXMLDOMDocument2* ticket,
                                                    IXMLDOMDocument2* capabilities) {
    return provider_ ? provider_->CompletePrintCapabilities(ticket, capabilities) : E_UNEXPECTED;
}

HRESULT UiTicketProvider::ValidatePrintTicket(IXMLDOMDocument2* ticket) {
    return provider_ ? provider_->ValidatePrintTicket(ticket) : E_UNEXPECTED;
}

void UiTicketProvider::Unload() {
    if (provider_) {
        provider_->Release();
        provider_ = nullptr;
    }
    if (helper_) {
        helper_->Release();
        helper_ = nullptr;
    }
}

} // namespace moltr::unidrv
