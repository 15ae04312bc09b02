// MOLTRUIP.DLL's exports: the class object of its two classes and whether it may be unloaded.
#include <windows.h>
#include <objbase.h>
#include "uiplugin/co_ui_plugin.h"
#include "uiplugin/co_ui_plugin_factory.h"

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
    return moltr::common::GetClassObject<moltr::ui::CoUIPluginFactory>(iid, object);
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return moltr::common::CanUnloadNow();
}
}
