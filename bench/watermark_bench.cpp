// The render plug-in's band work on a whole 600-dpi A4 page in 24-bit colour, band by band as the
// universal driver hands the bands to ImageProcessing: the watermark stamped and merged, and the
// gutters and frame of a 4-up sheet masked, each against one memcpy of the same page measured in
// the same run.
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>
#include <vector>
#include "bench/target.h"
#include "renderplugin/render_state.h"
#include "tests/render_plugin_printer.h"

namespace {

using namespace moltr;

constexpr LONG kPageWidth = 4960; // A4 at 600 dpi
constexpr LONG kPageHeight = 7016;
constexpr LONG kBandRows = 128;
constexpr LONG kStride = ((kPageWidth * 24 + 31) / 32) * 4;

// The driver beneath the hooks: bands of kBandRows rows down the page.
BOOL APIENTRY OwnStartPage(SURFOBJ*) {
    return TRUE;
}
BOOL APIENTRY OwnStartBanding(SURFOBJ*, POINTL* origin) {
    *origin = {0, 0};
    return TRUE;
}
BOOL APIENTRY OwnNextBand(SURFOBJ*, POINTL* origin) {
    LONG next = origin->y + kBandRows;
    *origin = next < kPageHeight ? POINTL{0, next} : POINTL{-1, -1};
    return TRUE;
}

template <typename Function> PFN Pfn(Function function) {
    return reinterpret_cast<PFN>(reinterpret_cast<void (*)()>(function));
}
template <typename Function> Function Hook(const DRVENABLEDATA& table, ULONG index) {
    for (ULONG i = 0; i < table.c; ++i) {
        if (table.pdrvfn[i].iFunc == index) {
            return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(table.pdrvfn[i].pfn));
        }
    }
    return nullptr;
}

const DRVFN kOwn[] = {{INDEX_DrvStartPage, Pfn(OwnStartPage)},
                      {INDEX_DrvSendPage, Pfn(OwnStartPage)},
                      {INDEX_DrvStartBanding, Pfn(OwnStartBanding)},
                      {INDEX_DrvNextBand, Pfn(OwnNextBand)}};
const DRVENABLEDATA kOwnTable = {0x30000, 4, const_cast<DRVFN*>(kOwn)};

// One page through the hooks and ImageProcessing; false when a wanted watermark layer was not
// made (a platform whose GDI draws no text).
bool StampPage(IPrintOemUni* plugin, const DRVENABLEDATA& hooks, DEVOBJ& devobj,
               std::vector<BYTE>& band, bool watermark) {
    SURFOBJ surface = {};
    surface.dhpdev = reinterpret_cast<DHPDEV>(&devobj);
    surface.pvBits = band.data();
    surface.cjBits = static_cast<ULONG>(band.size());
    surface.lDelta = kStride;
    surface.sizlBitmap = {kPageWidth, kBandRows};
    surface.iBitmapFormat = BMF_24BPP;
    Hook<PFN_DrvStartPage>(hooks, INDEX_DrvStartPage)(&surface);
    POINTL origin = {};
    Hook<PFN_DrvStartBanding>(hooks, INDEX_DrvStartBanding)(&surface, &origin);
    bool ok = true;
    while (origin.y >= 0) {
        BITMAPINFOHEADER header = {sizeof header,
                                   kPageWidth,
                                   std::min(kBandRows, kPageHeight - origin.y),
                                   1,
                                   24,
                                   BI_RGB,
                                   0,
                                   0,
                                   0,
                                   0,
                                   0};
        header.biSizeImage = static_cast<DWORD>(kStride * header.biHeight);
        PBYTE result = nullptr;
        plugin->ImageProcessing(&devobj, band.data(), &header, nullptr, 0, nullptr, &result);
        ok = ok && (!watermark || render::StateOf(&devobj)->watermark != nullptr);
        Hook<PFN_DrvNextBand>(hooks, INDEX_DrvNextBand)(&surface, &origin);
    }
    Hook<PFN_DrvSendPage>(hooks, INDEX_DrvSendPage)(&surface);
    return ok;
}

void RunPage(benchmark::State& state, BYTE watermark, BYTE nupIndex, const char* target) {
    bench::ShowTarget(state, target);
    test::RunInSpooler(true);
    test::RenderPluginPrinter printer(MOLTR_SAMPLE_GPD);
    test::RenderPluginDevice device(printer);
    device.gdiInfo.ulLogPixelsX = device.gdiInfo.ulLogPixelsY = 600;
    device.gdiInfo.ulHorzRes = kPageWidth;
    device.gdiInfo.ulVertRes = kPageHeight;
    DRVENABLEDATA hooks = {};
    if (!printer.ready() || !device.Enable(&kOwnTable) ||
        printer.plugin()->EnableDriver(0x30000, sizeof hooks, &hooks) != S_OK) {
        test::RunInSpooler(false);
        state.SkipWithError("cannot set up the sample printer with its render plug-in");
        return;
    }
    common::IDrvSettings* settings = render::StateOf(&device.devobj)->settings;
    settings->SetValue(device.privateDevMode.data(), L"_WMK_ENABLED", &watermark,
                       common::kLayoutDevMode);
    settings->SetValue(device.privateDevMode.data(), L"_NUP_PAGES", &nupIndex,
                       common::kLayoutDevMode);
    // The watermark runs alone: borders on leave the gutters unmasked.
    BYTE borders = watermark;
    settings->SetValue(device.privateDevMode.data(), L"_NUP_BORDER", &borders,
                       common::kLayoutDevMode);
    std::vector<BYTE> page(static_cast<size_t>(kStride) * kPageHeight, 0xFF);
    std::vector<BYTE> copy(page.size());
    std::vector<BYTE> band(static_cast<size_t>(kStride) * kBandRows, 0xFF);
    double copying = 0, stamping = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        std::memcpy(copy.data(), page.data(), page.size());
        benchmark::DoNotOptimize(copy.data());
        auto copied = std::chrono::steady_clock::now();
        if (!StampPage(printer.plugin(), hooks, device.devobj, band, watermark != 0)) {
            state.SkipWithError("no watermark layer: this platform's GDI draws no text");
            break;
        }
        auto stamped = std::chrono::steady_clock::now();
        copying += std::chrono::duration<double>(copied - start).count();
        stamping += std::chrono::duration<double>(stamped - copied).count();
        state.SetIterationTime(std::chrono::duration<double>(stamped - copied).count());
    }
    test::RunInSpooler(false);
    state.counters["memcpy_ms"] = copying * 1000 / std::max<double>(state.iterations(), 1);
    state.counters["ratio_to_memcpy"] = copying > 0 ? stamping / copying : 0;
}

void BM_WatermarkPage(benchmark::State& state) {
    RunPage(state, 1, 0, "ratio_to_memcpy <= 2");
}
BENCHMARK(BM_WatermarkPage)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_GutterMaskPage(benchmark::State& state) {
    RunPage(state, 0, 2, "ratio_to_memcpy <= 0.2");
}
BENCHMARK(BM_GutterMaskPage)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
