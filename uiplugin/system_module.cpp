#include "uiplugin/system_module.h"

namespace moltr::ui {

HMODULE LoadSystemModule(LPCWSTR fileName) {
    WCHAR path[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || fileName == nullptr ||
        length + 1 + lstrlenW(fileName) >= MAX_PATH) {
        return nullptr;
    }
    lstrcatW(path, L"\\");
    lstrcatW(path, fileName);
    return LoadLibraryW(path);
}

} // namespace moltr::ui
