#pragma once
// A machine with one printer whose driver has a GPD of the test's own, for the universal driver's
// tests that go through the spooler.
#include "sim/machine.h"
#include "sim/spooler_admin.h"
#include "sim/utf.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>
#include <fstream>
#include <string>
#include <vector>

namespace moltr::test {

class DriverPrinterTest : public ::testing::Test {
protected:
    static constexpr char16_t kPrinterName[] = u"Test Printer";

    // Installs a driver with `gpd` as its data file and `dependents` (host files) beside it, adds
    // the printer and opens it into printer_.
    void InstallPrinter(const std::string& gpd, const std::vector<std::string>& dependents = {}) {
        sim::DriverSetup driver;
        driver.name = u"Test Driver";
        driver.dataFile = WriteFile("TEST.GPD", gpd);
        driver.dependentFiles = dependents;
        ASSERT_TRUE(sim::InstallDriver(driver));
        sim::PrinterSetup printer;
        printer.name = kPrinterName;
        printer.driver = driver.name;
        ASSERT_TRUE(sim::AddPrinter(printer));
        std::u16string name = printer.name;
        ASSERT_TRUE(OpenPrinterW(sim::W(name), &printer_, nullptr));
    }

    // Closes and removes the printer, so that another can be installed.
    void RemovePrinter() {
        ClosePrinter(printer_);
        printer_ = nullptr;
        ASSERT_TRUE(sim::RemovePrinter(kPrinterName));
    }

    // A host file in the machine's folder, for a driver to install.
    std::string WriteFile(const std::string& name, const std::string& content) {
        std::string path = machine_.root() + "/" + name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    void TearDown() override {
        if (printer_) {
            ClosePrinter(printer_);
        }
    }

    sim::TestMachine machine_;
    HANDLE printer_ = nullptr;
};

} // namespace moltr::test
