// The universal driver's renderer: a whole job of 10 pages on the PCL 5 sample printer, from
// loading the render plug-in to its release, with every command callback and the raster.
#include <benchmark/benchmark.h>
#include <winspool.h>
#include <fstream>
#include <string>
#include "bench/target.h"
#include "compiler/compile_driver.h"
#include "sim/machine.h"
#include "sim/spooler_admin.h"
#include "sim/utf.h"
#include "src/unidrv/job_renderer.h"

namespace {

using namespace moltr;

constexpr char16_t kPrinter[] = u"Render sample";

// The sample printer with the render plug-in named by its plug-in settings file.
class RenderSample {
public:
    RenderSample() {
        std::string settings = machine_.root() + "/MOLTR4KC.INI";
        std::ofstream(settings, std::ios::binary)
            << "[UIPSETTINGS]\r\nUIPLANG=0\r\n[OEMFiles]\r\nOEMDriverFile1=MOLTRRPC.DLL\r\n";
        sim::DriverSetup driver;
        driver.name = u"MOLTR ColorLaser 4000 PCL5c";
        driver.dataFile = MOLTR_SAMPLE_GPD;
        driver.dependentFiles = {settings, MOLTR_SAMPLE_STRINGS, MOLTR_RENDER_PLUGIN};
        sim::PrinterSetup printer;
        printer.name = kPrinter;
        printer.driver = driver.name;
        PRINTER_DEFAULTSW all{nullptr, nullptr, PRINTER_ALL_ACCESS};
        ready_ = sim::InstallDriver(driver) && sim::AddPrinter(printer) &&
                 OpenPrinterW(const_cast<LPWSTR>(sim::W(kPrinter)), &handle_, &all) &&
                 compiler::CompileForPrinter(handle_) < compiler::kError;
    }
    ~RenderSample() { ClosePrinter(handle_); }
    RenderSample(const RenderSample&) = delete;
    RenderSample& operator=(const RenderSample&) = delete;

    bool ready() const { return ready_; }
    HANDLE handle() const { return handle_; }

private:
    sim::TestMachine machine_;
    HANDLE handle_ = nullptr;
    bool ready_ = false;
};

void BM_RendererTenPagePcl5Job(benchmark::State& state) {
    bench::ShowTarget(state, "none yet");
    RenderSample sample;
    if (!sample.ready()) {
        state.SkipWithError("no sample printer with its render plug-in");
        return;
    }
    unidrv::RenderJobRequest request;
    request.printer = sample.handle();
    request.jobId = 1;
    request.documentName = L"Benchmark";
    request.pages = 10;
    size_t bytes = 0;
    for (auto _ : state) {
        unidrv::RenderJobResult job = unidrv::RenderJob(request);
        if (FAILED(job.result)) {
            state.SkipWithError("the job failed");
            return;
        }
        bytes = job.stream.size();
        benchmark::DoNotOptimize(job.stream.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_RendererTenPagePcl5Job)->Unit(benchmark::kMillisecond);

} // namespace
