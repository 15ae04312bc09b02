// Changing the tree: insertBefore (and appendChild), replaceChild, removeChild, cloneNode.
#include "src/msxml/dom_document_object.h"
#include "src/msxml/dom_node.h"

namespace moltr::msxml {
namespace {

bool TakesChildren(const NodeRef& ref) {
    return !ref.declaration &&
           (ref.node->type == XML_ELEMENT_NODE || ref.node->type == XML_DOCUMENT_NODE);
}

bool CanBeChild(const NodeRef& ref) {
    if (ref.declaration) {
        return false;
    }
    switch (ref.node->type) {
    case XML_ELEMENT_NODE:
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE:
        return true;
    default:
        return false;
    }
}

bool IsAncestorOrSelf(xmlNodePtr candidate, xmlNodePtr node) {
    for (; node; node = node->parent) {
        if (node == candidate) {
            return true;
        }
    }
    return false;
}

// A document holds one element (`leaving` is the node the change takes out) and no text.
bool FitsIn(xmlNodePtr parent, xmlNodePtr child, xmlNodePtr leaving) {
    if (parent->type != XML_DOCUMENT_NODE) {
        return true;
    }
    if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) {
        return false;
    }
    xmlNodePtr root = xmlDocGetRootElement(reinterpret_cast<xmlDocPtr>(parent));
    return child->type != XML_ELEMENT_NODE || !root || root == child || root == leaving;
}

// Whether `child` may go into `c`'s node in place of `leaving` (or of nothing).
bool MayInsert(const NodeContext& c, const NodeRef& child, xmlNodePtr leaving) {
    return TakesChildren(c.ref) && CanBeChild(child) && !IsAncestorOrSelf(child.node, c.ref.node) &&
           FitsIn(c.ref.node, child.node, leaving);
}

// Moves `node` (from wherever it is) into `parent` before `before`.
void Move(DomTree& tree, xmlNodePtr parent, xmlNodePtr node, xmlNodePtr before) {
    xmlUnlinkNode(node);
    tree.Adopt(node);
    LinkChild(parent, node, before);
}

HRESULT Handed(IXMLDOMNode* node, IXMLDOMNode** out) {
    if (out) {
        *out = node;
        node->AddRef();
    }
    return S_OK;
}

// The node behind an argument: one of ours, of this same tree.
bool SameTreeNode(const NodeContext& c, IXMLDOMNode* node, NodeContext& out) {
    return ContextOf(node, out) && out.tree == c.tree;
}

// The reference child of insertBefore: none (append) or one of ours.
HRESULT BeforeNode(const NodeContext& c, const VARIANT& before, xmlNodePtr& out) {
    out = nullptr;
    if (before.vt == VT_EMPTY || before.vt == VT_NULL) {
        return S_OK;
    }
    if ((before.vt != VT_UNKNOWN && before.vt != VT_DISPATCH) || !before.punkVal) {
        return E_INVALIDARG;
    }
    IXMLDOMNode* node = nullptr;
    if (FAILED(before.punkVal->QueryInterface(IID_IXMLDOMNode, reinterpret_cast<void**>(&node)))) {
        return E_INVALIDARG;
    }
    NodeContext reference;
    const bool ours = SameTreeNode(c, node, reference);
    node->Release();
    if (!ours || reference.ref.declaration || reference.ref.node->parent != c.ref.node) {
        return E_INVALIDARG;
    }
    out = reference.ref.node;
    return S_OK;
}

void ClearAttributeWrappers(xmlNodePtr element) {
    for (xmlAttrPtr attribute = element->properties; attribute; attribute = attribute->next) {
        attribute->_private = nullptr;
    }
    for (xmlNsPtr ns = element->nsDef; ns; ns = ns->next) {
        ns->_private = nullptr;
    }
}

// A copy starts without wrappers, whatever libxml2 copied along.
void ClearWrappers(xmlNodePtr root) {
    for (xmlNodePtr node = root; node; node = NextInSubtree(root, node)) {
        node->_private = nullptr;
        if (node->type == XML_ELEMENT_NODE) {
            ClearAttributeWrappers(node);
        }
    }
}

} // namespace

HRESULT InsertBefore(const NodeContext& c, IXMLDOMNode* child, const VARIANT& before,
                     IXMLDOMNode** out) {
    if (out) {
        *out = nullptr;
    }
    NodeContext inserted;
    if (!child || !SameTreeNode(c, child, inserted)) {
        return E_INVALIDARG;
    }
    xmlNodePtr beforeNode = nullptr;
    HRESULT hr = BeforeNode(c, before, beforeNode);
    if (FAILED(hr)) {
        return hr;
    }
    if (!MayInsert(c, inserted.ref, nullptr)) {
        return E_FAIL;
    }
    if (inserted.ref.node != beforeNode) {
        Move(*c.tree, c.ref.node, inserted.ref.node, beforeNode);
    }
    return Handed(child, out);
}

HRESULT RemoveChild(const NodeContext& c, IXMLDOMNode* child, IXMLDOMNode** out) {
    if (out) {
        *out = nullptr;
    }
    NodeContext removed;
    if (!child || !SameTreeNode(c, child, removed) || removed.ref.declaration ||
        removed.ref.node->parent != c.ref.node || !TakesChildren(c.ref)) {
        return E_INVALIDARG;
    }
    Detach(*c.tree, removed.ref.node);
    return Handed(child, out);
}

HRESULT ReplaceChild(const NodeContext& c, IXMLDOMNode* child, IXMLDOMNode* old,
                     IXMLDOMNode** out) {
    if (out) {
        *out = nullptr;
    }
    NodeContext inserted;
    NodeContext replaced;
    if (!child || !old || !SameTreeNode(c, child, inserted) || !SameTreeNode(c, old, replaced) ||
        replaced.ref.declaration || replaced.ref.node->parent != c.ref.node) {
        return E_INVALIDARG;
    }
    if (!MayInsert(c, inserted.ref, replaced.ref.node)) {
        return E_FAIL;
    }
    if (inserted.ref.node != replaced.ref.node) {
        Move(*c.tree, c.ref.node, inserted.ref.node, replaced.ref.node);
        Detach(*c.tree, replaced.ref.node);
    }
    return Handed(old, out);
}

HRESULT CloneNode(const NodeContext& c, bool deep, IXMLDOMNode** out) {
    if (!out) {
        return E_INVALIDARG;
    }
    *out = nullptr;
    if (c.ref.declaration || c.ref.node->type == XML_DOCUMENT_NODE) {
        return E_NOTIMPL;
    }
    // 1: the node and its subtree; 2: the node with its attributes and namespaces only.
    xmlNodePtr copy = xmlDocCopyNode(c.ref.node, c.tree->doc(), deep ? 1 : 2);
    if (!copy) {
        return E_OUTOFMEMORY;
    }
    ClearWrappers(copy);
    c.tree->Adopt(copy);
    return WrapNode({copy}, c, out);
}

} // namespace moltr::msxml
