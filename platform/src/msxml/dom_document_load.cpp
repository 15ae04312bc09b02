// Loading documents: loadXML from a string, load from a file of the machine.
#include "src/msxml/dom_document_object.h"
#include "sim/machine.h"

#include <fstream>
#include <iterator>
#include <new>

namespace moltr::msxml {
namespace {

// The file's bytes; false when it cannot be read (a URL, a missing file, a folder).
bool ReadSource(BSTR path, std::string& bytes) {
    const std::string host = path ? sim::HostPath(path) : std::string();
    std::ifstream in(host, std::ios::binary);
    if (host.empty() || !in) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

HRESULT FlagOut(bool flag, VARIANT_BOOL* out) {
    if (!out) {
        return E_INVALIDARG;
    }
    *out = flag ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

} // namespace

HRESULT DomDocument::Loaded(ParseOutcome outcome, VARIANT_BOOL* isSuccessful) {
    xmlDocPtr doc = outcome.doc ? outcome.doc : xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
    TreePtr tree(doc ? new (std::nothrow) DomTree(doc) : nullptr);
    if (!tree) {
        xmlFreeDoc(doc);
        return E_OUTOFMEMORY;
    }
    // Nodes of the old tree keep it alive while they are held.
    tree_ = std::move(tree);
    ref_ = {reinterpret_cast<xmlNodePtr>(tree_->doc())};
    const bool ok = outcome.doc != nullptr;
    lastLoad_ = std::move(outcome);
    lastLoad_.doc = nullptr;
    if (isSuccessful) {
        *isSuccessful = ok ? VARIANT_TRUE : VARIANT_FALSE;
    }
    return ok ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE DomDocument::loadXML(BSTR xml, VARIANT_BOOL* isSuccessful) {
    url_.clear();
    return Loaded(ParseDocument(ToUtf8(xml), TextSource::kUnicode, preserveWhiteSpace_),
                  isSuccessful);
}

HRESULT STDMETHODCALLTYPE DomDocument::load(VARIANT source, VARIANT_BOOL* isSuccessful) {
    if (source.vt != VT_BSTR) {
        return E_INVALIDARG; // streams and other documents are not sources here
    }
    url_ = ToUtf8(source.bstrVal);
    std::string bytes;
    if (!ReadSource(source.bstrVal, bytes)) {
        return Loaded(MissingResource(url_), isSuccessful);
    }
    return Loaded(ParseDocument(bytes, TextSource::kBytes, preserveWhiteSpace_), isSuccessful);
}

HRESULT STDMETHODCALLTYPE DomDocument::get_async(VARIANT_BOOL* isAsync) {
    return FlagOut(async_, isAsync);
}

// Asynchronous loading is accepted but loads complete before the call returns.
HRESULT STDMETHODCALLTYPE DomDocument::put_async(VARIANT_BOOL isAsync) {
    async_ = isAsync != VARIANT_FALSE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DomDocument::get_validateOnParse(VARIANT_BOOL* isValidating) {
    return FlagOut(validateOnParse_, isValidating);
}

// Kept for the caller; with DTDs refused and no schemas there is nothing to validate against.
HRESULT STDMETHODCALLTYPE DomDocument::put_validateOnParse(VARIANT_BOOL isValidating) {
    validateOnParse_ = isValidating != VARIANT_FALSE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DomDocument::get_resolveExternals(VARIANT_BOOL* isResolving) {
    return FlagOut(resolveExternals_, isResolving);
}

// Kept for the caller; external entities and DTDs are never loaded, whatever it says.
HRESULT STDMETHODCALLTYPE DomDocument::put_resolveExternals(VARIANT_BOOL isResolving) {
    resolveExternals_ = isResolving != VARIANT_FALSE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DomDocument::get_preserveWhiteSpace(VARIANT_BOOL* isPreserving) {
    return FlagOut(preserveWhiteSpace_, isPreserving);
}

HRESULT STDMETHODCALLTYPE DomDocument::put_preserveWhiteSpace(VARIANT_BOOL isPreserving) {
    preserveWhiteSpace_ = isPreserving != VARIANT_FALSE;
    return S_OK;
}

} // namespace moltr::msxml
