#pragma once
// IXMLDOMNodeList over the nodes found when it was made (children, a selection, a search). The
// nodes stay valid whatever happens to the tree later, as the list holds the tree.
#include "src/msxml/dom_node.h"

#include <vector>

namespace moltr::msxml {

// A new list of `nodes` in `from`'s document; E_OUTOFMEMORY when it cannot be made.
HRESULT CreateNodeList(std::vector<NodeRef> nodes, const NodeContext& from, IXMLDOMNodeList** out);

// Each element below `root` (depth first, in document order) whose name is `name`, or every
// element for "*".
std::vector<NodeRef> ElementsNamed(xmlNodePtr root, const std::string& name);

} // namespace moltr::msxml
