#pragma once
// A printer whose driver carries the family's language module MOLTRRES.DLL (with the tests'
// fixtures, language_fixtures.rc) and a settings file, on a fresh simulated machine, for the
// resources object.
#include <windows.h>
#include <winspool.h>

#include "common/resources.h"
#include "platform/kernel32/module_test_files.h"
#include "sim/machine.h"
#include "sim/spooler_admin.h"
#include "sim/utf.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace moltr::test {

struct ResourcesPrinterSetup {
    sim::MachineConfig machine;
    std::string driverName = "MOLTR ColorLaser 4000 PCL6";
    // The settings file's text; no settings file at all when empty.
    std::string settings = "[UIPSETTINGS]\r\nUIPLANG=0\r\n";
    bool languageModule = true;
    // The language module's content; the build's MOLTRRES.DLL when empty.
    std::string languageModuleImage;
    std::vector<std::string> extraFiles;
    std::u16string printProcessor = u"winprint";
};

class ResourcesPrinter {
public:
    explicit ResourcesPrinter(const ResourcesPrinterSetup& setup = {}) : machine_(setup.machine) {
        source_ = machine_.root() + "/source";
        std::filesystem::create_directories(source_);
        sim::DriverSetup driver;
        driver.name = sim::Utf16(setup.driverName.c_str());
        driver.dataFile = Write("MOLTR4KC.GPD", "*GPDFileVersion: 1.0\r\n");
        driver.helpFile = Write("MOLTR.CHM", "help");
        driver.dependentFiles = {Write("MOLTRUIP.DLL", "ui"), Write("MOLTRRPC.DLL", "rp"),
                                 Write("MOLTRMDN.EXE", "mdn"), "UNIRES.DLL"};
        for (const std::string& name : setup.extraFiles) {
            driver.dependentFiles.push_back(Write(name, "extra"));
        }
        if (!setup.settings.empty()) {
            driver.dependentFiles.push_back(Write("MOLTR4KC.INI", setup.settings));
        }
        if (setup.languageModule) {
            if (setup.languageModuleImage.empty()) {
                driver.dependentFiles.push_back(source_ + "/MOLTRRES.DLL");
                std::filesystem::copy_file(BuiltModule("FIXTURES.DLL"),
                                           driver.dependentFiles.back());
            } else {
                driver.dependentFiles.push_back(Write("MOLTRRES.DLL", setup.languageModuleImage));
            }
        }
        EXPECT_TRUE(sim::InstallDriver(driver));
        sim::PrinterSetup printer;
        printer.name = u"MOLTR test printer";
        printer.driver = driver.name;
        printer.printProcessor = setup.printProcessor;
        EXPECT_TRUE(sim::AddPrinter(printer));
        std::u16string name = printer.name;
        EXPECT_TRUE(OpenPrinterW(sim::W(name), &handle_, nullptr));
    }
    ~ResourcesPrinter() {
        if (handle_) {
            ClosePrinter(handle_);
        }
    }
    ResourcesPrinter(const ResourcesPrinter&) = delete;
    ResourcesPrinter& operator=(const ResourcesPrinter&) = delete;

    HANDLE handle() const { return handle_; }

    // A resources object for the printer, released at the end of the test's scope.
    common::IDrvResources* Create(HANDLE heap = nullptr) {
        common::IDrvResources* resources = nullptr;
        EXPECT_EQ(common::CreatePrinterResources(&resources, handle_, heap), S_OK);
        if (resources) {
            created_.emplace_back(resources);
        }
        return resources;
    }

    std::string Write(const std::string& name, const std::string& content) {
        std::string path = source_ + "/" + name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

private:
    struct Releaser {
        void operator()(common::IDrvResources* resources) const { resources->Release(); }
    };

    sim::TestMachine machine_;
    std::string source_;
    HANDLE handle_ = nullptr;
    std::vector<std::unique_ptr<common::IDrvResources, Releaser>> created_;
};

} // namespace moltr::test
