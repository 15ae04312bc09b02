// Finding and loading resources: FindResourceExW, FindResourceW, LoadResource, LockResource,
// SizeofResource and FreeResource.
#include "src/kernel32/resource_lookup.h"
#include "src/kernel32/module_table.h"

#include <windows.h>

namespace moltr::platform {

const ResourceEntry* FindResourceEntry(HMODULE module, LPCWSTR type, LPCWSTR name, LANGID language,
                                       DWORD& error) {
    const std::vector<ResourceEntry>* entries = nullptr;
    if (!ModuleResources(module, entries, error)) {
        return nullptr;
    }
    if (entries->empty()) {
        error = ERROR_RESOURCE_DATA_NOT_FOUND;
        return nullptr;
    }
    ResourceId typeId;
    ResourceId nameId;
    bool typeFound = false;
    std::vector<const ResourceEntry*> named;
    if (type && ResourceIdFromArgument(type, typeId)) {
        const bool validName = name && ResourceIdFromArgument(name, nameId);
        for (const ResourceEntry& entry : *entries) {
            if (entry.type == typeId) {
                typeFound = true;
                if (validName && entry.name == nameId) {
                    named.push_back(&entry);
                }
            }
        }
    }
    if (named.empty()) {
        error = typeFound ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND;
        return nullptr;
    }
    auto inLanguage = [&](LANGID wanted) -> const ResourceEntry* {
        for (const ResourceEntry* entry : named) {
            if (entry->language == wanted) {
                return entry;
            }
        }
        return nullptr;
    };
    const ResourceEntry* found = inLanguage(language);
    if (!found && language != LANG_NEUTRAL) {
        const LANGID primary = MAKELANGID(PRIMARYLANGID(language), SUBLANG_NEUTRAL);
        found = inLanguage(primary);
        if (!found) {
            found = inLanguage(LANG_NEUTRAL);
        }
    } else if (!found) {
        for (LANGID fallback : {GetUserDefaultUILanguage(), GetSystemDefaultUILanguage(),
                                LANGID{MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT)},
                                LANGID{MAKELANGID(LANG_ENGLISH, SUBLANG_NEUTRAL)}}) {
            if ((found = inLanguage(fallback)) != nullptr) {
                break;
            }
        }
        if (!found) {
            found = named.front();
        }
    }
    if (!found) {
        error = ERROR_RESOURCE_LANG_NOT_FOUND;
    }
    return found;
}

} // namespace moltr::platform

using namespace moltr::platform;

namespace {

// A resource handle is its entry in the module's table; one the table does not hold is refused.
const ResourceEntry* EntryOf(HRSRC resource) {
    const auto* entry = reinterpret_cast<const ResourceEntry*>(resource);
    return entry && IsLoadedResource(entry) ? entry : nullptr;
}

} // namespace

extern "C" {

HRSRC WINAPI FindResourceExW(HMODULE hModule, LPCWSTR lpType, LPCWSTR lpName, WORD wLanguage) {
    DWORD error = ERROR_SUCCESS;
    const ResourceEntry* entry = FindResourceEntry(hModule, lpType, lpName, wLanguage, error);
    if (!entry) {
        SetLastError(error);
    }
    return reinterpret_cast<HRSRC>(const_cast<ResourceEntry*>(entry));
}

HRSRC WINAPI FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType) {
    return FindResourceExW(hModule, lpType, lpName, LANG_NEUTRAL);
}

HGLOBAL WINAPI LoadResource(HMODULE, HRSRC hResInfo) {
    const ResourceEntry* entry = EntryOf(hResInfo);
    if (!entry) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    // Resource data stays where the module holds it, as in a mapped image.
    return const_cast<BYTE*>(entry->data);
}

LPVOID WINAPI LockResource(HGLOBAL hResData) {
    return hResData;
}

DWORD WINAPI SizeofResource(HMODULE, HRSRC hResInfo) {
    const ResourceEntry* entry = EntryOf(hResInfo);
    if (!entry) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return entry->size;
}

BOOL WINAPI FreeResource(HGLOBAL) {
    // Obsolete since 32-bit Windows: nothing to free, and FALSE means success.
    return FALSE;
}
}
