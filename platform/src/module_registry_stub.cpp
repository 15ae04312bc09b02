#include "sim/module_registry.h"
namespace moltr::sim {
void RegisterModule(const void*, const void*, size_t) {}
void UnregisterModule(const void*) {}
}
