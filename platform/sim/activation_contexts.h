#pragma once
// Activation contexts of this process (host build only), for the tests: how many are alive and
// which side-by-side assemblies a context's manifest depends on.
#include <windows.h>
#include <string>
#include <vector>

namespace moltr::sim {

// Contexts created and not yet released for the last time.
size_t LiveActivationContexts();

// The names of the assemblies `context`'s manifest depends on, in manifest order; empty when the
// handle names no live context.
std::vector<std::string> ActivationContextDependencies(HANDLE context);

} // namespace moltr::sim
