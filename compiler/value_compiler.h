#pragma once
// The value compiler: the records of a compiled structure and of its sub-structures from the
// record tokens *NAME of the token list, each field's value converted to its type.
#include <string_view>
#include "compiler/compilation.h"
#include "compiler/structure.h"
#include "compiler/value_services.h"

namespace moltr::compiler {

// Adds to `structure` (whose definition is compiled) its records at level `depth` in the scope
// after `scope` (null: the whole list, for a root). For a root with a nonempty `driverName` that
// has records tagged with it, only those are compiled. `references` are the parent records'
// references; `force` adds one empty record when there is none. Returns the result class: 61601
// (class 1) when there is no record and no force, errors and internal errors; the warnings about
// single field values are raised but not returned.
int CompileValues(Compilation& compilation, ValueServices& services, Structure& structure,
                  int depth, const Token* scope, std::u16string_view driverName,
                  const ReferenceList& references, bool force);

} // namespace moltr::compiler
