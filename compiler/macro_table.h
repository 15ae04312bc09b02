#pragma once
// The macro table of a compile: named constants that values refer to as =NAME. It is built once
// per compile from every level-0 *MACROS block, the built-in constants first.
#include <string>
#include <string_view>
#include <vector>

namespace moltr::compiler {

class TokenList;

struct Macro {
    std::u16string name;
    std::u16string value; // translation may replace it with the string it loaded
};

class MacroTable {
public:
    // Adds one macro for every token directly inside each level-0 *MACROS block, in list order.
    void Build(TokenList& tokens);
    // The first macro named exactly `name`, or null.
    Macro* Find(std::u16string_view name);
    const std::vector<Macro>& macros() const { return macros_; }

private:
    std::vector<Macro> macros_;
};

} // namespace moltr::compiler
