#pragma once
// The character pass of the tokenizer: compacts XPD text to one line per key/value pair, dropping
// white space outside quotes, comments and empty lines, joining continued lines and pulling braces
// onto the line above, and reports every syntax error on the way.
#include <string>
#include <string_view>
#include "compiler/compile_messages.h"

namespace moltr::compiler {

// Compacts `text` in place. `file` names it in messages; `gpdInclude` is the lenient mode of an
// included .gpd file, which gives lines without a value an empty quoted one instead of an error.
// Returns the worst class raised.
int CompactText(std::string& text, std::u16string_view file, bool gpdInclude, Messages& messages);

} // namespace moltr::compiler
