// The tokenizer's text passes on arbitrary bytes, read plainly, as an included GPD file and as the
// embedded block of a GPD file, followed by the structure and macro lookups over what it made.
#include <cstddef>
#include <cstdint>
#include <string>
#include "compiler/builtin_description.h"
#include "compiler/compilation.h"
#include "compiler/structure_compiler.h"
#include "compiler/tokenizer.h"
#include "compiler/translation.h"
#include "sim/machine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Code-page conversion needs a machine; one for the whole run is enough.
    static moltr::sim::TestMachine machine;
    const std::string input(reinterpret_cast<const char*>(data), size);
    for (int mode = 0; mode < 3; ++mode) {
        moltr::compiler::Compilation compilation;
        moltr::compiler::AppendBuiltInDescription(compilation.tokens);
        std::string text(mode == 2 ? std::string(moltr::compiler::LocateXpdText(input)) : input);
        moltr::compiler::TokenizeText(compilation, text, u"fuzz.xpd", mode == 1);
        compilation.macros.Build(compilation.tokens);
        moltr::compiler::ResourceModules modules;
        moltr::compiler::Translation translation(compilation, modules);
        for (moltr::compiler::Token* token = compilation.tokens.First(); token != nullptr;
             token = token->next()) {
            if (token->key == u"*XPDSTRUCT" && token->level == 0) {
                moltr::compiler::Structure structure;
                moltr::compiler::CompileDefinition(compilation, translation, structure,
                                                   token->value);
            }
        }
    }
    return 0;
}
