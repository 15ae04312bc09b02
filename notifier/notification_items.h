#pragma once
// The job items of one printer change notification, handed to the job handling in order.
#include <windows.h>
#include <winspool.h>
#include "notifier/job_handling.h"

namespace moltr::notifier {

// Items of other types are skipped; `refresh` marks the answer to a refresh.
void HandleNotifyItems(const PRINTER_NOTIFY_INFO& info, JobHandling& handling, bool refresh);

} // namespace moltr::notifier
