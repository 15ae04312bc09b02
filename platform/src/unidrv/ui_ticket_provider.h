#pragma once
// The universal driver's print-ticket side for one printer: the UI plug-in's provider
// (CLSID_OEMPTPROVIDER) is asked for its versions (version 1 must be among them), given the
// driver's print-core helper (IPrintCoreHelperUni) through PublishPrintTicketHelper and bound to
// the printer at version 1; then capabilities documents and tickets go through it.
#include <windows.h>
#include <prcomoem.h>
#include "src/unidrv/ui_plugin.h"

namespace moltr::unidrv {

class UiCoreHelper;

class UiTicketProvider {
public:
    UiTicketProvider() = default;
    UiTicketProvider(const UiTicketProvider&) = delete;
    UiTicketProvider& operator=(const UiTicketProvider&) = delete;
    ~UiTicketProvider();

    // The load's error, the provider's failure of a step, or E_VERSION_NOT_SUPPORTED when it
    // does not offer version 1. Nothing stays loaded after an error.
    HRESULT Load(HANDLE printer);

    HRESULT CompletePrintCapabilities(IXMLDOMDocument2* ticket, IXMLDOMDocument2* capabilities);
    HRESULT ValidatePrintTicket(IXMLDOMDocument2* ticket);

private:
    HRESULT Bind(HANDLE printer);
    void Unload();

    UiPlugin plugin_;
    IPrintOemPrintTicketProvider* provider_ = nullptr;
    UiCoreHelper* helper_ = nullptr;
};

} // namespace moltr::unidrv
