#pragma once
// One parsed (or built) libxml2 document and the nodes that were taken out of it. Nodes are only
// ever freed with their tree, so a wrapper that holds the tree can never see a freed node.
#include <windows.h>
#include <libxml/tree.h>

#include <memory>
#include <string>
#include <unordered_set>

namespace moltr::msxml {

class DomTree {
public:
    explicit DomTree(xmlDocPtr doc) : doc_(doc) {}
    ~DomTree();
    DomTree(const DomTree&) = delete;
    DomTree& operator=(const DomTree&) = delete;

    xmlDocPtr doc() const { return doc_; }
    // Keeps a node that is (or may become) outside the document, to be freed with the tree when
    // it has no parent then.
    void Adopt(xmlNodePtr node) { loose_.insert(node); }

private:
    xmlDocPtr doc_;
    std::unordered_set<xmlNodePtr> loose_;
};

using TreePtr = std::shared_ptr<DomTree>;

// A node of the DOM: a libxml2 node, or a namespace declaration of an element (libxml2 keeps
// those apart from the attributes; the DOM shows them as "xmlns" attributes).
struct NodeRef {
    xmlNodePtr node = nullptr;
    xmlNsPtr declaration = nullptr;
};

// The node after `node` in a depth-first walk of `root`'s subtree (into `root` and elements
// only), null at the end. Iterative, so a deep tree built through the DOM cannot exhaust the stack.
xmlNodePtr NextInSubtree(xmlNodePtr root, xmlNodePtr node);

// Links `child` (which has no parent) into `parent` before `before`, or last for null. Unlike
// libxml2's own calls this never merges text nodes, which would free a node a wrapper holds.
void LinkChild(xmlNodePtr parent, xmlNodePtr child, xmlNodePtr before);
// Takes a node out of its parent; the tree keeps it.
void Detach(DomTree& tree, xmlNodePtr node);
// Replaces an attribute's value with `value` as plain text.
bool SetAttributeText(xmlAttrPtr attribute, const xmlChar* value);

// Text conversions between wide text and libxml2's UTF-8. Wide text is read up to its NUL, so a
// caller's plain wide string reads as safely as a BSTR.
std::string ToUtf8(const OLECHAR* text);
// E_INVALIDARG for a null `out`, E_OUTOFMEMORY when the BSTR cannot be made.
HRESULT ToBstr(const xmlChar* text, BSTR* out);
HRESULT ToBstr(const std::string& text, BSTR* out);
inline const xmlChar* Xml(const std::string& text) {
    return reinterpret_cast<const xmlChar*>(text.c_str());
}

} // namespace moltr::msxml
