// Callers built against the SDK reach the DOM by vtable slot: the slots of the members the
// print-ticket code calls, by number (IUnknown 0-2, IDispatch 3-6, IXMLDOMNode 7-42,
// IXMLDOMDocument 43-75, IXMLDOMDocument2 76-81; IXMLDOMElement and IXMLDOMNodeList from 43
// and 7).
#include "dom_test_document.h"

using moltr::test::Bstr;
using moltr::test::DomTest;
using moltr::test::Take;

namespace {

template <typename R, typename... A> R CallSlot(void* object, size_t slot, A... args) {
    using Entry = R(STDMETHODCALLTYPE*)(void*, A...);
    void** vtable = *static_cast<void***>(object);
    return reinterpret_cast<Entry>(vtable[slot])(object, args...);
}

} // namespace

TEST_F(DomTest, MembersSitInTheSlotsOfTheSdk) {
    void* document = document_.get();
    VARIANT_BOOL ok = VARIANT_FALSE;
    Bstr xml("<p:a xmlns:p=\"urn:p\"><p:b/></p:a>");
    ASSERT_EQ(CallSlot<HRESULT>(document, 65, static_cast<BSTR>(xml), &ok), S_OK); // loadXML
    IXMLDOMElement* root = nullptr;
    ASSERT_EQ(CallSlot<HRESULT>(document, 45, &root), S_OK); // get_documentElement
    BSTR name = nullptr;
    ASSERT_EQ(CallSlot<HRESULT>(root, 43, &name), S_OK); // IXMLDOMElement::get_tagName
    EXPECT_EQ(Take(name), "p:a");
    ASSERT_EQ(CallSlot<HRESULT>(root, 34 + 7, &name), S_OK); // get_baseName
    EXPECT_EQ(Take(name), "a");
    Bstr declarations("xmlns:q='urn:p'");
    VARIANT namespaces = moltr::test::Text(declarations);
    Bstr property("SelectionNamespaces");
    ASSERT_EQ(CallSlot<HRESULT>(document, 80, static_cast<BSTR>(property), namespaces),
              S_OK); // setProperty
    IXMLDOMNodeList* list = nullptr;
    Bstr query("q:b");
    ASSERT_EQ(CallSlot<HRESULT>(root, 29 + 7, static_cast<BSTR>(query), &list), S_OK);
    LONG length = 0;
    ASSERT_EQ(CallSlot<HRESULT>(list, 8, &length), S_OK); // IXMLDOMNodeList::get_length
    EXPECT_EQ(length, 1);
    list->Release();
    root->Release();
}
