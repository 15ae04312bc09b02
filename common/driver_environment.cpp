#include "common/driver_environment.h"

#include <cstring>
#include "store/ascii_case.h"

namespace moltr::common {

namespace {

// The registry's name for the platform these modules are built for.
constexpr WCHAR kPrintProcessorsKey[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Print Processors\\";
constexpr DWORD kProcessorDriverBytes = 64;
constexpr WCHAR kInitialVersion[] = L"1.00.0000.0";

// The words that start a driver name's PDL part, each after a space.
constexpr LPCWSTR kPdlWords[] = {L" RASTER", L" PS", L" PCL"};

bool StartsWithIgnoringCase(LPCWSTR text, LPCWSTR prefix) {
    for (; *prefix; ++text, ++prefix) {
        if (!*text || store::UpperAscii(*text) != store::UpperAscii(*prefix)) {
            return false;
        }
    }
    return true;
}

LPWSTR AfterLastBackslash(LPWSTR path) {
    LPWSTR name = path;
    for (LPWSTR at = path; *at; ++at) {
        if (*at == L'\\') {
            name = at + 1;
        }
    }
    return name;
}

} // namespace

bool ContainsText(LPCWSTR text, LPCWSTR part) {
    if (!*part) {
        return true;
    }
    for (; *text; ++text) {
        // Each comparison ends at the first difference, at the latest at the text's terminator.
        LPCWSTR at = text;
        LPCWSTR wanted = part;
        while (*wanted && *at == *wanted) {
            ++at;
            ++wanted;
        }
        if (!*wanted) {
            return true;
        }
    }
    return false;
}

DriverEnvironment::~DriverEnvironment() {
    heap_.Free(driver_);
    heap_.Free(printer_);
    heap_.Free(printProcessor_);
}

HRESULT DriverEnvironment::Read(HANDLE printer) {
    if (printer == INVALID_HANDLE_VALUE) {
        return E_INVALIDARG;
    }
    HRESULT result = S_OK;
    driver_ = static_cast<DRIVER_INFO_3W*>(ReadDriverInfo(printer, &result));
    if (!driver_) {
        return result;
    }
    SplitPdlWord();
    resourceModule_ = FindDependentFile(L"RES.DLL", L"UNI");
    settingsFile_ = FindDependentFile(L".INI");
    notifier_ = FindDependentFile(L"MDN.EXE");
    uiPlugin_ = FindDependentFile(L"UIP.DLL");
    if (!resourceModule_) {
        return E_FAIL;
    }
    return ReadPrintProcessor(printer);
}

void* DriverEnvironment::ReadDriverInfo(HANDLE printer, HRESULT* result) {
    DWORD needed = 0;
    GetPrinterDriverW(printer, nullptr, 3, nullptr, 0, &needed);
    if (!needed) {
        *result = E_FAIL;
        return nullptr;
    }
    void* block = heap_.Allocate(needed);
    if (!block) {
        *result = E_OUTOFMEMORY;
        return nullptr;
    }
    if (!GetPrinterDriverW(printer, nullptr, 3, static_cast<LPBYTE>(block), needed, &needed)) {
        heap_.Free(block);
        *result = E_FAIL;
        return nullptr;
    }
    return block;
}

void DriverEnvironment::SplitPdlWord() {
    for (LPWSTR at = driver_->pName; at && *at; ++at) {
        for (LPCWSTR word : kPdlWords) {
            if (StartsWithIgnoringCase(at, word)) {
                *at = 0;
                pdlSuffix_ = at + 1;
                return;
            }
        }
    }
}

LPWSTR DriverEnvironment::FindDependentFile(LPCWSTR part, LPCWSTR exclusion) {
    if (!driver_ || !driver_->pDependentFiles) {
        return nullptr;
    }
    for (LPWSTR entry = driver_->pDependentFiles; *entry; entry += lstrlenW(entry) + 1) {
        CharUpperW(entry);
        if (ContainsText(entry, part) && !(exclusion && ContainsText(entry, exclusion))) {
            return entry;
        }
    }
    return nullptr;
}

HRESULT DriverEnvironment::ReadPrintProcessor(HANDLE printer) {
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    if (!needed) {
        return E_FAIL;
    }
    printer_ = static_cast<PRINTER_INFO_2W*>(heap_.Allocate(needed));
    if (!printer_) {
        return E_OUTOFMEMORY;
    }
    if (!GetPrinterW(printer, 2, reinterpret_cast<LPBYTE>(printer_), needed, &needed)) {
        return E_FAIL;
    }
    printProcessor_ = static_cast<LPWSTR>(heap_.Allocate(MAX_PATH * sizeof(WCHAR)));
    if (!printProcessor_) {
        return E_OUTOFMEMORY;
    }
    LPCWSTR name = printer_->pPrintProcessor;
    if (!name || !*name || lstrcmpiW(name, L"WINPRINT") == 0 ||
        lstrlenW(kPrintProcessorsKey) + lstrlenW(name) >= MAX_PATH) {
        return S_OK;
    }
    WCHAR keyName[MAX_PATH];
    lstrcpyW(keyName, kPrintProcessorsKey);
    lstrcatW(keyName, name);
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyName, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return S_OK;
    }
    WCHAR module[kProcessorDriverBytes / sizeof(WCHAR) + 1] = {};
    DWORD type = 0;
    DWORD bytes = kProcessorDriverBytes;
    LSTATUS status =
        RegQueryValueExW(key, L"Driver", nullptr, &type, reinterpret_cast<LPBYTE>(module), &bytes);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ || !module[0]) {
        return S_OK;
    }
    WCHAR directory[MAX_PATH] = {};
    if (!GetPrintProcessorDirectoryW(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(directory),
                                     sizeof(directory), &needed) ||
        lstrlenW(directory) + 1 + lstrlenW(module) >= MAX_PATH) {
        return S_OK;
    }
    lstrcpyW(printProcessor_, directory);
    lstrcatW(printProcessor_, L"\\");
    lstrcatW(printProcessor_, module);
    CharUpperW(printProcessor_);
    return S_OK;
}

void DriverEnvironment::FillModuleVersions() {
    struct Sibling {
        LPCWSTR part;
        LPCWSTR exclusion;
    };
    // Entry 2 is the print processor, which is no dependent file.
    static constexpr Sibling kSiblings[9] = {
        {L"MDN.EXE", nullptr}, {L"MDN.DLL", nullptr}, {nullptr, nullptr},
        {L"RPC.DLL", nullptr}, {L"RPS.DLL", nullptr}, {L"RRP.DLL", nullptr},
        {L"RRS.DLL", nullptr}, {L"UIP.DLL", nullptr}, {L"RES.DLL", L"UNIRES.DLL"},
    };
    for (int index = 0; index < 9; ++index) {
        ModuleVersionEntry* entry = &versions_.entries[index];
        lstrcpyW(entry->version, kInitialVersion);
        LPWSTR path = kSiblings[index].part
                          ? FindDependentFile(kSiblings[index].part, kSiblings[index].exclusion)
                          : printProcessor_;
        if (path && *path) {
            FillVersion(entry, path);
        }
    }
}

void DriverEnvironment::FillVersion(ModuleVersionEntry* entry, LPWSTR path) {
    entry->fileName = AfterLastBackslash(path);
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    void* block = size ? heap_.Allocate(size) : nullptr;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedBytes = 0;
    if (block && GetFileVersionInfoW(path, 0, size, block) &&
        VerQueryValueW(block, L"\\", reinterpret_cast<void**>(&fixed), &fixedBytes) &&
        fixedBytes >= sizeof(VS_FIXEDFILEINFO)) {
        DWORD parts[4] = {HIWORD(fixed->dwProductVersionMS), LOWORD(fixed->dwProductVersionMS),
                          HIWORD(fixed->dwProductVersionLS), LOWORD(fixed->dwProductVersionLS)};
        if (!(versions_.product[0] | versions_.product[1] | versions_.product[2] |
              versions_.product[3])) {
            memcpy(versions_.product, parts, sizeof(parts));
        }
        wsprintfW(entry->version, L"%d.%02d.%04d.%d", parts[0], parts[1], parts[2], parts[3]);
    }
    heap_.Free(block);
}

} // namespace moltr::common
