#pragma once
// The built-in description that precedes every source: the standard structures and the built-in
// constants, as 485 tokens.
#include <string>
#include <vector>

namespace moltr::compiler {

class TokenList;

struct BuiltInConstant {
    std::u16string name;
    std::u16string value; // decimal text
};

// The 216 built-in constants, in their order.
const std::vector<BuiltInConstant>& BuiltInConstants();

// Appends the built-in tokens to `tokens`.
void AppendBuiltInDescription(TokenList& tokens);

} // namespace moltr::compiler
