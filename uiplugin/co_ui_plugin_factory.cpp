#include "uiplugin/co_ui_plugin_factory.h"

#include <new>
#include "uiplugin/co_pt_provider.h"
#include "uiplugin/co_ui_plugin.h"

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

HRESULT CoUIPluginFactory::Create(REFIID iid, void** object) {
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

} // namespace moltr::ui
