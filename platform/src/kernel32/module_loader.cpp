// LoadLibrary and its family: modules loaded as data files for their resources, and images loaded
// through the dynamic linker.
#include "src/kernel32/module_table.h"
#include "src/kernel32/system_modules.h"
#include "sim/machine.h"
#include "sim/utf.h"

#include <windows.h>
#include <filesystem>

namespace fs = std::filesystem;

namespace moltr::platform {
namespace {

constexpr DWORD kDataFlags =
    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE | LOAD_LIBRARY_AS_IMAGE_RESOURCE;

enum class Lookup { Found, NotFound, PathNotFound, Directory };

Lookup ExistingFile(const std::u16string& windowsPath, std::string& hostFile) {
    const std::string mapped = sim::HostPath(sim::W(windowsPath));
    std::error_code ec;
    if (mapped.empty() || !fs::exists(fs::path(mapped).parent_path(), ec)) {
        return Lookup::PathNotFound;
    }
    fs::file_status status = fs::status(mapped, ec);
    if (fs::is_directory(status)) {
        return Lookup::Directory;
    }
    hostFile = fs::is_regular_file(status) ? CanonicalHostFile(windowsPath) : std::string();
    return hostFile.empty() ? Lookup::NotFound : Lookup::Found;
}

std::u16string Folder(const std::u16string& windowsPath) {
    return windowsPath.substr(0, windowsPath.rfind(u'\\') + 1);
}

// Finds the module file `name` (normalised) as the loader does: a path is taken as it is (a
// relative one from the application's folder); a bare name is searched for among the loaded images,
// then in the application's folder and the system folders.
Lookup FindModuleFile(const std::u16string& name, bool searchLoaded, std::string& hostFile,
                      HMODULE& loaded) {
    const std::u16string applicationFolder = Folder(ProcessImagePath());
    if (!IsBareModuleName(name)) {
        const bool absolute = name.size() >= 3 && name[1] == u':' && name[2] == u'\\';
        return ExistingFile(absolute ? name : applicationFolder + name, hostFile);
    }
    if (searchLoaded && (loaded = ImageByBaseName(name)) != nullptr) {
        return Lookup::Found;
    }
    for (const std::u16string& folder :
         {applicationFolder, std::u16string(u"C:\\Windows\\System32\\"),
          std::u16string(u"C:\\Windows\\")}) {
        if (ExistingFile(folder + name, hostFile) == Lookup::Found) {
            return Lookup::Found;
        }
    }
    return Lookup::NotFound;
}

} // namespace
} // namespace moltr::platform

using namespace moltr::platform;

extern "C" {

HMODULE WINAPI LoadLibraryExW(LPCWSTR lpLibFileName, HANDLE hFile, DWORD dwFlags) {
    if (!lpLibFileName || !*lpLibFileName || hFile) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const bool data = (dwFlags & kDataFlags) != 0;
    const std::u16string name =
        NormalizeModuleName(std::u16string(moltr::sim::View(lpLibFileName)));
    const bool bare = IsBareModuleName(name);
    if (HMODULE system = data ? nullptr : SystemModuleNamed(name)) {
        return system;
    }
    std::string hostFile;
    HMODULE loaded = nullptr;
    DWORD error = ERROR_SUCCESS;
    switch (FindModuleFile(name, !data, hostFile, loaded)) {
    case Lookup::Found:
        break;
    case Lookup::Directory:
        error = data ? ERROR_ACCESS_DENIED : ERROR_MOD_NOT_FOUND;
        break;
    case Lookup::PathNotFound:
        error = data && !bare ? ERROR_PATH_NOT_FOUND : ERROR_MOD_NOT_FOUND;
        break;
    case Lookup::NotFound:
        // Data files are opened like any file; images are what the loader could not find.
        error = data && !bare ? ERROR_FILE_NOT_FOUND : ERROR_MOD_NOT_FOUND;
        break;
    }
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return nullptr;
    }
    if (!loaded && !(dwFlags & LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE)) {
        // A module loaded as an image already serves data requests through its own handle.
        loaded = ImageOfFile(hostFile);
    }
    HMODULE module = nullptr;
    if (loaded) {
        module = ReferenceImage(loaded, false) ? loaded : nullptr;
        error = ERROR_MOD_NOT_FOUND;
    } else if (data) {
        const ULONG_PTR bit =
            (dwFlags & LOAD_LIBRARY_AS_IMAGE_RESOURCE) ? kImageResourceBit : kDataFileBit;
        module = LoadDataModule(hostFile, bit, error);
    } else {
        module = LoadImageModule(hostFile, error);
    }
    if (!module) {
        SetLastError(error);
    }
    return module;
}

HMODULE WINAPI LoadLibraryW(LPCWSTR lpLibFileName) {
    return LoadLibraryExW(lpLibFileName, nullptr, 0);
}

HMODULE WINAPI LoadLibraryA(LPCSTR lpLibFileName) {
    if (!lpLibFileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // Module names are ASCII; each byte stands for the character of the same value.
    std::u16string name;
    for (const char* p = lpLibFileName; *p; ++p) {
        name.push_back(static_cast<unsigned char>(*p));
    }
    return LoadLibraryExW(moltr::sim::W(name), nullptr, 0);
}

BOOL WINAPI FreeLibrary(HMODULE hLibModule) {
    DWORD error = ERROR_SUCCESS;
    if (IsSystemModule(hLibModule)) {
        return TRUE;
    }
    if (!ReleaseModule(hLibModule, error)) {
        SetLastError(error);
        return FALSE;
    }
    return TRUE;
}

FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
    DWORD error = ERROR_SUCCESS;
    FARPROC proc = nullptr;
    if (!lpProcName) {
        error = ERROR_INVALID_PARAMETER;
    } else if (IsSystemModule(hModule)) {
        proc = SystemModuleExport(hModule, lpProcName, error);
    } else if (IS_INTRESOURCE(lpProcName)) {
        // Host modules export by name only.
        error = ERROR_PROC_NOT_FOUND;
    } else {
        proc = ImageSymbol(hModule ? hModule : ExecutableImage(), lpProcName, error);
    }
    if (!proc) {
        SetLastError(error);
    }
    return proc;
}
}
