#include "moltr/ticket_command.h"

#include <windows.h>
#include <msxml2.h>
#include <oleauto.h>
#include <cstdio>
#include <fstream>
#include <iterator>
#include "moltr/command_line.h"
#include "moltr/json_value.h"
#include "moltr/named_printer.h"
#include "sim/debug_log.h"
#include "sim/utf.h"
#include "src/unidrv/ui_ticket_provider.h"

namespace moltr::tool {
namespace {

constexpr char kUsage[] = "usage: moltr ticket PRINTER FILE.xml [--json]";

std::string HResultText(HRESULT result) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(result));
    return text;
}

// The document of the host file `path`, parsed by the machine's XML DOM; null with `error` set.
IXMLDOMDocument2* LoadDocument(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return nullptr;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    IXMLDOMDocument2* document = nullptr;
    if (FAILED(CoCreateInstance(CLSID_DOMDocument60, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IXMLDOMDocument2, reinterpret_cast<void**>(&document)))) {
        error = "the machine has no XML document object";
        return nullptr;
    }
    std::u16string text = sim::Utf16(bytes);
    BSTR xml = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                 static_cast<UINT>(text.size()));
    VARIANT_BOOL loaded = VARIANT_FALSE;
    HRESULT result = xml ? document->loadXML(xml, &loaded) : E_OUTOFMEMORY;
    SysFreeString(xml);
    if (result != S_OK || loaded != VARIANT_TRUE) {
        document->Release();
        error = path + " is not a well-formed XML document";
        return nullptr;
    }
    return document;
}

// The debug log's lines written after its first `from` bytes, each without its line end.
JsonValue NewDebugLines(size_t from) {
    std::string log = sim::ReadDebugLog();
    JsonValue lines = JsonValue::Array();
    size_t at = std::min(from, log.size());
    while (at < log.size()) {
        size_t end = log.find('\n', at);
        end = end == std::string::npos ? log.size() : end;
        std::string line = log.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.Add(JsonValue::String(line));
        at = end + 1;
    }
    return lines;
}

} // namespace

int RunTicket(const std::vector<std::string>& args) {
    std::vector<std::string> words;
    bool json = false;
    if (!ParseWordsAndJson(args, 2, words, json)) {
        return Fail(kUsage);
    }
    if (words.size() != 2) {
        return Fail(kUsage);
    }
    NamedPrinter printer;
    std::string error = printer.Open(words[0]);
    if (!error.empty()) {
        return Fail(error);
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IXMLDOMDocument2* document = LoadDocument(words[1], error);
    unidrv::UiTicketProvider provider;
    HRESULT loaded = document ? provider.Load(printer.handle()) : E_FAIL;
    if (document && FAILED(loaded)) {
        error = "the printer's driver has no print-ticket provider (" + HResultText(loaded) + ")";
    }
    if (!error.empty()) {
        if (document) {
            document->Release();
        }
        CoUninitialize();
        return Fail(error);
    }
    size_t logged = sim::ReadDebugLog().size();
    HRESULT complete = provider.CompletePrintCapabilities(nullptr, document);
    HRESULT validate = provider.ValidatePrintTicket(document);
    document->Release();
    JsonValue value = JsonValue::Object();
    value.Add("complete", JsonValue::String(HResultText(complete)));
    value.Add("validate", JsonValue::String(HResultText(validate)));
    value.Add("dump", NewDebugLines(logged));
    CoUninitialize();
    if (json) {
        std::printf("%s\n", value.Serialize().c_str());
        return 0;
    }
    std::printf("complete: %s\nvalidate: %s\n", HResultText(complete).c_str(),
                HResultText(validate).c_str());
    for (const JsonValue& line : value.members()[2].second.elements()) {
        std::printf("%s\n", line.text().c_str());
    }
    return 0;
}

} // namespace moltr::tool
