#pragma once
// The file of one of a driver's plug-ins, found the way the universal driver finds it: the first
// .INI among the driver's dependent files is its plug-in settings file, whose section "OEMFiles"
// names the plug-in's file under the plug-in's key ("OEMDriverFile1" for the render plug-in,
// "OEMConfigFile1" for the UI plug-in); the file used is the dependent file of that name.
#include <windows.h>
#include <vector>

namespace moltr::unidrv {

// The path of `printer`'s plug-in file named under `key`: `info` receives the driver's record
// (DRIVER_INFO_3W) and `path` points into it. Fails with the spooler's error for the driver
// record, or ERROR_FILE_NOT_FOUND as an HRESULT when no file is named or the named file is no
// dependent file.
HRESULT PluginFilePath(HANDLE printer, LPCWSTR key, std::vector<BYTE>* info, LPCWSTR* path);

} // namespace moltr::unidrv
