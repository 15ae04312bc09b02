// The document object: creation, its interfaces, and the nodes it makes.
#include "src/msxml/dom_document_object.h"
#include "src/msxml/dom_node_list.h"
#include "src/msxml/dom_parse_error.h"

#include <new>

namespace moltr::msxml {
namespace {

// A document without content, as a new document object and a failed load leave it.
TreePtr EmptyTree() {
    xmlDocPtr doc = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
    if (!doc) {
        return nullptr;
    }
    TreePtr tree(new (std::nothrow) DomTree(doc));
    if (!tree) {
        xmlFreeDoc(doc);
    }
    return tree;
}

bool ValidName(const std::string& name) {
    return xmlValidateQName(Xml(name), 0) == 0;
}

DOMNodeType KnownType(LONG type) {
    return type >= NODE_ELEMENT && type <= NODE_NOTATION ? static_cast<DOMNodeType>(type)
                                                         : NODE_INVALID;
}

// The node type createNode is asked for: a number, or its name.
DOMNodeType RequestedType(const VARIANT& type) {
    switch (type.vt) {
    case VT_I2:
        return KnownType(type.iVal);
    case VT_I4:
    case VT_INT:
    case VT_UI4:
    case VT_UINT:
        return KnownType(type.lVal);
    case VT_BSTR: {
        const std::string name = ToUtf8(type.bstrVal);
        return name == "element"     ? NODE_ELEMENT
               : name == "attribute" ? NODE_ATTRIBUTE
               : name == "text"      ? NODE_TEXT
                                     : NODE_INVALID;
    }
    default:
        return NODE_INVALID;
    }
}

} // namespace

DomDocument::DomDocument(DomVersion version, TreePtr tree)
    : tree_(std::move(tree)), validateOnParse_(true), resolveExternals_(version != DomVersion::k6) {
    ref_ = {reinterpret_cast<xmlNodePtr>(tree_->doc())};
}

DomDocument* DomDocument::Create(DomVersion version) {
    TreePtr tree = EmptyTree();
    return tree ? new (std::nothrow) DomDocument(version, std::move(tree)) : nullptr;
}

HRESULT CreateDomDocument(DomVersion version, REFIID riid, void** object) {
    DomDocument* document = DomDocument::Create(version);
    if (!document) {
        return E_OUTOFMEMORY;
    }
    HRESULT hr = document->QueryInterface(riid, object);
    document->Release();
    return hr;
}

HRESULT STDMETHODCALLTYPE DomDocument::QueryInterface(REFIID riid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, IID_IXMLDOMNode) || IsEqualIID(riid, IID_IXMLDOMDocument) ||
        IsEqualIID(riid, IID_IXMLDOMDocument2)) {
        *object = static_cast<IXMLDOMDocument2*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT DomDocument::Created(xmlNodePtr node, REFIID iid, void** out) {
    if (!node) {
        return E_OUTOFMEMORY;
    }
    tree_->Adopt(node);
    return WrapAs({node}, Context(), iid, out);
}

HRESULT STDMETHODCALLTYPE DomDocument::get_doctype(IXMLDOMDocumentType** type) {
    if (!type) {
        return E_INVALIDARG;
    }
    *type = nullptr; // documents with a DTD are refused
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE DomDocument::get_documentElement(IXMLDOMElement** element) {
    if (!element) {
        return E_INVALIDARG;
    }
    return WrapAs({xmlDocGetRootElement(tree_->doc())}, Context(), IID_IXMLDOMElement,
                  reinterpret_cast<void**>(element));
}

HRESULT STDMETHODCALLTYPE DomDocument::putref_documentElement(IXMLDOMElement* element) {
    NodeContext root;
    if (!element || !ContextOf(element, root) || root.tree != tree_ || root.ref.declaration) {
        return E_INVALIDARG;
    }
    xmlNodePtr old = xmlDocSetRootElement(tree_->doc(), root.ref.node);
    if (old && old != root.ref.node) {
        tree_->Adopt(old);
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DomDocument::createElement(BSTR tagName, IXMLDOMElement** element) {
    if (!tagName || !element) {
        return E_INVALIDARG;
    }
    *element = nullptr;
    const std::string name = ToUtf8(tagName);
    if (!ValidName(name)) {
        return E_FAIL;
    }
    return Created(xmlNewDocNode(tree_->doc(), nullptr, Xml(name), nullptr), IID_IXMLDOMElement,
                   reinterpret_cast<void**>(element));
}

HRESULT STDMETHODCALLTYPE DomDocument::createTextNode(BSTR data, IXMLDOMText** text) {
    if (!text) {
        return E_INVALIDARG;
    }
    return Created(xmlNewDocText(tree_->doc(), Xml(ToUtf8(data))), IID_IXMLDOMText,
                   reinterpret_cast<void**>(text));
}

HRESULT STDMETHODCALLTYPE DomDocument::createAttribute(BSTR name, IXMLDOMAttribute** attribute) {
    if (!name || !attribute) {
        return E_INVALIDARG;
    }
    *attribute = nullptr;
    const std::string qualified = ToUtf8(name);
    if (!ValidName(qualified)) {
        return E_FAIL;
    }
    xmlAttrPtr created = xmlNewDocProp(tree_->doc(), Xml(qualified), nullptr);
    return Created(reinterpret_cast<xmlNodePtr>(created), IID_IXMLDOMAttribute,
                   reinterpret_cast<void**>(attribute));
}

HRESULT STDMETHODCALLTYPE DomDocument::getElementsByTagName(BSTR tagName, IXMLDOMNodeList** list) {
    if (!tagName || !list) {
        return E_INVALIDARG;
    }
    return CreateNodeList(ElementsNamed(ref_.node, ToUtf8(tagName)), Context(), list);
}

HRESULT STDMETHODCALLTYPE DomDocument::createNode(VARIANT type, BSTR name, BSTR namespaceURI,
                                                  IXMLDOMNode** node) {
    if (!node) {
        return E_INVALIDARG;
    }
    *node = nullptr;
    const std::string qualified = ToUtf8(name);
    const std::string uri = ToUtf8(namespaceURI);
    switch (RequestedType(type)) {
    case NODE_TEXT:
        return Created(xmlNewDocText(tree_->doc(), nullptr), IID_IXMLDOMNode,
                       reinterpret_cast<void**>(node));
    case NODE_ATTRIBUTE:
        if (!uri.empty()) {
            return E_NOTIMPL; // a namespaced attribute needs setAttributeNode to be placed
        }
        return !ValidName(qualified) ? E_FAIL
                                     : Created(reinterpret_cast<xmlNodePtr>(xmlNewDocProp(
                                                   tree_->doc(), Xml(qualified), nullptr)),
                                               IID_IXMLDOMNode, reinterpret_cast<void**>(node));
    case NODE_ELEMENT:
        break;
    case NODE_INVALID:
        return E_INVALIDARG;
    default:
        return E_NOTIMPL;
    }
    const size_t colon = qualified.find(':');
    if (!ValidName(qualified) || (colon != std::string::npos && uri.empty())) {
        return E_FAIL;
    }
    const std::string local = colon == std::string::npos ? qualified : qualified.substr(colon + 1);
    xmlNodePtr element =
        xmlNewDocNode(tree_->doc(), nullptr, Xml(uri.empty() ? qualified : local), nullptr);
    if (element && !uri.empty()) {
        const std::string prefix = colon == std::string::npos ? "" : qualified.substr(0, colon);
        xmlNsPtr ns = xmlNewNs(element, Xml(uri), prefix.empty() ? nullptr : Xml(prefix));
        if (!ns) {
            xmlFreeNode(element);
            return E_OUTOFMEMORY;
        }
        xmlSetNs(element, ns);
    }
    return Created(element, IID_IXMLDOMNode, reinterpret_cast<void**>(node));
}

HRESULT STDMETHODCALLTYPE DomDocument::get_readyState(LONG* state) {
    if (!state) {
        return E_INVALIDARG;
    }
    *state = 4; // READYSTATE_COMPLETE: loading is synchronous
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DomDocument::get_parseError(IXMLDOMParseError** error) {
    return CreateParseError(lastLoad_, url_, error);
}

HRESULT STDMETHODCALLTYPE DomDocument::get_url(BSTR* url) {
    return NameOut(url_, url);
}

} // namespace moltr::msxml
