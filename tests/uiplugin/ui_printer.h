#pragma once
// The sample printer as the operating system sets it up with the UI plug-in: its driver carries
// MOLTRUIP.DLL, the language module and a settings file naming the plug-in, and adding it runs the
// driver's printer initialisation. Line replacements in the description let a test change it.
#include <windows.h>
#include <winspool.h>
#include <compstui.h>
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>
#include "platform/kernel32/module_test_files.h"
#include "installed_driver.h"
#include "prcomoem.h"
#include "sim/machine.h"
#include "sim/spooler_admin.h"
#include "sim/utf.h"

namespace moltr::test {

struct UiPrinterSetup {
    std::u16string name = u"MOLTR ui printer";
    // Whole lines of the sample description replaced by others.
    LineReplacements lines;
    // Lines added to the settings file's [UIPSETTINGS] section.
    std::string uipSettings;
    // Whether the driver carries its language module.
    bool languageModule = true;
    // Further dependent files, by host path.
    std::vector<std::string> extraFiles;
    // The driver's help file, by host path.
    std::string helpFile;
    sim::MachineConfig machine;
};

class UiPrinter {
public:
    explicit UiPrinter(const UiPrinterSetup& setup = {})
        : machine_(setup.machine), name_(setup.name) {
        std::string source = machine_.root() + "/source";
        std::filesystem::create_directories(source);
        std::ofstream(source + "/MOLTR4KC.GPD", std::ios::binary)
            << SampleDescription("MOLTR4KC.GPD", setup.lines);
        std::ofstream(source + "/MOLTR4KC.INI", std::ios::binary)
            << "[UIPSETTINGS]\r\nUIPLANG=0\r\n"
            << setup.uipSettings << "[OEMFiles]\r\nOEMConfigFile1=MOLTRUIP.DLL\r\n";
        sim::DriverSetup driver;
        driver.name = u"MOLTR ColorLaser 4000 PCL5c";
        driver.dataFile = source + "/MOLTR4KC.GPD";
        driver.helpFile = setup.helpFile;
        driver.dependentFiles = {source + "/MOLTR4KC.INI",
                                 (BuildRoot() / "bin/MOLTRUIP.DLL").string()};
        if (setup.languageModule) {
            driver.dependentFiles.push_back(BuiltModule("MOLTRRES.DLL"));
        }
        driver.dependentFiles.insert(driver.dependentFiles.end(), setup.extraFiles.begin(),
                                     setup.extraFiles.end());
        handle_ = InstallPrinter(driver, name_);
    }
    ~UiPrinter() { ClosePrinter(handle_); }
    UiPrinter(const UiPrinter&) = delete;
    UiPrinter& operator=(const UiPrinter&) = delete;

    HANDLE handle() const { return handle_; }
    std::u16string& name() { return name_; }

private:
    sim::TestMachine machine_;
    std::u16string name_;
    HANDLE handle_ = nullptr;
};

// The first call a sheet makes to a plug-in's pages, with `function` standing in for compstui.
inline PROPSHEETUI_INFO SheetInit(HANDLE sheet, PFNCOMPROPSHEET function, OEMUIPSPARAM& pageParam) {
    PROPSHEETUI_INFO info = {};
    info.cbSize = sizeof info;
    info.Version = PROPSHEETUI_INFO_VERSION;
    info.Reason = PROPSHEETUI_REASON_INIT;
    info.hComPropSheet = sheet;
    info.pfnComPropSheet = function;
    info.lParamInit = reinterpret_cast<LPARAM>(&pageParam);
    return info;
}

} // namespace moltr::test
