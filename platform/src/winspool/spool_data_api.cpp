// Printer data: Get/Set/DeletePrinterData(Ex)W, EnumPrinterDataExW, EnumPrinterKeyW. These
// calls return their Win32 error instead of setting the last error.
#include <windows.h>
#include <winspool.h>

#include "src/winspool/spool_files.h"
#include "src/winspool/spool_handles.h"
#include "src/winspool/spool_names.h"
#include "src/winspool/spool_packer.h"
#include "src/winspool/spool_printer_data.h"
#include "sim/utf.h"

#include <cstring>

static_assert(sizeof(PRINTER_ENUM_VALUESW) == 32 && offsetof(PRINTER_ENUM_VALUESW, pData) == 16);

namespace moltr::spool {
namespace {

// The printer behind a handle that may change its data.
DWORD WritableHandle(HANDLE handle, uint64_t& printerId) {
    DWORD error = 0;
    std::optional<HandlePrinter> open = ResolveHandle(handle, error);
    if (!open) {
        return error;
    }
    if (!(open->handle.access & PRINTER_ACCESS_ADMINISTER)) {
        return ERROR_ACCESS_DENIED;
    }
    printerId = open->printer.id;
    return 0;
}

// Applies `change` under the spooler's lock, while the printer still exists.
DWORD Change(uint64_t printerId, std::u16string_view key, const ValueChange& change) {
    SpoolLock lock;
    if (!lock.held() || !LoadPrinter(printerId)) {
        return ERROR_INVALID_HANDLE;
    }
    return ChangeKey(printerId, key, change);
}

DWORD GetData(HANDLE handle, const WCHAR* keyName, const WCHAR* valueName, DWORD* type, BYTE* data,
              DWORD size, DWORD* needed) {
    DWORD error = 0;
    std::optional<HandlePrinter> open = ResolveHandle(handle, error);
    if (!open) {
        return error;
    }
    std::u16string_view key = sim::View(keyName);
    if (!valueName || !needed || !IsValidKeyName(key)) {
        return ERROR_INVALID_PARAMETER;
    }
    std::optional<ValueBag> bag = LoadKey(open->printer.id, key);
    const Value* value = bag ? bag->Find(sim::View(valueName)) : nullptr;
    if (!value) {
        return ERROR_FILE_NOT_FOUND;
    }
    *needed = static_cast<DWORD>(value->data.size());
    if (type) {
        *type = value->type;
    }
    if (size < value->data.size()) {
        return ERROR_MORE_DATA;
    }
    if (!value->data.empty() && !data) {
        return ERROR_INVALID_PARAMETER;
    }
    if (!value->data.empty()) {
        std::memcpy(data, value->data.data(), value->data.size());
    }
    return ERROR_SUCCESS;
}

DWORD SetData(HANDLE handle, const WCHAR* keyName, const WCHAR* valueName, DWORD type,
              const BYTE* data, DWORD size) {
    uint64_t printerId = 0;
    DWORD error = WritableHandle(handle, printerId);
    if (error) {
        return error;
    }
    std::u16string_view key = sim::View(keyName);
    if (!valueName || !IsValidKeyName(key) || (size && !data)) {
        return ERROR_INVALID_PARAMETER;
    }
    return Change(printerId, key,
                  ValueChange{false, Value{std::u16string(sim::View(valueName)), type,
                                           std::vector<BYTE>(data, data + size)}});
}

DWORD DeleteData(HANDLE handle, const WCHAR* keyName, const WCHAR* valueName) {
    uint64_t printerId = 0;
    DWORD error = WritableHandle(handle, printerId);
    if (error) {
        return error;
    }
    std::u16string_view key = sim::View(keyName);
    if (!valueName || !IsValidKeyName(key)) {
        return ERROR_INVALID_PARAMETER;
    }
    return Change(printerId, key,
                  ValueChange{true, Value{std::u16string(sim::View(valueName)), REG_NONE, {}}});
}

// The names of the keys directly below `key` ("" for the top), each once; nothing when `key`
// does not exist.
std::optional<std::vector<std::u16string>> SubkeysOf(uint64_t printerId, std::u16string_view key) {
    std::vector<std::u16string> subkeys;
    bool exists = key.empty();
    const size_t prefix = key.empty() ? 0 : key.size() + 1;
    for (const std::u16string& path : KeyPaths(printerId)) {
        bool below =
            key.empty() || (path.size() > key.size() && path[key.size()] == u'\\' &&
                            SameName(std::u16string_view(path).substr(0, key.size()), key));
        exists = exists || below || SameName(path, key);
        if (!below) {
            continue;
        }
        std::u16string name = path.substr(prefix, path.find(u'\\', prefix) - prefix);
        bool known = false;
        for (const std::u16string& subkey : subkeys) {
            known = known || SameName(subkey, name);
        }
        if (!known) {
            subkeys.push_back(std::move(name));
        }
    }
    if (!exists) {
        return std::nullopt;
    }
    return subkeys;
}

} // namespace
} // namespace moltr::spool

using namespace moltr::spool;

extern "C" {

DWORD WINAPI GetPrinterDataW(HANDLE hPrinter, LPWSTR pValueName, LPDWORD pType, LPBYTE pData,
                             DWORD nSize, LPDWORD pcbNeeded) {
    return GetData(hPrinter, reinterpret_cast<const WCHAR*>(kPrinterDriverDataKey), pValueName,
                   pType, pData, nSize, pcbNeeded);
}

DWORD WINAPI GetPrinterDataExW(HANDLE hPrinter, LPCWSTR pKeyName, LPCWSTR pValueName, LPDWORD pType,
                               LPBYTE pData, DWORD nSize, LPDWORD pcbNeeded) {
    return GetData(hPrinter, pKeyName, pValueName, pType, pData, nSize, pcbNeeded);
}

DWORD WINAPI SetPrinterDataW(HANDLE hPrinter, LPWSTR pValueName, DWORD Type, LPBYTE pData,
                             DWORD cbData) {
    return SetData(hPrinter, reinterpret_cast<const WCHAR*>(kPrinterDriverDataKey), pValueName,
                   Type, pData, cbData);
}

DWORD WINAPI SetPrinterDataExW(HANDLE hPrinter, LPCWSTR pKeyName, LPCWSTR pValueName, DWORD Type,
                               LPBYTE pData, DWORD cbData) {
    return SetData(hPrinter, pKeyName, pValueName, Type, pData, cbData);
}

DWORD WINAPI DeletePrinterDataW(HANDLE hPrinter, LPWSTR pValueName) {
    return DeleteData(hPrinter, reinterpret_cast<const WCHAR*>(kPrinterDriverDataKey), pValueName);
}

DWORD WINAPI DeletePrinterDataExW(HANDLE hPrinter, LPCWSTR pKeyName, LPCWSTR pValueName) {
    return DeleteData(hPrinter, pKeyName, pValueName);
}

DWORD WINAPI EnumPrinterDataExW(HANDLE hPrinter, LPCWSTR pKeyName, LPBYTE pEnumValues,
                                DWORD cbEnumValues, LPDWORD pcbEnumValues, LPDWORD pnEnumValues) {
    DWORD error = 0;
    std::optional<HandlePrinter> open = ResolveHandle(hPrinter, error);
    if (!open) {
        return error;
    }
    std::u16string_view key = moltr::sim::View(pKeyName);
    if (!pcbEnumValues || !pnEnumValues || !IsValidKeyName(key)) {
        return ERROR_INVALID_PARAMETER;
    }
    *pnEnumValues = 0;
    std::optional<ValueBag> bag = LoadKey(open->printer.id, key);
    if (!bag) {
        return ERROR_FILE_NOT_FOUND;
    }
    const std::vector<Value>& values = bag->values;
    error = PackInfo(values.size() * sizeof(PRINTER_ENUM_VALUESW), pEnumValues, cbEnumValues,
                     *pcbEnumValues, [&](InfoPacker& packer, BYTE* fixed) {
                         auto* entries = reinterpret_cast<PRINTER_ENUM_VALUESW*>(fixed);
                         for (size_t i = 0; i < values.size(); ++i) {
                             entries[i].pValueName = packer.String(values[i].name);
                             entries[i].cbValueName =
                                 static_cast<DWORD>((values[i].name.size() + 1) * sizeof(WCHAR));
                             entries[i].dwType = values[i].type;
                             entries[i].pData =
                                 packer.Blob(values[i].data.data(), values[i].data.size());
                             entries[i].cbData = static_cast<DWORD>(values[i].data.size());
                         }
                     });
    if (error == ERROR_INSUFFICIENT_BUFFER) {
        return ERROR_MORE_DATA;
    }
    if (error) {
        return ERROR_INVALID_PARAMETER;
    }
    *pnEnumValues = static_cast<DWORD>(values.size());
    return ERROR_SUCCESS;
}

DWORD WINAPI EnumPrinterKeyW(HANDLE hPrinter, LPCWSTR pKeyName, LPWSTR pSubkey, DWORD cbSubkey,
                             LPDWORD pcbSubkey) {
    DWORD error = 0;
    std::optional<HandlePrinter> open = ResolveHandle(hPrinter, error);
    if (!open) {
        return error;
    }
    std::u16string_view key = moltr::sim::View(pKeyName);
    if (!pKeyName || !pcbSubkey || (!key.empty() && !IsValidKeyName(key))) {
        return ERROR_INVALID_PARAMETER;
    }
    std::optional<std::vector<std::u16string>> subkeys = SubkeysOf(open->printer.id, key);
    if (!subkeys) {
        return ERROR_FILE_NOT_FOUND;
    }
    std::u16string list;
    for (const std::u16string& subkey : *subkeys) {
        list += subkey;
        list += u'\0';
    }
    list += u'\0';
    size_t bytes = list.size() * sizeof(char16_t);
    *pcbSubkey = static_cast<DWORD>(bytes);
    if (cbSubkey < bytes) {
        return ERROR_MORE_DATA;
    }
    if (!pSubkey) {
        return ERROR_INVALID_PARAMETER;
    }
    std::memcpy(pSubkey, list.data(), bytes);
    return ERROR_SUCCESS;
}

} // extern "C"
