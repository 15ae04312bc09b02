// Node values, texts and their XML: nodeValue, text, xml.
#include "src/msxml/dom_document_object.h"
#include "src/msxml/dom_node.h"

#include <libxml/xmlsave.h>
#include <oleauto.h>

namespace moltr::msxml {
namespace {

bool HoldsChildren(const NodeRef& ref) {
    if (ref.declaration) {
        return false;
    }
    const xmlElementType type = ref.node->type;
    return type == XML_ELEMENT_NODE || type == XML_DOCUMENT_NODE ||
           type == XML_DOCUMENT_FRAG_NODE || type == XML_ENTITY_REF_NODE;
}

std::string Content(const NodeRef& ref) {
    if (ref.declaration) {
        return ref.declaration->href ? reinterpret_cast<const char*>(ref.declaration->href) : "";
    }
    xmlChar* content = xmlNodeGetContent(ref.node);
    std::string text = content ? reinterpret_cast<const char*>(content) : "";
    xmlFree(content);
    return text;
}

bool IsXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string Trimmed(const std::string& text) {
    size_t start = 0;
    size_t end = text.size();
    while (start < end && IsXmlSpace(text[start])) {
        ++start;
    }
    while (end > start && IsXmlSpace(text[end - 1])) {
        --end;
    }
    return text.substr(start, end - start);
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string Dump(xmlNodePtr node) {
    xmlBufferPtr buffer = xmlBufferCreate();
    if (!buffer) {
        return "";
    }
    xmlNodeDump(buffer, node->doc, node, 0, 0);
    std::string text(reinterpret_cast<const char*>(xmlBufferContent(buffer)),
                     static_cast<size_t>(xmlBufferLength(buffer)));
    xmlBufferFree(buffer);
    return text;
}

// The document's XML: the declaration when it had one, then each top-level node on its line.
std::string DocumentXml(xmlDocPtr doc) {
    std::string text = doc->standalone != -1 ? "<?xml version=\"1.0\"?>\r\n" : "";
    for (xmlNodePtr child = doc->children; child; child = child->next) {
        text += Dump(child) + "\r\n";
    }
    return text;
}

std::string NodeXmlText(const NodeRef& ref) {
    if (ref.declaration) {
        return QualifiedName(ref) + "=\"" + Escaped(Content(ref)) + "\"";
    }
    if (ref.node->type == XML_DOCUMENT_NODE) {
        return DocumentXml(reinterpret_cast<xmlDocPtr>(ref.node));
    }
    std::string text = Dump(ref.node);
    if (ref.node->type == XML_ATTRIBUTE_NODE && !text.empty() && text[0] == ' ') {
        text.erase(0, 1); // libxml2 writes an attribute as it sits in its element
    }
    return text;
}

} // namespace

HRESULT NodeValue(const NodeContext& c, VARIANT* value) {
    if (!value) {
        return E_INVALIDARG;
    }
    if (HoldsChildren(c.ref)) {
        value->vt = VT_NULL;
        return S_FALSE;
    }
    value->vt = VT_EMPTY;
    HRESULT hr = ToBstr(Content(c.ref), &value->bstrVal);
    if (SUCCEEDED(hr)) {
        value->vt = VT_BSTR;
    }
    return hr;
}

HRESULT PutNodeValue(const NodeContext& c, const VARIANT& value) {
    if (value.vt != VT_BSTR) {
        return E_INVALIDARG;
    }
    if (HoldsChildren(c.ref) || c.ref.declaration) {
        return E_FAIL;
    }
    const std::string text = ToUtf8(value.bstrVal);
    if (c.ref.node->type == XML_ATTRIBUTE_NODE) {
        return SetAttributeText(reinterpret_cast<xmlAttrPtr>(c.ref.node), Xml(text))
                   ? S_OK
                   : E_OUTOFMEMORY;
    }
    xmlNodeSetContent(c.ref.node, Xml(text));
    return S_OK;
}

HRESULT NodeText(const NodeContext& c, BSTR* text) {
    if (!text) {
        return E_INVALIDARG;
    }
    std::string content = Content(c.ref);
    if (HoldsChildren(c.ref) && !c.document->preserveWhiteSpace()) {
        content = Trimmed(content);
    }
    return ToBstr(content, text);
}

HRESULT PutNodeText(const NodeContext& c, BSTR text) {
    if (c.ref.declaration || c.ref.node->type == XML_DOCUMENT_NODE) {
        return E_FAIL;
    }
    const std::string value = ToUtf8(text);
    if (!HoldsChildren(c.ref)) {
        VARIANT variant;
        variant.vt = VT_BSTR;
        variant.bstrVal = text;
        return PutNodeValue(c, variant);
    }
    xmlNodePtr textNode = xmlNewDocText(c.tree->doc(), Xml(value));
    if (!textNode) {
        return E_OUTOFMEMORY;
    }
    while (xmlNodePtr child = c.ref.node->children) {
        Detach(*c.tree, child);
    }
    LinkChild(c.ref.node, textNode, nullptr);
    return S_OK;
}

HRESULT NodeXml(const NodeContext& c, BSTR* xml) {
    return ToBstr(NodeXmlText(c.ref), xml);
}

} // namespace moltr::msxml
