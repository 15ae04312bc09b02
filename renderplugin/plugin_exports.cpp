// MOLTRRPC.DLL's exports: the class object of its one class and whether it may be unloaded.
#include <windows.h>
#include <objbase.h>
#include "renderplugin/co_plugin.h"
#include "renderplugin/co_plugin_factory.h"

extern "C" {

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (!IsEqualCLSID(clsid, moltr::render::CLSID_MoltrRenderPlugin)) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return moltr::common::GetClassObject<moltr::render::CoPluginFactory>(iid, object);
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return moltr::common::CanUnloadNow();
}
}
