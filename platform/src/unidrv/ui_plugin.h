#pragma once
// The UI plug-in of a printer's driver, loaded the way the universal driver's user interface loads
// it: the plug-in file is the one the driver's plug-in settings file names ("OEMConfigFile1" in
// section "OEMFiles" of the first .INI among the dependent files), found among the dependent files
// and loaded with LoadLibraryW; its DllGetClassObject gives the class factory of CLSID_OEMUI, whose
// object is asked for IPrintOemUI2, then IPrintOemUI, and receives the driver's services
// (IPrintOemDriverUI) through PublishDriverInterface; then the driver asks for its signature
// (GetInfo), by which it finds the plug-in's part of a devmode.
#include <windows.h>
#include <prcomoem.h>
#include <memory>
#include "src/unidrv/gpd_model.h"
#include "src/unidrv/plugin_module.h"

namespace moltr::unidrv {

class UiDriverServices;

// {ABCE80D7-9F46-11D1-882A-00C04FB961EC}
inline constexpr CLSID kUiPluginClass = {
    0xabce80d7, 0x9f46, 0x11d1, {0x88, 0x2a, 0x00, 0xc0, 0x4f, 0xb9, 0x61, 0xec}};
// {91723892-45D2-48E2-9EC9-562379DAF992}
inline constexpr CLSID kTicketProviderClass = {
    0x91723892, 0x45d2, 0x48e2, {0x9e, 0xc9, 0x56, 0x23, 0x79, 0xda, 0xf9, 0x92}};

class UiPlugin {
public:
    UiPlugin() = default;
    UiPlugin(const UiPlugin&) = delete;
    UiPlugin& operator=(const UiPlugin&) = delete;
    // Releases the plug-in, and unloads its module when DllCanUnloadNow allows it.
    ~UiPlugin();

    // Loads the UI plug-in of `printer`'s driver. An error HRESULT leaves nothing loaded: the
    // spooler's error for the driver record, ERROR_FILE_NOT_FOUND as an HRESULT when no plug-in is
    // named or the named file is no dependent file, ERROR_INVALID_DATA when the driver's GPD cannot
    // be read, the loader's error, E_NOINTERFACE when the object offers neither interface, or the
    // plug-in's own failure (of PublishDriverInterface or of GetInfo for its signature).
    HRESULT Load(HANDLE printer);

    IPrintOemUI* plugin() const { return plugin_; }
    // 2 for IPrintOemUI2, 1 for IPrintOemUI; 0 before a successful Load.
    int level() const { return level_; }
    DWORD signature() const { return signature_; }
    // The plug-in's module, as its calls' hModule carries it.
    HMODULE module() const { return module_.handle(); }
    // The driver object the plug-in's calls carry (OEMUIOBJ and OEMDMPARAM.pdriverobj).
    POEMUIOBJ uiObject() const;
    UiDriverServices* services() const { return services_; }
    const GpdModel& model() const { return *model_; }

    // The size of the plug-in's part of a devmode (DevMode OEMDM_SIZE), which makes the plug-in
    // find or compile the printer's descriptions.
    HRESULT PrivateDevModeSize(HANDLE printer, DWORD* size) const;

    // A new print-ticket provider from the same module (CLSID_OEMPTPROVIDER), with one reference.
    HRESULT CreateTicketProvider(IPrintOemPrintTicketProvider** provider) const;

private:
    void Unload();

    PluginModule module_;
    IPrintOemUI* plugin_ = nullptr;
    UiDriverServices* services_ = nullptr;
    std::unique_ptr<GpdModel> model_;
    int level_ = 0;
    DWORD signature_ = 0;
};

} // namespace moltr::unidrv
