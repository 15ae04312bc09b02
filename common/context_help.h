#pragma once
// Context help for one control: WinHelp for ".HLP" files, HTML Help for the rest.
#include <windows.h>

namespace moltr::common {

// The HTML Help command that shows the topic of a context id.
inline constexpr UINT kHtmlHelpContext = 15;

// Opens `helpPath` at `helpId`. HTML Help is bound at run time once per process; when it can't be
// bound, help calls do nothing from then on.
void OpenContextHelp(HWND window, LPCWSTR helpPath, DWORD helpId);

} // namespace moltr::common
