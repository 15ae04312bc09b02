#include "common/context_help.h"

#include "common/driver_environment.h"

namespace moltr::common {

namespace {

constexpr WCHAR kHtmlHelpServerKey[] =
    L"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
constexpr WORD kHtmlHelpOrdinal = 15;

// The HTML Help control's path from its COM registration, in the ANSI code page for LoadLibraryA;
// empty when it is not registered.
void RegisteredControlPath(char (&path)[MAX_PATH]) {
    path[0] = 0;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kHtmlHelpServerKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return;
    }
    WCHAR value[MAX_PATH + 1] = {};
    DWORD type = 0;
    DWORD bytes = MAX_PATH * sizeof(WCHAR);
    LSTATUS status =
        RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<LPBYTE>(value), &bytes);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return;
    }
    WCHAR expanded[MAX_PATH];
    LPCWSTR wide = value;
    if (type == REG_EXPAND_SZ) {
        DWORD length = ExpandEnvironmentStringsW(value, expanded, MAX_PATH);
        if (!length || length > MAX_PATH) {
            return;
        }
        wide = expanded;
    }
    if (!WideCharToMultiByte(CP_ACP, 0, wide, -1, path, MAX_PATH, nullptr, nullptr)) {
        path[0] = 0;
    }
}

} // namespace

ContextHelp::~ContextHelp() {
    if (control_) {
        FreeLibrary(control_);
    }
}

ContextHelp::HtmlHelpProc ContextHelp::BindHtmlHelp() {
    if (tried_) {
        return htmlHelp_;
    }
    tried_ = true;
    char path[MAX_PATH];
    RegisteredControlPath(path);
    control_ = path[0] ? LoadLibraryA(path) : nullptr;
    if (!control_) {
        control_ = LoadLibraryA("hhctrl.ocx");
    }
    if (control_) {
        // Through void*, as the export's real type is not FARPROC's.
        htmlHelp_ = reinterpret_cast<HtmlHelpProc>(
            reinterpret_cast<void*>(GetProcAddress(control_, MAKEINTRESOURCEA(kHtmlHelpOrdinal))));
    }
    return htmlHelp_;
}

void ContextHelp::Open(HWND window, LPCWSTR helpPath, DWORD helpId) {
    WCHAR upper[MAX_PATH];
    if (!helpPath || lstrlenW(helpPath) >= MAX_PATH) {
        return;
    }
    lstrcpyW(upper, helpPath);
    CharUpperW(upper);
    if (ContainsText(upper, L".HLP")) {
        WinHelpW(window, helpPath, HELP_CONTEXT, helpId);
        return;
    }
    if (HtmlHelpProc htmlHelp = BindHtmlHelp()) {
        htmlHelp(window, helpPath, kHtmlHelpContext, helpId);
    }
}

} // namespace moltr::common
