// The node list: item, length, nextNode and reset over a fixed set of nodes.
#include "src/msxml/dom_node_list.h"
#include "src/msxml/dom_document_object.h"

#include <new>

namespace moltr::msxml {
namespace {

class DomNodeList final : public IXMLDOMNodeList {
public:
    DomNodeList(std::vector<NodeRef> nodes, const NodeContext& from)
        : nodes_(std::move(nodes)), from_(from) {
        from_.document->AddRef();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) {
            return E_POINTER;
        }
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
            IsEqualIID(riid, IID_IXMLDOMNodeList)) {
            *object = static_cast<IXMLDOMNodeList*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = --refs_;
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
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
    ~DomNodeList() { from_.document->Release(); }

    std::vector<NodeRef> nodes_;
    NodeContext from_;
    size_t cursor_ = 0;
    LONG refs_ = 1;
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
    // Iterative, so a deep tree built through the DOM cannot exhaust the stack.
    xmlNodePtr node = root->children;
    while (node && node != root) {
        if (node->type == XML_ELEMENT_NODE && (name == "*" || QualifiedName({node}) == name)) {
            found.push_back({node});
        }
        if (node->children && node->type == XML_ELEMENT_NODE) {
            node = node->children;
            continue;
        }
        while (node != root && !node->next) {
            node = node->parent;
        }
        node = node == root ? nullptr : node->next;
    }
    return found;
}

} // namespace moltr::msxml
