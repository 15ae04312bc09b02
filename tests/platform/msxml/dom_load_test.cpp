// Loading documents: loadXML and load, their answers and parse errors, and the refusal of
// hostile documents.
#include "dom_test_document.h"

#include "sim/machine.h"

#include <fstream>

using moltr::test::Bstr;
using moltr::test::DomTest;
using moltr::test::Ref;
using moltr::test::Take;

namespace {

constexpr const char* kTicket =
    "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"
    "<psf:PrintTicket xmlns:psf=\"http://schemas.microsoft.com/windows/2003/08/printing/"
    "printschemaframework\" version=\"1\">\n"
    "  <psf:Feature name=\"psk:PageMediaSize\"/>\n"
    "</psf:PrintTicket>\n";

struct ErrorSeen {
    LONG code = 0;
    std::string reason;
    LONG line = 0;
};

class DomLoadTest : public DomTest {
protected:
    ErrorSeen LastError() {
        Ref<IXMLDOMParseError> error;
        EXPECT_EQ(document_->get_parseError(error.out()), S_OK);
        ErrorSeen seen;
        error->get_errorCode(&seen.code);
        BSTR reason = nullptr;
        error->get_reason(&reason);
        seen.reason = Take(reason);
        error->get_line(&seen.line);
        return seen;
    }

    // The load fails with S_FALSE, leaves an empty document and reports why.
    void ExpectRefused(const std::string& xml, const char* reasonPart) {
        VARIANT_BOOL ok = VARIANT_TRUE;
        EXPECT_EQ(Load(xml.c_str(), &ok), S_FALSE) << xml.substr(0, 60);
        EXPECT_EQ(ok, VARIANT_FALSE);
        Ref<IXMLDOMElement> root;
        EXPECT_EQ(document_->get_documentElement(root.out()), S_FALSE);
        EXPECT_FALSE(root);
        ErrorSeen error = LastError();
        EXPECT_NE(error.code, 0);
        EXPECT_NE(error.reason.find(reasonPart), std::string::npos) << error.reason;
    }
};

} // namespace

TEST_F(DomLoadTest, AValidTicketLoadsWhateverEncodingItsDeclarationNames) {
    VARIANT_BOOL ok = VARIANT_FALSE;
    ASSERT_EQ(Load(kTicket, &ok), S_OK);
    EXPECT_EQ(ok, VARIANT_TRUE);
    EXPECT_EQ(NameOf(Root().get()), "psf:PrintTicket");
    // No error to report: S_FALSE with zero.
    Ref<IXMLDOMParseError> error;
    ASSERT_EQ(document_->get_parseError(error.out()), S_OK);
    LONG code = -1;
    EXPECT_EQ(error->get_errorCode(&code), S_FALSE);
    EXPECT_EQ(code, 0);
}

TEST_F(DomLoadTest, BlankTextBetweenElementsIsDroppedUnlessPreserved) {
    ASSERT_EQ(Load("<a>\n  <b/>\n</a>"), S_OK);
    Ref<IXMLDOMNodeList> children;
    ASSERT_EQ(Root()->get_childNodes(children.out()), S_OK);
    LONG length = 0;
    children->get_length(&length);
    EXPECT_EQ(length, 1);

    ASSERT_EQ(document_->put_preserveWhiteSpace(VARIANT_TRUE), S_OK);
    ASSERT_EQ(Load("<a>\n  <b/>\n</a>"), S_OK);
    ASSERT_EQ(Root()->get_childNodes(children.out()), S_OK);
    children->get_length(&length);
    EXPECT_EQ(length, 3);
}

TEST_F(DomLoadTest, MalformedDocumentsAnswerSFalseWithTheReason) {
    ExpectRefused("", "top level element");
    EXPECT_EQ(LastError().code, static_cast<LONG>(0xC00CE558));
    ExpectRefused("<a><b></a>", "mismatch");
    EXPECT_EQ(LastError().code, static_cast<LONG>(0xC00CE56D));
    ExpectRefused("<a/><b/>", "Extra content");
    EXPECT_EQ(LastError().code, static_cast<LONG>(0xC00CE556));
    ExpectRefused("<a>\n<psk:b/></a>", "psk");
    EXPECT_EQ(LastError().line, 2);
}

TEST_F(DomLoadTest, AFailedLoadReplacesTheEarlierDocumentButKeepsItsNodesAlive) {
    ASSERT_EQ(Load("<kept>text</kept>"), S_OK);
    Ref<IXMLDOMElement> old = Root();
    ASSERT_EQ(Load("<broken"), S_FALSE);
    EXPECT_EQ(TextOf(old.get()), "text");
    Ref<IXMLDOMDocument> owner;
    ASSERT_EQ(old->get_ownerDocument(owner.out()), S_OK);
    EXPECT_EQ(static_cast<IUnknown*>(owner.get()), static_cast<IUnknown*>(document_.get()));
}

TEST_F(DomLoadTest, DoctypesAreRefusedSoEntitiesCannotExpand) {
    // The billion laughs: refused at its DOCTYPE, before any entity is declared.
    std::string laughs = "<!DOCTYPE lolz [<!ENTITY lol \"lol\">";
    for (int i = 1; i < 10; ++i) {
        laughs += "<!ENTITY lol" + std::to_string(i) + " \"";
        for (int j = 0; j < 10; ++j) {
            laughs += "&lol" + (i == 1 ? std::string() : std::to_string(i - 1)) + ";";
        }
        laughs += "\">";
    }
    laughs += "]><lolz>&lol9;</lolz>";
    ExpectRefused(laughs, "DTD is prohibited");
    ExpectRefused("<!DOCTYPE a SYSTEM \"http://example.invalid/a.dtd\"><a/>", "DTD is prohibited");
    ExpectRefused("<!DOCTYPE a [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><a>&x;</a>",
                  "DTD is prohibited");
    // An undeclared entity is an error, not an empty text.
    ExpectRefused("<a>&undeclared;</a>", "undeclared");
}

TEST_F(DomLoadTest, DeepNestingAndHugeAttributesAreRefused) {
    std::string deep;
    for (int i = 0; i < 300; ++i) {
        deep += "<d>";
    }
    for (int i = 0; i < 300; ++i) {
        deep += "</d>";
    }
    ExpectRefused(deep, "depth");
    ExpectRefused("<a v=\"" + std::string(70000, 'x') + "\"/>", "too long");
    // Near the limits is fine.
    ASSERT_EQ(Load(("<a v=\"" + std::string(60000, 'x') + "\"/>").c_str()), S_OK);
}

TEST_F(DomLoadTest, LoadReadsAFileOfTheMachine) {
    moltr::sim::TestMachine machine;
    const std::string host = machine.root() + "/c/Windows/Temp/ticket.xml";
    std::ofstream(host, std::ios::binary) << "\xEF\xBB\xBF"
                                          << "<t a=\"\xC3\xA9\"/>";
    Bstr path("C:\\Windows\\Temp\\ticket.xml");
    VARIANT source = moltr::test::Text(path);
    VARIANT_BOOL ok = VARIANT_FALSE;
    ASSERT_EQ(document_->load(source, &ok), S_OK) << LastError().reason;
    EXPECT_EQ(ok, VARIANT_TRUE);
    VARIANT value;
    ASSERT_EQ(Root()->getAttribute(Bstr("a"), &value), S_OK);
    EXPECT_EQ(Take(value.bstrVal), "\xC3\xA9");
    BSTR url = nullptr;
    ASSERT_EQ(document_->get_url(&url), S_OK);
    EXPECT_EQ(Take(url), "C:\\Windows\\Temp\\ticket.xml");
}

TEST_F(DomLoadTest, LoadOfAMissingFileOrAUrlFindsNothing) {
    moltr::sim::TestMachine machine;
    for (const char* source : {"C:\\Windows\\Temp\\missing.xml", "http://example.invalid/t.xml"}) {
        Bstr text(source);
        VARIANT path = moltr::test::Text(text);
        VARIANT_BOOL ok = VARIANT_TRUE;
        EXPECT_EQ(document_->load(path, &ok), S_FALSE) << source;
        EXPECT_EQ(ok, VARIANT_FALSE);
        EXPECT_EQ(LastError().code, static_cast<LONG>(INET_E_OBJECT_NOT_FOUND));
    }
    VARIANT number;
    number.vt = VT_I4;
    number.lVal = 1;
    EXPECT_EQ(document_->load(number, nullptr), E_INVALIDARG);
}

TEST_F(DomLoadTest, SettingsAreKeptAndLoadingIsSynchronous) {
    VARIANT_BOOL flag = VARIANT_FALSE;
    EXPECT_EQ(document_->get_async(&flag), S_OK);
    EXPECT_EQ(flag, VARIANT_TRUE);
    EXPECT_EQ(document_->put_async(VARIANT_FALSE), S_OK);
    EXPECT_EQ(document_->get_async(&flag), S_OK);
    EXPECT_EQ(flag, VARIANT_FALSE);
    EXPECT_EQ(document_->put_validateOnParse(VARIANT_FALSE), S_OK);
    EXPECT_EQ(document_->get_validateOnParse(&flag), S_OK);
    EXPECT_EQ(flag, VARIANT_FALSE);
    EXPECT_EQ(document_->put_resolveExternals(VARIANT_TRUE), S_OK);
    EXPECT_EQ(document_->get_resolveExternals(&flag), S_OK);
    EXPECT_EQ(flag, VARIANT_TRUE);
    // Even when told to resolve externals, a DTD is refused.
    VARIANT_BOOL ok = VARIANT_TRUE;
    EXPECT_EQ(Load("<!DOCTYPE a SYSTEM \"a.dtd\"><a/>", &ok), S_FALSE);
    LONG state = 0;
    EXPECT_EQ(document_->get_readyState(&state), S_OK);
    EXPECT_EQ(state, 4);
}
