// Node wrappers: one per node while it lives (the node points back at it), answering the
// interfaces of its node's kind.
#include "src/msxml/dom_document_object.h"
#include "src/msxml/dom_element_node.h"

#include <new>

namespace moltr::msxml {
namespace {

enum class Face { kElement, kAttribute, kText, kCharacterData, kNode };

Face FaceOf(const NodeRef& ref) {
    if (ref.declaration) {
        return Face::kAttribute;
    }
    switch (ref.node->type) {
    case XML_ELEMENT_NODE:
        return Face::kElement;
    case XML_ATTRIBUTE_NODE:
        return Face::kAttribute;
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
        return Face::kText;
    case XML_COMMENT_NODE:
        return Face::kCharacterData;
    default:
        return Face::kNode;
    }
}

} // namespace

DomNode::DomNode(const NodeRef& ref, const NodeContext& from)
    : tree_(from.tree), document_(from.document) {
    ref_ = ref;
    document_->AddRef();
    *CacheSlot() = this;
}

DomNode::~DomNode() {
    *CacheSlot() = nullptr;
    document_->Release();
}

DomNode* DomNode::Create(const NodeRef& ref, const NodeContext& from) {
    return new (std::nothrow) DomNode(ref, from);
}

void** DomNode::CacheSlot() {
    return ref_.declaration ? &ref_.declaration->_private : &ref_.node->_private;
}

IXMLDOMNode* DomNode::Primary() {
    switch (FaceOf(ref_)) {
    case Face::kAttribute:
        return static_cast<IXMLDOMAttribute*>(this);
    case Face::kText:
    case Face::kCharacterData:
        return static_cast<IXMLDOMText*>(this);
    default:
        return static_cast<IXMLDOMElement*>(this);
    }
}

HRESULT STDMETHODCALLTYPE DomNode::QueryInterface(REFIID riid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    *object = nullptr;
    const Face face = FaceOf(ref_);
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, IID_IXMLDOMNode)) {
        *object = Primary();
    } else if (face == Face::kElement && IsEqualIID(riid, IID_IXMLDOMElement)) {
        *object = static_cast<IXMLDOMElement*>(this);
    } else if (face == Face::kAttribute && IsEqualIID(riid, IID_IXMLDOMAttribute)) {
        *object = static_cast<IXMLDOMAttribute*>(this);
    } else if ((face == Face::kText && IsEqualIID(riid, IID_IXMLDOMText)) ||
               ((face == Face::kText || face == Face::kCharacterData) &&
                IsEqualIID(riid, IID_IXMLDOMCharacterData))) {
        *object = static_cast<IXMLDOMText*>(this);
    }
    if (!*object) {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

bool ContextOf(IXMLDOMNode* node, NodeContext& context) {
    auto* access = node ? dynamic_cast<NodeAccess*>(node) : nullptr;
    if (!access) {
        return false;
    }
    context = access->Context();
    return true;
}

HRESULT WrapNode(const NodeRef& ref, const NodeContext& from, IXMLDOMNode** out) {
    if (!out) {
        return E_INVALIDARG;
    }
    *out = nullptr;
    if (!ref.node) {
        return S_FALSE;
    }
    if (!ref.declaration &&
        ref.node == reinterpret_cast<xmlNodePtr>(from.document->tree()->doc())) {
        *out = from.document;
        from.document->AddRef();
        return S_OK;
    }
    void* cached = ref.declaration ? ref.declaration->_private : ref.node->_private;
    DomNode* node = static_cast<DomNode*>(cached);
    if (node) {
        node->AddRef();
    } else {
        node = DomNode::Create(ref, from);
        if (!node) {
            return E_OUTOFMEMORY;
        }
    }
    *out = node->Primary();
    return S_OK;
}

HRESULT WrapAs(const NodeRef& ref, const NodeContext& from, REFIID iid, void** out) {
    if (!out) {
        return E_INVALIDARG;
    }
    *out = nullptr;
    IXMLDOMNode* node = nullptr;
    HRESULT hr = WrapNode(ref, from, &node);
    if (hr != S_OK) {
        return hr;
    }
    hr = node->QueryInterface(iid, out);
    node->Release();
    return hr;
}

} // namespace moltr::msxml
