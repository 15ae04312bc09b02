#pragma once
// The structure compiler: the definition of a structure (its fields with type, element size,
// count and offset, and its sub-structures) from the *XPDSTRUCT blocks of the token list.
#include <string_view>
#include "compiler/compilation.h"
#include "compiler/structure.h"
#include "compiler/value_services.h"

namespace moltr::compiler {

// Builds into `structure` the definition of structure `name` at nesting depth `depth` from every
// *XPDSTRUCT block of that name at level `depth` in the scope after `scope` (null: the whole
// list, for a root); definitions of one name add up. Numbers (array sizes) are read through
// `services`' translation, like every value. Returns the result class.
int CompileDefinition(Compilation& compilation, ValueServices& services, Structure& structure,
                      std::u16string_view name, int depth = 0, const Token* scope = nullptr);

} // namespace moltr::compiler
