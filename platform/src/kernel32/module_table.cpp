// The simulated loader's table of modules, and the administration calls that fill it.
#include "src/kernel32/module_table.h"
#include "src/kernel32/process_records.h"
#include "sim/machine.h"
#include "sim/module_registry.h"
#include "sim/utf.h"

#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <list>
#include <memory>
#include <mutex>
#include <optional>

namespace fs = std::filesystem;

namespace moltr::platform {
namespace {

// Smallest block a data module takes, so that even a module without resources has an address of
// its own for its handle.
constexpr size_t kMinimumDataBlock = 16;

struct Module {
    HMODULE handle = nullptr;
    bool image = false;
    bool executable = false;
    const link_map* linkMap = nullptr;
    std::string hostFile;
    std::unique_ptr<BYTE[]> bytes;
    std::vector<ResourceEntry> resources;
    ULONG_PTR dataBit = 0;
    DWORD dataReferences = 0;
    // References taken through the dynamic linker by LoadLibrary and GetModuleHandleEx.
    std::vector<void*> dlHandles;
};

struct Table {
    std::mutex lock;
    std::list<Module> modules;
    std::optional<std::u16string> imagePath;
};

// Never destroyed: modules unregister from their destructors, which run after static destructors.
Table& TheTable() {
    static Table* table = new Table;
    return *table;
}

std::string Canonical(const std::string& path) {
    std::error_code ec;
    fs::path canonical = fs::canonical(path, ec);
    return ec ? path : canonical.string();
}

const link_map* LinkMapOf(const void* address) {
    Dl_info info;
    void* map = nullptr;
    if (!dladdr1(address, &info, &map, RTLD_DL_LINKMAP)) {
        return nullptr;
    }
    return static_cast<const link_map*>(map);
}

// With the table locked.
Module* Find(HMODULE handle) {
    for (Module& module : TheTable().modules) {
        if (handle ? module.handle == handle : module.executable) {
            return &module;
        }
    }
    return nullptr;
}

Module* FindImage(HMODULE handle) {
    Module* module = Find(handle);
    return module && module->image ? module : nullptr;
}

bool ReadFile(const std::string& hostFile, std::vector<BYTE>& content) {
    std::ifstream in(hostFile, std::ios::binary);
    if (!in) {
        return false;
    }
    content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

} // namespace

std::u16string NormalizeModuleName(std::u16string name) {
    std::replace(name.begin(), name.end(), u'/', u'\\');
    if (!IsBareModuleName(name)) {
        return name;
    }
    if (!name.empty() && name.back() == u'.') {
        name.pop_back();
    } else if (name.find(u'.') == std::u16string::npos) {
        name += u".dll";
    }
    return name;
}

std::string CanonicalHostFile(const std::u16string& windowsPath) {
    std::string hostFile = sim::HostPath(sim::W(windowsPath));
    std::error_code ec;
    fs::path canonical = hostFile.empty() ? fs::path() : fs::canonical(hostFile, ec);
    return ec ? std::string() : canonical.string();
}

HMODULE ImageOfFile(const std::string& hostFile) {
    std::lock_guard guard(TheTable().lock);
    for (const Module& module : TheTable().modules) {
        if (module.image && module.hostFile == hostFile) {
            return module.handle;
        }
    }
    return nullptr;
}

HMODULE LoadDataModule(const std::string& hostFile, ULONG_PTR bit, DWORD& error) {
    std::lock_guard guard(TheTable().lock);
    for (Module& module : TheTable().modules) {
        if (!module.image && module.hostFile == hostFile && module.dataBit == bit) {
            ++module.dataReferences;
            return module.handle;
        }
    }
    std::vector<BYTE> content;
    if (!ReadFile(hostFile, content)) {
        error = ERROR_ACCESS_DENIED;
        return nullptr;
    }
    size_t offset = 0;
    size_t size = 0;
    // A data file is mapped, and a file of no bytes cannot be.
    if (content.empty()) {
        error = ERROR_FILE_INVALID;
        return nullptr;
    }
    if (!FindResourceImage(content, offset, size)) {
        error = ERROR_BAD_EXE_FORMAT;
        return nullptr;
    }
    Module module;
    module.bytes.reset(new BYTE[std::max(size, kMinimumDataBlock)]);
    std::copy_n(content.data() + offset, size, module.bytes.get());
    if (!ParseResourceImage(module.bytes.get(), size, module.resources)) {
        error = ERROR_BAD_EXE_FORMAT;
        return nullptr;
    }
    module.handle =
        reinterpret_cast<HMODULE>(reinterpret_cast<ULONG_PTR>(module.bytes.get()) | bit);
    module.hostFile = hostFile;
    module.dataBit = bit;
    module.dataReferences = 1;
    TheTable().modules.push_back(std::move(module));
    return TheTable().modules.back().handle;
}

HMODULE LoadImageModule(const std::string& hostFile, DWORD& error) {
    void* dl = dlopen(hostFile.c_str(), RTLD_NOW | RTLD_LOCAL);
    link_map* map = nullptr;
    if (dl && dlinfo(dl, RTLD_DI_LINKMAP, &map) == 0) {
        std::lock_guard guard(TheTable().lock);
        for (Module& module : TheTable().modules) {
            if (module.image && module.linkMap == map) {
                module.dlHandles.push_back(dl);
                return module.handle;
            }
        }
    }
    // Not a module of this system, or not loadable at all.
    if (dl) {
        dlclose(dl);
    }
    error = ERROR_BAD_EXE_FORMAT;
    return nullptr;
}

bool ReleaseModule(HMODULE handle, DWORD& error) {
    void* dl = nullptr;
    {
        std::lock_guard guard(TheTable().lock);
        Module* module = handle ? Find(handle) : nullptr;
        if (!module) {
            error = ERROR_MOD_NOT_FOUND;
            return false;
        }
        if (!module->image) {
            if (--module->dataReferences == 0) {
                TheTable().modules.remove_if([&](const Module& m) { return &m == module; });
            }
            return true;
        }
        // Modules the process was started with stay loaded, as their count is pinned on Windows.
        if (module->dlHandles.empty()) {
            return true;
        }
        dl = module->dlHandles.back();
        module->dlHandles.pop_back();
    }
    dlclose(dl);
    return true;
}

bool ReferenceImage(HMODULE handle, bool pin) {
    std::string hostFile;
    {
        std::lock_guard guard(TheTable().lock);
        Module* module = FindImage(handle);
        if (!module) {
            return false;
        }
        if (module->executable) {
            return true;
        }
        hostFile = module->hostFile;
    }
    void* dl = dlopen(hostFile.c_str(), RTLD_NOW | RTLD_NOLOAD | (pin ? RTLD_NODELETE : 0));
    if (!dl) {
        return false;
    }
    if (pin) {
        dlclose(dl);
        return true;
    }
    std::lock_guard guard(TheTable().lock);
    Module* module = FindImage(handle);
    if (!module) {
        return false;
    }
    module->dlHandles.push_back(dl);
    return true;
}

FARPROC ImageSymbol(HMODULE handle, const char* name, DWORD& error) {
    std::string hostFile;
    const link_map* map = nullptr;
    bool executable = false;
    {
        std::lock_guard guard(TheTable().lock);
        Module* module = handle ? FindImage(handle) : nullptr;
        if (!module) {
            error = ERROR_MOD_NOT_FOUND;
            return nullptr;
        }
        hostFile = module->hostFile;
        map = module->linkMap;
        executable = module->executable;
    }
    void* dl = dlopen(executable ? nullptr : hostFile.c_str(), RTLD_NOW | RTLD_NOLOAD);
    void* symbol = dl ? dlsym(dl, name) : nullptr;
    if (dl) {
        dlclose(dl);
    }
    // Only the module's own exports count, not those of the libraries it uses.
    if (!symbol || LinkMapOf(symbol) != map) {
        error = ERROR_PROC_NOT_FOUND;
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(symbol);
}

std::string ImageHostFile(HMODULE handle) {
    std::lock_guard guard(TheTable().lock);
    Module* module = FindImage(handle);
    return module ? module->hostFile : std::string();
}

HMODULE ExecutableImage() {
    std::lock_guard guard(TheTable().lock);
    Module* module = Find(nullptr);
    return module ? module->handle : nullptr;
}

HMODULE ImageByBaseName(std::u16string_view baseName) {
    const std::u16string wanted = UpperName(baseName);
    const std::u16string imagePath = ProcessImagePath();
    std::lock_guard guard(TheTable().lock);
    for (const Module& module : TheTable().modules) {
        if (!module.image) {
            continue;
        }
        std::u16string name = module.executable
                                  ? imagePath.substr(imagePath.rfind(u'\\') + 1)
                                  : sim::Utf16(fs::path(module.hostFile).filename().string());
        if (UpperName(name) == wanted) {
            return module.handle;
        }
    }
    return nullptr;
}

HMODULE ImageContaining(const void* address) {
    const link_map* map = LinkMapOf(address);
    if (!map) {
        return nullptr;
    }
    std::lock_guard guard(TheTable().lock);
    for (const Module& module : TheTable().modules) {
        if (module.image && module.linkMap == map) {
            return module.handle;
        }
    }
    return nullptr;
}

bool ModuleResources(HMODULE handle, const std::vector<ResourceEntry>*& entries, DWORD& error) {
    std::lock_guard guard(TheTable().lock);
    Module* module = Find(handle);
    if (!module) {
        error = ERROR_MOD_NOT_FOUND;
        return false;
    }
    entries = &module->resources;
    return true;
}

bool IsLoadedResource(const ResourceEntry* entry) {
    std::lock_guard guard(TheTable().lock);
    for (const Module& module : TheTable().modules) {
        const auto& resources = module.resources;
        if (!resources.empty() && entry >= resources.data() &&
            entry < resources.data() + resources.size()) {
            return true;
        }
    }
    return false;
}

const ResourceEntry* ResourceHolding(const void* address, size_t& bytes) {
    const auto* at = static_cast<const BYTE*>(address);
    std::lock_guard guard(TheTable().lock);
    for (const Module& module : TheTable().modules) {
        for (const ResourceEntry& entry : module.resources) {
            // Compared as integers: the address may belong to another block altogether.
            const auto start = reinterpret_cast<uintptr_t>(entry.data);
            const auto wanted = reinterpret_cast<uintptr_t>(at);
            const bool inside = wanted >= start && (wanted - start < entry.size || wanted == start);
            if (entry.data && inside) {
                bytes = entry.size - (wanted - start);
                return &entry;
            }
        }
    }
    return nullptr;
}

bool ResourceBytesFrom(const void* address, size_t& bytes) {
    return ResourceHolding(address, bytes) != nullptr;
}

std::u16string ProcessImagePath() {
    {
        std::lock_guard guard(TheTable().lock);
        if (TheTable().imagePath) {
            return *TheTable().imagePath;
        }
    }
    return sim::WindowsPath(Canonical("/proc/self/exe"));
}

} // namespace moltr::platform

namespace moltr::sim {

void RegisterModule(const void* base, const void* resources, size_t size) {
    platform::Module module;
    module.handle = static_cast<HMODULE>(const_cast<void*>(base));
    module.image = true;
    module.linkMap = platform::LinkMapOf(base);
    module.executable = module.linkMap && module.linkMap->l_name[0] == '\0';
    module.hostFile = platform::Canonical(
        module.executable || !module.linkMap ? "/proc/self/exe" : module.linkMap->l_name);
    // The build made the image with windres; one that does not parse leaves the module without
    // resources rather than the process without the module.
    platform::ParseResourceImage(static_cast<const BYTE*>(resources), size, module.resources);
    std::lock_guard guard(platform::TheTable().lock);
    platform::TheTable().modules.push_back(std::move(module));
}

void UnregisterModule(const void* base) {
    std::lock_guard guard(platform::TheTable().lock);
    platform::TheTable().modules.remove_if(
        [&](const platform::Module& module) { return module.image && module.handle == base; });
}

void SetProcessImagePath(const WCHAR* windowsPath) {
    {
        std::lock_guard guard(platform::TheTable().lock);
        if (windowsPath) {
            platform::TheTable().imagePath = std::u16string(View(windowsPath));
        } else {
            platform::TheTable().imagePath.reset();
        }
    }
    // Other processes of the machine see the new name.
    if (!MachineRoot().empty()) {
        platform::UpdateThisProcessImage();
    }
}

} // namespace moltr::sim
