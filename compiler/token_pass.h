#pragma once
// The token pass of the tokenizer: cuts compacted text into key/value tokens with their levels.
#include <string_view>

namespace moltr::compiler {

class TokenList;

// Appends the tokens of `compacted` (the character pass's output) to `tokens`.
void AppendTokens(std::string_view compacted, TokenList& tokens);

} // namespace moltr::compiler
