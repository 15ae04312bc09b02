#pragma once
// CoPTProvider: the print-ticket provider of MOLTRUIP (IPrintOemPrintTicketProvider). It binds a
// CoPrintTicketExt to the printer and leaves tickets and devmodes as the core driver makes them.
#include <windows.h>
#include "prcomoem.h"

namespace moltr::ui {

class CoPrintTicketExt;

class CoPTProvider final : public IPrintOemPrintTicketProvider {
public:
    // Starts with no reference.
    CoPTProvider();
    CoPTProvider(const CoPTProvider&) = delete;
    CoPTProvider& operator=(const CoPTProvider&) = delete;

    STDMETHOD(QueryInterface)(REFIID iid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    STDMETHOD(GetSupportedVersions)(HANDLE printer, INT* versions[], INT* count) override;
    STDMETHOD(BindPrinter)
    (HANDLE printer, INT version, POEMPTOPTS options, INT* devModeId, INT* namespaceCount,
     BSTR** namespaces) override;
    STDMETHOD(PublishPrintTicketHelper)(IUnknown* helper) override;
    STDMETHOD(QueryDeviceDefaultNamespace)(BSTR* namespaceUri) override;
    STDMETHOD(ConvertPrintTicketToDevMode)
    (IXMLDOMDocument2* ticket, ULONG devmodeSize, PDEVMODEW devmode, ULONG privateSize,
     PVOID privateDevMode) override;
    STDMETHOD(ConvertDevModeToPrintTicket)
    (ULONG devmodeSize, PDEVMODEW devmode, ULONG privateSize, PVOID privateDevMode,
     IXMLDOMDocument2* ticket) override;
    STDMETHOD(CompletePrintCapabilities)
    (IXMLDOMDocument2* ticket, IXMLDOMDocument2* capabilities) override;
    STDMETHOD(ExpandIntentOptions)(IXMLDOMDocument2* ticket) override;
    STDMETHOD(ValidatePrintTicket)(IXMLDOMDocument2* ticket) override;

private:
    ~CoPTProvider();

    LONG references_ = 0;
    IUnknown* helper_ = nullptr;
    CoPrintTicketExt* ticketExt_ = nullptr;
};

} // namespace moltr::ui
