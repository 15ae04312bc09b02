#pragma once
// The render plug-in as the universal driver loads it, for programs that set it up once and drive
// it many times (fuzzers, benchmarks): a printer of the sample driver with MOLTRRPC.DLL among its
// files on a fresh simulated machine, the plug-in loaded by the driver's own loader with its output
// collected, the job's default devmodes, and a PDEV enabled on them.
#include <windows.h>
#include <winspool.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include "compiler/compile_driver.h"
#include "prcomoem.h"
#include "sim/machine.h"
#include "sim/module_registry.h"
#include "sim/spooler_admin.h"
#include "src/unidrv/render_plugin.h"

namespace moltr::test {

// Makes the process the spooler, where the plug-in merges devmodes and reads its spooler-only
// settings, or an application.
inline void RunInSpooler(bool spooler) {
    sim::SetProcessImagePath(spooler ? L"C:\\Windows\\System32\\spoolsv.exe" : nullptr);
}

class RenderPluginPrinter {
public:
    static constexpr char16_t kName[] = u"MOLTR render printer";
    static constexpr char16_t kDriver[] = u"MOLTR ColorLaser 4000 PCL5c";

    // `gpd`: the host path of the driver's description.
    explicit RenderPluginPrinter(const std::string& gpd) {
        const std::filesystem::path build =
            std::filesystem::canonical("/proc/self/exe").parent_path().parent_path();
        const std::string settingsFile = machine_.root() + "/MOLTR4KC.INI";
        std::ofstream(settingsFile, std::ios::binary)
            << "[UIPSETTINGS]\r\nUIPLANG=0\r\n[OEMFiles]\r\nOEMDriverFile1=MOLTRRPC.DLL\r\n";
        sim::DriverSetup driver;
        driver.name = kDriver;
        driver.dataFile = gpd;
        driver.dependentFiles = {settingsFile, (build / "modules/MOLTRRES.DLL").string(),
                                 (build / "bin/MOLTRRPC.DLL").string()};
        sim::PrinterSetup printer;
        printer.name = kName;
        printer.driver = kDriver;
        PRINTER_DEFAULTSW all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        ready_ =
            sim::InstallDriver(driver) && sim::AddPrinter(printer) &&
            OpenPrinterW(const_cast<LPWSTR>(reinterpret_cast<LPCWSTR>(kName)), &printer_, &all) &&
            compiler::CompileForPrinter(printer_) < compiler::kError &&
            SUCCEEDED(plugin_.Load(printer_, &output)) && ReadDefaults();
    }
    ~RenderPluginPrinter() {
        if (printer_ != nullptr) {
            ClosePrinter(printer_);
        }
    }
    RenderPluginPrinter(const RenderPluginPrinter&) = delete;
    RenderPluginPrinter& operator=(const RenderPluginPrinter&) = delete;

    bool ready() const { return ready_; }
    HANDLE printer() const { return printer_; }
    IPrintOemUni* plugin() const { return plugin_.plugin(); }
    // The job's devmodes as an application leaves them: the public part, and the plug-in's
    // default private part (of the size the plug-in gives for OEMDM_SIZE).
    const DEVMODEW& publicDevMode() const { return public_; }
    const std::vector<BYTE>& privateDevMode() const { return private_; }

    // What the plug-in writes through the driver's services.
    std::vector<BYTE> output;

private:
    bool ReadDefaults() {
        public_.dmSize = sizeof(DEVMODEW);
        public_.dmFields =
            DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_DEFAULTSOURCE | DM_COLOR | DM_DUPLEX;
        public_.dmOrientation = DMORIENT_PORTRAIT;
        public_.dmPaperSize = DMPAPER_A4;
        public_.dmCopies = 1;
        public_.dmDefaultSource = DMBIN_AUTO;
        public_.dmColor = DMCOLOR_COLOR;
        public_.dmDuplex = DMDUP_SIMPLEX;
        OEMDMPARAM param = {sizeof(OEMDMPARAM), nullptr, printer_, nullptr, &public_,
                            &public_,           nullptr, nullptr,  0};
        if (plugin()->DevMode(OEMDM_SIZE, &param) != S_OK || param.cbBufSize == 0) {
            return false;
        }
        private_.assign(param.cbBufSize, 0);
        param.pOEMDMOut = private_.data();
        public_.dmDriverExtra = static_cast<WORD>(private_.size());
        DRVENABLEDATA hooks = {};
        return plugin()->DevMode(OEMDM_DEFAULT, &param) == S_OK &&
               plugin()->EnableDriver(kDriverVersion, sizeof hooks, &hooks) == S_OK;
    }

    static constexpr DWORD kDriverVersion = 0x30000;

    sim::TestMachine machine_;
    HANDLE printer_ = nullptr;
    unidrv::RenderPlugin plugin_;
    DEVMODEW public_ = {};
    std::vector<BYTE> private_;
    bool ready_ = false;

    friend class RenderPluginDevice;
};

// A PDEV of the plug-in on a job's devmodes (the printer's defaults unless changed before
// Enable), disabled again with the object.
class RenderPluginDevice {
public:
    explicit RenderPluginDevice(const RenderPluginPrinter& printer)
        : publicDevMode(printer.publicDevMode()), privateDevMode(printer.privateDevMode()),
          printer_(printer) {}
    ~RenderPluginDevice() {
        if (enabled_) {
            printer_.plugin()->DisablePDEV(&devobj);
        }
    }
    RenderPluginDevice(const RenderPluginDevice&) = delete;
    RenderPluginDevice& operator=(const RenderPluginDevice&) = delete;

    // `driverTable`: the driver's own DDI entry points beneath the hooks (none without one).
    bool Enable(const DRVENABLEDATA* driverTable = nullptr) {
        devobj.dwSize = sizeof devobj;
        devobj.hPrinter = printer_.printer();
        devobj.pPublicDM = &publicDevMode;
        devobj.pOEMDM = privateDevMode.data();
        DRVENABLEDATA none = {RenderPluginPrinter::kDriverVersion, 0, nullptr};
        enabled_ = printer_.plugin()->EnablePDEV(
                       &devobj, nullptr, 0, nullptr, sizeof gdiInfo, &gdiInfo, sizeof devInfo,
                       &devInfo, const_cast<DRVENABLEDATA*>(driverTable ? driverTable : &none),
                       &devobj.pdevOEM) == S_OK;
        return enabled_;
    }

    DEVMODEW publicDevMode;
    std::vector<BYTE> privateDevMode;
    DEVOBJ devobj = {};
    GDIINFO gdiInfo = {};
    DEVINFO devInfo = {};

private:
    const RenderPluginPrinter& printer_;
    bool enabled_ = false;
};

} // namespace moltr::test
