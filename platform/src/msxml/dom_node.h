#pragma once
// The IXMLDOMNode members, shared by the document object and the wrappers of its nodes. Each
// wrapper holds its tree and a counted reference to its document, so a node keeps its document
// alive; the members forward to the functions below, one file per concern.
#include <windows.h>
#include <msxml2.h>

#include "src/msxml/dom_object.h"
#include "src/msxml/dom_tree.h"

namespace moltr::msxml {

class DomDocument;

struct NodeContext {
    NodeRef ref;
    TreePtr tree;
    DomDocument* document;
};

// The context behind any node wrapper of ours; nothing for someone else's IXMLDOMNode.
class NodeAccess {
public:
    virtual NodeContext Context() = 0;

protected:
    ~NodeAccess() = default;
};
bool ContextOf(IXMLDOMNode* node, NodeContext& context);

// The wrapper of a node (the document object for its own document node); the same object for
// the same node while it lives. S_FALSE and null for no node.
HRESULT WrapNode(const NodeRef& ref, const NodeContext& from, IXMLDOMNode** out);
HRESULT WrapAs(const NodeRef& ref, const NodeContext& from, REFIID iid, void** out);

// dom_node_names.cpp
std::string QualifiedName(const NodeRef& ref);
std::string Prefix(const NodeRef& ref);
std::string BaseName(const NodeRef& ref);
std::string NamespaceUri(const NodeRef& ref);
DOMNodeType NodeType(const NodeRef& ref);
HRESULT NodeTypeString(const NodeRef& ref, BSTR* out);

// dom_node_values.cpp
HRESULT NodeValue(const NodeContext& c, VARIANT* value);
HRESULT PutNodeValue(const NodeContext& c, const VARIANT& value);
HRESULT NodeText(const NodeContext& c, BSTR* text);
HRESULT PutNodeText(const NodeContext& c, BSTR text);
HRESULT NodeXml(const NodeContext& c, BSTR* xml);

// dom_node_tree.cpp
HRESULT ParentNode(const NodeContext& c, IXMLDOMNode** out);
HRESULT ChildNodes(const NodeContext& c, IXMLDOMNodeList** out);
HRESULT FirstChild(const NodeContext& c, bool last, IXMLDOMNode** out);
HRESULT Sibling(const NodeContext& c, bool next, IXMLDOMNode** out);
HRESULT Attributes(const NodeContext& c, IXMLDOMNamedNodeMap** out);
HRESULT HasChildNodes(const NodeContext& c, VARIANT_BOOL* out);
HRESULT OwnerDocument(const NodeContext& c, IXMLDOMDocument** out);

// dom_node_changes.cpp
HRESULT InsertBefore(const NodeContext& c, IXMLDOMNode* child, const VARIANT& before,
                     IXMLDOMNode** out);
HRESULT ReplaceChild(const NodeContext& c, IXMLDOMNode* child, IXMLDOMNode* old, IXMLDOMNode** out);
HRESULT RemoveChild(const NodeContext& c, IXMLDOMNode* child, IXMLDOMNode** out);
HRESULT CloneNode(const NodeContext& c, bool deep, IXMLDOMNode** out);

// dom_node_select.cpp
HRESULT SelectNodes(const NodeContext& c, BSTR query, IXMLDOMNodeList** out);
HRESULT SelectSingleNode(const NodeContext& c, BSTR query, IXMLDOMNode** out);

HRESULT NameOut(const std::string& name, BSTR* out);

template <typename... Interfaces>
class NodeImpl : public DispatchImpl<Interfaces...>, public NodeAccess {
public:
    HRESULT STDMETHODCALLTYPE get_nodeName(BSTR* name) override {
        return NameOut(QualifiedName(ref_), name);
    }
    HRESULT STDMETHODCALLTYPE get_nodeValue(VARIANT* value) override {
        return NodeValue(Context(), value);
    }
    HRESULT STDMETHODCALLTYPE put_nodeValue(VARIANT value) override {
        return PutNodeValue(Context(), value);
    }
    HRESULT STDMETHODCALLTYPE get_nodeType(DOMNodeType* type) override {
        if (!type) {
            return E_INVALIDARG;
        }
        *type = NodeType(ref_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_parentNode(IXMLDOMNode** parent) override {
        return ParentNode(Context(), parent);
    }
    HRESULT STDMETHODCALLTYPE get_childNodes(IXMLDOMNodeList** list) override {
        return ChildNodes(Context(), list);
    }
    HRESULT STDMETHODCALLTYPE get_firstChild(IXMLDOMNode** child) override {
        return FirstChild(Context(), false, child);
    }
    HRESULT STDMETHODCALLTYPE get_lastChild(IXMLDOMNode** child) override {
        return FirstChild(Context(), true, child);
    }
    HRESULT STDMETHODCALLTYPE get_previousSibling(IXMLDOMNode** sibling) override {
        return Sibling(Context(), false, sibling);
    }
    HRESULT STDMETHODCALLTYPE get_nextSibling(IXMLDOMNode** sibling) override {
        return Sibling(Context(), true, sibling);
    }
    HRESULT STDMETHODCALLTYPE get_attributes(IXMLDOMNamedNodeMap** map) override {
        return Attributes(Context(), map);
    }
    HRESULT STDMETHODCALLTYPE insertBefore(IXMLDOMNode* child, VARIANT before,
                                           IXMLDOMNode** out) override {
        return InsertBefore(Context(), child, before, out);
    }
    HRESULT STDMETHODCALLTYPE replaceChild(IXMLDOMNode* child, IXMLDOMNode* old,
                                           IXMLDOMNode** out) override {
        return ReplaceChild(Context(), child, old, out);
    }
    HRESULT STDMETHODCALLTYPE removeChild(IXMLDOMNode* child, IXMLDOMNode** out) override {
        return RemoveChild(Context(), child, out);
    }
    HRESULT STDMETHODCALLTYPE appendChild(IXMLDOMNode* child, IXMLDOMNode** out) override {
        VARIANT end;
        end.vt = VT_EMPTY;
        return InsertBefore(Context(), child, end, out);
    }
    HRESULT STDMETHODCALLTYPE hasChildNodes(VARIANT_BOOL* has) override {
        return HasChildNodes(Context(), has);
    }
    HRESULT STDMETHODCALLTYPE get_ownerDocument(IXMLDOMDocument** document) override {
        return OwnerDocument(Context(), document);
    }
    HRESULT STDMETHODCALLTYPE cloneNode(VARIANT_BOOL deep, IXMLDOMNode** clone) override {
        return CloneNode(Context(), deep != VARIANT_FALSE, clone);
    }
    HRESULT STDMETHODCALLTYPE get_nodeTypeString(BSTR* type) override {
        return NodeTypeString(ref_, type);
    }
    HRESULT STDMETHODCALLTYPE get_text(BSTR* text) override { return NodeText(Context(), text); }
    HRESULT STDMETHODCALLTYPE put_text(BSTR text) override { return PutNodeText(Context(), text); }
    HRESULT STDMETHODCALLTYPE get_specified(VARIANT_BOOL* specified) override {
        if (!specified) {
            return E_INVALIDARG;
        }
        *specified = VARIANT_TRUE; // no DTD gives defaults
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_definition(IXMLDOMNode**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_nodeTypedValue(VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_nodeTypedValue(VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_dataType(VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_dataType(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_xml(BSTR* xml) override { return NodeXml(Context(), xml); }
    HRESULT STDMETHODCALLTYPE transformNode(IXMLDOMNode*, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE selectNodes(BSTR query, IXMLDOMNodeList** list) override {
        return SelectNodes(Context(), query, list);
    }
    HRESULT STDMETHODCALLTYPE selectSingleNode(BSTR query, IXMLDOMNode** node) override {
        return SelectSingleNode(Context(), query, node);
    }
    HRESULT STDMETHODCALLTYPE get_parsed(VARIANT_BOOL* parsed) override {
        if (!parsed) {
            return E_INVALIDARG;
        }
        *parsed = VARIANT_TRUE; // loading is synchronous
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_namespaceURI(BSTR* uri) override {
        return NameOut(NamespaceUri(ref_), uri);
    }
    HRESULT STDMETHODCALLTYPE get_prefix(BSTR* prefix) override {
        return NameOut(Prefix(ref_), prefix);
    }
    HRESULT STDMETHODCALLTYPE get_baseName(BSTR* name) override {
        return NameOut(BaseName(ref_), name);
    }
    HRESULT STDMETHODCALLTYPE transformNodeToObject(IXMLDOMNode*, VARIANT) override {
        return E_NOTIMPL;
    }

protected:
    NodeImpl() = default;
    ~NodeImpl() override = default;

    NodeRef ref_;
};

} // namespace moltr::msxml
