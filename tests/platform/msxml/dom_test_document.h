#pragma once
// A DOMDocument60 for the DOM's tests, with small holders for BSTRs and interface references.
#include <windows.h>
#include <msxml2.h>
#include <oleauto.h>

#include "sim/utf.h"

#include <gtest/gtest.h>

#include <string>

namespace moltr::test {

// A BSTR made from UTF-8, freed at the end of its scope.
class Bstr {
public:
    explicit Bstr(const char* utf8) {
        std::u16string wide = sim::Utf16(utf8);
        text_ = SysAllocStringLen(sim::W(wide), static_cast<UINT>(wide.size()));
    }
    ~Bstr() { SysFreeString(text_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    operator BSTR() const { return text_; }

private:
    BSTR text_;
};

// The UTF-8 of a BSTR that the caller owned, which is freed.
inline std::string Take(BSTR text) {
    std::string utf8 = text ? sim::Utf8(text, SysStringLen(text)) : std::string();
    SysFreeString(text);
    return utf8;
}

// One counted reference, released at the end of its scope.
template <typename T> class Ref {
public:
    Ref() = default;
    ~Ref() { Reset(); }
    Ref(Ref&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    T** out() {
        Reset();
        return &p_;
    }
    void** vout() { return reinterpret_cast<void**>(out()); }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void Reset() {
        if (p_) {
            p_->Release();
            p_ = nullptr;
        }
    }

private:
    T* p_ = nullptr;
};

inline VARIANT Text(BSTR text) {
    VARIANT value;
    value.vt = VT_BSTR;
    value.bstrVal = text;
    return value;
}

class DomTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
        ASSERT_EQ(CoCreateInstance(CLSID_DOMDocument60, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IXMLDOMDocument2, document_.vout()),
                  S_OK);
    }
    void TearDown() override {
        document_.Reset();
        CoUninitialize();
    }

    // loadXML's result; `ok` is what it says about success.
    HRESULT Load(const char* xml, VARIANT_BOOL* ok = nullptr) {
        VARIANT_BOOL success = VARIANT_FALSE;
        HRESULT hr = document_->loadXML(Bstr(xml), &success);
        if (ok) {
            *ok = success;
        }
        return hr;
    }

    Ref<IXMLDOMElement> Root() {
        Ref<IXMLDOMElement> root;
        EXPECT_EQ(document_->get_documentElement(root.out()), S_OK);
        return root;
    }

    static std::string NameOf(IXMLDOMNode* node) {
        BSTR name = nullptr;
        EXPECT_EQ(node->get_nodeName(&name), S_OK);
        return Take(name);
    }
    static std::string TextOf(IXMLDOMNode* node) {
        BSTR text = nullptr;
        EXPECT_EQ(node->get_text(&text), S_OK);
        return Take(text);
    }
    static std::string XmlOf(IXMLDOMNode* node) {
        BSTR xml = nullptr;
        EXPECT_EQ(node->get_xml(&xml), S_OK);
        return Take(xml);
    }

    Ref<IXMLDOMDocument2> document_;
};

} // namespace moltr::test
