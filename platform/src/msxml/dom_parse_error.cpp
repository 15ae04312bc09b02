// The parse error object.
#include "src/msxml/dom_parse_error.h"
#include "src/msxml/dom_tree.h"

#include <new>

namespace moltr::msxml {
namespace {

class DomParseError final : public IXMLDOMParseError {
public:
    DomParseError(const ParseOutcome& outcome, const std::string& url)
        : outcome_(outcome), url_(url) {
        outcome_.doc = nullptr; // the tree is the document's
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) {
            return E_POINTER;
        }
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
            IsEqualIID(riid, IID_IXMLDOMParseError)) {
            *object = static_cast<IXMLDOMParseError*>(this);
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
    ~DomParseError() = default;

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
    LONG refs_ = 1;
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
