#pragma once
// The wrapper of any node but the document: it answers IXMLDOMElement, IXMLDOMAttribute or
// IXMLDOMText (IXMLDOMCharacterData for comments) by the kind of its node.
#include "src/msxml/dom_node.h"

namespace moltr::msxml {

class DomNode final : public NodeImpl<IXMLDOMElement, IXMLDOMAttribute, IXMLDOMText> {
public:
    // Null when out of memory.
    static DomNode* Create(const NodeRef& ref, const NodeContext& from);

    NodeContext Context() override { return {ref_, tree_, document_}; }
    IXMLDOMNode* Primary();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;

    // IXMLDOMElement
    HRESULT STDMETHODCALLTYPE get_tagName(BSTR* tagName) override;
    HRESULT STDMETHODCALLTYPE getAttribute(BSTR name, VARIANT* value) override;
    HRESULT STDMETHODCALLTYPE setAttribute(BSTR name, VARIANT value) override;
    HRESULT STDMETHODCALLTYPE removeAttribute(BSTR name) override;
    HRESULT STDMETHODCALLTYPE getAttributeNode(BSTR name, IXMLDOMAttribute** node) override;
    HRESULT STDMETHODCALLTYPE setAttributeNode(IXMLDOMAttribute*, IXMLDOMAttribute**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE removeAttributeNode(IXMLDOMAttribute*, IXMLDOMAttribute**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE getElementsByTagName(BSTR tagName, IXMLDOMNodeList** list) override;
    HRESULT STDMETHODCALLTYPE normalize() override { return E_NOTIMPL; }

    // IXMLDOMAttribute
    HRESULT STDMETHODCALLTYPE get_name(BSTR* name) override { return get_nodeName(name); }
    HRESULT STDMETHODCALLTYPE get_value(VARIANT* value) override { return get_nodeValue(value); }
    HRESULT STDMETHODCALLTYPE put_value(VARIANT value) override { return put_nodeValue(value); }

    // IXMLDOMCharacterData and IXMLDOMText
    HRESULT STDMETHODCALLTYPE get_data(BSTR* data) override { return get_text(data); }
    HRESULT STDMETHODCALLTYPE put_data(BSTR data) override { return put_text(data); }
    HRESULT STDMETHODCALLTYPE get_length(LONG* length) override;
    HRESULT STDMETHODCALLTYPE substringData(LONG, LONG, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE appendData(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE insertData(LONG, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE deleteData(LONG, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE replaceData(LONG, LONG, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE splitText(LONG, IXMLDOMText**) override { return E_NOTIMPL; }

private:
    DomNode(const NodeRef& ref, const NodeContext& from);
    ~DomNode() override;
    void** CacheSlot();

    TreePtr tree_;
    DomDocument* document_;
};

} // namespace moltr::msxml
