#pragma once
// The sample printer whose driver carries MOLTRUIP.DLL, on a machine of the fuzzer's own, for the
// UI plug-in's fuzz targets; adding it runs the driver's printer initialisation.
#include <windows.h>
#include <winspool.h>

#include <filesystem>
#include <fstream>
#include <string>
#include "sim/machine.h"
#include "sim/spooler_admin.h"
#include "sim/utf.h"

namespace moltr::fuzz {

struct UiPluginPrinter {
    UiPluginPrinter() {
        namespace fs = std::filesystem;
        fs::path build = fs::canonical("/proc/self/exe").parent_path().parent_path();
        std::string source = machine.root() + "/source";
        fs::create_directories(source);
        fs::copy_file(fs::path(MOLTR_SOURCE_DIR) / "samples/MOLTR4KC.GPD",
                      source + "/MOLTR4KC.GPD");
        std::ofstream(source + "/MOLTR4KC.INI", std::ios::binary)
            << "[UIPSETTINGS]\r\nUIPLANG=0\r\n[OEMFiles]\r\nOEMConfigFile1=MOLTRUIP.DLL\r\n";
        sim::DriverSetup driver;
        driver.name = u"MOLTR ColorLaser 4000 PCL5c";
        driver.dataFile = source + "/MOLTR4KC.GPD";
        driver.dependentFiles = {source + "/MOLTR4KC.INI",
                                 (build / "modules/MOLTRRES.DLL").string(),
                                 (build / "bin/MOLTRUIP.DLL").string()};
        sim::InstallDriver(driver);
        sim::PrinterSetup setup;
        setup.name = name;
        setup.driver = driver.name;
        sim::AddPrinter(setup);
        OpenPrinterW(sim::W(name), &handle, nullptr);
        // The fuzzer counts coverage in every instrumented module it saw: the plug-in must stay
        // loaded for the whole run, whatever the driver frees.
        plugin = LoadLibraryW(L"C:\\Windows\\System32\\spool\\drivers\\x64\\3\\MOLTRUIP.DLL");
    }

    sim::TestMachine machine;
    std::u16string name = u"Fuzz";
    HANDLE handle = nullptr;
    HMODULE plugin = nullptr;
};

} // namespace moltr::fuzz
