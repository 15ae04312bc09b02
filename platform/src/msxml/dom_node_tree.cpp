// Moving through the tree: parent, children, siblings, attributes, owner document.
#include "src/msxml/dom_attribute_map.h"
#include "src/msxml/dom_document_object.h"
#include "src/msxml/dom_node_list.h"

namespace moltr::msxml {
namespace {

// Attributes and namespace declarations sit beside the tree, not in it.
bool InTree(const NodeRef& ref) {
    return !ref.declaration && ref.node->type != XML_ATTRIBUTE_NODE;
}

bool Shown(const xmlNode* node) {
    return NodeType({const_cast<xmlNodePtr>(node)}) != NODE_INVALID;
}

xmlNodePtr FirstShown(xmlNodePtr node, bool forward) {
    while (node && !Shown(node)) {
        node = forward ? node->next : node->prev;
    }
    return node;
}

} // namespace

HRESULT ParentNode(const NodeContext& c, IXMLDOMNode** out) {
    if (!out) {
        return E_INVALIDARG;
    }
    return WrapNode({InTree(c.ref) ? c.ref.node->parent : nullptr}, c, out);
}

HRESULT ChildNodes(const NodeContext& c, IXMLDOMNodeList** out) {
    std::vector<NodeRef> children;
    if (InTree(c.ref)) {
        for (xmlNodePtr child = FirstShown(c.ref.node->children, true); child;
             child = FirstShown(child->next, true)) {
            children.push_back({child});
        }
    }
    return CreateNodeList(std::move(children), c, out);
}

HRESULT FirstChild(const NodeContext& c, bool last, IXMLDOMNode** out) {
    if (!out) {
        return E_INVALIDARG;
    }
    xmlNodePtr child = nullptr;
    if (InTree(c.ref)) {
        child = last ? FirstShown(c.ref.node->last, false) : FirstShown(c.ref.node->children, true);
    }
    return WrapNode({child}, c, out);
}

HRESULT Sibling(const NodeContext& c, bool next, IXMLDOMNode** out) {
    if (!out) {
        return E_INVALIDARG;
    }
    xmlNodePtr sibling = nullptr;
    if (InTree(c.ref)) {
        sibling = next ? FirstShown(c.ref.node->next, true) : FirstShown(c.ref.node->prev, false);
    }
    return WrapNode({sibling}, c, out);
}

HRESULT Attributes(const NodeContext& c, IXMLDOMNamedNodeMap** out) {
    if (!out) {
        return E_INVALIDARG;
    }
    if (c.ref.declaration || c.ref.node->type != XML_ELEMENT_NODE) {
        *out = nullptr;
        return S_FALSE;
    }
    return CreateAttributeMap(c, out);
}

HRESULT HasChildNodes(const NodeContext& c, VARIANT_BOOL* out) {
    if (!out) {
        return E_INVALIDARG;
    }
    const bool has = InTree(c.ref) && FirstShown(c.ref.node->children, true);
    *out = has ? VARIANT_TRUE : VARIANT_FALSE;
    return has ? S_OK : S_FALSE;
}

HRESULT OwnerDocument(const NodeContext& c, IXMLDOMDocument** out) {
    if (!out) {
        return E_INVALIDARG;
    }
    if (!c.ref.declaration && c.ref.node->type == XML_DOCUMENT_NODE) {
        *out = nullptr;
        return S_FALSE;
    }
    return c.document->QueryInterface(IID_IXMLDOMDocument, reinterpret_cast<void**>(out));
}

} // namespace moltr::msxml
