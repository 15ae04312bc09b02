#pragma once
// Exclusions and injections: blocks of a description that disable tokens, or merge tokens into
// other blocks, on the Windows versions they name, so that one description serves them all.
#include "compiler/compilation.h"

namespace moltr::compiler {

// Disables the targets of the *EXCLUDE blocks selected by the running Windows version ("WIN2K",
// "WINXP", "WIN2003", "WINLONGHORN"), "32BIT" and "ALL". Returns the result class.
int ApplyExclusions(Compilation& compilation);

// Merges the *INJECTINFO blocks of the *INJECTION blocks selected the same way into their targets.
// Returns the result class.
int ApplyInjections(Compilation& compilation);

} // namespace moltr::compiler
