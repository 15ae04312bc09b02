#pragma once
// Help requests of the simulated desktop (host build only): WinHelpW and the HTML Help control's
// HtmlHelpW open no viewer; each call is recorded for the tests.
#include <windows.h>
#include <string>
#include <vector>

namespace moltr::sim {

struct HelpCall {
    enum class Kind { WinHelp, HtmlHelp };
    Kind kind = Kind::WinHelp;
    HWND window = nullptr;
    std::u16string file;
    UINT command = 0;
    ULONG_PTR data = 0;
};

// The HTML Help control's entry point (export ordinal 15 of "hhctrl.ocx"), as the loader hands it
// out for that module: HWND HtmlHelpW(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data).
using HtmlHelpProc = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
HtmlHelpProc HtmlHelpEntry();

// Every help call of the process since the last clear, oldest first.
std::vector<HelpCall> HelpCalls();
void ClearHelpCalls();

} // namespace moltr::sim
