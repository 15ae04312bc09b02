#include "uiplugin/co_ui_plugin_factory.h"

#include <new>
#include "uiplugin/co_pt_provider.h"
#include "uiplugin/co_ui_plugin.h"
#include "uiplugin/module_counts.h"

namespace moltr::ui {
namespace {

HRESULT CreateProvider(REFIID iid, void** object) {
    auto* provider = new (std::nothrow) CoPTProvider;
    if (provider == nullptr) {
        return E_OUTOFMEMORY;
    }
    provider->AddRef();
    HRESULT result = provider->QueryInterface(iid, object);
    provider->Release();
    return result;
}

} // namespace

CoUIPluginFactory::CoUIPluginFactory() {
    AddLiveObject();
}

CoUIPluginFactory::~CoUIPluginFactory() {
    RemoveLiveObject();
}

STDMETHODIMP CoUIPluginFactory::QueryInterface(REFIID iid, void** object) {
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

STDMETHODIMP_(ULONG) CoUIPluginFactory::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) CoUIPluginFactory::Release() {
    LONG count = InterlockedDecrement(&references_);
    if (count == 0) {
        delete this;
    }
    return static_cast<ULONG>(count);
}

STDMETHODIMP CoUIPluginFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    UIPluginHooks hooks = {};
    FillProductHooks(hooks);
    if (hooks.construct != nullptr) {
        hooks.construct(&hooks);
    }
    auto* plugin = new (std::nothrow) CoUIPlugin(hooks);
    if (plugin == nullptr) {
        return E_OUTOFMEMORY;
    }
    plugin->AddRef();
    HRESULT result = plugin->QueryInterface(iid, object);
    if (FAILED(result)) {
        result = CreateProvider(iid, object);
    }
    // Released on every path, so a failed provider leaves no live object behind.
    plugin->Release();
    return result;
}

STDMETHODIMP CoUIPluginFactory::LockServer(BOOL lock) {
    if (lock) {
        AddServerLock();
    } else {
        RemoveServerLock();
    }
    return S_OK;
}

} // namespace moltr::ui
