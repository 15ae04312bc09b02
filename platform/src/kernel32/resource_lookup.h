#pragma once
// The one lookup of a module's resources behind FindResourceExW and every loader of a resource
// kind (strings, version information, icons, dialogs...).
#include "src/kernel32/resource_image.h"

#include <windows.h>

namespace moltr::platform {

// The resource `type`/`name` of `module` (NULL: the executable) in `language` or the language the
// loader falls back to: for a specific language the language itself, its primary language
// (SUBLANG_NEUTRAL), then LANG_NEUTRAL; for LANG_NEUTRAL that language, the user's and the system's
// UI languages, English (United States, then primary English) and finally the first language the
// resource has. NULL with `error` set when there is none.
const ResourceEntry* FindResourceEntry(HMODULE module, LPCWSTR type, LPCWSTR name, LANGID language,
                                       DWORD& error);

} // namespace moltr::platform
