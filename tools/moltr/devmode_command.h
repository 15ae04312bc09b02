#pragma once
// `moltr devmode`: the private devmode of a printer as the core driver gets it from the plug-ins.
#include <windows.h>
#include <string>
#include <vector>

namespace moltr::tool {

// moltr devmode NAME [--default] [--hex], or NAME --document [--set FIELD=VALUE ...] [--json]
int RunDevMode(const std::vector<std::string>& args);

// The private devmode of `size` bytes in the driver-extra bytes of `devmode`: the block that
// starts with that size and the signature "MOLT". Null when there is none.
BYTE* FindPrivateDevMode(DEVMODEW* devmode, DWORD size);

} // namespace moltr::tool
