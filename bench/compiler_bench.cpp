// Compiling the sample printer's descriptions, as the UI plug-in does when a printer is first used.
#include <benchmark/benchmark.h>
#include <filesystem>
#include <winspool.h>
#include "compiler/compile_driver.h"
#include "sim/machine.h"
#include "sim/spooler_admin.h"
#include "sim/utf.h"

namespace {

namespace fs = std::filesystem;

void BM_CompileSamplePrinter(benchmark::State& state) {
    moltr::sim::TestMachine machine;
    fs::path build = fs::read_symlink("/proc/self/exe").parent_path().parent_path();
    moltr::sim::DriverSetup driver;
    driver.name = u"MOLTR ColorLaser 4000 PCL5c";
    driver.dataFile = (fs::path(__FILE__).parent_path() / "../samples/MOLTR4KC.GPD").string();
    driver.dependentFiles = {(build / "samples/MOLTRRES.DLL").string()};
    if (!moltr::sim::InstallDriver(driver)) {
        state.SkipWithError("cannot install the sample printer's driver");
        return;
    }
    moltr::sim::PrinterSetup printer;
    printer.name = u"Sample";
    printer.driver = driver.name;
    for (auto _ : state) {
        // A new printer each time: one without compiled descriptions yet.
        state.PauseTiming();
        moltr::sim::RemovePrinter(printer.name);
        moltr::sim::AddPrinter(printer);
        HANDLE handle = nullptr;
        OpenPrinterW(moltr::sim::W(printer.name), &handle, nullptr);
        state.ResumeTiming();
        int result = moltr::compiler::CompileForPrinter(handle);
        ClosePrinter(handle);
        if (result >= moltr::compiler::kError) {
            state.SkipWithError("the sample printer does not compile");
            return;
        }
    }
}
BENCHMARK(BM_CompileSamplePrinter)->Unit(benchmark::kMillisecond);

} // namespace
