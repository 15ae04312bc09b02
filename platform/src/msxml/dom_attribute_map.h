#pragma once
// IXMLDOMNamedNodeMap over an element's attributes: its namespace declarations first, then its
// other attributes, each in document order. The map follows later changes to the element.
#include "src/msxml/dom_node.h"

#include <vector>

namespace moltr::msxml {

HRESULT CreateAttributeMap(const NodeContext& element, IXMLDOMNamedNodeMap** out);

// The attributes as the map lists them.
std::vector<NodeRef> AttributesOf(xmlNodePtr element);
// The attribute (or declaration) of that qualified name; an empty ref when there is none.
NodeRef FindAttribute(xmlNodePtr element, const std::string& name);

} // namespace moltr::msxml
