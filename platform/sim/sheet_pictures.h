#pragma once
// Pictures of a job's sheets (host build only): asked for before the spooler renders the job, the
// renderer writes each sheet, as the printer receives it (after the render plug-in's work on its
// bands), to FOLDER/sheet-NNN.png, 001 first, at the device's resolution. The request is kept in
// the machine's folder (sheet-pictures/JOBID) until the job renders. A picture that cannot be
// kept (no room for it, a folder that cannot be written) fails the job's rendering.
#include <windows.h>
#include <string>

namespace moltr::sim {

// False when there is no machine or the request cannot be kept.
bool RequestSheetPictures(DWORD jobId, const std::string& folder);

} // namespace moltr::sim
