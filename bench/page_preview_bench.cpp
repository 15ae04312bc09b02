// The document sheet's page preview painted into a 400 x 400 control, as the dialog repaints it
// on every change of a layout setting: 4 pages per sheet with borders and the watermark.
#include <benchmark/benchmark.h>
#include <windows.h>
#include "bench/target.h"
#include "uiplugin/engine/page_preview.h"

namespace {

using namespace moltr;

constexpr LONG kSide = 400;

void BM_PagePreview(benchmark::State& state) {
    bench::ShowTarget(state, "16 ms");
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kSide;
    info.bmiHeader.biHeight = -kSide;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    ui::PreviewState preview;
    preview.paperWidth = 5100; // Letter
    preview.paperLength = 6600;
    preview.pagesPerSheet = 4;
    preview.pageBorders = true;
    preview.watermarkOff = false;
    ui::WatermarkRecord watermark;
    lstrcpynW(watermark.text, L"Confidential", ui::kWatermarkRecordText);
    lstrcpynW(watermark.faceName, L"Arial", ui::kWatermarkRecordText);
    watermark.size = 72;
    watermark.colour = RGB(217, 217, 217);
    watermark.angle = 52;
    const RECT client = {0, 0, kSide, kSide};
    for (auto _ : state) {
        ui::PaintPagePreview(dc, client, preview, watermark, L"8.5 x 11 in");
    }
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
}
BENCHMARK(BM_PagePreview)->Unit(benchmark::kMillisecond);

} // namespace
