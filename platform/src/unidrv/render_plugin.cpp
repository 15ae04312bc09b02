#include "src/unidrv/render_plugin.h"

#include <string>
#include "src/unidrv/driver_services.h"
#include "src/unidrv/plugin_file.h"

namespace moltr::unidrv {
namespace {

// The class the universal driver creates from a render plug-in's DllGetClassObject.
// {6D6ABF26-9F38-11D1-882A-00C04FB961EC}
constexpr CLSID kRenderPluginClass = {
    0x6d6abf26, 0x9f38, 0x11d1, {0x88, 0x2a, 0x00, 0xc0, 0x4f, 0xb9, 0x61, 0xec}};

// Asked in this order: the newest interface the plug-in offers is the one the driver uses.
constexpr PluginInterface kPluginInterfaces[] = {
    {&IID_IPrintOemUni3, 3},
    {&IID_IPrintOemUni2, 2},
    {&IID_IPrintOemUni, 1},
};

// The methods a plug-in may leave out, by the level of interface that has them; the driver asks
// GetImplementedMethod for each before it calls it.
struct OptionalMethod {
    const char* name;
    int level;
};

constexpr OptionalMethod kOptionalMethods[] = {
    {"CommandCallback", 1},  {"ImageProcessing", 1},    {"FilterGraphics", 1},
    {"Compression", 1},      {"HalftonePattern", 1},    {"MemoryUsage", 1},
    {"TTYGetInfo", 1},       {"DownloadFontHeader", 1}, {"DownloadCharGlyph", 1},
    {"TTDownloadMethod", 1}, {"OutputCharStr", 1},      {"SendFontCmd", 1},
    {"TextOutAsBitmap", 1},  {"WritePrinter", 2},       {"GetPDEVAdjustment", 2},
    {"DownloadPattern", 3},
};

} // namespace

RenderPlugin::~RenderPlugin() {
    Unload();
}

HRESULT RenderPlugin::Load(HANDLE printer, std::vector<BYTE>* output) {
    Unload();
    std::vector<BYTE> info;
    LPCWSTR path = nullptr;
    HRESULT result = PluginFilePath(printer, L"OEMDriverFile1", &info, &path);
    if (FAILED(result)) {
        return result;
    }
    result = module_.LoadPlugin(path, kRenderPluginClass, kPluginInterfaces,
                                reinterpret_cast<void**>(&plugin_), &level_);
    if (SUCCEEDED(result)) {
        services_ = new DriverServices(output);
        result = plugin_->PublishDriverInterface(services_);
    }
    if (SUCCEEDED(result)) {
        result = Identify();
    }
    if (FAILED(result)) {
        Unload();
    }
    return result;
}

HRESULT RenderPlugin::Identify() {
    DWORD needed = 0;
    HRESULT result = plugin_->GetInfo(OEMGI_GETSIGNATURE, &signature_, sizeof(signature_), &needed);
    if (FAILED(result)) {
        return result;
    }
    if (FAILED(plugin_->GetInfo(OEMGI_GETVERSION, &version_, sizeof(version_), &needed))) {
        version_ = 0;
    }
    return S_OK;
}

void RenderPlugin::AskImplementedMethods() {
    implemented_.clear();
    for (const OptionalMethod& method : kOptionalMethods) {
        // The method names are the driver's own constant texts; the plug-in may not keep them.
        std::string name(method.name);
        if (method.level <= level_ && plugin_->GetImplementedMethod(name.data()) == S_OK) {
            implemented_.push_back(method.name);
        }
    }
}

bool RenderPlugin::Implements(std::string_view name) const {
    for (std::string_view method : implemented_) {
        if (method == name) {
            return true;
        }
    }
    return false;
}

void RenderPlugin::Unload() {
    if (plugin_) {
        plugin_->Release();
        plugin_ = nullptr;
    }
    if (services_) {
        services_->Release();
        services_ = nullptr;
    }
    module_.Unload();
    level_ = 0;
    signature_ = 0;
    version_ = 0;
    implemented_.clear();
}

} // namespace moltr::unidrv
