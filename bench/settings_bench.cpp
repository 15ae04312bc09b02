// The driver settings of the sample printer: the merge of a whole private devmode that every
// devmode call of the core driver runs, and the printer settings opened from the printer's data
// with every field read by name.
#include <benchmark/benchmark.h>
#include <array>
#include <cstring>
#include <vector>
#include "bench/sample_printer.h"
#include "bench/target.h"
#include "common/drv_settings.h"
#include "store/xpr.h"

namespace {

using namespace moltr;

void BM_SettingsMergeWholePrivateDevMode(benchmark::State& state) {
    bench::ShowTarget(state, "5 us");
    bench::SamplePrinter sample;
    common::IDrvSettings* settings = nullptr;
    if (!sample.ready() ||
        FAILED(common::CreateDrvSettings(common::kModeDocument, sample.handle(), &settings))) {
        state.SkipWithError("no settings object for the sample printer");
        return;
    }
    DWORD size = 0;
    settings->GetDevModeSize(&size);
    std::vector<BYTE> input(size);
    std::vector<BYTE> output(size);
    settings->GetDefaultDevMode(&size, input.data());
    DEVMODEW publicIn{};
    publicIn.dmSize = sizeof publicIn;
    publicIn.dmFields = DM_PAPERSIZE | DM_DUPLEX | DM_DEFAULTSOURCE;
    publicIn.dmPaperSize = DMPAPER_A3;
    publicIn.dmDuplex = DMDUP_VERTICAL;
    publicIn.dmDefaultSource = DMBIN_ENVELOPE;
    for (auto _ : state) {
        DEVMODEW publicOut = publicIn;
        benchmark::DoNotOptimize(
            settings->MergeDevMode(size, &publicOut, &publicIn, output.data(), input.data()));
        benchmark::DoNotOptimize(output.data());
    }
    settings->Release();
}
BENCHMARK(BM_SettingsMergeWholePrivateDevMode);

using FieldName = std::array<WCHAR, 48>;

// The names of the structure's fields, copied: names inside an image may lie at odd addresses.
std::vector<FieldName> FieldNames(store::StructureHandle handle) {
    std::vector<FieldName> names;
    while (store::SelectField(handle, nullptr) == store::kClassSuccess) {
        LPCWSTR name = nullptr;
        store::GetFieldName(handle, &name);
        FieldName copy{};
        std::memcpy(copy.data(), name, (lstrlenW(name) + 1) * sizeof(WCHAR));
        names.push_back(copy);
    }
    return names;
}

void BM_SettingsOpenPrinterSettingsAndReadEveryField(benchmark::State& state) {
    bench::ShowTarget(state, "50 us");
    bench::SamplePrinter sample;
    store::StructureRecord* record = nullptr;
    store::StructureHandle handle = nullptr;
    if (!sample.ready() ||
        store::OpenByHandle(sample.handle(), L"PRINTERSETTINGS", &record) >= store::kClassError ||
        store::GetStructure(record, L"PRINTERSETTINGS", &handle, nullptr) >= store::kClassError) {
        state.SkipWithError("the sample printer has no printer settings");
        return;
    }
    const std::vector<FieldName> names = FieldNames(handle);
    store::Close(&record);
    BYTE value[1024];
    for (auto _ : state) {
        store::OpenByHandle(sample.handle(), L"PRINTERSETTINGS", &record);
        store::GetStructure(record, L"PRINTERSETTINGS", &handle, nullptr);
        for (const FieldName& name : names) {
            benchmark::DoNotOptimize(store::GetField(handle, name.data(), value, sizeof value));
        }
        store::Close(&record);
    }
    state.counters["fields"] = static_cast<double>(names.size());
}
BENCHMARK(BM_SettingsOpenPrinterSettingsAndReadEveryField)->Unit(benchmark::kMicrosecond);

} // namespace
