#pragma once
// The simulated loader's table of modules of this process (host build only).
#include <windows.h>
#include <cstddef>

namespace moltr::sim {

// Called by every module's anchor when it is loaded: `base` is the module's __ImageBase (its
// HMODULE) and [resources, resources + size) its compiled .res image (size 0 for none).
void RegisterModule(const void* base, const void* resources, size_t size);
void UnregisterModule(const void* base);

} // namespace moltr::sim
