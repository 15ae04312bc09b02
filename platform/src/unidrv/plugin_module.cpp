#include "src/unidrv/plugin_module.h"

namespace moltr::unidrv {
namespace {

using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);
using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();

// An export by name as its real type; through void*, as that type is not FARPROC's.
template <typename Function> Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace

HRESULT PluginModule::Load(LPCWSTR path) {
    Unload();
    module_ = LoadLibraryW(path);
    return module_ ? S_OK : HRESULT_FROM_WIN32(GetLastError());
}

HRESULT PluginModule::LoadPlugin(LPCWSTR path, REFCLSID clsid,
                                 std::span<const PluginInterface> interfaces, void** plugin,
                                 int* level) {
    HRESULT result = Load(path);
    return SUCCEEDED(result) ? CreatePlugin(clsid, interfaces, plugin, level) : result;
}

HRESULT PluginModule::CreateObject(REFCLSID clsid, REFIID iid, void** object) const {
    auto getClassObject = Export<GetClassObject>(module_, "DllGetClassObject");
    if (!getClassObject) {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    IClassFactory* factory = nullptr;
    HRESULT result = getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(result)) {
        return result;
    }
    result = factory->CreateInstance(nullptr, iid, object);
    factory->Release();
    return result;
}

HRESULT PluginModule::CreatePlugin(REFCLSID clsid, std::span<const PluginInterface> interfaces,
                                   void** plugin, int* level) const {
    IUnknown* object = nullptr;
    HRESULT result = CreateObject(clsid, IID_IUnknown, reinterpret_cast<void**>(&object));
    if (FAILED(result)) {
        return result;
    }
    result = E_NOINTERFACE;
    for (const PluginInterface& wanted : interfaces) {
        if (object->QueryInterface(*wanted.iid, plugin) == S_OK && *plugin) {
            *level = wanted.level;
            result = S_OK;
            break;
        }
        *plugin = nullptr;
    }
    object->Release();
    return result;
}

void PluginModule::Unload() {
    if (!module_) {
        return;
    }
    auto canUnload = Export<CanUnloadNow>(module_, "DllCanUnloadNow");
    if (!canUnload || canUnload() == S_OK) {
        FreeLibrary(module_);
    }
    module_ = nullptr;
}

} // namespace moltr::unidrv
