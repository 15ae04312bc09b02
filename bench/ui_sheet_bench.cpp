// The sample printer's document sheet as an application opens it: DocumentPropertiesW with
// DM_IN_PROMPT, which runs the UI plug-in's two CommonUIProp calls and its pages' steps, with the
// simulated user pressing OK at once, so that the sheet's values are committed to the devmode.
#include <benchmark/benchmark.h>
#include <windows.h>
#include <winspool.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include "bench/target.h"
#include "sim/machine.h"
#include "sim/property_sheets.h"
#include "sim/spooler_admin.h"
#include "sim/utf.h"

namespace {

using namespace moltr;

// The sample printer whose driver carries the UI plug-in and its language module, as the
// operating system sets it up.
class SheetPrinter {
public:
    SheetPrinter() {
        const std::string source = machine_.root() + "/source";
        std::filesystem::create_directories(source);
        std::filesystem::copy_file(MOLTR_SAMPLE_GPD, source + "/MOLTR4KC.GPD");
        std::ofstream(source + "/MOLTR4KC.INI", std::ios::binary)
            << "[UIPSETTINGS]\r\nUIPLANG=0\r\n[OEMFiles]\r\nOEMConfigFile1=MOLTRUIP.DLL\r\n";
        sim::DriverSetup driver;
        driver.name = u"MOLTR ColorLaser 4000 PCL5c";
        driver.dataFile = source + "/MOLTR4KC.GPD";
        driver.dependentFiles = {source + "/MOLTR4KC.INI", MOLTR_UI_PLUGIN, MOLTR_LANGUAGE_MODULE};
        sim::PrinterSetup printer;
        printer.name = kName;
        printer.driver = driver.name;
        PRINTER_DEFAULTSW all{nullptr, nullptr, PRINTER_ALL_ACCESS};
        if (sim::InstallDriver(driver) && sim::AddPrinter(printer)) {
            OpenPrinterW(const_cast<LPWSTR>(sim::W(kName)), &handle_, &all);
        }
    }
    ~SheetPrinter() { ClosePrinter(handle_); }
    SheetPrinter(const SheetPrinter&) = delete;
    SheetPrinter& operator=(const SheetPrinter&) = delete;

    static constexpr char16_t kName[] = u"Sample";
    HANDLE handle() const { return handle_; }

private:
    sim::TestMachine machine_;
    HANDLE handle_ = nullptr;
};

void BM_UiDocumentSheetOpenedAndCommitted(benchmark::State& state) {
    bench::ShowTarget(state, "100 ms");
    SheetPrinter printer;
    const LONG size = printer.handle() ? DocumentPropertiesW(nullptr, printer.handle(), nullptr,
                                                             nullptr, nullptr, 0)
                                       : -1;
    if (size <= 0) {
        state.SkipWithError("the sample printer has no document settings");
        return;
    }
    std::vector<BYTE> devmode(static_cast<size_t>(size));
    auto* out = reinterpret_cast<DEVMODEW*>(devmode.data());
    LPWSTR name = const_cast<LPWSTR>(sim::W(SheetPrinter::kName));
    sim::ClearSheetActions();
    for (auto _ : state) {
        sim::QueueSheetAction({sim::SheetAction::Kind::Press, IDOK, {}});
        if (DocumentPropertiesW(nullptr, printer.handle(), name, out, nullptr,
                                DM_IN_PROMPT | DM_OUT_BUFFER) != IDOK) {
            state.SkipWithError("the document sheet was not answered with OK");
            break;
        }
        benchmark::DoNotOptimize(devmode.data());
    }
    sim::ClearSheetActions();
}
BENCHMARK(BM_UiDocumentSheetOpenedAndCommitted)->Unit(benchmark::kMillisecond);

} // namespace
