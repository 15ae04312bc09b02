// The attribute map: named and indexed access, nextNode and reset.
#include "src/msxml/dom_attribute_map.h"
#include "src/msxml/dom_document_object.h"
#include "src/msxml/dom_object.h"

#include <new>

namespace moltr::msxml {
namespace {

class DomAttributeMap final : public SingleInterface<IXMLDOMNamedNodeMap, IID_IXMLDOMNamedNodeMap> {
public:
    explicit DomAttributeMap(const NodeContext& element) : element_(element) {
        element_.document->AddRef();
    }

    HRESULT STDMETHODCALLTYPE getNamedItem(BSTR name, IXMLDOMNode** item) override {
        if (!name || !item) {
            return E_INVALIDARG;
        }
        return WrapNode(FindAttribute(element_.ref.node, ToUtf8(name)), element_, item);
    }
    HRESULT STDMETHODCALLTYPE setNamedItem(IXMLDOMNode*, IXMLDOMNode**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE removeNamedItem(BSTR, IXMLDOMNode**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_item(LONG index, IXMLDOMNode** item) override {
        if (!item) {
            return E_INVALIDARG;
        }
        std::vector<NodeRef> all = AttributesOf(element_.ref.node);
        if (index < 0 || static_cast<size_t>(index) >= all.size()) {
            *item = nullptr;
            return S_FALSE;
        }
        return WrapNode(all[static_cast<size_t>(index)], element_, item);
    }
    HRESULT STDMETHODCALLTYPE get_length(LONG* length) override {
        if (!length) {
            return E_INVALIDARG;
        }
        *length = static_cast<LONG>(AttributesOf(element_.ref.node).size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE getQualifiedItem(BSTR baseName, BSTR namespaceURI,
                                               IXMLDOMNode** item) override {
        if (!baseName || !item) {
            return E_INVALIDARG;
        }
        const std::string name = ToUtf8(baseName);
        const std::string uri = ToUtf8(namespaceURI);
        for (const NodeRef& ref : AttributesOf(element_.ref.node)) {
            if (BaseName(ref) == name && NamespaceUri(ref) == uri) {
                return WrapNode(ref, element_, item);
            }
        }
        *item = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE removeQualifiedItem(BSTR, BSTR, IXMLDOMNode**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE nextNode(IXMLDOMNode** item) override {
        HRESULT hr = get_item(static_cast<LONG>(cursor_), item);
        if (hr == S_OK) {
            ++cursor_;
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE reset() override {
        cursor_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get__newEnum(IUnknown**) override { return E_NOTIMPL; }

private:
    ~DomAttributeMap() override { element_.document->Release(); }

    NodeContext element_;
    size_t cursor_ = 0;
};

} // namespace

HRESULT CreateAttributeMap(const NodeContext& element, IXMLDOMNamedNodeMap** out) {
    if (!out) {
        return E_INVALIDARG;
    }
    *out = new (std::nothrow) DomAttributeMap(element);
    return *out ? S_OK : E_OUTOFMEMORY;
}

std::vector<NodeRef> AttributesOf(xmlNodePtr element) {
    std::vector<NodeRef> all;
    for (xmlNsPtr ns = element->nsDef; ns; ns = ns->next) {
        all.push_back({element, ns});
    }
    for (xmlAttrPtr attribute = element->properties; attribute; attribute = attribute->next) {
        all.push_back({reinterpret_cast<xmlNodePtr>(attribute)});
    }
    return all;
}

NodeRef FindAttribute(xmlNodePtr element, const std::string& name) {
    for (const NodeRef& ref : AttributesOf(element)) {
        if (QualifiedName(ref) == name) {
            return ref;
        }
    }
    return {};
}

} // namespace moltr::msxml
