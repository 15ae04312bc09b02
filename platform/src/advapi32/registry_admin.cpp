// The registry's administration calls, made of the registry functions themselves.
#include "sim/registry_admin.h"
#include "sim/utf.h"

namespace moltr::sim {
namespace {

// The root key and the rest of an administration path.
bool Root(const std::string& key, HKEY& root, std::u16string& rest) {
    static const std::pair<const char*, HKEY> roots[] = {
        {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
        {"HKLM", HKEY_LOCAL_MACHINE},
        {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {"HKCU", HKEY_CURRENT_USER},
        {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
        {"HKCR", HKEY_CLASSES_ROOT},
        {"HKEY_USERS", HKEY_USERS},
    };
    size_t slash = key.find('\\');
    std::string first = key.substr(0, slash);
    for (const auto& [name, handle] : roots) {
        if (first == name) {
            root = handle;
            rest = Utf16(slash == std::string::npos ? std::string() : key.substr(slash + 1));
            return true;
        }
    }
    return false;
}

} // namespace

bool SetRegistryValue(const std::string& key, const std::string& name, DWORD type,
                      const std::vector<BYTE>& data) {
    HKEY root = nullptr, opened = nullptr;
    std::u16string rest;
    if (!Root(key, root, rest) || RegCreateKeyExW(root, W(rest), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                  nullptr, &opened, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    std::u16string wideName = Utf16(name);
    LONG set =
        RegSetValueExW(opened, W(wideName), 0, type, data.data(), static_cast<DWORD>(data.size()));
    RegCloseKey(opened);
    return set == ERROR_SUCCESS;
}

bool SetRegistryString(const std::string& key, const std::string& name, const std::string& value,
                       DWORD type) {
    std::u16string wide = Utf16(value);
    const BYTE* bytes = reinterpret_cast<const BYTE*>(wide.c_str());
    return SetRegistryValue(key, name, type,
                            std::vector<BYTE>(bytes, bytes + (wide.size() + 1) * sizeof(WCHAR)));
}

bool SetRegistryDword(const std::string& key, const std::string& name, DWORD value) {
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&value);
    return SetRegistryValue(key, name, REG_DWORD, std::vector<BYTE>(bytes, bytes + sizeof(value)));
}

bool GetRegistryValue(const std::string& key, const std::string& name, DWORD& type,
                      std::vector<BYTE>& data) {
    HKEY root = nullptr, opened = nullptr;
    std::u16string rest;
    if (!Root(key, root, rest) ||
        RegOpenKeyExW(root, W(rest), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return false;
    }
    std::u16string wideName = Utf16(name);
    DWORD size = 0;
    LONG result = RegQueryValueExW(opened, W(wideName), nullptr, &type, nullptr, &size);
    if (result == ERROR_SUCCESS) {
        data.resize(size);
        result = RegQueryValueExW(opened, W(wideName), nullptr, &type, data.data(), &size);
        data.resize(size);
    }
    RegCloseKey(opened);
    return result == ERROR_SUCCESS;
}

} // namespace moltr::sim
