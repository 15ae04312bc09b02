// MOLTRRPC.DLL's exports: the class object of its one class and whether it may be unloaded.
#include <windows.h>
#include <objbase.h>
#include <new>
#include "renderplugin/co_plugin.h"
#include "renderplugin/co_plugin_factory.h"
#include "renderplugin/module_counts.h"

extern "C" {

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (!IsEqualCLSID(clsid, moltr::render::CLSID_MoltrRenderPlugin)) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    auto* factory = new (std::nothrow) moltr::render::CoPluginFactory;
    if (factory == nullptr) {
        return E_OUTOFMEMORY;
    }
    factory->AddRef();
    HRESULT result = factory->QueryInterface(iid, object);
    factory->Release();
    return result;
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return moltr::render::ModuleInUse() ? S_FALSE : S_OK;
}
}
