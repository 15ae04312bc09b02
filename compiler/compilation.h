#pragma once
// What one compile holds from its first token to its end: the messages raised, the token list,
// the include list and the macro table. Everything is released with it.
#include <string>
#include <vector>
#include "compiler/compile_messages.h"
#include "compiler/macro_table.h"
#include "compiler/token_list.h"

namespace moltr::compiler {

struct Compilation {
    explicit Compilation(MessageSink sink = nullptr)
        : messages(std::move(sink)), tokens(messages) {}
    Compilation(const Compilation&) = delete;
    Compilation& operator=(const Compilation&) = delete;

    Messages messages;
    TokenList tokens;
    // The resolved, lower-cased paths of every file read so far, to refuse a second inclusion.
    std::vector<std::u16string> includes;
    MacroTable macros;
};

} // namespace moltr::compiler
