// MOLTRUIP.DLL's exports: the class object of its two classes and whether it may be unloaded.
#include <windows.h>
#include <objbase.h>
#include <new>
#include "uiplugin/co_ui_plugin.h"
#include "uiplugin/co_ui_plugin_factory.h"
#include "uiplugin/module_counts.h"

extern "C" {

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (!IsEqualCLSID(clsid, moltr::ui::CLSID_OEMUI) &&
        !IsEqualCLSID(clsid, moltr::ui::CLSID_OEMPTPROVIDER)) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    auto* factory = new (std::nothrow) moltr::ui::CoUIPluginFactory;
    if (factory == nullptr) {
        return E_OUTOFMEMORY;
    }
    factory->AddRef();
    HRESULT result = factory->QueryInterface(iid, object);
    factory->Release();
    return result;
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return moltr::ui::ModuleInUse() ? S_FALSE : S_OK;
}
}
