#pragma once
// Context help for one control: WinHelp for ".HLP" files, HTML Help for the rest.
#include <windows.h>

namespace moltr::common {

// The HTML Help command that shows the topic of a context id.
inline constexpr UINT kHtmlHelpContext = 15;

// The context help of one user of it (a property sheet, a dialog). HTML Help is bound at run time
// on the first call that needs it; when it can't be bound, HTML Help calls do nothing from then on.
// The HTML Help control is released with the object.
class ContextHelp {
public:
    ContextHelp() = default;
    ~ContextHelp();
    ContextHelp(const ContextHelp&) = delete;
    ContextHelp& operator=(const ContextHelp&) = delete;

    // Opens `helpPath` at `helpId`.
    void Open(HWND window, LPCWSTR helpPath, DWORD helpId);

private:
    using HtmlHelpProc = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

    HtmlHelpProc BindHtmlHelp();

    HMODULE control_ = nullptr;
    HtmlHelpProc htmlHelp_ = nullptr;
    bool tried_ = false;
};

} // namespace moltr::common
