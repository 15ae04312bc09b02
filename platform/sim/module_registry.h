#pragma once
// The simulated loader's table of modules of this process (host build only).
#include <windows.h>
#include <cstddef>

namespace moltr::sim {

// Called by every module's anchor when it is loaded: `base` is the module's __ImageBase (its
// HMODULE) and [resources, resources + size) its compiled .res image (size 0 for none).
void RegisterModule(const void* base, const void* resources, size_t size);
void UnregisterModule(const void* base);

// Makes `windowsPath` the path of the process image, as GetModuleFileNameW(NULL) reports it and as
// the executable's base name is matched (for instance "C:\\Windows\\System32\\spoolsv.exe" for code
// that must behave as in the spooler). NULL restores the executable's own mapped path.
void SetProcessImagePath(const WCHAR* windowsPath);

} // namespace moltr::sim
