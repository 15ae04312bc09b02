// The notifier's hold on a new two-sided job: from the job's creation in the queue to the pause
// that the printer's monitor thread makes, measured against the 250 ms slice the monitor waits
// in. A job paused within one slice has not printed a page before the notifier knows its size.
#include <benchmark/benchmark.h>
#include <winspool.h>
#include <algorithm>
#include <chrono>
#include <fstream>
#include <vector>
#include "bench/target.h"
#include "notifier/notifier_state.h"
#include "notifier/printer_watches.h"
#include "sim/machine.h"
#include "sim/spooler_admin.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kPollSliceSeconds = 0.250;

bool AddBenchPrinter(const std::string& root) {
    const std::string gpd = root + "/BENCH.GPD";
    std::ofstream(gpd) << "*GPDFileVersion: 1.0\r\n";
    moltr::sim::DriverSetup driver;
    driver.name = u"Bench Duplex";
    driver.dataFile = gpd;
    moltr::sim::PrinterSetup printer;
    printer.name = u"Bench";
    printer.driver = driver.name;
    return moltr::sim::InstallDriver(driver) && moltr::sim::AddPrinter(printer);
}

DWORD JobStatus(HANDLE printer, DWORD job) {
    DWORD needed = 0;
    GetJobW(printer, job, 1, nullptr, 0, &needed);
    std::vector<BYTE> info(needed ? needed : 1);
    return GetJobW(printer, job, 1, info.data(), needed, &needed)
               ? reinterpret_cast<JOB_INFO_1W*>(info.data())->Status
               : 0;
}

void BM_NotifierPausesANewTwoSidedJob(benchmark::State& state) {
    moltr::bench::ShowTarget(state, "ratio_to_slice below 1");
    moltr::sim::TestMachine machine;
    WCHAR name[] = L"Bench";
    WCHAR document[] = L"two-sided";
    WCHAR datatype[] = L"RAW";
    if (!AddBenchPrinter(machine.root())) {
        state.SkipWithError("no printer");
        return;
    }
    moltr::notifier::NotifierState notifier;
    if (moltr::notifier::WatchPrinter(notifier, name) == nullptr) {
        state.SkipWithError("the printer is not watched");
        return;
    }
    DEVMODEW devmode = {};
    devmode.dmSize = sizeof devmode;
    devmode.dmFields = DM_DUPLEX;
    devmode.dmDuplex = DMDUP_VERTICAL;
    PRINTER_DEFAULTSW defaults = {nullptr, &devmode,
                                  PRINTER_ACCESS_USE | PRINTER_ACCESS_ADMINISTER};
    double worst = 0;
    double total = 0;
    for (auto _ : state) {
        HANDLE printer = nullptr;
        if (!OpenPrinterW(name, &printer, &defaults)) {
            state.SkipWithError("the printer cannot be opened");
            break;
        }
        DOC_INFO_1W info = {document, nullptr, datatype};
        const auto start = Clock::now();
        const DWORD job = StartDocPrinterW(printer, 1, reinterpret_cast<BYTE*>(&info));
        while (job != 0 && (JobStatus(printer, job) & JOB_STATUS_PAUSED) == 0 &&
               Clock::now() - start < std::chrono::seconds(5)) {
            Sleep(1);
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        const bool paused = job != 0 && (JobStatus(printer, job) & JOB_STATUS_PAUSED) != 0;
        state.SetIterationTime(seconds);
        worst = std::max(worst, seconds);
        total += seconds;
        AbortPrinter(printer);
        ClosePrinter(printer);
        if (!paused) {
            state.SkipWithError("the notifier did not pause the job");
            break;
        }
    }
    moltr::notifier::ShutPrinterWatches(notifier);
    state.counters["ratio_to_slice"] =
        total / std::max<double>(static_cast<double>(state.iterations()), 1) / kPollSliceSeconds;
    state.counters["worst_ratio_to_slice"] = worst / kPollSliceSeconds;
}
BENCHMARK(BM_NotifierPausesANewTwoSidedJob)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

} // namespace
