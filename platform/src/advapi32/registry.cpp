// The registry functions: keys opened by path, with the documented sizing protocol for values.
// Like Windows, they return their error code and leave the last error alone.
#include "src/core/handle_table.h"
#include "src/advapi32/registry_store.h"
#include "sim/utf.h"

#include <cstring>

namespace moltr::sim {
namespace {

class RegistryKeyObject : public KernelObject {
public:
    RegistryKeyObject(KeyPath path, REGSAM access) : path(std::move(path)), access(access) {}
    const KeyPath path;
    const REGSAM access;
};

struct OpenKey {
    KeyPath path;
    REGSAM access = 0;
};

// The path and access behind a predefined key or an open key's handle.
bool Resolve(HKEY key, OpenKey& open) {
    constexpr REGSAM kAll = KEY_ALL_ACCESS;
    if (key == HKEY_LOCAL_MACHINE) {
        open = {{u"HKEY_LOCAL_MACHINE"}, kAll};
    } else if (key == HKEY_CURRENT_USER) {
        open = {{u"HKEY_CURRENT_USER"}, kAll};
    } else if (key == HKEY_USERS) {
        open = {{u"HKEY_USERS"}, kAll};
    } else if (key == HKEY_CLASSES_ROOT) {
        // The machine's classes, which is what a user without classes of their own sees.
        open = {{u"HKEY_LOCAL_MACHINE", u"SOFTWARE", u"Classes"}, kAll};
    } else if (auto object = LookupHandleAs<RegistryKeyObject>(key)) {
        open = {object->path, object->access};
    } else {
        return false;
    }
    return true;
}

// Splits a subkey path at its backslashes; a leading backslash is refused as by Windows.
bool Split(LPCWSTR subKey, KeyPath& names) {
    std::u16string_view text = View(subKey);
    if (!text.empty() && text[0] == u'\\') {
        return false;
    }
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(u'\\', start);
        if (end == std::u16string_view::npos) {
            end = text.size();
        }
        if (end > start) {
            names.emplace_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return true;
}

LONG Hand(KeyPath path, REGSAM access, PHKEY result) {
    HANDLE handle = InsertHandle(std::make_shared<RegistryKeyObject>(std::move(path), access));
    if (!handle) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    *result = static_cast<HKEY>(handle);
    return ERROR_SUCCESS;
}

// The data-out protocol of RegQueryValueExW and RegEnumValueW.
LONG CopyData(const RegistryValue& value, LPDWORD type, LPBYTE data, LPDWORD size) {
    if (type) {
        *type = value.type;
    }
    if (data && !size) {
        return ERROR_INVALID_PARAMETER;
    }
    if (!size) {
        return ERROR_SUCCESS;
    }
    const DWORD needed = static_cast<DWORD>(value.data.size());
    if (data && *size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (data && needed) {
        std::memcpy(data, value.data.data(), needed);
    }
    *size = needed;
    return ERROR_SUCCESS;
}

// The name-out protocol of the enumerations: sizes in characters, the NUL counted going in only.
LONG CopyName(const std::u16string& name, LPWSTR buffer, LPDWORD length) {
    if (!buffer || !length) {
        return ERROR_INVALID_PARAMETER;
    }
    if (*length <= name.size()) {
        return ERROR_MORE_DATA;
    }
    std::memcpy(buffer, name.data(), name.size() * sizeof(WCHAR));
    buffer[name.size()] = 0;
    *length = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

// Runs `work` on the key behind `key` after checking that it was opened with `needed` access.
LONG OnKey(HKEY key, REGSAM needed, bool write,
           const std::function<LONG(RegistryNode& node)>& work) {
    OpenKey open;
    if (!Resolve(key, open)) {
        return ERROR_INVALID_HANDLE;
    }
    if ((open.access & needed) != needed) {
        return ERROR_ACCESS_DENIED;
    }
    return WithRegistry(write, [&](RegistryNode& top) -> LONG {
        RegistryNode* node = FindKey(top, open.path);
        if (!node) {
            return ERROR_KEY_DELETED;
        }
        return work(*node);
    });
}

} // namespace
} // namespace moltr::sim

using namespace moltr::sim;

extern "C" {

LSTATUS WINAPI RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, REGSAM samDesired,
                             PHKEY phkResult) {
    if (!phkResult) {
        return ERROR_INVALID_PARAMETER;
    }
    *phkResult = nullptr;
    OpenKey open;
    KeyPath names;
    if (!Resolve(hKey, open)) {
        return ERROR_INVALID_HANDLE;
    }
    if (!Split(lpSubKey, names)) {
        return ERROR_BAD_PATHNAME;
    }
    open.path.insert(open.path.end(), names.begin(), names.end());
    KeyPath stored;
    LONG found = WithRegistry(false, [&](RegistryNode& top) -> LONG {
        RegistryNode* node = &top;
        for (const std::u16string& name : open.path) {
            node = node->Child(name);
            if (!node) {
                return ERROR_FILE_NOT_FOUND;
            }
            stored.push_back(node->name);
        }
        return ERROR_SUCCESS;
    });
    return found == ERROR_SUCCESS ? Hand(stored, samDesired, phkResult) : found;
}

LSTATUS WINAPI RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, LPWSTR, DWORD, REGSAM samDesired,
                               const LPSECURITY_ATTRIBUTES, PHKEY phkResult,
                               LPDWORD lpdwDisposition) {
    if (!phkResult || !lpSubKey) {
        return ERROR_INVALID_PARAMETER;
    }
    *phkResult = nullptr;
    KeyPath names;
    if (!Split(lpSubKey, names)) {
        return ERROR_BAD_PATHNAME;
    }
    KeyPath stored;
    DWORD disposition = REG_OPENED_EXISTING_KEY;
    OpenKey open;
    if (!Resolve(hKey, open)) {
        return ERROR_INVALID_HANDLE;
    }
    // Creation is checked against the key's security, not the handle's rights, so any handle may
    // create; the simulated keys have no security of their own.
    LONG result = OnKey(hKey, 0, true, [&](RegistryNode& node) -> LONG {
        RegistryNode* current = &node;
        stored = open.path;
        for (const std::u16string& name : names) {
            if (!current->Child(name)) {
                disposition = REG_CREATED_NEW_KEY;
            }
            current = &current->ChildOrNew(name);
            stored.push_back(current->name);
        }
        return ERROR_SUCCESS;
    });
    if (result != ERROR_SUCCESS) {
        return result;
    }
    if (lpdwDisposition) {
        *lpdwDisposition = disposition;
    }
    return Hand(stored, samDesired, phkResult);
}

LSTATUS WINAPI RegCloseKey(HKEY hKey) {
    OpenKey open;
    if (!Resolve(hKey, open)) {
        return ERROR_INVALID_HANDLE;
    }
    if (LookupHandleAs<RegistryKeyObject>(hKey)) {
        RemoveHandle(hKey);
    }
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                                LPBYTE lpData, LPDWORD lpcbData) {
    if (lpReserved || (lpData && !lpcbData)) {
        return ERROR_INVALID_PARAMETER;
    }
    return OnKey(hKey, KEY_QUERY_VALUE, false, [&](RegistryNode& node) -> LONG {
        RegistryValue* value = node.Value(View(lpValueName));
        return value ? CopyData(*value, lpType, lpData, lpcbData) : ERROR_FILE_NOT_FOUND;
    });
}

LSTATUS WINAPI RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD, DWORD dwType,
                              const BYTE* lpData, DWORD cbData) {
    if (!lpData && cbData) {
        return ERROR_NOACCESS;
    }
    return OnKey(hKey, KEY_SET_VALUE, true, [&](RegistryNode& node) -> LONG {
        std::vector<BYTE> data(lpData, lpData + cbData);
        if (RegistryValue* value = node.Value(View(lpValueName))) {
            value->type = dwType;
            value->data = std::move(data);
        } else {
            node.values.push_back(
                RegistryValue{std::u16string(View(lpValueName)), dwType, std::move(data)});
        }
        return ERROR_SUCCESS;
    });
}

LSTATUS WINAPI RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
    return OnKey(hKey, KEY_SET_VALUE, true, [&](RegistryNode& node) -> LONG {
        RegistryValue* value = node.Value(View(lpValueName));
        if (!value) {
            return ERROR_FILE_NOT_FOUND;
        }
        node.values.erase(node.values.begin() + (value - node.values.data()));
        return ERROR_SUCCESS;
    });
}

// Deletes a key that has no subkeys.
LSTATUS WINAPI RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) {
    KeyPath names;
    if (!lpSubKey || !Split(lpSubKey, names)) {
        return ERROR_INVALID_PARAMETER;
    }
    if (names.empty()) {
        return ERROR_ACCESS_DENIED;
    }
    return OnKey(hKey, 0, true, [&](RegistryNode& node) -> LONG {
        KeyPath parentPath(names.begin(), names.end() - 1);
        RegistryNode* parent = FindKey(node, parentPath);
        RegistryNode* victim = parent ? parent->Child(names.back()) : nullptr;
        if (!victim) {
            return ERROR_FILE_NOT_FOUND;
        }
        if (!victim->subkeys.empty()) {
            return ERROR_ACCESS_DENIED;
        }
        parent->subkeys.erase(parent->subkeys.begin() + (victim - parent->subkeys.data()));
        return ERROR_SUCCESS;
    });
}

LSTATUS WINAPI RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName,
                             LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
    if (lpReserved || (lpData && !lpcbData)) {
        return ERROR_INVALID_PARAMETER;
    }
    return OnKey(hKey, KEY_QUERY_VALUE, false, [&](RegistryNode& node) -> LONG {
        if (dwIndex >= node.values.size()) {
            return ERROR_NO_MORE_ITEMS;
        }
        const RegistryValue& value = node.values[dwIndex];
        LONG named = CopyName(value.name, lpValueName, lpcchValueName);
        return named == ERROR_SUCCESS ? CopyData(value, lpType, lpData, lpcbData) : named;
    });
}

LSTATUS WINAPI RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName,
                             LPDWORD lpReserved, LPWSTR lpClass, LPDWORD lpcchClass,
                             PFILETIME lpftLastWriteTime) {
    if (lpReserved) {
        return ERROR_INVALID_PARAMETER;
    }
    return OnKey(hKey, KEY_ENUMERATE_SUB_KEYS, false, [&](RegistryNode& node) -> LONG {
        if (dwIndex >= node.subkeys.size()) {
            return ERROR_NO_MORE_ITEMS;
        }
        LONG named = CopyName(node.subkeys[dwIndex].name, lpName, lpcchName);
        if (named == ERROR_SUCCESS && lpClass && lpcchClass && *lpcchClass > 0) {
            lpClass[0] = 0;
            *lpcchClass = 0;
        }
        if (named == ERROR_SUCCESS && lpftLastWriteTime) {
            *lpftLastWriteTime = FILETIME{};
        }
        return named;
    });
}
}
