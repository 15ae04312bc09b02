#pragma once
// The render plug-in of a printer's driver, loaded the way the universal driver loads it: the
// plug-in file is the one the driver's plug-in settings file names ("OEMDriverFile1" in section
// "OEMFiles" of the first .INI among the dependent files), found among the dependent files and
// loaded with LoadLibraryW; its DllGetClassObject gives the class factory of the render plug-in
// class, whose object is asked for IPrintOemUni3, then IPrintOemUni2, then IPrintOemUni, and
// receives the driver's services (IPrintOemDriverUni) through PublishDriverInterface; then the
// driver asks for its signature and version (GetInfo) and, once the devmode is settled, which
// optional methods it implements (GetImplementedMethod), and calls only those.
#include <windows.h>
#include <prcomoem.h>
#include <string_view>
#include <vector>
#include "src/unidrv/plugin_module.h"

namespace moltr::unidrv {

class DriverServices;

class RenderPlugin {
public:
    RenderPlugin() = default;
    RenderPlugin(const RenderPlugin&) = delete;
    RenderPlugin& operator=(const RenderPlugin&) = delete;
    // Releases the plug-in, and unloads its module when DllCanUnloadNow allows it.
    ~RenderPlugin();

    // Loads the plug-in of `printer`'s driver; what it writes through the services goes to
    // `output`, which must outlive this object. An error HRESULT leaves nothing loaded: the
    // spooler's error for the driver record, ERROR_FILE_NOT_FOUND as an HRESULT when no plug-in
    // is named or the named file is no dependent file, the loader's error, E_NOINTERFACE when the
    // object offers none of the three interfaces, or the plug-in's own failure (of
    // PublishDriverInterface or of GetInfo for its signature).
    HRESULT Load(HANDLE printer, std::vector<BYTE>* output);

    IPrintOemUni* plugin() const { return plugin_; }
    // 3, 2 or 1 for the interface the plug-in answered; 0 before a successful Load.
    int level() const { return level_; }
    // What GetInfo answered for OEMGI_GETSIGNATURE and OEMGI_GETVERSION (0 when it did not).
    DWORD signature() const { return signature_; }
    DWORD version() const { return version_; }
    // Asks GetImplementedMethod for each optional method of the plug-in's interface level.
    void AskImplementedMethods();
    // Whether GetImplementedMethod answered S_OK for the optional method `name`.
    bool Implements(std::string_view name) const;

private:
    HRESULT Identify();
    void Unload();

    PluginModule module_;
    IPrintOemUni* plugin_ = nullptr;
    DriverServices* services_ = nullptr;
    int level_ = 0;
    DWORD signature_ = 0;
    DWORD version_ = 0;
    std::vector<std::string_view> implemented_;
};

} // namespace moltr::unidrv
