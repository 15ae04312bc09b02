#pragma once
// The harness's printer on the spooler it runs on: the sample driver installed with the render
// plug-in and its language module among its files, a printer on FILE: and its structures compiled.
#include <windows.h>

namespace moltr::harness {

struct DriverFiles {
    LPCWSTR description; // the GPD
    LPCWSTR settings;    // the driver's INI
    LPCWSTR language;    // MOLTRRES.DLL
    LPCWSTR plugin;      // MOLTRRPC.DLL
};

// Installs the driver and adds the printer (again, if an earlier run left it), then opens and
// compiles it. Answers the open printer, or null with the last error set.
HANDLE AddHarnessPrinter(const DriverFiles& files);

// Deletes the printer that AddHarnessPrinter opened, and closes it.
void RemoveHarnessPrinter(HANDLE printer);

// The plug-in as installed in the driver's folder, where the renderer loads it from.
bool InstalledPluginPath(HANDLE printer, WCHAR* path, DWORD size);

} // namespace moltr::harness
