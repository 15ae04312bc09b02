// The document's second-level properties (setProperty, getProperty): the selection language,
// the selection namespaces, and the DTD prohibition.
#include "src/msxml/dom_document_object.h"

#include <oleauto.h>

namespace moltr::msxml {
namespace {

constexpr const char* kSelectionLanguage = "SelectionLanguage";
constexpr const char* kSelectionNamespaces = "SelectionNamespaces";
constexpr const char* kProhibitDtd = "ProhibitDTD";

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// "xmlns:a='uri' xmlns:b=\"uri\" ...": false for anything else.
bool ParseNamespaces(const std::string& text, std::vector<SelectionNamespace>& out) {
    size_t at = 0;
    while (true) {
        while (at < text.size() && IsSpace(text[at])) {
            ++at;
        }
        if (at == text.size()) {
            return true;
        }
        if (text.compare(at, 5, "xmlns") != 0) {
            return false;
        }
        at += 5;
        std::string prefix;
        if (at < text.size() && text[at] == ':') {
            const size_t end = text.find('=', at);
            if (end == std::string::npos) {
                return false;
            }
            prefix = text.substr(at + 1, end - at - 1);
            if (xmlValidateNCName(Xml(prefix), 0) != 0) {
                return false;
            }
            at = end;
        }
        if (at + 1 >= text.size() || text[at] != '=' ||
            (text[at + 1] != '\'' && text[at + 1] != '"')) {
            return false;
        }
        const size_t close = text.find(text[at + 1], at + 2);
        if (close == std::string::npos) {
            return false;
        }
        out.push_back({prefix, text.substr(at + 2, close - at - 2)});
        at = close + 1;
    }
}

HRESULT TextOut(const std::string& text, VARIANT* value) {
    value->vt = VT_EMPTY;
    HRESULT hr = ToBstr(text, &value->bstrVal);
    if (SUCCEEDED(hr)) {
        value->vt = VT_BSTR;
    }
    return hr;
}

} // namespace

HRESULT STDMETHODCALLTYPE DomDocument::setProperty(BSTR name, VARIANT value) {
    const std::string property = ToUtf8(name);
    if (property == kSelectionLanguage) {
        if (value.vt != VT_BSTR) {
            return E_INVALIDARG;
        }
        // Queries are always XPath; the older XSL pattern language is not offered.
        return ToUtf8(value.bstrVal) == "XPath" ? S_OK : E_NOTIMPL;
    }
    if (property == kSelectionNamespaces) {
        if (value.vt != VT_BSTR) {
            return E_INVALIDARG;
        }
        std::vector<SelectionNamespace> parsed;
        const std::string text = ToUtf8(value.bstrVal);
        if (!ParseNamespaces(text, parsed)) {
            return E_FAIL;
        }
        namespaceText_ = text;
        namespaces_ = std::move(parsed);
        return S_OK;
    }
    if (property == kProhibitDtd) {
        if (value.vt != VT_BOOL) {
            return E_INVALIDARG;
        }
        return value.boolVal != VARIANT_FALSE ? S_OK : E_NOTIMPL; // DTDs are always refused
    }
    return E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE DomDocument::getProperty(BSTR name, VARIANT* value) {
    if (!value) {
        return E_INVALIDARG;
    }
    const std::string property = ToUtf8(name);
    if (property == kSelectionLanguage) {
        return TextOut("XPath", value);
    }
    if (property == kSelectionNamespaces) {
        return TextOut(namespaceText_, value);
    }
    if (property == kProhibitDtd) {
        value->vt = VT_BOOL;
        value->boolVal = VARIANT_TRUE;
        return S_OK;
    }
    return E_INVALIDARG;
}

} // namespace moltr::msxml
