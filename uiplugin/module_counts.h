#pragma once
// The module's live-object and server-lock counts, which decide whether MOLTRUIP may be unloaded.
#include <windows.h>

namespace moltr::ui {

void AddLiveObject();
void RemoveLiveObject();
void AddServerLock();
void RemoveServerLock();
bool ModuleInUse();

} // namespace moltr::ui
