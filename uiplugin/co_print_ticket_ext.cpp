#include "uiplugin/co_print_ticket_ext.h"

#include <cstring>
#include <msxml2.h>
#include <vector>

namespace moltr::ui {
namespace {

// The namespaces by their exact URIs, in the order of the kept prefixes.
constexpr LPCWSTR kSchemaNamespaces[kSchemaNamespaceCount] = {
    L"http://www.w3.org/2001/XMLSchema",
    L"http://www.w3.org/2001/XMLSchema-instance",
    L"http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework",
    L"http://schemas.microsoft.com/windows/2003/08/printing/printschemakeywords",
};

constexpr WCHAR kDeclarationPrefix[] = L"xmlns:";
constexpr int kDeclarationPrefixChars = 6;

// Frees the BSTR it holds when it goes.
class OwnedText {
public:
    OwnedText() = default;
    ~OwnedText() { SysFreeString(text_); }
    OwnedText(const OwnedText&) = delete;
    OwnedText& operator=(const OwnedText&) = delete;
    BSTR* out() { return &text_; }
    LPCWSTR get() const { return text_ != nullptr ? text_ : L""; }

private:
    BSTR text_ = nullptr;
};

// Releases the interface it holds when it goes.
template <typename Interface> class Owned {
public:
    Owned() = default;
    ~Owned() {
        if (pointer_ != nullptr) {
            pointer_->Release();
        }
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Interface** out() { return &pointer_; }
    Interface* operator->() const { return pointer_; }
    Interface* get() const { return pointer_; }

private:
    Interface* pointer_ = nullptr;
};

DocumentKind KindOf(LPCWSTR rootName) {
    // The root's local name counts, whatever prefix the document gives the framework.
    LPCWSTR local = rootName;
    for (LPCWSTR c = rootName; *c != 0; ++c) {
        local = *c == L':' ? c + 1 : local;
    }
    if (lstrcmpW(local, L"PrintCapabilities") == 0) {
        return DocumentKind::PrintCapabilities;
    }
    return lstrcmpW(local, L"PrintTicket") == 0 ? DocumentKind::PrintTicket : DocumentKind::Unknown;
}

// Whether an attribute's name declares a namespace prefix ("xmlns:" and at least one more
// character).
bool DeclaresPrefix(LPCWSTR name) {
    for (int i = 0; i < kDeclarationPrefixChars; ++i) {
        if (name[i] != kDeclarationPrefix[i]) {
            return false;
        }
    }
    return name[kDeclarationPrefixChars] != 0;
}

void WriteLine(int depth, LPCWSTR label, LPCWSTR first, LPCWSTR second) {
    std::vector<WCHAR> line(static_cast<size_t>(depth), L' ');
    for (LPCWSTR part : {label, first}) {
        line.insert(line.end(), part, part + lstrlenW(part));
    }
    if (second != nullptr) {
        constexpr WCHAR kSeparator[] = L" - ";
        line.insert(line.end(), kSeparator, kSeparator + 3);
        line.insert(line.end(), second, second + lstrlenW(second));
    }
    line.push_back(L'\n');
    line.push_back(0);
    OutputDebugStringW(line.data());
}

void DumpAttributes(IXMLDOMNode* element, int depth) {
    Owned<IXMLDOMNamedNodeMap> attributes;
    LONG count = 0;
    if (FAILED(element->get_attributes(attributes.out())) || attributes.get() == nullptr ||
        FAILED(attributes->get_length(&count))) {
        return;
    }
    for (LONG i = 0; i < count; ++i) {
        Owned<IXMLDOMNode> attribute;
        if (FAILED(attributes->get_item(i, attribute.out())) || attribute.get() == nullptr) {
            continue;
        }
        OwnedText name, value;
        attribute->get_nodeName(name.out());
        attribute->get_text(value.out());
        WriteLine(depth, L"Attribute: ", name.get(), value.get());
    }
}

void DumpChildren(IXMLDOMNode* node, int depth) {
    Owned<IXMLDOMNodeList> children;
    LONG count = 0;
    if (FAILED(node->get_childNodes(children.out())) || children.get() == nullptr ||
        FAILED(children->get_length(&count))) {
        return;
    }
    for (LONG i = 0; i < count; ++i) {
        Owned<IXMLDOMNode> child;
        DOMNodeType type = NODE_INVALID;
        if (FAILED(children->get_item(i, child.out())) || child.get() == nullptr ||
            FAILED(child->get_nodeType(&type))) {
            continue;
        }
        if (type == NODE_ELEMENT) {
            OwnedText name;
            child->get_nodeName(name.out());
            WriteLine(depth, L"Element: ", name.get(), nullptr);
            DumpAttributes(child.get(), depth);
            DumpChildren(child.get(), depth + 1);
        } else if (type == NODE_TEXT) {
            OwnedText text;
            child->get_text(text.out());
            WriteLine(depth, L"Text: ", text.get(), nullptr);
        }
    }
}

} // namespace

CoPrintTicketExt::CoPrintTicketExt(HANDLE printer, IUnknown* helper)
    : printer_(printer), helper_(helper) {
    if (helper_ != nullptr) {
        helper_->AddRef();
    }
}

CoPrintTicketExt::~CoPrintTicketExt() {
    Forget();
    if (helper_ != nullptr) {
        helper_->Release();
    }
}

STDMETHODIMP CoPrintTicketExt::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (!IsEqualIID(iid, IID_IUnknown)) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IUnknown*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CoPrintTicketExt::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) CoPrintTicketExt::Release() {
    LONG count = InterlockedDecrement(&references_);
    if (count == 0) {
        delete this;
    }
    return static_cast<ULONG>(count);
}

void CoPrintTicketExt::Forget() {
    for (BSTR& prefix : prefixes_) {
        SysFreeString(prefix);
        prefix = nullptr;
    }
    if (root_ != nullptr) {
        root_->Release();
        root_ = nullptr;
    }
    kind_ = DocumentKind::Unknown;
}

HRESULT CoPrintTicketExt::Examine(IXMLDOMDocument2* document) {
    Forget();
    OwnedText rootName;
    if (FAILED(document->get_documentElement(&root_)) || root_ == nullptr ||
        FAILED(root_->get_nodeName(rootName.out())) || rootName.get()[0] == 0) {
        return E_ABORT;
    }
    kind_ = KindOf(rootName.get());
    if (kind_ == DocumentKind::Unknown) {
        return E_ABORT;
    }
    Owned<IXMLDOMNamedNodeMap> attributes;
    LONG count = 0;
    if (FAILED(root_->get_attributes(attributes.out())) || attributes.get() == nullptr ||
        FAILED(attributes->get_length(&count))) {
        return E_ABORT;
    }
    for (LONG i = 0; i < count; ++i) {
        Owned<IXMLDOMNode> attribute;
        OwnedText name, value;
        if (FAILED(attributes->get_item(i, attribute.out())) || attribute.get() == nullptr ||
            FAILED(attribute->get_nodeName(name.out()))) {
            continue;
        }
        LPCWSTR declared = name.get();
        if (!DeclaresPrefix(declared)) {
            continue;
        }
        attribute->get_text(value.out());
        for (int n = 0; n < kSchemaNamespaceCount; ++n) {
            if (prefixes_[n] == nullptr && lstrcmpW(value.get(), kSchemaNamespaces[n]) == 0) {
                LPCWSTR prefix = declared + kDeclarationPrefixChars;
                UINT length = static_cast<UINT>(lstrlenW(prefix));
                prefixes_[n] = SysAllocStringLen(nullptr, length + 1);
                if (prefixes_[n] == nullptr) {
                    return E_OUTOFMEMORY;
                }
                std::memcpy(prefixes_[n], prefix, length * sizeof(WCHAR));
                prefixes_[n][length] = L':';
                prefixes_[n][length + 1] = 0;
            }
        }
    }
    for (BSTR prefix : prefixes_) {
        if (prefix == nullptr) {
            return E_ABORT;
        }
    }
    return S_OK;
}

void CoPrintTicketExt::DumpTree() const {
    if (root_ == nullptr) {
        return;
    }
    OwnedText name;
    root_->get_nodeName(name.out());
    WriteLine(0, L"Element: ", name.get(), nullptr);
    DumpAttributes(root_, 0);
    DumpChildren(root_, 1);
}

} // namespace moltr::ui
