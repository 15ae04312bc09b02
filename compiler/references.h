#pragma once
// Reference descriptors: a record's *REFERENCES value F(V) names a setting field F (a dotted path
// from a root structure through its sub-structures) and a DYNAMIC field V of another root, whose
// values then take F's type, element size and count.
#include <string_view>
#include "compiler/compilation.h"
#include "compiler/value_services.h"

namespace moltr::compiler {

// Most components a descriptor may have.
inline constexpr size_t kMaxReferenceComponents = 32;

// Resolves the *REFERENCES value `value` and adds it to `references`. Returns the result class:
// 61607 (warning, nothing added) when V is already in the list, an error when either descriptor
// does not resolve. The roots named are compiled as definitions with `services`.
int ResolveReference(Compilation& compilation, ValueServices& services, std::u16string_view value,
                     ReferenceList& references);

} // namespace moltr::compiler
