// The element's attribute members, and the length of character data.
#include "src/msxml/dom_attribute_map.h"
#include "src/msxml/dom_document_object.h"
#include "src/msxml/dom_element_node.h"
#include "src/msxml/dom_node_list.h"

#include <oleauto.h>

namespace moltr::msxml {
namespace {

constexpr const char* kXmlns = "xmlns";

// The prefix a name "xmlns:p" or "xmlns" declares: nothing for any other name.
bool DeclaredPrefix(const std::string& name, std::string& prefix) {
    if (name == kXmlns) {
        prefix.clear();
        return true;
    }
    if (name.rfind("xmlns:", 0) == 0 && name.size() > 6) {
        prefix = name.substr(6);
        return true;
    }
    return false;
}

// A new namespace declaration on `element`, or the same one again; E_FAIL when the prefix is
// declared there already for another namespace.
HRESULT Declare(xmlNodePtr element, const std::string& prefix, const std::string& uri) {
    for (xmlNsPtr ns = element->nsDef; ns; ns = ns->next) {
        const std::string existing = ns->prefix ? reinterpret_cast<const char*>(ns->prefix) : "";
        if (existing == prefix) {
            return xmlStrEqual(ns->href, Xml(uri)) ? S_OK : E_FAIL;
        }
    }
    return xmlNewNs(element, Xml(uri), prefix.empty() ? nullptr : Xml(prefix)) ? S_OK
                                                                               : E_OUTOFMEMORY;
}

// A new attribute: in the namespace its prefix is bound to here, else named as given.
xmlAttrPtr NewAttribute(xmlNodePtr element, const std::string& name, const std::string& value) {
    const size_t colon = name.find(':');
    if (colon != std::string::npos) {
        const std::string prefix = name.substr(0, colon);
        if (xmlNsPtr ns = xmlSearchNs(element->doc, element, Xml(prefix))) {
            return xmlNewNsProp(element, ns, Xml(name.substr(colon + 1)), Xml(value));
        }
    }
    return xmlNewProp(element, Xml(name), Xml(value));
}

} // namespace

HRESULT STDMETHODCALLTYPE DomNode::get_tagName(BSTR* tagName) {
    return get_nodeName(tagName);
}

HRESULT STDMETHODCALLTYPE DomNode::getAttribute(BSTR name, VARIANT* value) {
    if (!name || !value) {
        return E_INVALIDARG;
    }
    NodeRef found = FindAttribute(ref_.node, ToUtf8(name));
    if (!found.node) {
        value->vt = VT_NULL;
        return S_FALSE;
    }
    NodeContext context{found, tree_, document_};
    return NodeValue(context, value);
}

HRESULT STDMETHODCALLTYPE DomNode::setAttribute(BSTR name, VARIANT value) {
    if (!name || value.vt != VT_BSTR) {
        return E_INVALIDARG;
    }
    const std::string qualified = ToUtf8(name);
    const std::string text = ToUtf8(value.bstrVal);
    if (xmlValidateQName(Xml(qualified), 0) != 0) {
        return E_FAIL;
    }
    std::string prefix;
    if (DeclaredPrefix(qualified, prefix)) {
        return Declare(ref_.node, prefix, text);
    }
    NodeRef found = FindAttribute(ref_.node, qualified);
    if (found.node) {
        return SetAttributeText(reinterpret_cast<xmlAttrPtr>(found.node), Xml(text))
                   ? S_OK
                   : E_OUTOFMEMORY;
    }
    return NewAttribute(ref_.node, qualified, text) ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE DomNode::removeAttribute(BSTR name) {
    if (!name) {
        return E_INVALIDARG;
    }
    NodeRef found = FindAttribute(ref_.node, ToUtf8(name));
    if (!found.node) {
        return S_FALSE;
    }
    if (found.declaration) {
        return E_FAIL; // the element's names may still use it
    }
    Detach(*tree_, found.node);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DomNode::getAttributeNode(BSTR name, IXMLDOMAttribute** node) {
    if (!name || !node) {
        return E_INVALIDARG;
    }
    return WrapAs(FindAttribute(ref_.node, ToUtf8(name)), Context(), IID_IXMLDOMAttribute,
                  reinterpret_cast<void**>(node));
}

HRESULT STDMETHODCALLTYPE DomNode::getElementsByTagName(BSTR tagName, IXMLDOMNodeList** list) {
    if (!tagName || !list) {
        return E_INVALIDARG;
    }
    return CreateNodeList(ElementsNamed(ref_.node, ToUtf8(tagName)), Context(), list);
}

HRESULT STDMETHODCALLTYPE DomNode::get_length(LONG* length) {
    if (!length) {
        return E_INVALIDARG;
    }
    BSTR text = nullptr;
    HRESULT hr = get_text(&text);
    if (SUCCEEDED(hr)) {
        *length = static_cast<LONG>(SysStringLen(text));
        SysFreeString(text);
    }
    return hr;
}

} // namespace moltr::msxml
