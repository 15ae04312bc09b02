// selectNodes and selectSingleNode: XPath over libxml2, with the prefixes the document's
// "SelectionNamespaces" property binds.
#include "src/msxml/dom_document_object.h"
#include "src/msxml/dom_node_list.h"

#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <memory>

namespace moltr::msxml {
namespace {

struct ContextFree {
    void operator()(xmlXPathContextPtr context) const { xmlXPathFreeContext(context); }
};
struct ObjectFree {
    void operator()(xmlXPathObjectPtr object) const { xmlXPathFreeObject(object); }
};

// The nodes the query selects from `c`'s node; E_FAIL for a query that is not valid XPath or
// does not select nodes.
HRESULT Evaluate(const NodeContext& c, BSTR query, std::vector<NodeRef>& nodes) {
    if (!query) {
        return E_INVALIDARG;
    }
    std::unique_ptr<xmlXPathContext, ContextFree> xpath(xmlXPathNewContext(c.tree->doc()));
    if (!xpath) {
        return E_OUTOFMEMORY;
    }
    xpath->node = c.ref.node;                 // a namespace declaration selects from its element
    xpath->error = [](void*, xmlErrorPtr) {}; // a bad query is answered with E_FAIL only
    for (const SelectionNamespace& ns : c.document->selectionNamespaces()) {
        if (!ns.prefix.empty() && xmlXPathRegisterNs(xpath.get(), Xml(ns.prefix), Xml(ns.uri))) {
            return E_OUTOFMEMORY;
        }
    }
    const std::string expression = ToUtf8(query);
    std::unique_ptr<xmlXPathObject, ObjectFree> result(
        xmlXPathEvalExpression(Xml(expression), xpath.get()));
    if (!result || result->type != XPATH_NODESET) {
        return E_FAIL;
    }
    const xmlNodeSet* set = result->nodesetval;
    for (int i = 0; set && i < set->nodeNr; ++i) {
        // Namespace nodes are copies libxml2 makes for the query; the DOM has none of them.
        if (set->nodeTab[i]->type != XML_NAMESPACE_DECL) {
            nodes.push_back({set->nodeTab[i]});
        }
    }
    return S_OK;
}

} // namespace

HRESULT SelectNodes(const NodeContext& c, BSTR query, IXMLDOMNodeList** out) {
    if (!out) {
        return E_INVALIDARG;
    }
    *out = nullptr;
    std::vector<NodeRef> nodes;
    HRESULT hr = Evaluate(c, query, nodes);
    return FAILED(hr) ? hr : CreateNodeList(std::move(nodes), c, out);
}

HRESULT SelectSingleNode(const NodeContext& c, BSTR query, IXMLDOMNode** out) {
    if (!out) {
        return E_INVALIDARG;
    }
    *out = nullptr;
    std::vector<NodeRef> nodes;
    HRESULT hr = Evaluate(c, query, nodes);
    if (FAILED(hr)) {
        return hr;
    }
    return WrapNode(nodes.empty() ? NodeRef{} : nodes.front(), c, out);
}

} // namespace moltr::msxml
