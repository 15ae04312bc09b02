// selectNodes and selectSingleNode: XPath with the prefixes of "SelectionNamespaces".
#include "dom_test_document.h"

using moltr::test::Bstr;
using moltr::test::DomTest;
using moltr::test::Ref;
using moltr::test::Take;
using moltr::test::Text;

namespace {

constexpr const char* kTicket =
    "<psf:PrintTicket xmlns:psf=\"urn:framework\" xmlns:psk=\"urn:keywords\">"
    "<psf:Feature name=\"psk:PageMediaSize\"><psf:Option name=\"psk:ISOA4\"/></psf:Feature>"
    "<psf:Feature name=\"psk:JobDuplexAllDocumentsContiguously\">"
    "<psf:Option name=\"psk:OneSided\"/></psf:Feature>"
    "</psf:PrintTicket>";

class DomSelectTest : public DomTest {
protected:
    void SetUp() override {
        DomTest::SetUp();
        ASSERT_EQ(Load(kTicket), S_OK);
        ASSERT_EQ(document_->setProperty(Bstr("SelectionNamespaces"),
                                         Text(Bstr("xmlns:f='urn:framework' "
                                                   "xmlns:k=\"urn:keywords\""))),
                  S_OK);
    }

    LONG Count(IXMLDOMNode* from, const char* query) {
        Ref<IXMLDOMNodeList> list;
        EXPECT_EQ(from->selectNodes(Bstr(query), list.out()), S_OK) << query;
        LONG length = -1;
        if (list) {
            list->get_length(&length);
        }
        return length;
    }
};

} // namespace

TEST_F(DomSelectTest, QueriesUseTheSelectionPrefixesNotTheDocuments) {
    EXPECT_EQ(Count(document_.get(), "/f:PrintTicket/f:Feature"), 2);
    EXPECT_EQ(Count(document_.get(), "//f:Option[@name='psk:OneSided']"), 1);
    EXPECT_EQ(Count(document_.get(), "//Feature"), 0); // no namespace: nothing
    Ref<IXMLDOMNodeList> list;
    EXPECT_EQ(document_->selectNodes(Bstr("//psf:Feature"), list.out()), E_FAIL); // unbound
    EXPECT_FALSE(list);
}

TEST_F(DomSelectTest, QueriesRunFromTheNodeTheyAreAskedOf) {
    Ref<IXMLDOMNode> feature;
    ASSERT_EQ(document_->selectSingleNode(Bstr("//f:Feature[2]"), feature.out()), S_OK);
    EXPECT_EQ(Count(feature.get(), "f:Option"), 1);
    Ref<IXMLDOMNode> option;
    ASSERT_EQ(feature->selectSingleNode(Bstr("f:Option/@name"), option.out()), S_OK);
    EXPECT_EQ(TextOf(option.get()), "psk:OneSided");
    EXPECT_EQ(feature->selectSingleNode(Bstr("f:Missing"), option.out()), S_FALSE);
    EXPECT_FALSE(option);
}

TEST_F(DomSelectTest, ResultListsWalkWithNextNodeAndReset) {
    Ref<IXMLDOMNodeList> list;
    ASSERT_EQ(document_->selectNodes(Bstr("//f:Option"), list.out()), S_OK);
    Ref<IXMLDOMNode> node;
    int seen = 0;
    while (list->nextNode(node.out()) == S_OK) {
        ++seen;
    }
    EXPECT_EQ(seen, 2);
    ASSERT_EQ(list->reset(), S_OK);
    ASSERT_EQ(list->nextNode(node.out()), S_OK);
    EXPECT_EQ(NameOf(node.get()), "psf:Option");
    EXPECT_EQ(list->get_item(2, node.out()), S_FALSE);
}

TEST_F(DomSelectTest, BadQueriesAndPropertiesAreRefused) {
    Ref<IXMLDOMNodeList> list;
    EXPECT_EQ(document_->selectNodes(Bstr("//f:Feature["), list.out()), E_FAIL);
    EXPECT_EQ(document_->selectNodes(Bstr("count(//f:Feature)"), list.out()), E_FAIL);
    EXPECT_EQ(document_->selectNodes(nullptr, list.out()), E_INVALIDARG);
    EXPECT_EQ(document_->setProperty(Bstr("SelectionNamespaces"), Text(Bstr("xmlns:a=urn"))),
              E_FAIL);
    EXPECT_EQ(document_->setProperty(Bstr("SelectionLanguage"), Text(Bstr("XPath"))), S_OK);
    EXPECT_EQ(document_->setProperty(Bstr("SelectionLanguage"), Text(Bstr("XSLPattern"))),
              E_NOTIMPL);
    EXPECT_EQ(document_->setProperty(Bstr("NoSuchProperty"), Text(Bstr("x"))), E_INVALIDARG);
    VARIANT no;
    no.vt = VT_BOOL;
    no.boolVal = VARIANT_FALSE;
    EXPECT_EQ(document_->setProperty(Bstr("ProhibitDTD"), no), E_NOTIMPL);
    // The refused setting kept the earlier one.
    VARIANT value;
    ASSERT_EQ(document_->getProperty(Bstr("SelectionNamespaces"), &value), S_OK);
    EXPECT_EQ(Take(value.bstrVal), "xmlns:f='urn:framework' xmlns:k=\"urn:keywords\"");
    EXPECT_EQ(Count(document_.get(), "//k:x | //f:Option"), 2);
}
