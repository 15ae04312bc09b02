// The settings store: field access by name on a devmode-sized record, and loading an OEMDEVMODE
// image, from printer data and on its own.
#include <benchmark/benchmark.h>
#include <winspool.h>
#include <cstring>
#include <fstream>
#include "sim/machine.h"
#include "sim/spooler_admin.h"
#include "store/image_load.h"
#include "store/record_memory.h"
#include "store/xpr.h"
#include "tests/store/compiled_tree.h"
#include "bench/target.h"

using namespace moltr::store;

namespace {

std::vector<BYTE> DevmodeImage() {
    std::vector<BYTE> image;
    WriteImage(testing::DevmodeTree(), image);
    return image;
}

// Selecting by name searches the descriptors linearly: the last of the 40 fields is the longest
// way.
void BM_StoreSelectAndReadLastOfFortyFields(benchmark::State& state) {
    moltr::bench::ShowTarget(state, "50 ns");
    StructureRecord* record = nullptr;
    BuildRecord(testing::DevmodeTree(), &record);
    StructureHandle handle = nullptr;
    GetStructure(record, L"OEMDEVMODE", &handle, nullptr);
    DWORD value = 0;
    for (auto _ : state) {
        GetField(handle, L"_DUPLEXTYPE", &value, sizeof value);
        benchmark::DoNotOptimize(value);
    }
    Close(&record);
}
BENCHMARK(BM_StoreSelectAndReadLastOfFortyFields);

// Check and conversion of an image just read.
void BM_StoreAcceptDevmodeImage(benchmark::State& state) {
    moltr::bench::ShowTarget(state, "5 us");
    const std::vector<BYTE> image = DevmodeImage();
    for (auto _ : state) {
        StructureRecord* record = NewRecord();
        record->image = AllocateImage(image.size(), 0);
        std::memcpy(record->image, image.data(), image.size());
        record->imageSize = static_cast<DWORD>(image.size());
        record->root = reinterpret_cast<StructureHeader*>(record->image);
        benchmark::DoNotOptimize(AcceptImage(record, L"OEMDEVMODE"));
        FreeRecord(record);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * image.size()));
}
BENCHMARK(BM_StoreAcceptDevmodeImage);

// OpenByHandle and Close: both printer-data reads of the simulated spooler included.
void BM_StoreOpenDevmodeFromPrinterData(benchmark::State& state) {
    moltr::bench::ShowTarget(state, "50 us");
    moltr::sim::TestMachine machine;
    const std::string gpd = machine.root() + "/BENCH.GPD";
    std::ofstream(gpd) << "*GPDFileVersion: 1.0\r\n";
    moltr::sim::DriverSetup driver;
    driver.name = u"Bench PCL6";
    driver.dataFile = gpd;
    moltr::sim::PrinterSetup printer;
    printer.name = u"Bench";
    printer.driver = driver.name;
    WCHAR name[] = L"Bench";
    WCHAR value[] = L"OEMDEVMODE";
    PRINTER_DEFAULTSW all{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE handle = nullptr;
    std::vector<BYTE> image = DevmodeImage();
    if (!moltr::sim::InstallDriver(driver) || !moltr::sim::AddPrinter(printer) ||
        !OpenPrinterW(name, &handle, &all) ||
        SetPrinterDataW(handle, value, REG_BINARY, image.data(),
                        static_cast<DWORD>(image.size())) != ERROR_SUCCESS) {
        state.SkipWithError("no printer");
        return;
    }
    for (auto _ : state) {
        StructureRecord* record = nullptr;
        benchmark::DoNotOptimize(OpenByHandle(handle, value, &record));
        Close(&record);
    }
    ClosePrinter(handle);
}
BENCHMARK(BM_StoreOpenDevmodeFromPrinterData);

} // namespace
