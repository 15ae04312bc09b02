#include "compiler/macro_table.h"

#include "compiler/token_list.h"

namespace moltr::compiler {

void MacroTable::Build(TokenList& tokens) {
    TokenIteration blocks(tokens, nullptr, u"*MACROS", 0);
    while (Token* block = blocks.Next()) {
        TokenIteration entries(tokens, block, u"", block->level + 1);
        while (Token* entry = entries.Next()) {
            macros_.push_back({entry->key, entry->value});
        }
    }
}

Macro* MacroTable::Find(std::u16string_view name) {
    for (Macro& macro : macros_) {
        if (macro.name == name) {
            return &macro;
        }
    }
    return nullptr;
}

} // namespace moltr::compiler
