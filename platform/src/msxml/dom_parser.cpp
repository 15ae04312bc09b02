// Parsing with libxml2 behind the checks that keep hostile documents from being followed.
#include "src/msxml/dom_parser.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/SAX2.h>

#include <memory>

namespace moltr::msxml {
namespace {

// Print tickets and capabilities are a few hundred kilobytes at most; these bounds leave room
// for far larger documents while keeping a hostile one from costing much.
constexpr size_t kMaxDocumentBytes = 32u << 20;
constexpr ptrdiff_t kMaxAttributeBytes = 64 << 10;

constexpr const char* kNoRootReason = "XML document must have a top level element.";

// The error codes the DOM reports for libxml2's most common faults; any other fault reports
// E_FAIL with libxml2's reason.
struct ErrorCodeRow {
    int libxmlCode;
    HRESULT domCode;
};
constexpr ErrorCodeRow kErrorCodes[] = {
    {XML_ERR_DOCUMENT_EMPTY, static_cast<HRESULT>(0xC00CE558)},    // no top-level element
    {XML_ERR_DOCUMENT_END, static_cast<HRESULT>(0xC00CE556)},      // invalid at the top level
    {XML_ERR_TAG_NAME_MISMATCH, static_cast<HRESULT>(0xC00CE56D)}, // end tag mismatch
};

HRESULT DomCode(int libxmlCode) {
    for (const ErrorCodeRow& row : kErrorCodes) {
        if (row.libxmlCode == libxmlCode) {
            return row.domCode;
        }
    }
    return E_FAIL;
}

struct ParseState {
    ParseOutcome outcome;
    bool refused = false; // stopped by a check of ours
};

ParseState& StateOf(void* parserContext) {
    return *static_cast<ParseState*>(static_cast<xmlParserCtxtPtr>(parserContext)->_private);
}

void Refuse(void* parserContext, const char* reason) {
    auto* ctxt = static_cast<xmlParserCtxtPtr>(parserContext);
    ParseState& state = StateOf(ctxt);
    if (!state.refused && state.outcome.errorCode == 0) {
        state.outcome.errorCode = E_FAIL;
        state.outcome.reason = reason;
        state.outcome.line = xmlSAX2GetLineNumber(ctxt);
        state.outcome.linePosition = xmlSAX2GetColumnNumber(ctxt);
        state.outcome.filePosition = static_cast<LONG>(xmlByteConsumed(ctxt));
    }
    state.refused = true;
    xmlStopParser(ctxt);
}

// Any DOCTYPE: the internal subset is where entities (and their expansion) would come from.
void RefuseDoctype(void* parserContext, const xmlChar*, const xmlChar*, const xmlChar*) {
    Refuse(parserContext, "DTD is prohibited.");
}

void CheckedStartElement(void* parserContext, const xmlChar* localname, const xmlChar* prefix,
                         const xmlChar* uri, int nbNamespaces, const xmlChar** namespaces,
                         int nbAttributes, int nbDefaulted, const xmlChar** attributes) {
    // Five pointers per attribute: local name, prefix, URI, value start, value end.
    for (int i = 0; i < nbAttributes; ++i) {
        if (attributes[i * 5 + 4] - attributes[i * 5 + 3] > kMaxAttributeBytes) {
            Refuse(parserContext, "Attribute value is too long.");
            return;
        }
    }
    xmlSAX2StartElementNs(parserContext, localname, prefix, uri, nbNamespaces, namespaces,
                          nbAttributes, nbDefaulted, attributes);
}

// The first error is the one reported; libxml2's own output is not wanted.
void KeepFirstError(void* parserContext, xmlErrorPtr error) {
    if (!error || error->level < XML_ERR_ERROR) {
        return;
    }
    ParseState& state = StateOf(parserContext);
    if (state.outcome.errorCode != 0) {
        return;
    }
    state.outcome.errorCode = DomCode(error->code);
    state.outcome.reason = error->message ? error->message : "";
    while (!state.outcome.reason.empty() && state.outcome.reason.back() == '\n') {
        state.outcome.reason.pop_back();
    }
    state.outcome.line = error->line;
    state.outcome.linePosition = error->int2;
    state.outcome.filePosition =
        static_cast<LONG>(xmlByteConsumed(static_cast<xmlParserCtxtPtr>(parserContext)));
}

int OptionsFor(TextSource source, bool preserveWhiteSpace) {
    // Deliberately without XML_PARSE_NOENT, XML_PARSE_DTDLOAD and XML_PARSE_HUGE.
    int options = XML_PARSE_NONET | XML_PARSE_NOXINCNODE;
    if (source == TextSource::kUnicode) {
        options |= XML_PARSE_IGNORE_ENC;
    }
    if (!preserveWhiteSpace) {
        options |= XML_PARSE_NOBLANKS;
    }
    return options;
}

struct ContextDeleter {
    void operator()(xmlParserCtxtPtr ctxt) const {
        xmlFreeDoc(ctxt->myDoc);
        xmlFreeParserCtxt(ctxt);
    }
};

} // namespace

ParseOutcome ParseDocument(std::string_view text, TextSource source, bool preserveWhiteSpace) {
    ParseState state;
    if (text.size() > kMaxDocumentBytes) {
        state.outcome.errorCode = E_FAIL;
        state.outcome.reason = "The document is too large.";
        return state.outcome;
    }
    if (text.empty()) {
        state.outcome.errorCode = DomCode(XML_ERR_DOCUMENT_EMPTY);
        state.outcome.reason = kNoRootReason;
        return state.outcome;
    }
    std::unique_ptr<xmlParserCtxt, ContextDeleter> ctxt(
        xmlCreateMemoryParserCtxt(text.data(), static_cast<int>(text.size())));
    if (!ctxt) {
        state.outcome.errorCode = E_OUTOFMEMORY;
        state.outcome.reason = "Out of memory.";
        return state.outcome;
    }
    xmlCtxtUseOptions(ctxt.get(), OptionsFor(source, preserveWhiteSpace));
    if (source == TextSource::kUnicode) {
        xmlSwitchEncoding(ctxt.get(), XML_CHAR_ENCODING_UTF8);
    }
    ctxt->_private = &state;
    ctxt->sax->internalSubset = RefuseDoctype;
    ctxt->sax->startElementNs = CheckedStartElement;
    ctxt->sax->serror = KeepFirstError;
    xmlParseDocument(ctxt.get());
    const bool ok = !state.refused && ctxt->wellFormed && ctxt->nsWellFormed && ctxt->myDoc &&
                    xmlDocGetRootElement(ctxt->myDoc);
    if (ok) {
        state.outcome.doc = ctxt->myDoc;
        ctxt->myDoc = nullptr;
        state.outcome.errorCode = 0;
        state.outcome.reason.clear();
    } else if (state.outcome.errorCode == 0) {
        state.outcome.errorCode = DomCode(XML_ERR_DOCUMENT_EMPTY);
        state.outcome.reason = kNoRootReason;
    }
    return state.outcome;
}

ParseOutcome MissingResource(const std::string& url) {
    ParseOutcome outcome;
    outcome.errorCode = INET_E_OBJECT_NOT_FOUND;
    outcome.reason = "The system cannot locate the object specified.";
    outcome.srcText = url;
    return outcome;
}

} // namespace moltr::msxml
