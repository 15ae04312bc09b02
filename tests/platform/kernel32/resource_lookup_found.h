#pragma once
// The lookups of the resource tests on this program's resources (resource_lookup.rc), each
// answered by the language tag stored in the resource found.
#include "this_module.h"
#include <windows.h>

#include <string>

namespace resource_lookup {

inline constexpr LANGID kGerman = 0x0407;
inline constexpr LANGID kSwissGerman = 0x0807;
inline constexpr LANGID kAustrianGerman = 0x0C07;
inline constexpr LANGID kFrench = 0x040C;
inline constexpr LANGID kItalian = 0x0410;
inline constexpr LANGID kEnglishUs = 0x0409;

// The language tag stored in the resource found, or the error code as text.
inline std::string Found(LPCWSTR type, LPCWSTR name, WORD language,
                         HMODULE module = ThisModuleHandle()) {
    SetLastError(ERROR_SUCCESS);
    HRSRC resource = FindResourceExW(module, type, name, language);
    if (!resource) {
        return "error " + std::to_string(GetLastError());
    }
    const char* data = static_cast<const char*>(LockResource(LoadResource(module, resource)));
    return data ? std::string(data, SizeofResource(module, resource) - 1) : "no data";
}

inline std::string FoundData(int id, WORD language) {
    return Found(RT_RCDATA, MAKEINTRESOURCEW(id), language);
}

inline const std::string kTypeNotFound = "error " + std::to_string(ERROR_RESOURCE_TYPE_NOT_FOUND);
inline const std::string kNameNotFound = "error " + std::to_string(ERROR_RESOURCE_NAME_NOT_FOUND);
inline const std::string kLangNotFound = "error " + std::to_string(ERROR_RESOURCE_LANG_NOT_FOUND);

} // namespace resource_lookup
