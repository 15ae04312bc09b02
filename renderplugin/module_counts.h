#pragma once
// The module's live-object and server-lock counts, which decide whether it may be unloaded.
#include <windows.h>

namespace moltr::render {

void AddLiveObject();
void RemoveLiveObject();
void AddServerLock();
void RemoveServerLock();
bool ModuleInUse();

} // namespace moltr::render
