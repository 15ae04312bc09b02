#pragma once
// A printer whose driver's only dependent file is the language module MOLTRRES.DLL, which a fuzzer
// writes again from its input for every run, on a machine of the fuzzer's own.
#include <windows.h>
#include <winspool.h>

#include <fstream>
#include <string>
#include <vector>
#include "tests/platform/kernel32/resource_file.h"
#include "sim/machine.h"
#include "sim/spooler_admin.h"
#include "sim/utf.h"

namespace moltr::fuzz {

struct ResourceModulePrinter {
    ResourceModulePrinter() {
        const std::string source =
            sim::HostPath(sim::W(std::u16string(u"C:\\Windows\\Temp\\MOLTRRES.DLL")));
        std::ofstream(source, std::ios::binary) << test::ResourceFile({});
        sim::DriverSetup driver;
        driver.name = u"MOLTR Fuzz PCL6";
        driver.dataFile = sim::HostPath(sim::W(std::u16string(u"C:\\Windows\\Temp\\FUZZ.GPD")));
        std::ofstream(driver.dataFile) << "*GPDFileVersion: 1.0\r\n";
        driver.dependentFiles = {source};
        sim::InstallDriver(driver);
        // Installing copied it into the driver's folder, where the printer's driver finds it.
        module = sim::HostPath(
            sim::W(std::u16string(u"C:\\Windows\\System32\\spool\\drivers\\x64\\3\\MOLTRRES.DLL")));
        sim::PrinterSetup setup;
        setup.name = u"Fuzz";
        setup.driver = driver.name;
        sim::AddPrinter(setup);
        std::u16string name = setup.name;
        OpenPrinterW(sim::W(name), &handle, nullptr);
    }

    // The driver's module file made of `resources` alone.
    void Write(const std::vector<test::ResourceData>& resources) const {
        std::ofstream(module, std::ios::binary | std::ios::trunc) << test::ResourceFile(resources);
    }

    sim::TestMachine machine;
    std::string module;
    HANDLE handle = nullptr;
};

} // namespace moltr::fuzz
