#pragma once
// A plug-in's module as the universal driver holds it: loaded with LoadLibraryW, its objects made
// through the class factory its DllGetClassObject gives, and freed on unloading only when its
// DllCanUnloadNow answers S_OK (a module without that export is freed).
#include <windows.h>
#include <objbase.h>
#include <span>

namespace moltr::unidrv {

// One interface a plug-in may offer, with the level the driver gives it.
struct PluginInterface {
    const IID* iid;
    int level;
};

class PluginModule {
public:
    PluginModule() = default;
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;
    ~PluginModule() { Unload(); }

    // A new object of `clsid` at `iid` through the module's class factory: the export's absence
    // as an HRESULT, or the factory's failure.
    HRESULT CreateObject(REFCLSID clsid, REFIID iid, void** object) const;
    // Loads the module at `path` in place of any before, and makes its plug-in: a new object of
    // `clsid` at the first of `interfaces` (newest first) that it answers, with that interface's
    // level. The loader's error as an HRESULT, CreateObject's failure, or E_NOINTERFACE when the
    // object answers none; the module stays loaded until Unload.
    HRESULT LoadPlugin(LPCWSTR path, REFCLSID clsid, std::span<const PluginInterface> interfaces,
                       void** plugin, int* level);
    // Frees the module unless its DllCanUnloadNow says objects of it live on; the caller releases
    // its own first.
    void Unload();

    bool loaded() const { return module_ != nullptr; }
    HMODULE handle() const { return module_; }

private:
    HRESULT Load(LPCWSTR path);
    HRESULT CreatePlugin(REFCLSID clsid, std::span<const PluginInterface> interfaces, void** plugin,
                         int* level) const;

    HMODULE module_ = nullptr;
};

} // namespace moltr::unidrv
