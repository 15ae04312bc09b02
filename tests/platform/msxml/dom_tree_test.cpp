// Reading a tree: names, types, values, texts, attributes with their namespace declarations,
// navigation, and the lifetime of nodes.
#include "dom_test_document.h"

using moltr::test::Bstr;
using moltr::test::DomTest;
using moltr::test::Ref;
using moltr::test::Take;

namespace {

constexpr const char* kCapabilities =
    "<psf:PrintCapabilities xmlns:psf=\"http://schemas.microsoft.com/windows/2003/08/printing/"
    "printschemaframework\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "version=\"1\" xsi:type=\"x\">"
    "<psf:Feature name=\"Size\">A4 &amp; more<!--note--></psf:Feature>"
    "<plain/>"
    "</psf:PrintCapabilities>";

class DomTreeTest : public DomTest {
protected:
    void SetUp() override {
        DomTest::SetUp();
        ASSERT_EQ(Load(kCapabilities), S_OK);
    }

    Ref<IXMLDOMNode> Attribute(LONG index) {
        Ref<IXMLDOMNamedNodeMap> map;
        EXPECT_EQ(Root()->get_attributes(map.out()), S_OK);
        Ref<IXMLDOMNode> attribute;
        EXPECT_EQ(map->get_item(index, attribute.out()), S_OK);
        return attribute;
    }

    struct Names {
        std::string prefix, baseName, uri;
    };
    static Names NamesOf(IXMLDOMNode* node) {
        BSTR prefix = nullptr, baseName = nullptr, uri = nullptr;
        node->get_prefix(&prefix);
        node->get_baseName(&baseName);
        node->get_namespaceURI(&uri);
        return {Take(prefix), Take(baseName), Take(uri)};
    }
};

} // namespace

TEST_F(DomTreeTest, ElementsReportTheirQualifiedNameAndNamespace) {
    Ref<IXMLDOMElement> root = Root();
    EXPECT_EQ(NameOf(root.get()), "psf:PrintCapabilities");
    Names names = NamesOf(root.get());
    EXPECT_EQ(names.prefix, "psf");
    EXPECT_EQ(names.baseName, "PrintCapabilities");
    EXPECT_EQ(names.uri,
              "http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework");
    BSTR tag = nullptr;
    EXPECT_EQ(root->get_tagName(&tag), S_OK);
    EXPECT_EQ(Take(tag), "psf:PrintCapabilities");
    DOMNodeType type = NODE_INVALID;
    EXPECT_EQ(root->get_nodeType(&type), S_OK);
    EXPECT_EQ(type, NODE_ELEMENT);
    // No prefix and no namespace: S_FALSE and null.
    Ref<IXMLDOMNode> plain;
    ASSERT_EQ(root->get_lastChild(plain.out()), S_OK);
    BSTR prefix = reinterpret_cast<BSTR>(1);
    EXPECT_EQ(plain->get_prefix(&prefix), S_FALSE);
    EXPECT_EQ(prefix, nullptr);
}

TEST_F(DomTreeTest, NamespaceDeclarationsAreAttributesBeforeTheOthers) {
    Ref<IXMLDOMNamedNodeMap> map;
    ASSERT_EQ(Root()->get_attributes(map.out()), S_OK);
    LONG length = 0;
    ASSERT_EQ(map->get_length(&length), S_OK);
    ASSERT_EQ(length, 4);
    const char* expected[] = {"xmlns:psf", "xmlns:xsi", "version", "xsi:type"};
    for (LONG i = 0; i < length; ++i) {
        Ref<IXMLDOMNode> attribute;
        ASSERT_EQ(map->get_item(i, attribute.out()), S_OK);
        EXPECT_EQ(NameOf(attribute.get()), expected[i]);
        DOMNodeType type = NODE_INVALID;
        attribute->get_nodeType(&type);
        EXPECT_EQ(type, NODE_ATTRIBUTE);
    }
    Ref<IXMLDOMNode> beyond;
    EXPECT_EQ(map->get_item(length, beyond.out()), S_FALSE);
    EXPECT_EQ(map->get_item(-1, beyond.out()), S_FALSE);

    Ref<IXMLDOMNode> declaration = Attribute(1);
    Names names = NamesOf(declaration.get());
    EXPECT_EQ(names.prefix, "xmlns");
    EXPECT_EQ(names.baseName, "xsi");
    EXPECT_EQ(names.uri, "http://www.w3.org/2000/xmlns/");
    VARIANT value;
    ASSERT_EQ(declaration->get_nodeValue(&value), S_OK);
    ASSERT_EQ(value.vt, VT_BSTR);
    EXPECT_EQ(Take(value.bstrVal), "http://www.w3.org/2001/XMLSchema-instance");
    EXPECT_EQ(XmlOf(declaration.get()), "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"");

    Ref<IXMLDOMNode> typed = Attribute(3);
    names = NamesOf(typed.get());
    EXPECT_EQ(names.prefix, "xsi");
    EXPECT_EQ(names.baseName, "type");
    EXPECT_EQ(names.uri, "http://www.w3.org/2001/XMLSchema-instance");
}

TEST_F(DomTreeTest, TheMapWalksWithNextNodeAndFindsByName) {
    Ref<IXMLDOMNamedNodeMap> map;
    ASSERT_EQ(Root()->get_attributes(map.out()), S_OK);
    int seen = 0;
    Ref<IXMLDOMNode> item;
    while (map->nextNode(item.out()) == S_OK) {
        ++seen;
    }
    EXPECT_EQ(seen, 4);
    EXPECT_FALSE(item);
    EXPECT_EQ(map->reset(), S_OK);
    ASSERT_EQ(map->nextNode(item.out()), S_OK);
    EXPECT_EQ(NameOf(item.get()), "xmlns:psf");
    ASSERT_EQ(map->getNamedItem(Bstr("version"), item.out()), S_OK);
    EXPECT_EQ(TextOf(item.get()), "1");
    EXPECT_EQ(map->getNamedItem(Bstr("missing"), item.out()), S_FALSE);
    EXPECT_FALSE(item);
    ASSERT_EQ(map->getQualifiedItem(Bstr("type"), Bstr("http://www.w3.org/2001/XMLSchema-instance"),
                                    item.out()),
              S_OK);
    EXPECT_EQ(NameOf(item.get()), "xsi:type");
}

TEST_F(DomTreeTest, ChildrenTextsAndValuesByNodeType) {
    Ref<IXMLDOMNode> feature;
    ASSERT_EQ(Root()->get_firstChild(feature.out()), S_OK);
    EXPECT_EQ(TextOf(feature.get()), "A4 & more");
    VARIANT value;
    EXPECT_EQ(feature->get_nodeValue(&value), S_FALSE);
    EXPECT_EQ(value.vt, VT_NULL);

    Ref<IXMLDOMNodeList> children;
    ASSERT_EQ(feature->get_childNodes(children.out()), S_OK);
    LONG length = 0;
    children->get_length(&length);
    ASSERT_EQ(length, 2);
    Ref<IXMLDOMNode> text;
    ASSERT_EQ(children->get_item(0, text.out()), S_OK);
    EXPECT_EQ(NameOf(text.get()), "#text");
    ASSERT_EQ(text->get_nodeValue(&value), S_OK);
    EXPECT_EQ(Take(value.bstrVal), "A4 & more");
    Ref<IXMLDOMText> asText;
    EXPECT_EQ(text->QueryInterface(IID_IXMLDOMText, asText.vout()), S_OK);
    LONG dataLength = 0;
    EXPECT_EQ(asText->get_length(&dataLength), S_OK);
    EXPECT_EQ(dataLength, 9);

    Ref<IXMLDOMNode> comment;
    ASSERT_EQ(children->get_item(1, comment.out()), S_OK);
    EXPECT_EQ(NameOf(comment.get()), "#comment");
    DOMNodeType type = NODE_INVALID;
    comment->get_nodeType(&type);
    EXPECT_EQ(type, NODE_COMMENT);
    EXPECT_EQ(comment->QueryInterface(IID_IXMLDOMText, asText.vout()), E_NOINTERFACE);
    EXPECT_EQ(XmlOf(feature.get()),
              "<psf:Feature name=\"Size\">A4 &amp; more<!--note--></psf:Feature>");
}

TEST_F(DomTreeTest, NavigationAnswersSFalseAtTheEnds) {
    Ref<IXMLDOMElement> root = Root();
    Ref<IXMLDOMNode> parent;
    ASSERT_EQ(root->get_parentNode(parent.out()), S_OK);
    EXPECT_EQ(static_cast<IUnknown*>(parent.get()), static_cast<IUnknown*>(document_.get()));
    EXPECT_EQ(document_->get_parentNode(parent.out()), S_FALSE);
    EXPECT_FALSE(parent);

    Ref<IXMLDOMNode> first, next, previous;
    ASSERT_EQ(root->get_firstChild(first.out()), S_OK);
    ASSERT_EQ(first->get_nextSibling(next.out()), S_OK);
    EXPECT_EQ(NameOf(next.get()), "plain");
    ASSERT_EQ(next->get_previousSibling(previous.out()), S_OK);
    EXPECT_EQ(previous.get(), first.get()); // one wrapper per node
    EXPECT_EQ(next->get_nextSibling(previous.out()), S_FALSE);
    VARIANT_BOOL has = VARIANT_TRUE;
    EXPECT_EQ(next->hasChildNodes(&has), S_FALSE);
    EXPECT_EQ(has, VARIANT_FALSE);
    // Attributes sit beside the tree.
    Ref<IXMLDOMNode> attribute = Attribute(2);
    EXPECT_EQ(attribute->get_parentNode(parent.out()), S_FALSE);
    EXPECT_EQ(attribute->get_nextSibling(next.out()), S_FALSE);
    Ref<IXMLDOMNamedNodeMap> none;
    EXPECT_EQ(attribute->get_attributes(none.out()), S_FALSE);
    Ref<IXMLDOMDocument> owner;
    EXPECT_EQ(document_->get_ownerDocument(owner.out()), S_FALSE);
}

TEST_F(DomTreeTest, NodesKeepTheirDocumentAlive) {
    Ref<IXMLDOMNode> feature;
    ASSERT_EQ(Root()->get_firstChild(feature.out()), S_OK);
    Ref<IXMLDOMNode> declaration = Attribute(0);
    document_.Reset(); // the test's reference was the last one but for the nodes'
    EXPECT_EQ(TextOf(feature.get()), "A4 & more");
    EXPECT_EQ(NameOf(declaration.get()), "xmlns:psf");
    Ref<IXMLDOMDocument> owner;
    ASSERT_EQ(feature->get_ownerDocument(owner.out()), S_OK);
    Ref<IXMLDOMElement> root;
    ASSERT_EQ(owner->get_documentElement(root.out()), S_OK);
    EXPECT_EQ(NameOf(root.get()), "psf:PrintCapabilities");
}

TEST_F(DomTreeTest, InterfacesFollowTheNodeKind) {
    Ref<IXMLDOMElement> root = Root();
    Ref<IXMLDOMAttribute> asAttribute;
    EXPECT_EQ(root->QueryInterface(IID_IXMLDOMAttribute, asAttribute.vout()), E_NOINTERFACE);
    EXPECT_FALSE(asAttribute);
    Ref<IUnknown> identity1, identity2;
    Ref<IXMLDOMNode> node;
    ASSERT_EQ(root->QueryInterface(IID_IUnknown, identity1.vout()), S_OK);
    ASSERT_EQ(root->QueryInterface(IID_IXMLDOMNode, node.vout()), S_OK);
    ASSERT_EQ(node->QueryInterface(IID_IUnknown, identity2.vout()), S_OK);
    EXPECT_EQ(identity1.get(), identity2.get());
    Ref<IXMLDOMNode> attribute = Attribute(2);
    EXPECT_EQ(attribute->QueryInterface(IID_IXMLDOMAttribute, asAttribute.vout()), S_OK);
    VARIANT value;
    ASSERT_EQ(asAttribute->get_value(&value), S_OK);
    EXPECT_EQ(Take(value.bstrVal), "1");
    BSTR name = nullptr;
    ASSERT_EQ(asAttribute->get_name(&name), S_OK);
    EXPECT_EQ(Take(name), "version");
}

TEST_F(DomTreeTest, TheDocumentsXmlAndText) {
    EXPECT_EQ(NameOf(document_.get()), "#document");
    EXPECT_EQ(TextOf(document_.get()), "A4 & more");
    ASSERT_EQ(Load("<?xml version=\"1.0\"?><a>x</a>"), S_OK);
    EXPECT_EQ(XmlOf(document_.get()), "<?xml version=\"1.0\"?>\r\n<a>x</a>\r\n");
    ASSERT_EQ(Load("<a> padded </a>"), S_OK);
    EXPECT_EQ(XmlOf(document_.get()), "<a> padded </a>\r\n");
    EXPECT_EQ(TextOf(Root().get()), "padded");
    BSTR type = nullptr;
    ASSERT_EQ(document_->get_nodeTypeString(&type), S_OK);
    EXPECT_EQ(Take(type), "document");
}

TEST_F(DomTreeTest, NullOutPointersAreInvalidArguments) {
    Ref<IXMLDOMElement> root = Root();
    EXPECT_EQ(root->get_nodeName(nullptr), E_INVALIDARG);
    EXPECT_EQ(root->get_childNodes(nullptr), E_INVALIDARG);
    EXPECT_EQ(root->get_attributes(nullptr), E_INVALIDARG);
    EXPECT_EQ(root->getAttribute(nullptr, nullptr), E_INVALIDARG);
    EXPECT_EQ(document_->get_documentElement(nullptr), E_INVALIDARG);
    EXPECT_EQ(root->get_definition(nullptr), E_NOTIMPL);
}
