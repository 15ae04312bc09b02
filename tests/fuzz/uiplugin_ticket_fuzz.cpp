// Hostile print tickets and capabilities documents: the input is parsed by the machine's XML DOM
// and, when it is a document, handed to the sample printer's print-ticket provider in MOLTRUIP
// (CompletePrintCapabilities with its debugger dump, then ValidatePrintTicket).
#include <windows.h>
#include <msxml2.h>
#include <oleauto.h>
#include <winspool.h>

#include <cstdint>
#include <string>
#include "sim/debug_log.h"
#include "src/unidrv/ui_ticket_provider.h"
#include "uiplugin_printer.h"

namespace {

struct Provider {
    Provider() {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        provider.Load(printer.handle);
    }

    moltr::fuzz::UiPluginPrinter printer;
    moltr::unidrv::UiTicketProvider provider;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Provider provider;
    IXMLDOMDocument2* document = nullptr;
    if (FAILED(CoCreateInstance(CLSID_DOMDocument60, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IXMLDOMDocument2, reinterpret_cast<void**>(&document)))) {
        return 0;
    }
    std::u16string text = moltr::sim::Utf16(std::string(reinterpret_cast<const char*>(data), size));
    BSTR xml = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                 static_cast<UINT>(text.size()));
    VARIANT_BOOL loaded = VARIANT_FALSE;
    if (xml && document->loadXML(xml, &loaded) == S_OK && loaded == VARIANT_TRUE) {
        provider.provider.CompletePrintCapabilities(nullptr, document);
        provider.provider.ValidatePrintTicket(document);
    }
    SysFreeString(xml);
    document->Release();
    // The dump would fill the log without end.
    moltr::sim::ClearDebugLog();
    return 0;
}
