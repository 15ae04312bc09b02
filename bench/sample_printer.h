#pragma once
// The sample printer on a fresh simulated machine, for the benchmarks that need a printer with its
// descriptions compiled (or, with `compiled` false, one that has none yet).
#include <windows.h>
#include <winspool.h>
#include "compiler/compile_driver.h"
#include "sim/machine.h"
#include "sim/spooler_admin.h"
#include "sim/utf.h"

namespace moltr::bench {

class SamplePrinter {
public:
    static constexpr char16_t kName[] = u"Sample";

    static constexpr char16_t kDriver[] = u"MOLTR ColorLaser 4000 PCL5c";

    explicit SamplePrinter(bool compiled = true) {
        sim::DriverSetup driver;
        driver.name = kDriver;
        driver.dataFile = MOLTR_SAMPLE_GPD;
        driver.dependentFiles = {MOLTR_SAMPLE_STRINGS};
        ready_ = sim::InstallDriver(driver) && Add() &&
                 (!compiled || compiler::CompileForPrinter(handle_) < compiler::kError);
    }
    ~SamplePrinter() { ClosePrinter(handle_); }

    // Replaces the printer by a new one of the same name, without compiled descriptions.
    bool Renew() {
        ClosePrinter(handle_);
        handle_ = nullptr;
        return sim::RemovePrinter(kName) && Add();
    }
    SamplePrinter(const SamplePrinter&) = delete;
    SamplePrinter& operator=(const SamplePrinter&) = delete;

    bool ready() const { return ready_; }
    HANDLE handle() const { return handle_; }

private:
    // Adds the printer and opens it for all access.
    bool Add() {
        sim::PrinterSetup printer;
        printer.name = kName;
        printer.driver = kDriver;
        PRINTER_DEFAULTSW all{nullptr, nullptr, PRINTER_ALL_ACCESS};
        return sim::AddPrinter(printer) &&
               OpenPrinterW(const_cast<LPWSTR>(sim::W(kName)), &handle_, &all);
    }

    sim::TestMachine machine_;
    HANDLE handle_ = nullptr;
    bool ready_ = false;
};

} // namespace moltr::bench
