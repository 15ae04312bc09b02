#include "src/unidrv/ui_plugin.h"

#include <winspool.h>
#include <vector>
#include "src/unidrv/gpd_reader.h"
#include "src/unidrv/plugin_file.h"
#include "src/unidrv/ui_driver_services.h"

namespace moltr::unidrv {
namespace {

// Asked in this order: the newest interface the plug-in offers is the one the driver uses.
constexpr PluginInterface kPluginInterfaces[] = {
    {&IID_IPrintOemUI2, 2},
    {&IID_IPrintOemUI, 1},
};

} // namespace

UiPlugin::~UiPlugin() {
    Unload();
}

HRESULT UiPlugin::Load(HANDLE printer) {
    Unload();
    std::vector<BYTE> info;
    LPCWSTR path = nullptr;
    HRESULT result = PluginFilePath(printer, L"OEMConfigFile1", &info, &path);
    if (FAILED(result)) {
        return result;
    }
    GpdReadResult gpd =
        ReadGpdFile(reinterpret_cast<const DRIVER_INFO_3W*>(info.data())->pDataFile);
    if (!gpd.ok) {
        return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    }
    model_ = std::make_unique<GpdModel>(std::move(gpd.model));
    result = module_.LoadPlugin(path, kUiPluginClass, kPluginInterfaces,
                                reinterpret_cast<void**>(&plugin_), &level_);
    if (SUCCEEDED(result)) {
        services_ = new UiDriverServices(*model_);
        result = plugin_->PublishDriverInterface(static_cast<IPrintOemDriverUI*>(services_));
    }
    DWORD size = 0;
    if (SUCCEEDED(result)) {
        result = plugin_->GetInfo(OEMGI_GETSIGNATURE, &signature_, sizeof(signature_), &size);
    }
    if (FAILED(result)) {
        Unload();
    }
    return result;
}

POEMUIOBJ UiPlugin::uiObject() const {
    return services_ ? services_->uiObject() : nullptr;
}

HRESULT UiPlugin::PrivateDevModeSize(HANDLE printer, DWORD* size) const {
    if (!plugin_) {
        return E_UNEXPECTED;
    }
    DEVMODEW none = {};
    OEMDMPARAM param = {
        sizeof(OEMDMPARAM), uiObject(), printer, nullptr, &none, &none, nullptr, nullptr, 0};
    HRESULT result = plugin_->DevMode(OEMDM_SIZE, &param);
    *size = SUCCEEDED(result) ? param.cbBufSize : 0;
    return result;
}

HRESULT UiPlugin::CreateTicketProvider(IPrintOemPrintTicketProvider** provider) const {
    if (!provider) {
        return E_POINTER;
    }
    *provider = nullptr;
    if (!module_.loaded()) {
        return E_UNEXPECTED;
    }
    return module_.CreateObject(kTicketProviderClass, IID_IPrintOemPrintTicketProvider,
                                reinterpret_cast<void**>(provider));
}

void UiPlugin::Unload() {
    if (plugin_) {
        plugin_->Release();
        plugin_ = nullptr;
    }
    if (services_) {
        services_->Release();
        services_ = nullptr;
    }
    module_.Unload();
    model_.reset();
    level_ = 0;
    signature_ = 0;
}

} // namespace moltr::unidrv
