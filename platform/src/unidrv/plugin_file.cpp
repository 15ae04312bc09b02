#include "src/unidrv/plugin_file.h"

#include <winspool.h>

namespace moltr::unidrv {
namespace {

// The file-name part of a path.
LPCWSTR FileNamePart(LPCWSTR path) {
    LPCWSTR name = path;
    for (LPCWSTR c = path; *c; ++c) {
        name = *c == L'\\' || *c == L'/' ? c + 1 : name;
    }
    return name;
}

bool EndsWithNoCase(LPCWSTR text, LPCWSTR suffix) {
    int length = lstrlenW(text);
    int tail = lstrlenW(suffix);
    return length >= tail && lstrcmpiW(text + length - tail, suffix) == 0;
}

// The dependent file that the plug-in settings file names under `key`, or null.
LPCWSTR NamedDependentFile(const DRIVER_INFO_3W& driver, LPCWSTR key) {
    LPCWSTR settings = nullptr;
    for (LPCWSTR file = driver.pDependentFiles; file && *file && !settings;
         file += lstrlenW(file) + 1) {
        settings = EndsWithNoCase(file, L".INI") ? file : nullptr;
    }
    WCHAR name[MAX_PATH] = {};
    if (!settings ||
        GetPrivateProfileStringW(L"OEMFiles", key, L"", name, MAX_PATH, settings) == 0) {
        return nullptr;
    }
    for (LPCWSTR file = driver.pDependentFiles; *file; file += lstrlenW(file) + 1) {
        if (lstrcmpiW(FileNamePart(file), FileNamePart(name)) == 0) {
            return file;
        }
    }
    return nullptr;
}

} // namespace

HRESULT PluginFilePath(HANDLE printer, LPCWSTR key, std::vector<BYTE>* info, LPCWSTR* path) {
    *path = nullptr;
    DWORD needed = 0;
    GetPrinterDriverW(printer, nullptr, 3, nullptr, 0, &needed);
    info->assign(needed ? needed : 1, 0);
    if (!needed || !GetPrinterDriverW(printer, nullptr, 3, info->data(), needed, &needed)) {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    *path = NamedDependentFile(*reinterpret_cast<const DRIVER_INFO_3W*>(info->data()), key);
    return *path ? S_OK : HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
}

} // namespace moltr::unidrv
