#pragma once
// The simulated loader's table of the modules of this process: the images that registered
// themselves (every host module's anchor does, with its own __ImageBase as its handle) and the
// files loaded as data, whose handles carry the low bits Windows sets on them. All calls take the
// table's lock; none holds it while the dynamic linker runs a module's constructors or destructors.
#include "src/kernel32/resource_image.h"

#include <windows.h>
#include <string>
#include <vector>

namespace moltr::platform {

// Low bits of a data module's handle: 1 for a plain data file, 2 for an image resource mapping.
constexpr ULONG_PTR kDataFileBit = 1;
constexpr ULONG_PTR kImageResourceBit = 2;

inline bool IsDataModuleHandle(HMODULE module) {
    return (reinterpret_cast<ULONG_PTR>(module) & (kDataFileBit | kImageResourceBit)) != 0;
}

// A module name as the loader reads it: '/' taken as '\\', and a bare name (no folder) without an
// extension given ".dll", unless it ends in '.', which stands for no extension.
std::u16string NormalizeModuleName(std::u16string name);
inline bool IsBareModuleName(const std::u16string& name) {
    return name.find_first_of(u"\\:") == std::u16string::npos;
}

// The canonical host file of an existing file's Windows path; empty when there is none.
std::string CanonicalHostFile(const std::u16string& windowsPath);

// The registered image whose host file is `hostFile` (canonical), or NULL.
HMODULE ImageOfFile(const std::string& hostFile);

// Loads the canonical host file as a data module with `bit` in its handle, or takes one more
// reference on it when it is loaded that way already. NULL with `error` set when the file holds no
// resources the loader can read.
HMODULE LoadDataModule(const std::string& hostFile, ULONG_PTR bit, DWORD& error);

// Loads the canonical host file, not loaded yet, as an image through the dynamic linker.
HMODULE LoadImageModule(const std::string& hostFile, DWORD& error);

// Drops one reference; an image's last reference taken by LoadImageModule unloads it.
bool ReleaseModule(HMODULE module, DWORD& error);

// Takes a reference on a registered image, as loading it again does; `pin` keeps it loaded for
// good.
bool ReferenceImage(HMODULE module, bool pin);

// Resolves a named export of an image.
FARPROC ImageSymbol(HMODULE module, const char* name, DWORD& error);

// The host file of a registered image (NULL: the executable); empty when there is none.
std::string ImageHostFile(HMODULE module);

// The executable's own registered image, or NULL.
HMODULE ExecutableImage();

// The registered image whose Windows base name is `baseName`, ignoring case, or NULL.
HMODULE ImageByBaseName(std::u16string_view baseName);

// The registered image that contains `address`, or NULL.
HMODULE ImageContaining(const void* address);

// The resources of a module (NULL: the executable). False with `error` set for a handle that
// names no module.
bool ModuleResources(HMODULE module, const std::vector<ResourceEntry>*& entries, DWORD& error);

// Whether `entry` is a resource of a loaded module.
bool IsLoadedResource(const ResourceEntry* entry);

// The bytes from `address` to the end of the resource of a loaded module that holds it. False when
// no such resource holds the address.
bool ResourceBytesFrom(const void* address, size_t& bytes);
// The same, with the resource itself (valid while its module stays loaded); NULL when
// none holds the address.
const ResourceEntry* ResourceHolding(const void* address, size_t& bytes);

// The Windows path of the process image: set by the administration call, else the executable's.
std::u16string ProcessImagePath();

} // namespace moltr::platform
