#pragma once
// CoPrintTicketExt: the print-ticket provider's view of one printer's tickets and capabilities
// documents: the kind of document, the prefixes it declares for the four namespaces the print
// schema needs, its root element, and the debugger dump of its tree.
#include <windows.h>
#include <objbase.h>
#include "prcomoem.h"

struct IXMLDOMElement;

namespace moltr::ui {

enum class DocumentKind { Unknown = 0, PrintTicket = 1, PrintCapabilities = 2 };

// In the order the prefixes are kept.
inline constexpr int kSchemaNamespaceCount = 4;

class CoPrintTicketExt final : public IUnknown {
public:
    // Starts with one reference, the provider's; takes a reference on `helper` (may be null).
    CoPrintTicketExt(HANDLE printer, IUnknown* helper);
    CoPrintTicketExt(const CoPrintTicketExt&) = delete;
    CoPrintTicketExt& operator=(const CoPrintTicketExt&) = delete;

    STDMETHOD(QueryInterface)(REFIID iid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    // Reads the kind from the root element's name and, for a known kind, the four prefixes from
    // its namespace declarations, each with ":" appended. E_ABORT when the root or its name cannot
    // be read or any prefix is missing.
    HRESULT Examine(IXMLDOMDocument2* document);
    // Writes the examined tree to the debugger output, one line per element, attribute and text.
    void DumpTree() const;

private:
    virtual ~CoPrintTicketExt();

    void Forget();

    LONG references_ = 1;
    HANDLE printer_;
    IUnknown* helper_;
    DocumentKind kind_ = DocumentKind::Unknown;
    BSTR prefixes_[kSchemaNamespaceCount] = {};
    IXMLDOMElement* root_ = nullptr;
};

} // namespace moltr::ui
