// Building and changing trees: create*, appendChild, insertBefore, removeChild, replaceChild,
// cloneNode, the element's attribute members, put_text and put_nodeValue.
#include "dom_test_document.h"

using moltr::test::Bstr;
using moltr::test::DomTest;
using moltr::test::Ref;
using moltr::test::Take;
using moltr::test::Text;

namespace {

class DomChangeTest : public DomTest {
protected:
    Ref<IXMLDOMElement> Element(const char* name) {
        Ref<IXMLDOMElement> element;
        EXPECT_EQ(document_->createElement(Bstr(name), element.out()), S_OK);
        return element;
    }
    static VARIANT Before(IXMLDOMNode* node) {
        VARIANT value;
        value.vt = VT_UNKNOWN;
        value.punkVal = node;
        return value;
    }
};

} // namespace

TEST_F(DomChangeTest, ATreeBuiltByHandSerialisesAsBuilt) {
    Ref<IXMLDOMElement> root = Element("root");
    ASSERT_EQ(document_->appendChild(root.get(), nullptr), S_OK);
    Ref<IXMLDOMElement> second = Element("second");
    Ref<IXMLDOMElement> first = Element("first");
    ASSERT_EQ(root->appendChild(second.get(), nullptr), S_OK);
    Ref<IXMLDOMNode> inserted;
    ASSERT_EQ(root->insertBefore(first.get(), Before(second.get()), inserted.out()), S_OK);
    EXPECT_EQ(static_cast<IUnknown*>(inserted.get()), static_cast<IUnknown*>(first.get()));
    Ref<IXMLDOMText> text;
    ASSERT_EQ(document_->createTextNode(Bstr("a<b"), text.out()), S_OK);
    ASSERT_EQ(first->appendChild(text.get(), nullptr), S_OK);
    // Two adjacent texts stay two nodes.
    Ref<IXMLDOMText> more;
    ASSERT_EQ(document_->createTextNode(Bstr("c"), more.out()), S_OK);
    ASSERT_EQ(first->appendChild(more.get(), nullptr), S_OK);
    ASSERT_EQ(second->setAttribute(Bstr("k"), Text(Bstr("v\"w"))), S_OK);
    EXPECT_EQ(XmlOf(root.get()), "<root><first>a&lt;bc</first><second k=\"v&quot;w\"/></root>");
    EXPECT_EQ(TextOf(text.get()), "a<b");
}

TEST_F(DomChangeTest, RemovedAndReplacedNodesLiveOnOutsideTheTree) {
    ASSERT_EQ(Load("<r><a/><b/><c/></r>"), S_OK);
    Ref<IXMLDOMElement> root = Root();
    Ref<IXMLDOMNode> a, b, removed;
    root->get_firstChild(a.out());
    a->get_nextSibling(b.out());
    ASSERT_EQ(root->removeChild(a.get(), removed.out()), S_OK);
    EXPECT_EQ(removed.get(), a.get());
    Ref<IXMLDOMNode> parent;
    EXPECT_EQ(a->get_parentNode(parent.out()), S_FALSE);
    EXPECT_EQ(XmlOf(root.get()), "<r><b/><c/></r>");
    Ref<IXMLDOMNode> old;
    ASSERT_EQ(root->replaceChild(a.get(), b.get(), old.out()), S_OK);
    EXPECT_EQ(old.get(), b.get());
    EXPECT_EQ(XmlOf(root.get()), "<r><a/><c/></r>");
    EXPECT_EQ(NameOf(b.get()), "b");
    // Not a child any more.
    EXPECT_EQ(root->removeChild(b.get(), nullptr), E_INVALIDARG);
}

TEST_F(DomChangeTest, ImpossibleChangesAreRefusedAndChangeNothing) {
    ASSERT_EQ(Load("<r><a/></r>"), S_OK);
    Ref<IXMLDOMElement> root = Root();
    Ref<IXMLDOMNode> a;
    root->get_firstChild(a.out());
    EXPECT_EQ(a->appendChild(root.get(), nullptr), E_FAIL);                      // a cycle
    EXPECT_EQ(a->appendChild(a.get(), nullptr), E_FAIL);                         // itself
    EXPECT_EQ(document_->appendChild(Element("second").get(), nullptr), E_FAIL); // two roots
    Ref<IXMLDOMText> text;
    document_->createTextNode(Bstr("t"), text.out());
    EXPECT_EQ(document_->appendChild(text.get(), nullptr), E_FAIL);
    EXPECT_EQ(text->appendChild(Element("x").get(), nullptr), E_FAIL); // text holds no children
    EXPECT_EQ(root->appendChild(nullptr, nullptr), E_INVALIDARG);
    EXPECT_EQ(root->insertBefore(Element("y").get(), Before(root.get()), nullptr), E_INVALIDARG);
    // A node of another document is not ours to move.
    Ref<IXMLDOMDocument2> other;
    ASSERT_EQ(CoCreateInstance(CLSID_DOMDocument60, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IXMLDOMDocument2, other.vout()),
              S_OK);
    Ref<IXMLDOMElement> foreign;
    other->createElement(Bstr("f"), foreign.out());
    EXPECT_EQ(root->appendChild(foreign.get(), nullptr), E_INVALIDARG);
    EXPECT_EQ(XmlOf(root.get()), "<r><a/></r>");
}

TEST_F(DomChangeTest, AttributesAreSetReplacedAndRemoved) {
    ASSERT_EQ(Load("<r xmlns:p=\"urn:p\" a=\"1\"/>"), S_OK);
    Ref<IXMLDOMElement> root = Root();
    ASSERT_EQ(root->setAttribute(Bstr("a"), Text(Bstr("2 & 3"))), S_OK);
    ASSERT_EQ(root->setAttribute(Bstr("p:b"), Text(Bstr("x"))), S_OK);
    VARIANT value;
    ASSERT_EQ(root->getAttribute(Bstr("a"), &value), S_OK);
    EXPECT_EQ(Take(value.bstrVal), "2 & 3");
    Ref<IXMLDOMAttribute> bound;
    ASSERT_EQ(root->getAttributeNode(Bstr("p:b"), bound.out()), S_OK);
    BSTR uri = nullptr;
    ASSERT_EQ(bound->get_namespaceURI(&uri), S_OK);
    EXPECT_EQ(Take(uri), "urn:p");
    ASSERT_EQ(root->getAttribute(Bstr("xmlns:p"), &value), S_OK);
    EXPECT_EQ(Take(value.bstrVal), "urn:p");
    ASSERT_EQ(root->setAttribute(Bstr("xmlns:q"), Text(Bstr("urn:q"))), S_OK);
    EXPECT_EQ(root->setAttribute(Bstr("xmlns:p"), Text(Bstr("urn:other"))), E_FAIL);
    EXPECT_EQ(root->setAttribute(Bstr("bad name"), Text(Bstr("x"))), E_FAIL);
    ASSERT_EQ(root->removeAttribute(Bstr("a")), S_OK);
    EXPECT_EQ(root->removeAttribute(Bstr("a")), S_FALSE);
    EXPECT_EQ(root->getAttribute(Bstr("a"), &value), S_FALSE);
    EXPECT_EQ(value.vt, VT_NULL);
    EXPECT_EQ(XmlOf(root.get()), "<r xmlns:p=\"urn:p\" xmlns:q=\"urn:q\" p:b=\"x\"/>");
    // The removed attribute's node is still readable.
    EXPECT_EQ(NameOf(bound.get()), "p:b");
    ASSERT_EQ(root->removeAttribute(Bstr("p:b")), S_OK);
    EXPECT_EQ(TextOf(bound.get()), "x");
}

TEST_F(DomChangeTest, TextsAndValuesAreReplaced) {
    ASSERT_EQ(Load("<r a=\"1\"><x/>old</r>"), S_OK);
    Ref<IXMLDOMElement> root = Root();
    Ref<IXMLDOMNode> x;
    root->get_firstChild(x.out());
    ASSERT_EQ(root->put_text(Bstr("new & text")), S_OK);
    EXPECT_EQ(XmlOf(root.get()), "<r a=\"1\">new &amp; text</r>");
    EXPECT_EQ(NameOf(x.get()), "x"); // the replaced child lives on
    EXPECT_EQ(root->put_nodeValue(Text(Bstr("v"))), E_FAIL);
    Ref<IXMLDOMAttribute> a;
    ASSERT_EQ(root->getAttributeNode(Bstr("a"), a.out()), S_OK);
    ASSERT_EQ(a->put_value(Text(Bstr("&2"))), S_OK);
    EXPECT_EQ(XmlOf(a.get()), "a=\"&amp;2\"");
    VARIANT number;
    number.vt = VT_I4;
    number.lVal = 3;
    EXPECT_EQ(a->put_value(number), E_INVALIDARG);
    EXPECT_EQ(document_->put_text(Bstr("x")), E_FAIL);
}

TEST_F(DomChangeTest, ClonesAreDeepOrShallowAndBelongToNoParent) {
    ASSERT_EQ(Load("<r xmlns:p=\"urn:p\"><p:a k=\"v\"><b/></p:a></r>"), S_OK);
    Ref<IXMLDOMNode> a;
    Root()->get_firstChild(a.out());
    Ref<IXMLDOMNode> deep, shallow, parent;
    ASSERT_EQ(a->cloneNode(VARIANT_TRUE, deep.out()), S_OK);
    ASSERT_EQ(a->cloneNode(VARIANT_FALSE, shallow.out()), S_OK);
    EXPECT_NE(deep.get(), a.get());
    EXPECT_EQ(deep->get_parentNode(parent.out()), S_FALSE);
    EXPECT_EQ(XmlOf(deep.get()), "<p:a xmlns:p=\"urn:p\" k=\"v\"><b/></p:a>");
    EXPECT_EQ(XmlOf(shallow.get()), "<p:a xmlns:p=\"urn:p\" k=\"v\"/>");
    ASSERT_EQ(Root()->appendChild(deep.get(), nullptr), S_OK);
    Ref<IXMLDOMNodeList> children;
    Root()->get_childNodes(children.out());
    LONG length = 0;
    children->get_length(&length);
    EXPECT_EQ(length, 2);
    EXPECT_EQ(document_->cloneNode(VARIANT_TRUE, parent.out()), E_NOTIMPL);
}

TEST_F(DomChangeTest, CreateNodeMakesNamespacedElements) {
    VARIANT type;
    type.vt = VT_I4;
    type.lVal = NODE_ELEMENT;
    Ref<IXMLDOMNode> element;
    ASSERT_EQ(document_->createNode(type, Bstr("psf:Option"),
                                    Bstr("http://schemas.microsoft.com/windows/2003/08/printing/"
                                         "printschemaframework"),
                                    element.out()),
              S_OK);
    BSTR uri = nullptr;
    ASSERT_EQ(element->get_namespaceURI(&uri), S_OK);
    EXPECT_EQ(Take(uri),
              "http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework");
    EXPECT_EQ(NameOf(element.get()), "psf:Option");
    EXPECT_EQ(document_->createNode(type, Bstr("p:x"), nullptr, element.out()), E_FAIL);
    type.vt = VT_BSTR;
    Bstr textType("text");
    type.bstrVal = textType;
    ASSERT_EQ(document_->createNode(type, nullptr, nullptr, element.out()), S_OK);
    EXPECT_EQ(NameOf(element.get()), "#text");
    type.vt = VT_I4;
    type.lVal = NODE_COMMENT;
    EXPECT_EQ(document_->createNode(type, Bstr("c"), nullptr, element.out()), E_NOTIMPL);
    type.lVal = 99;
    EXPECT_EQ(document_->createNode(type, Bstr("c"), nullptr, element.out()), E_INVALIDARG);
    Ref<IXMLDOMElement> named;
    EXPECT_EQ(document_->createElement(Bstr(""), named.out()), E_FAIL);
    Ref<IXMLDOMAttribute> attribute;
    ASSERT_EQ(document_->createAttribute(Bstr("a"), attribute.out()), S_OK);
    EXPECT_EQ(NameOf(attribute.get()), "a");
}

TEST_F(DomChangeTest, TheDocumentElementCanBeReplaced) {
    ASSERT_EQ(Load("<old/>"), S_OK);
    Ref<IXMLDOMElement> old = Root();
    Ref<IXMLDOMElement> fresh = Element("fresh");
    ASSERT_EQ(document_->putref_documentElement(fresh.get()), S_OK);
    EXPECT_EQ(NameOf(Root().get()), "fresh");
    EXPECT_EQ(NameOf(old.get()), "old");
    EXPECT_EQ(document_->putref_documentElement(nullptr), E_INVALIDARG);
}

TEST_F(DomChangeTest, ElementsAreFoundByTagName) {
    ASSERT_EQ(Load("<r><a/><b><a/></b><a/></r>"), S_OK);
    Ref<IXMLDOMNodeList> found;
    ASSERT_EQ(document_->getElementsByTagName(Bstr("a"), found.out()), S_OK);
    LONG length = 0;
    found->get_length(&length);
    EXPECT_EQ(length, 3);
    ASSERT_EQ(Root()->getElementsByTagName(Bstr("*"), found.out()), S_OK);
    found->get_length(&length);
    EXPECT_EQ(length, 4);
}
