#pragma once
// A sample printer with the render plug-in MOLTRRPC among its driver's files, compiled, on a
// fresh machine: what the renderer's job tests print on.
#include <windows.h>
#include <winspool.h>
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>
#include "compiler/compile_driver.h"
#include "platform/kernel32/module_test_files.h"
#include "installed_driver.h"
#include "sim/machine.h"
#include "sim/spooler_admin.h"
#include "sim/utf.h"

namespace moltr::test {

struct JobPrinterSetup {
    // MOLTR4KC.GPD (PCL 5) or MOLTR4KX.GPD (PCL XL), from the samples folder.
    std::string sample = "MOLTR4KC.GPD";
    std::string driverName = "MOLTR ColorLaser 4000 PCL5c";
    // Whole-line replacements in the sample.
    LineReplacements lines;
    // The plug-in module and the settings file that names it.
    std::string plugin = "MOLTRRPC.DLL";
    sim::MachineConfig machine;
};

class JobPrinter {
public:
    static constexpr char16_t kName[] = u"MOLTR job printer";

    explicit JobPrinter(const JobPrinterSetup& setup = {}) : machine_(setup.machine) {
        std::string source = machine_.root() + "/source";
        std::filesystem::create_directories(source);
        gpd_ = source + "/" + setup.sample;
        std::ofstream(gpd_, std::ios::binary) << SampleDescription(setup.sample, setup.lines);
        std::ofstream(source + "/MOLTR.INI", std::ios::binary)
            << "[UIPSETTINGS]\r\nUIPLANG=0\r\n[OEMFiles]\r\nOEMDriverFile1=" << setup.plugin
            << "\r\n";
        sim::DriverSetup driver;
        driver.name = sim::Utf16(setup.driverName);
        driver.dataFile = gpd_;
        driver.dependentFiles = {source + "/MOLTR.INI", BuiltModule("MOLTRRES.DLL"),
                                 (BuildRoot() / "bin" / setup.plugin).string()};
        handle_ = InstallPrinter(driver, kName);
        if (setup.plugin == "MOLTRRPC.DLL") {
            EXPECT_LT(compiler::CompileForPrinter(handle_), compiler::kError);
        }
    }
    ~JobPrinter() { ClosePrinter(handle_); }
    JobPrinter(const JobPrinter&) = delete;
    JobPrinter& operator=(const JobPrinter&) = delete;

    HANDLE handle() const { return handle_; }
    const std::string& root() const { return machine_.root(); }

private:
    sim::TestMachine machine_;
    std::string gpd_;
    HANDLE handle_ = nullptr;
};

} // namespace moltr::test
