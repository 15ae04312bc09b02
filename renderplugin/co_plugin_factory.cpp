#include "renderplugin/co_plugin_factory.h"

#include <new>
#include "renderplugin/co_plugin.h"

namespace moltr::render {

HRESULT CoPluginFactory::Create(REFIID iid, void** object) {
    auto* plugin = new (std::nothrow) CoPlugin;
    if (plugin == nullptr) {
        return E_OUTOFMEMORY;
    }
    // The plug-in starts with one reference, which the query's own one replaces.
    HRESULT result = plugin->QueryInterface(iid, object);
    plugin->Release();
    return result;
}

} // namespace moltr::render
