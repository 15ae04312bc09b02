// The node list: item, length, nextNode and reset over a fixed set of nodes.
#include "src/msxml/dom_node_list.h"
#include "src/msxml/dom_document_object.h"
#include "src/msxml/dom_object.h"

#include <new>

namespace moltr::msxml {
namespace {

class DomNodeList final : public SingleInterface<IXMLDOMNodeList, IID_IXMLDOMNodeList> {
public:
    DomNodeList(std::vector<NodeRef> nodes, const NodeContext& from)
        : nodes_(std::move(nodes)), from_(from) {
        from_.document->AddRef();
    }

    HRESULT STDMETHODCALLTYPE get_item(LONG index, IXMLDOMNode** item) override {
        if (!item) {
            return E_INVALIDARG;
        }
        if (index < 0 || static_cast<size_t>(index) >= nodes_.size()) {
            *item = nullptr;
            return S_FALSE;
        }
        return WrapNode(nodes_[static_cast<size_t>(index)], from_, item);
    }
    HRESULT STDMETHODCALLTYPE get_length(LONG* length) override {
        if (!length) {
            return E_INVALIDARG;
        }
        *length = static_cast<LONG>(nodes_.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE nextNode(IXMLDOMNode** item) override {
        if (!item) {
            return E_INVALIDARG;
        }
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
    ~DomNodeList() override { from_.document->Release(); }

    std::vector<NodeRef> nodes_;
    NodeContext from_;
    size_t cursor_ = 0;
};

} // namespace

HRESULT CreateNodeList(std::vector<NodeRef> nodes, const NodeContext& from, IXMLDOMNodeList** out) {
    if (!out) {
        return E_INVALIDARG;
    }
    *out = new (std::nothrow) DomNodeList(std::move(nodes), from);
    return *out ? S_OK : E_OUTOFMEMORY;
}

std::vector<NodeRef> ElementsNamed(xmlNodePtr root, const std::string& name) {
    std::vector<NodeRef> found;
    for (xmlNodePtr node = NextInSubtree(root, root); node; node = NextInSubtree(root, node)) {
        if (node->type == XML_ELEMENT_NODE && (name == "*" || QualifiedName({node}) == name)) {
            found.push_back({node});
        }
    }
    return found;
}

} // namespace moltr::msxml
