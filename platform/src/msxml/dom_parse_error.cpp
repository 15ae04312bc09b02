// The parse error object.
#include "src/msxml/dom_parse_error.h"
#include "src/msxml/dom_object.h"
#include "src/msxml/dom_tree.h"

#include <new>

namespace moltr::msxml {
namespace {

class DomParseError final : public SingleInterface<IXMLDOMParseError, IID_IXMLDOMParseError> {
public:
    DomParseError(const ParseOutcome& outcome, const std::string& url)
        : outcome_(outcome), url_(url) {
        outcome_.doc = nullptr; // the tree is the document's
    }

    // Without an error every member answers S_FALSE, with zeros and null texts.
    HRESULT STDMETHODCALLTYPE get_errorCode(LONG* code) override {
        return Number(outcome_.errorCode, code);
    }
    HRESULT STDMETHODCALLTYPE get_url(BSTR* url) override { return Text(url_, url); }
    HRESULT STDMETHODCALLTYPE get_reason(BSTR* reason) override {
        return Text(outcome_.reason, reason);
    }
    HRESULT STDMETHODCALLTYPE get_srcText(BSTR* text) override {
        return Text(outcome_.srcText, text);
    }
    HRESULT STDMETHODCALLTYPE get_line(LONG* line) override { return Number(outcome_.line, line); }
    HRESULT STDMETHODCALLTYPE get_linepos(LONG* position) override {
        return Number(outcome_.linePosition, position);
    }
    HRESULT STDMETHODCALLTYPE get_filepos(LONG* position) override {
        return Number(outcome_.filePosition, position);
    }

private:
    ~DomParseError() override = default;

    HRESULT Number(LONG value, LONG* out) const {
        if (!out) {
            return E_INVALIDARG;
        }
        *out = outcome_.errorCode ? value : 0;
        return outcome_.errorCode ? S_OK : S_FALSE;
    }
    HRESULT Text(const std::string& value, BSTR* out) const {
        if (!out) {
            return E_INVALIDARG;
        }
        *out = nullptr;
        if (!outcome_.errorCode || value.empty()) {
            return S_FALSE;
        }
        return ToBstr(value, out);
    }

    ParseOutcome outcome_;
    std::string url_;
};

} // namespace

HRESULT CreateParseError(const ParseOutcome& outcome, const std::string& url,
                         IXMLDOMParseError** out) {
    if (!out) {
        return E_INVALIDARG;
    }
    *out = new (std::nothrow) DomParseError(outcome, url);
    return *out ? S_OK : E_OUTOFMEMORY;
}

} // namespace moltr::msxml
