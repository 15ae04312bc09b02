// Code-page conversion through the machine's ANSI page and strsafe formatting.
#include "sim/machine.h"
#include <benchmark/benchmark.h>
#include <strsafe.h>

#include <chrono>
#include <thread>

namespace {

void BM_MultiByteToWideCharAnsi(benchmark::State& state) {
    moltr::sim::TestMachine machine;
    // Let the configuration age so that its page is kept between calls.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const char text[] = "*Define: _DUPLEXTYPE 2";
    WCHAR wide[64];
    for (auto _ : state) {
        benchmark::DoNotOptimize(MultiByteToWideChar(CP_ACP, 0, text, sizeof text - 1, wide, 64));
    }
}
BENCHMARK(BM_MultiByteToWideCharAnsi);

void BM_StringCchPrintfW(benchmark::State& state) {
    WCHAR buffer[128];
    for (auto _ : state) {
        benchmark::DoNotOptimize(StringCchPrintfW(buffer, 128, L"@PJL SET COPIES=%d %s %08lX", 3,
                                                  L"document.txt", static_cast<ULONG>(0xBEEF)));
    }
}
BENCHMARK(BM_StringCchPrintfW);

} // namespace
