// The command callbacks of one page: the PAGE_SETUP commands that the PCL 5 sample's description
// gives a job's default devmode, sent by the universal driver's command sender to the render
// plug-in loaded from its module, as the renderer sends them at the start of every page.
#include <benchmark/benchmark.h>
#include <string_view>
#include <vector>
#include "bench/target.h"
#include "src/unidrv/command_sender.h"
#include "src/unidrv/gpd_configuration.h"
#include "src/unidrv/gpd_reader.h"
#include "tests/render_plugin_printer.h"

namespace {

using namespace moltr;

void BM_PageSetupCallbacks(benchmark::State& state) {
    bench::ShowTarget(state, "no target yet");
    test::RenderPluginPrinter printer(MOLTR_SAMPLE_GPD);
    test::RenderPluginDevice device(printer);
    unidrv::GpdReadResult gpd =
        unidrv::ReadGpdFile(L"C:\\Windows\\System32\\spool\\drivers\\x64\\3\\MOLTR4KC.GPD");
    if (!printer.ready() || !device.Enable() || !gpd.ok) {
        state.SkipWithError("cannot set up the sample printer with its render plug-in");
        return;
    }
    const std::vector<const unidrv::GpdCommand*> commands = unidrv::SectionCommands(
        gpd.model, unidrv::ConfigurationFromDevmode(gpd.model, &device.publicDevMode),
        unidrv::GpdSection::kPageSetup);
    size_t callbacks = 0;
    for (const unidrv::GpdCommand* command : commands) {
        callbacks += command->callback ? 1 : 0;
    }
    if (callbacks == 0) {
        state.SkipWithError("the sample's page set-up has no callbacks");
        return;
    }
    unidrv::GpdVariables variables = [](std::string_view, long long* value) {
        *value = 0;
        return true;
    };
    unidrv::CommandSender sender(printer.plugin(), &device.devobj, &printer.output, variables);
    for (auto _ : state) {
        for (const unidrv::GpdCommand* command : commands) {
            if (FAILED(sender.Send(*command))) {
                state.SkipWithError("a page set-up command failed");
                return;
            }
        }
        printer.output.clear();
    }
    state.counters["callbacks"] = static_cast<double>(callbacks);
}
BENCHMARK(BM_PageSetupCallbacks)->Unit(benchmark::kMicrosecond);

} // namespace
