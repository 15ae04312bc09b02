#pragma once
// IXMLDOMParseError: the outcome of a document's last load, as it was when asked for.
#include "src/msxml/dom_parser.h"

#include <msxml2.h>

namespace moltr::msxml {

HRESULT CreateParseError(const ParseOutcome& outcome, const std::string& url,
                         IXMLDOMParseError** out);

} // namespace moltr::msxml
