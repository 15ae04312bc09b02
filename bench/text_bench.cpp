// Code-page conversion through the machine's ANSI page and strsafe formatting.
#include <benchmark/benchmark.h>
#include <strsafe.h>
#include "bench/target.h"
#include "sim/machine.h"

namespace {

void BM_MultiByteToWideCharAnsi(benchmark::State& state) {
    moltr::bench::ShowTarget(state, "500 ns");
    moltr::sim::TestMachine machine;
    const char text[] = "*Define: _DUPLEXTYPE 2";
    WCHAR wide[64];
    for (auto _ : state) {
        benchmark::DoNotOptimize(MultiByteToWideChar(CP_ACP, 0, text, sizeof text - 1, wide, 64));
    }
}
BENCHMARK(BM_MultiByteToWideCharAnsi);

void BM_StringCchPrintfW(benchmark::State& state) {
    moltr::bench::ShowTarget(state, "500 ns");
    WCHAR buffer[128];
    for (auto _ : state) {
        benchmark::DoNotOptimize(StringCchPrintfW(buffer, 128, L"@PJL SET COPIES=%d %s %08lX", 3,
                                                  L"document.txt", static_cast<ULONG>(0xBEEF)));
    }
}
BENCHMARK(BM_StringCchPrintfW);

} // namespace
