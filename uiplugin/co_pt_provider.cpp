#include "uiplugin/co_pt_provider.h"

#include <new>
#include "uiplugin/co_print_ticket_ext.h"
#include "uiplugin/module_counts.h"

namespace moltr::ui {
namespace {

constexpr INT kSupportedVersion = 1;

} // namespace

CoPTProvider::CoPTProvider() {
    AddLiveObject();
}

CoPTProvider::~CoPTProvider() {
    if (ticketExt_ != nullptr) {
        ticketExt_->Release();
    }
    if (helper_ != nullptr) {
        helper_->Release();
    }
    RemoveLiveObject();
}

STDMETHODIMP CoPTProvider::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IPrintOemPrintTicketProvider)) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IPrintOemPrintTicketProvider*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CoPTProvider::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) CoPTProvider::Release() {
    LONG count = InterlockedDecrement(&references_);
    if (count == 0) {
        delete this;
    }
    return static_cast<ULONG>(count);
}

STDMETHODIMP CoPTProvider::GetSupportedVersions(HANDLE, INT* versions[], INT* count) {
    if (versions == nullptr || count == nullptr) {
        return E_INVALIDARG;
    }
    *versions = static_cast<INT*>(CoTaskMemAlloc(sizeof(INT)));
    if (*versions == nullptr) {
        *count = 0;
        return E_OUTOFMEMORY;
    }
    (*versions)[0] = kSupportedVersion;
    *count = 1;
    return S_OK;
}

STDMETHODIMP CoPTProvider::BindPrinter(HANDLE printer, INT version, POEMPTOPTS options,
                                       INT* devModeId, INT* namespaceCount, BSTR** namespaces) {
    if (printer == nullptr || options == nullptr || devModeId == nullptr ||
        namespaceCount == nullptr || namespaces == nullptr) {
        return E_INVALIDARG;
    }
    *devModeId = 0;
    *namespaceCount = 0;
    *namespaces = nullptr;
    *options = OEMPT_DEFAULT;
    if (version != kSupportedVersion) {
        return E_VERSION_NOT_SUPPORTED;
    }
    auto* ticketExt = new (std::nothrow) CoPrintTicketExt(printer, helper_);
    if (ticketExt == nullptr) {
        return E_OUTOFMEMORY;
    }
    if (ticketExt_ != nullptr) {
        ticketExt_->Release();
    }
    ticketExt_ = ticketExt;
    return S_OK;
}

STDMETHODIMP CoPTProvider::PublishPrintTicketHelper(IUnknown* helper) {
    if (helper == nullptr) {
        return E_INVALIDARG;
    }
    if (helper_ != nullptr) {
        return S_OK;
    }
    void* core = nullptr;
    HRESULT result = helper->QueryInterface(IID_IPrintCoreHelperUni, &core);
    if (result == E_NOINTERFACE) {
        result = helper->QueryInterface(IID_IPrintCoreHelperPS, &core);
        // A helper of neither kind is no reason to refuse the provider.
        if (result == E_NOINTERFACE) {
            return S_OK;
        }
    }
    if (FAILED(result)) {
        return result;
    }
    helper_ = static_cast<IUnknown*>(core);
    return S_OK;
}

STDMETHODIMP CoPTProvider::QueryDeviceDefaultNamespace(BSTR* namespaceUri) {
    return namespaceUri == nullptr ? E_INVALIDARG : E_NOTIMPL;
}

STDMETHODIMP CoPTProvider::ConvertPrintTicketToDevMode(IXMLDOMDocument2*, ULONG, PDEVMODEW, ULONG,
                                                       PVOID) {
    return S_OK;
}

STDMETHODIMP CoPTProvider::ConvertDevModeToPrintTicket(ULONG, PDEVMODEW, ULONG, PVOID,
                                                       IXMLDOMDocument2*) {
    return S_OK;
}

STDMETHODIMP CoPTProvider::CompletePrintCapabilities(IXMLDOMDocument2*,
                                                     IXMLDOMDocument2* capabilities) {
    if (capabilities == nullptr) {
        return E_INVALIDARG;
    }
    if (ticketExt_ == nullptr) {
        return E_FAIL;
    }
    HRESULT result = ticketExt_->Examine(capabilities);
    if (SUCCEEDED(result)) {
        ticketExt_->DumpTree();
    }
    return result;
}

STDMETHODIMP CoPTProvider::ExpandIntentOptions(IXMLDOMDocument2*) {
    return S_OK;
}

STDMETHODIMP CoPTProvider::ValidatePrintTicket(IXMLDOMDocument2*) {
    return S_NO_CONFLICT;
}

} // namespace moltr::ui
