#pragma once
// The document object (DOMDocument and its versions): its current tree, the parse settings and
// properties, and the outcome of its last load.
#include "src/msxml/dom_node.h"
#include "src/msxml/dom_document.h"
#include "src/msxml/dom_parser.h"

#include <string>
#include <utility>
#include <vector>

namespace moltr::msxml {

struct SelectionNamespace {
    std::string prefix;
    std::string uri;
};

class DomDocument final : public NodeImpl<IXMLDOMDocument2> {
public:
    // Null when out of memory.
    static DomDocument* Create(DomVersion version);

    NodeContext Context() override { return {ref_, tree_, this}; }
    const TreePtr& tree() const { return tree_; }
    bool preserveWhiteSpace() const { return preserveWhiteSpace_; }
    const std::vector<SelectionNamespace>& selectionNamespaces() const { return namespaces_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;

    // IXMLDOMDocument
    HRESULT STDMETHODCALLTYPE get_doctype(IXMLDOMDocumentType** type) override;
    HRESULT STDMETHODCALLTYPE get_implementation(IXMLDOMImplementation**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_documentElement(IXMLDOMElement** element) override;
    HRESULT STDMETHODCALLTYPE putref_documentElement(IXMLDOMElement* element) override;
    HRESULT STDMETHODCALLTYPE createElement(BSTR tagName, IXMLDOMElement** element) override;
    HRESULT STDMETHODCALLTYPE createDocumentFragment(IXMLDOMDocumentFragment**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE createTextNode(BSTR data, IXMLDOMText** text) override;
    HRESULT STDMETHODCALLTYPE createComment(BSTR, IXMLDOMComment**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE createCDATASection(BSTR, IXMLDOMCDATASection**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE createProcessingInstruction(BSTR, BSTR,
                                                          IXMLDOMProcessingInstruction**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE createAttribute(BSTR name, IXMLDOMAttribute** attribute) override;
    HRESULT STDMETHODCALLTYPE createEntityReference(BSTR, IXMLDOMEntityReference**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE getElementsByTagName(BSTR tagName, IXMLDOMNodeList** list) override;
    HRESULT STDMETHODCALLTYPE createNode(VARIANT type, BSTR name, BSTR namespaceURI,
                                         IXMLDOMNode** node) override;
    HRESULT STDMETHODCALLTYPE nodeFromID(BSTR, IXMLDOMNode**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE load(VARIANT source, VARIANT_BOOL* isSuccessful) override;
    HRESULT STDMETHODCALLTYPE get_readyState(LONG* state) override;
    HRESULT STDMETHODCALLTYPE get_parseError(IXMLDOMParseError** error) override;
    HRESULT STDMETHODCALLTYPE get_url(BSTR* url) override;
    HRESULT STDMETHODCALLTYPE get_async(VARIANT_BOOL* isAsync) override;
    HRESULT STDMETHODCALLTYPE put_async(VARIANT_BOOL isAsync) override;
    HRESULT STDMETHODCALLTYPE abort() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE loadXML(BSTR xml, VARIANT_BOOL* isSuccessful) override;
    HRESULT STDMETHODCALLTYPE save(VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_validateOnParse(VARIANT_BOOL* isValidating) override;
    HRESULT STDMETHODCALLTYPE put_validateOnParse(VARIANT_BOOL isValidating) override;
    HRESULT STDMETHODCALLTYPE get_resolveExternals(VARIANT_BOOL* isResolving) override;
    HRESULT STDMETHODCALLTYPE put_resolveExternals(VARIANT_BOOL isResolving) override;
    HRESULT STDMETHODCALLTYPE get_preserveWhiteSpace(VARIANT_BOOL* isPreserving) override;
    HRESULT STDMETHODCALLTYPE put_preserveWhiteSpace(VARIANT_BOOL isPreserving) override;
    HRESULT STDMETHODCALLTYPE put_onreadystatechange(VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_ondataavailable(VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_ontransformnode(VARIANT) override { return E_NOTIMPL; }

    // IXMLDOMDocument2
    HRESULT STDMETHODCALLTYPE get_namespaces(IXMLDOMSchemaCollection**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_schemas(VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE putref_schemas(VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE validate(IXMLDOMParseError**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE setProperty(BSTR name, VARIANT value) override;
    HRESULT STDMETHODCALLTYPE getProperty(BSTR name, VARIANT* value) override;

private:
    DomDocument(DomVersion version, TreePtr tree);
    // Takes the outcome of a load: its tree on success (an empty document on failure).
    HRESULT Loaded(ParseOutcome outcome, VARIANT_BOOL* isSuccessful);
    // A new node of this document's tree, handed out as `iid`.
    HRESULT Created(xmlNodePtr node, REFIID iid, void** out);

    TreePtr tree_;
    ParseOutcome lastLoad_;
    std::string url_;
    std::string namespaceText_;
    std::vector<SelectionNamespace> namespaces_;
    bool async_ = true;
    bool validateOnParse_;
    bool resolveExternals_;
    bool preserveWhiteSpace_ = false;
};

} // namespace moltr::msxml
