#pragma once
// The DevMode entry of the hooks (form handling), and the merge step that runs only in the
// spooler.
#include <windows.h>
#include "renderplugin/co_plugin.h"

namespace moltr::render {

HRESULT OverrideDevMode(CoPlugin& plugin, DWORD mode, POEMDMPARAM param);

// The paper index that the printer's driver gives the form of `paperSize`; 0 when there is none.
WORD DriverPaperIndex(HANDLE printer, WORD paperSize);

// After a successful merge, in the spooler only: booklet and scale-to-size choose the paper.
HRESULT MergeInSpooler(common::IDrvSettings* settings, POEMDMPARAM param);

// Whether this process is the spooler, "spoolsv.exe".
bool InSpooler();

} // namespace moltr::render
