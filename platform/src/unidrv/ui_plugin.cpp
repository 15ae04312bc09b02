#include "src/unidrv/ui_plugin.h"

#include <winspool.h>
#include <vector>
#include "src/unidrv/gpd_reader.h"
#include "src/unidrv/plugin_file.h"
#include "src/unidrv/ui_driver_services.h"

namespace moltr::unidrv {
namespace {

using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);
using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();

template <typename Function> Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

HRESULT CreateObject(HMODULE module, REFCLSID clsid, REFIID iid, void** object) {
    auto getClassObject = Export<GetClassObject>(module, "DllGetClassObject");
    if (!getClassObject) {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    IClassFactory* factory = nullptr;
    HRESULT result = getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(result)) {
        return result;
    }
    result = factory->CreateInstance(nullptr, iid, object);
    factory->Release();
    return result;
}

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
    result = Create(path);
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

HRESULT UiPlugin::Create(LPCWSTR path) {
    module_ = LoadLibraryW(path);
    if (!module_) {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    IUnknown* object = nullptr;
    HRESULT result =
        CreateObject(module_, kUiPluginClass, IID_IUnknown, reinterpret_cast<void**>(&object));
    if (FAILED(result)) {
        return result;
    }
    // The newest interface the plug-in offers is the one the driver uses.
    result = E_NOINTERFACE;
    if (object->QueryInterface(IID_IPrintOemUI2, reinterpret_cast<void**>(&plugin_)) == S_OK &&
        plugin_) {
        level_ = 2;
        result = S_OK;
    } else if (object->QueryInterface(IID_IPrintOemUI, reinterpret_cast<void**>(&plugin_)) ==
                   S_OK &&
               plugin_) {
        level_ = 1;
        result = S_OK;
    } else {
        plugin_ = nullptr;
    }
    object->Release();
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
    if (!module_) {
        return E_UNEXPECTED;
    }
    return CreateObject(module_, kTicketProviderClass, IID_IPrintOemPrintTicketProvider,
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
    if (module_) {
        auto canUnload = Export<CanUnloadNow>(module_, "DllCanUnloadNow");
        if (!canUnload || canUnload() == S_OK) {
            FreeLibrary(module_);
        }
        module_ = nullptr;
    }
    model_.reset();
    level_ = 0;
    signature_ = 0;
}

} // namespace moltr::unidrv
