// The tokenizer's text passes on arbitrary bytes, read plainly, as an included GPD file and as the
// embedded block of a GPD file, followed by the structure and macro lookups over what it made.
//
// Nothing of a compile's fixed part is made again for each input: the built-in description (485
// tokens, which a compile puts in front of the source and which the tokenizer never reads) is left
// out, so that each input's token list holds only what the input made. Structures and macros that
// meet the built-in ones are the whole-compile target's part.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>
#include "compiler/compilation.h"
#include "compiler/structure_compiler.h"
#include "compiler/tokenizer.h"
#include "compiler/translation.h"
#include "sim/machine.h"

namespace {

using moltr::compiler::Token;

// The names of the level-0 *XPDSTRUCT tokens from `first` on, each once.
std::vector<std::u16string> RootNames(const Token* first) {
    std::vector<std::u16string> names;
    for (const Token* token = first; token != nullptr; token = token->next()) {
        if (token->level != 0 || token->key != u"*XPDSTRUCT") {
            continue;
        }
        bool known = false;
        for (const std::u16string& name : names) {
            known = known || name == token->value;
        }
        if (!known) {
            names.push_back(token->value);
        }
    }
    return names;
}

void TokenizeAndCompile(std::string_view text, bool gpd) {
    moltr::compiler::Compilation compilation;
    std::string copy(text); // the tokenizer works on its text in place
    moltr::compiler::TokenizeText(compilation, copy, u"fuzz.xpd", gpd);
    compilation.macros.Build(compilation.tokens);
    moltr::compiler::ResourceModules modules;
    moltr::compiler::Translation translation(compilation, modules);
    for (const std::u16string& name : RootNames(compilation.tokens.First())) {
        moltr::compiler::Structure structure;
        moltr::compiler::CompileDefinition(compilation, translation, structure, name);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Code-page conversion needs a machine; one for the whole run is enough.
    static moltr::sim::TestMachine machine;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    TokenizeAndCompile(input, false);
    TokenizeAndCompile(input, true);
    // Without the markers the block is the whole file, which the plain pass has read already.
    const std::string_view block = moltr::compiler::LocateXpdText(input);
    if (block.size() != input.size()) {
        TokenizeAndCompile(block, false);
    }
    return 0;
}
