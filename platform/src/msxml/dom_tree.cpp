// Freeing a tree with its loose nodes, and the text conversions of the DOM.
#include "src/msxml/dom_tree.h"
#include "sim/utf.h"

#include <oleauto.h>
#include <vector>

namespace moltr::msxml {

DomTree::~DomTree() {
    // Parents are looked at before anything is freed: a loose node may sit in another one.
    std::vector<xmlNodePtr> roots;
    for (xmlNodePtr node : loose_) {
        if (!node->parent) {
            roots.push_back(node); // the others are back in a tree, which frees them
        }
    }
    for (xmlNodePtr node : roots) {
        if (node->type == XML_ATTRIBUTE_NODE) {
            xmlFreeProp(reinterpret_cast<xmlAttrPtr>(node));
        } else {
            xmlFreeNode(node);
        }
    }
    xmlFreeDoc(doc_);
}

xmlNodePtr NextInSubtree(xmlNodePtr root, xmlNodePtr node) {
    if (node->children && (node == root || node->type == XML_ELEMENT_NODE)) {
        return node->children;
    }
    while (node != root && !node->next) {
        node = node->parent;
    }
    return node == root ? nullptr : node->next;
}

void LinkChild(xmlNodePtr parent, xmlNodePtr child, xmlNodePtr before) {
    child->parent = parent;
    child->doc = parent->doc;
    child->next = before;
    child->prev = before ? before->prev : parent->last;
    if (child->prev) {
        child->prev->next = child;
    } else {
        parent->children = child;
    }
    if (before) {
        before->prev = child;
    } else {
        parent->last = child;
    }
}

void Detach(DomTree& tree, xmlNodePtr node) {
    xmlUnlinkNode(node);
    tree.Adopt(node);
}

bool SetAttributeText(xmlAttrPtr attribute, const xmlChar* value) {
    xmlNodePtr text = xmlNewDocText(attribute->doc, value);
    if (!text) {
        return false;
    }
    xmlFreeNodeList(attribute->children);
    attribute->children = nullptr;
    attribute->last = nullptr;
    LinkChild(reinterpret_cast<xmlNodePtr>(attribute), text, nullptr);
    return true;
}

std::string ToUtf8(const OLECHAR* text) {
    return text ? sim::Utf8(text) : std::string();
}

HRESULT ToBstr(const std::string& text, BSTR* out) {
    if (!out) {
        return E_INVALIDARG;
    }
    std::u16string wide = sim::Utf16(text);
    *out = SysAllocStringLen(sim::W(wide), static_cast<UINT>(wide.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT ToBstr(const xmlChar* text, BSTR* out) {
    return ToBstr(std::string(text ? reinterpret_cast<const char*>(text) : ""), out);
}

} // namespace moltr::msxml
