#pragma once
// MOLTRUIP's live-object and server-lock counts: the module's own copy of the common ones.
#include "common/module_counts.h"

namespace moltr::ui {

using common::AddLiveObject;
using common::ModuleInUse;
using common::RemoveLiveObject;

} // namespace moltr::ui
