#include "renderplugin/co_plugin_factory.h"

#include <new>
#include "renderplugin/co_plugin.h"
#include "renderplugin/module_counts.h"

namespace moltr::render {

CoPluginFactory::CoPluginFactory() {
    AddLiveObject();
}

CoPluginFactory::~CoPluginFactory() {
    RemoveLiveObject();
}

STDMETHODIMP CoPluginFactory::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CoPluginFactory::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) CoPluginFactory::Release() {
    LONG count = InterlockedDecrement(&references_);
    if (count == 0) {
        delete this;
    }
    return static_cast<ULONG>(count);
}

STDMETHODIMP CoPluginFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    auto* plugin = new (std::nothrow) CoPlugin;
    if (plugin == nullptr) {
        return E_OUTOFMEMORY;
    }
    // The plug-in starts with one reference, which the query's own one replaces.
    HRESULT result = plugin->QueryInterface(iid, object);
    plugin->Release();
    return result;
}

STDMETHODIMP CoPluginFactory::LockServer(BOOL lock) {
    if (lock) {
        AddServerLock();
    } else {
        RemoveServerLock();
    }
    return S_OK;
}

} // namespace moltr::render
