// Node names, prefixes, namespaces and types as the DOM reports them.
#include "src/msxml/dom_node.h"

namespace moltr::msxml {
namespace {

constexpr const char* kXmlnsUri = "http://www.w3.org/2000/xmlns/";

std::string Text(const xmlChar* text) {
    return text ? reinterpret_cast<const char*>(text) : "";
}

bool IsNamed(const xmlNode* node) {
    return node->type == XML_ELEMENT_NODE || node->type == XML_ATTRIBUTE_NODE;
}

// A name made without a namespace (createElement("p:name")) keeps its prefix in the name.
size_t ColonOf(const xmlNode* node) {
    return Text(node->name).find(':');
}

struct TypeRow {
    xmlElementType type;
    const char* fixedName; // null: the node's own name
    const char* typeString;
};

// libxml2's node types 1-12 are the DOM's; the fixed names and type strings of each.
constexpr TypeRow kTypes[] = {
    {XML_ELEMENT_NODE, nullptr, "element"},
    {XML_ATTRIBUTE_NODE, nullptr, "attribute"},
    {XML_TEXT_NODE, "#text", "text"},
    {XML_CDATA_SECTION_NODE, "#cdata-section", "cdatasection"},
    {XML_ENTITY_REF_NODE, nullptr, "entityreference"},
    {XML_ENTITY_NODE, nullptr, "entity"},
    {XML_PI_NODE, nullptr, "processinginstruction"},
    {XML_COMMENT_NODE, "#comment", "comment"},
    {XML_DOCUMENT_NODE, "#document", "document"},
    {XML_DOCUMENT_TYPE_NODE, nullptr, "documenttype"},
    {XML_DOCUMENT_FRAG_NODE, "#document-fragment", "documentfragment"},
    {XML_NOTATION_NODE, nullptr, "notation"},
};

const TypeRow* RowOf(const NodeRef& ref) {
    const xmlElementType type = ref.declaration ? XML_ATTRIBUTE_NODE : ref.node->type;
    for (const TypeRow& row : kTypes) {
        if (row.type == type) {
            return &row;
        }
    }
    return nullptr;
}

} // namespace

std::string QualifiedName(const NodeRef& ref) {
    if (ref.declaration) {
        return ref.declaration->prefix ? "xmlns:" + Text(ref.declaration->prefix) : "xmlns";
    }
    const TypeRow* row = RowOf(ref);
    if (row && row->fixedName) {
        return row->fixedName;
    }
    const xmlNode* node = ref.node;
    if (IsNamed(node) && node->ns && node->ns->prefix) {
        return Text(node->ns->prefix) + ":" + Text(node->name);
    }
    return Text(node->name);
}

std::string Prefix(const NodeRef& ref) {
    if (ref.declaration) {
        return ref.declaration->prefix ? "xmlns" : "";
    }
    const xmlNode* node = ref.node;
    if (!IsNamed(node)) {
        return "";
    }
    if (node->ns) {
        return Text(node->ns->prefix);
    }
    const size_t colon = ColonOf(node);
    return colon == std::string::npos ? "" : Text(node->name).substr(0, colon);
}

std::string BaseName(const NodeRef& ref) {
    if (ref.declaration) {
        return ref.declaration->prefix ? Text(ref.declaration->prefix) : "xmlns";
    }
    const xmlNode* node = ref.node;
    if (!IsNamed(node) && node->type != XML_PI_NODE && node->type != XML_ENTITY_REF_NODE) {
        return "";
    }
    const size_t colon = node->ns || !IsNamed(node) ? std::string::npos : ColonOf(node);
    return colon == std::string::npos ? Text(node->name) : Text(node->name).substr(colon + 1);
}

std::string NamespaceUri(const NodeRef& ref) {
    if (ref.declaration) {
        return kXmlnsUri;
    }
    return IsNamed(ref.node) && ref.node->ns ? Text(ref.node->ns->href) : "";
}

DOMNodeType NodeType(const NodeRef& ref) {
    const TypeRow* row = RowOf(ref);
    return row ? static_cast<DOMNodeType>(row->type) : NODE_INVALID;
}

HRESULT NodeTypeString(const NodeRef& ref, BSTR* out) {
    const TypeRow* row = RowOf(ref);
    return ToBstr(std::string(row ? row->typeString : ""), out);
}

HRESULT NameOut(const std::string& name, BSTR* out) {
    if (!out) {
        return E_INVALIDARG;
    }
    if (name.empty()) {
        *out = nullptr;
        return S_FALSE;
    }
    return ToBstr(name, out);
}

} // namespace moltr::msxml
