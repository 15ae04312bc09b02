#pragma once
// The command engine: the CommandCallback entry of the hooks, which answers the GPD's callback ids
// with the job-control and page-setup commands.
#include <windows.h>
#include "prcomoem.h"

namespace moltr::render {

HRESULT RunCommandCallback(PDEVOBJ devobj, DWORD id, DWORD count, PDWORD params, INT* result);

} // namespace moltr::render
