#pragma once
// Plays the universal driver's renderer towards the render plug-in, as the operating system does:
// the sample printer's driver with MOLTRRPC.DLL among its files on a fresh simulated machine, the
// module loaded with LoadLibraryW, its class object, IPrintOemUni3, a driver-services interface
// whose DrvWriteSpoolBuf collects the stream, the devmode calls and an enabled PDEV.
#include <windows.h>
#include <winspool.h>
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>
#include "common/drv_settings.h"
#include "compiler/compile_driver.h"
#include "platform/kernel32/module_test_files.h"
#include "installed_driver.h"
#include "prcomoem.h"
#include "sim/machine.h"
#include "sim/spooler_admin.h"
#include "sim/utf.h"
#include "spool_capture.h"

namespace moltr::test {

inline constexpr CLSID kRenderPluginClass = {
    0x6d6abf26, 0x9f38, 0x11d1, {0x88, 0x2a, 0x00, 0xc0, 0x4f, 0xb9, 0x61, 0xec}};

// The bytes of a text, NULs included when given with their length.
inline std::vector<BYTE> Bytes(const std::string& text) {
    return std::vector<BYTE>(text.begin(), text.end());
}

// The driver services of the renderer: DrvWriteSpoolBuf appends to `stream`.
using SpoolCapture = harness::SpoolCapture;

struct RenderPrinterSetup {
    std::string driverName = "MOLTR ColorLaser 4000 PCL5c";
    // Line replacements in the sample description, each whole line for whole line.
    LineReplacements lines;
    std::string settingsFile = "[UIPSETTINGS]\r\nUIPLANG=0\r\n";
    sim::MachineConfig machine;
};

inline std::filesystem::path SourceRoot() {
    return MOLTR_SOURCE_DIR;
}

// The sample printer with the render plug-in among its driver's files, compiled.
class RenderPrinter {
public:
    static constexpr char16_t kName[] = u"MOLTR render printer";

    explicit RenderPrinter(const RenderPrinterSetup& setup = {}) : machine_(setup.machine) {
        std::string source = machine_.root() + "/source";
        std::filesystem::create_directories(source);
        std::ofstream(source + "/MOLTR4KC.GPD", std::ios::binary)
            << SampleDescription("MOLTR4KC.GPD", setup.lines);
        std::ofstream(source + "/MOLTR4KC.INI", std::ios::binary) << setup.settingsFile;
        sim::DriverSetup driver;
        driver.name = sim::Utf16(setup.driverName);
        driver.dataFile = source + "/MOLTR4KC.GPD";
        driver.dependentFiles = {source + "/MOLTR4KC.INI", BuiltModule("MOLTRRES.DLL"),
                                 (BuildRoot() / "bin/MOLTRRPC.DLL").string()};
        handle_ = InstallPrinter(driver, kName);
        EXPECT_LT(compiler::CompileForPrinter(handle_), compiler::kError);
    }
    ~RenderPrinter() { ClosePrinter(handle_); }
    RenderPrinter(const RenderPrinter&) = delete;
    RenderPrinter& operator=(const RenderPrinter&) = delete;

    HANDLE handle() const { return handle_; }

private:
    sim::TestMachine machine_;
    HANDLE handle_ = nullptr;
};

// The plug-in module loaded from the driver's files, as the renderer loads it.
class RenderModule : public DriverModule {
public:
    RenderModule() : DriverModule(u"MOLTRRPC.DLL") {}

    // A new plug-in object through the class factory, at the interface `iid`.
    IPrintOemUni3* Create(REFIID iid = IID_IPrintOemUni3) const {
        return CreateObject<IPrintOemUni3>(kRenderPluginClass, iid);
    }
};

// A job's device as the renderer enables it: the devmodes, the published driver services, the
// PDEV with the driver's own DDI table.
class RenderJob {
public:
    // `geometry`: the page the PDEV is enabled for (none: all zero).
    RenderJob(const RenderModule& module, HANDLE printer,
              const DRVENABLEDATA* driverTable = nullptr, const GDIINFO* geometry = nullptr)
        : plugin_(module.Create()) {
        if (geometry != nullptr) {
            gdiInfo = *geometry;
        }
        if (plugin_ == nullptr) {
            return;
        }
        EXPECT_EQ(plugin_->PublishDriverInterface(&capture), S_OK);
        publicDevMode.dmSize = sizeof(DEVMODEW);
        publicDevMode.dmPaperSize = 9;
        publicDevMode.dmCopies = 1;
        publicDevMode.dmDuplex = 1;
        publicDevMode.dmOrientation = 1;
        publicDevMode.dmDefaultSource = 7;
        OEMDMPARAM param = {sizeof(OEMDMPARAM), nullptr, printer, nullptr, &publicDevMode,
                            &publicDevMode,     nullptr, nullptr, 0};
        EXPECT_EQ(plugin_->DevMode(OEMDM_SIZE, &param), S_OK);
        privateDevMode.assign(param.cbBufSize, 0);
        param.pOEMDMOut = privateDevMode.data();
        EXPECT_EQ(plugin_->DevMode(OEMDM_DEFAULT, &param), S_OK);
        EXPECT_EQ(common::CreateDrvSettings(common::kModeDocument, printer, &settings_), S_OK);
        devobj.dwSize = sizeof(DEVOBJ);
        devobj.hPrinter = printer;
        devobj.pPublicDM = &publicDevMode;
        devobj.pOEMDM = privateDevMode.data();
        DRVENABLEDATA hooks = {};
        EXPECT_EQ(plugin_->EnableDriver(0x30000, sizeof hooks, &hooks), S_OK);
        hookedTable = hooks;
        DRVENABLEDATA none = {0x30000, 0, nullptr};
        EXPECT_EQ(plugin_->EnablePDEV(&devobj, nullptr, 0, nullptr, sizeof gdiInfo, &gdiInfo,
                                      sizeof devInfo, &devInfo,
                                      const_cast<DRVENABLEDATA*>(driverTable ? driverTable : &none),
                                      &devobj.pdevOEM),
                  S_OK);
    }
    ~RenderJob() {
        if (plugin_ != nullptr) {
            plugin_->DisablePDEV(&devobj);
            plugin_->Release();
        }
        if (settings_ != nullptr) {
            settings_->Release();
        }
    }
    RenderJob(const RenderJob&) = delete;
    RenderJob& operator=(const RenderJob&) = delete;

    IPrintOemUni3* plugin() const { return plugin_; }

    // Sets a per-job setting in the job's private devmode.
    void SetJob(const WCHAR* name, const void* value) {
        EXPECT_EQ(settings_->SetValue(privateDevMode.data(), name, value, common::kLayoutDevMode),
                  S_OK);
    }
    void SetJobByte(const WCHAR* name, BYTE value) { SetJob(name, &value); }
    // A per-job setting's bytes in the private devmode, for values SetJob would not store.
    BYTE* JobField(const WCHAR* name) {
        return static_cast<BYTE*>(
            settings_->GetValuePointer(privateDevMode.data(), name, common::kLayoutDevMode));
    }

    // The bytes one callback writes, and its result.
    std::pair<HRESULT, std::vector<BYTE>> Callback(DWORD id) {
        capture.stream.clear();
        INT result = 0;
        HRESULT answer = plugin_->CommandCallback(&devobj, id, 0, nullptr, &result);
        return {answer, capture.stream};
    }

    SpoolCapture capture;
    DEVMODEW publicDevMode = {};
    std::vector<BYTE> privateDevMode;
    DEVOBJ devobj = {};
    GDIINFO gdiInfo = {};
    DEVINFO devInfo = {};
    DRVENABLEDATA hookedTable = {};

private:
    IPrintOemUni3* plugin_ = nullptr;
    common::IDrvSettings* settings_ = nullptr;
};

} // namespace moltr::test
