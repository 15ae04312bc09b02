#pragma once
// Parsing documents with libxml2, refusing what could make the parser follow or amplify the
// input: no network, no DTD at all (so no entity but the predefined ones), no external loads,
// libxml2's own limits on depth and text size, and a cap on attribute values and input size.
#include <windows.h>
#include <libxml/tree.h>

#include <string>
#include <string_view>

namespace moltr::msxml {

struct ParseOutcome {
    xmlDocPtr doc = nullptr; // owned by the caller; null on failure
    LONG errorCode = 0;      // 0 on success, else the reason's HRESULT
    std::string reason;
    std::string srcText;
    LONG line = 0;
    LONG linePosition = 0;
    LONG filePosition = 0;
};

enum class TextSource { kUnicode, kBytes };

// kUnicode: `text` is UTF-8 converted from a wide string, whatever its declaration says;
// kBytes: the encoding comes from the byte order mark or the declaration.
ParseOutcome ParseDocument(std::string_view text, TextSource source, bool preserveWhiteSpace);

// The answer for a file that cannot be read.
ParseOutcome MissingResource(const std::string& url);

} // namespace moltr::msxml
