#pragma once
// The fixed job of the render plug-in harness: the plug-in module loaded as the universal driver's
// renderer loads it, and the command callbacks of the job header and the page set-up run for one
// device of the given printer, each callback's bytes collected from DrvWriteSpoolBuf. The same
// source runs on Windows and on the host's simulation, so that the two streams can be compared.
#include <windows.h>

#include <vector>

namespace moltr::harness {

// Runs the fixed job; `record` receives, per callback, its id, its HRESULT and the number of bytes
// written (each a little-endian DWORD), then those bytes. Answers S_OK or the failing step's
// HRESULT.
HRESULT RunFixedJob(HANDLE printer, LPCWSTR modulePath, std::vector<BYTE>& record);

} // namespace moltr::harness
