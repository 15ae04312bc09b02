// MOLTRTSI.DLL: a module with code and resources of its own, loaded as an image by the loader's
// tests. Its exports answer from inside the module, through its own handle. Without explicit
// exports, the Windows linker exports every function, as the host's default visibility does.
#include <windows.h>
#include "this_module.h"

extern "C" {

HMODULE WINAPI MoltrTestOwnHandle() {
    return ThisModuleHandle();
}

int WINAPI MoltrTestOwnString(UINT id, LPWSTR buffer, int size) {
    return LoadStringW(ThisModuleHandle(), id, buffer, size);
}
}
