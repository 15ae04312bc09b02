#pragma once
// The module's live-object and server-lock counts, which decide whether it may be unloaded. Each
// module links its own copy of this static library, so the counts are the module's own.
#include <windows.h>

namespace moltr::common {

void AddLiveObject();
void RemoveLiveObject();
void AddServerLock();
void RemoveServerLock();
bool ModuleInUse();
// DllCanUnloadNow's answer: S_OK once nothing is counted.
HRESULT CanUnloadNow();

} // namespace moltr::common
