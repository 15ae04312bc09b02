// Compiling the sample printer's descriptions: the whole first use, as the UI plug-in runs it when
// a printer has no compiled descriptions yet, and the compiler's own work on the description in
// memory, without the spooler and the files around it.
#include <benchmark/benchmark.h>
#include <fstream>
#include <iterator>
#include <string>
#include "bench/sample_printer.h"
#include "bench/target.h"
#include "compiler/compile_driver.h"
#include "compiler/structure.h"
#include "compiler/tokenizer.h"
#include "store/image_writer.h"
#include "store/xpr.h"

namespace {

using namespace moltr;
using namespace moltr::compiler;

void BM_CompileSamplePrinterOnFirstUse(benchmark::State& state) {
    bench::ShowTarget(state, "5 ms");
    bench::SamplePrinter sample(false);
    if (!sample.ready()) {
        state.SkipWithError("cannot set up the sample printer");
        return;
    }
    for (auto _ : state) {
        // A new printer each time: one without compiled descriptions yet.
        state.PauseTiming();
        const bool renewed = sample.Renew();
        state.ResumeTiming();
        if (!renewed) {
            state.SkipWithError("cannot add the sample printer again");
            return;
        }
        if (CompileForPrinter(sample.handle()) >= kError) {
            state.SkipWithError("the sample printer does not compile");
            return;
        }
    }
}
BENCHMARK(BM_CompileSamplePrinterOnFirstUse)->Unit(benchmark::kMillisecond);

// The stages of a compile on text already read, as the compile driver runs them, with each root's
// image built but not stored.
int CompileInMemory(const std::string& file, std::u16string_view driverName) {
    std::string text(LocateXpdText(file));
    auto read = [&](Compilation& compilation) {
        return TokenizeText(compilation, text, u"MOLTR4KC.GPD", false);
    };
    auto build = [](const std::u16string&, Structure&& root) {
        store::StructureRecord* record = nullptr;
        const int built = store::BuildRecord(ToImageInput(std::move(root)), &record);
        store::Close(&record);
        return built;
    };
    return CompileDescriptions(read, driverName, build);
}

void BM_CompileSampleDescriptionInMemory(benchmark::State& state) {
    bench::ShowTarget(state, "1 ms");
    // The resource module that the description names lives with the installed driver.
    bench::SamplePrinter sample(false);
    std::ifstream in(MOLTR_SAMPLE_GPD, std::ios::binary);
    const std::string file{std::istreambuf_iterator<char>(in), {}};
    if (!sample.ready() || file.empty()) {
        state.SkipWithError("cannot set up the sample printer");
        return;
    }
    for (auto _ : state) {
        if (CompileInMemory(file, bench::SamplePrinter::kDriver) >= kError) {
            state.SkipWithError("the sample description does not compile");
            return;
        }
    }
}
BENCHMARK(BM_CompileSampleDescriptionInMemory)->Unit(benchmark::kMicrosecond);

} // namespace
