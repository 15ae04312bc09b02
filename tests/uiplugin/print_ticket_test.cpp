// Print-capabilities documents and tickets through the universal driver's print-ticket side and
// the provider of MOLTRUIP: the four schema prefixes the root must declare, and the debugger dump
// of a complete document.
#include <windows.h>
#include <msxml2.h>
#include <oleauto.h>
#include <gtest/gtest.h>
#include <fstream>
#include <iterator>
#include <string>
#include "sim/debug_log.h"
#include "src/unidrv/ui_ticket_provider.h"
#include "uiplugin/ui_printer.h"

namespace moltr::test {
namespace {

std::string TicketFile(const char* name) {
    std::ifstream in(std::string(MOLTR_SOURCE_DIR) + "/tests/uiplugin/tickets/" + name,
                     std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

class PrintTicketTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
        ASSERT_EQ(provider_.Load(printer_.handle()), S_OK);
    }
    void TearDown() override {
        if (document_ != nullptr) {
            document_->Release();
        }
        CoUninitialize();
    }
    IXMLDOMDocument2* Parse(const std::string& utf8) {
        EXPECT_EQ(CoCreateInstance(CLSID_DOMDocument60, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IXMLDOMDocument2, reinterpret_cast<void**>(&document_)),
                  S_OK);
        std::u16string text = sim::Utf16(utf8);
        BSTR xml = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                     static_cast<UINT>(text.size()));
        VARIANT_BOOL loaded = VARIANT_FALSE;
        EXPECT_EQ(document_->loadXML(xml, &loaded), S_OK);
        SysFreeString(xml);
        return document_;
    }

    UiPrinter printer_;
    unidrv::UiTicketProvider provider_;
    IXMLDOMDocument2* document_ = nullptr;
};

TEST_F(PrintTicketTest, ACompleteCapabilitiesDocumentIsDumpedDepthFirst) {
    ASSERT_TRUE(sim::ClearDebugLog());
    IXMLDOMDocument2* document = Parse(TicketFile("capabilities.xml"));
    EXPECT_EQ(provider_.CompletePrintCapabilities(nullptr, document), S_OK);
    std::string log = sim::ReadDebugLog();
    EXPECT_EQ(log.rfind("Element: psf:PrintCapabilities\n", 0), 0u) << log;
    EXPECT_NE(
        log.find("Attribute: xmlns:psk - "
                 "http://schemas.microsoft.com/windows/2003/08/printing/printschemakeywords\n"),
        std::string::npos);
    EXPECT_NE(log.find("\n Element: psf:Feature\n Attribute: name - psk:PageMediaSize\n"),
              std::string::npos);
    EXPECT_NE(log.find("\n  Element: psf:Option\n  Attribute: name - psk:ISOA4\n   Text: A4\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(provider_.ValidatePrintTicket(document), S_NO_CONFLICT);
}

TEST_F(PrintTicketTest, ARootWithoutTheKeywordsPrefixIsAbortedWithoutADump) {
    ASSERT_TRUE(sim::ClearDebugLog());
    IXMLDOMDocument2* document = Parse(TicketFile("no_keywords_prefix.xml"));
    EXPECT_EQ(provider_.CompletePrintCapabilities(nullptr, document), E_ABORT);
    EXPECT_EQ(sim::ReadDebugLog(), "");
}

TEST_F(PrintTicketTest, APrintTicketRootCountsAndAnyOtherRootIsAborted) {
    std::string ticket = TicketFile("capabilities.xml");
    for (size_t at; (at = ticket.find("PrintCapabilities")) != std::string::npos;) {
        ticket.replace(at, 17, "PrintTicket");
    }
    EXPECT_EQ(provider_.CompletePrintCapabilities(nullptr, Parse(ticket)), S_OK);
    document_->Release();
    document_ = nullptr;
    std::string other = TicketFile("capabilities.xml");
    for (size_t at; (at = other.find("PrintCapabilities")) != std::string::npos;) {
        other.replace(at, 17, "Capabilities");
    }
    EXPECT_EQ(provider_.CompletePrintCapabilities(nullptr, Parse(other)), E_ABORT);
}

} // namespace
} // namespace moltr::test
