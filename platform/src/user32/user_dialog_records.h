#pragma once
// Keeping the record of each dialog shown (see sim/dialogs.h).
#include "sim/dialogs.h"

namespace moltr::platform {

// Stores the record of a dialog that has closed. When the showing thread shares another thread's
// input, whether the application window is enabled again is only known once it lets go of that
// input: the record is completed then.
void RecordDialog(const sim::DialogRecord& record, DWORD sharingThread);
// Called when `thread` stops sharing another thread's input.
void CompleteDialogRecords(DWORD thread);

} // namespace moltr::platform
