// Help calls on the simulated desktop: WinHelpW and the HTML Help control's entry point open no
// viewer; each call is recorded.
#include "sim/help_calls.h"
#include "sim/utf.h"

#include <windows.h>
#include <mutex>

namespace moltr::sim {
namespace {

struct Calls {
    std::mutex lock;
    std::vector<HelpCall> list;
};

Calls& TheCalls() {
    static Calls* calls = new Calls;
    return *calls;
}

void Record(HelpCall::Kind kind, HWND window, LPCWSTR file, UINT command, ULONG_PTR data) {
    HelpCall call;
    call.kind = kind;
    call.window = window;
    call.file = View(file);
    call.command = command;
    call.data = data;
    std::lock_guard guard(TheCalls().lock);
    TheCalls().list.push_back(std::move(call));
}

// No help window is opened, so there is none to return.
HWND WINAPI HtmlHelpStandIn(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data) {
    Record(HelpCall::Kind::HtmlHelp, caller, file, command, data);
    return nullptr;
}

} // namespace

HtmlHelpProc HtmlHelpEntry() {
    return HtmlHelpStandIn;
}

std::vector<HelpCall> HelpCalls() {
    std::lock_guard guard(TheCalls().lock);
    return TheCalls().list;
}

void ClearHelpCalls() {
    std::lock_guard guard(TheCalls().lock);
    TheCalls().list.clear();
}

} // namespace moltr::sim

extern "C" BOOL WINAPI WinHelpW(HWND hWndMain, LPCWSTR lpszHelp, UINT uCommand, ULONG_PTR dwData) {
    moltr::sim::Record(moltr::sim::HelpCall::Kind::WinHelp, hWndMain, lpszHelp, uCommand, dwData);
    return TRUE;
}
