// Compiling the sample printer's descriptions: the whole first use, as the UI plug-in runs it when
// a printer has no compiled descriptions yet, and the compiler's own work on the description in
// memory, without the spooler and the files around it.
#include <benchmark/benchmark.h>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include "bench/sample_printer.h"
#include "bench/target.h"
#include "compiler/builtin_description.h"
#include "compiler/compilation.h"
#include "compiler/os_selection.h"
#include "compiler/resource_modules.h"
#include "compiler/structure_compiler.h"
#include "compiler/tokenizer.h"
#include "compiler/translation.h"
#include "compiler/value_compiler.h"
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

// The stages of a compile on text already read: tokens, macros with the resource module, then
// every root's definition, values and image.
int CompileInMemory(const std::string& file, std::u16string_view driverName) {
    Compilation compilation;
    ResourceModules modules;
    AppendBuiltInDescription(compilation.tokens);
    std::string text(LocateXpdText(file));
    if (TokenizeText(compilation, text, u"MOLTR4KC.GPD", false) >= kError ||
        modules.Load(compilation) >= kError) {
        return kError;
    }
    compilation.macros.Build(compilation.tokens);
    ApplyExclusions(compilation);
    ApplyInjections(compilation);
    Translation translation(compilation, modules);
    std::vector<std::u16string> names;
    for (TokenIteration roots(compilation.tokens, nullptr, u"*XPDSTRUCT", 0); roots.Next();) {
        const std::u16string& name = roots.Current()->value;
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            names.push_back(name);
        }
    }
    int result = kSuccess;
    for (const std::u16string& name : names) {
        Structure root;
        if (CompileDefinition(compilation, translation, root, name) >= kError) {
            return kError;
        }
        if (CompileValues(compilation, translation, root, 0, nullptr, driverName, {},
                          root.forceWrite) == kSuccess) {
            store::StructureRecord* record = nullptr;
            result = std::max(result, store::BuildRecord(ToImageInput(std::move(root)), &record));
            store::Close(&record);
        }
    }
    return result;
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
