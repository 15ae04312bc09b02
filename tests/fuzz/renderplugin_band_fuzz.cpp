// The render plug-in's band stamping under hostile settings and band headers: the watermark and
// N-up settings of the job's private devmode written from the input (texts without NUL, any size,
// angle, face name and colour), a page started through the hooked DrvStartPage, then bands of any
// format and header handed to ImageProcessing, and the page ended. The buffer always holds what an
// honest header with the input's size field would describe, so any access outside it is the
// plug-in's.
//
// Input: flags, the settings (each field's bytes in table order), then per band: width, height,
// bit count, planes, compression, the header size, whether its size field is set, and the bytes.
#include <windows.h>
#include <algorithm>
#include <cstring>
#include <vector>
#include "common/drv_settings.h"
#include "fuzz_input.h"
#include "renderplugin/render_state.h"
#include "tests/render_plugin_printer.h"

namespace {

using moltr::fuzz::FuzzInput;
using moltr::test::RenderPluginDevice;
using moltr::test::RenderPluginPrinter;

constexpr BYTE kInSpooler = 0x01;
constexpr size_t kMostBands = 4;
constexpr LONG kMostSide = 700;

// The job settings the band entry reads, with their sizes in the private devmode.
struct Setting {
    LPCWSTR name;
    size_t size;
};
constexpr Setting kSettings[] = {
    {L"_WMK_ENABLED", 1}, {L"_WMK_1STPAGEONLY", 1}, {L"_WMK_TEXT", 128}, {L"_WMK_FONT", 128},
    {L"_WMK_ANGLE", 1},   {L"_WMK_DEGREE", 2},      {L"_WMK_COLOR", 4},  {L"_WMK_SHADE", 2},
    {L"_WMK_SIZE", 2},    {L"_WMK_STYLE", 1},       {L"_NUP_PAGES", 1},  {L"_NUP_BORDER", 1},
    {L"_BOOKLET", 1},     {L"_SCALE_FACTOR", 2},
};

void WriteSettings(moltr::common::IDrvSettings* settings, BYTE* privateDevMode, FuzzInput& input) {
    for (const Setting& setting : kSettings) {
        auto* at = static_cast<BYTE*>(
            settings->GetValuePointer(privateDevMode, setting.name, moltr::common::kLayoutDevMode));
        for (size_t i = 0; at != nullptr && i < setting.size; ++i) {
            at[i] = input.Byte();
        }
    }
}

template <typename Function> Function Hook(const DRVENABLEDATA& table, ULONG index) {
    for (ULONG i = 0; i < table.c; ++i) {
        if (table.pdrvfn[i].iFunc == index) {
            return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(table.pdrvfn[i].pfn));
        }
    }
    return nullptr;
}

void ProcessBand(const RenderPluginPrinter& printer, RenderPluginDevice& device, FuzzInput& input) {
    static const WORD kBitCounts[] = {1, 8, 24, 4, 16, 32};
    BITMAPINFOHEADER header = {};
    header.biWidth = static_cast<SHORT>(input.Word()) % kMostSide;
    header.biHeight = static_cast<SHORT>(input.Word()) % kMostSide;
    header.biBitCount = kBitCounts[input.Byte() % std::size(kBitCounts)];
    header.biPlanes = input.Byte() % 3;
    header.biCompression = input.Byte() % 4 == 0 ? BI_RLE8 : BI_RGB;
    header.biSize = input.Byte() % 8 == 0 ? input.Byte() : sizeof header;
    // The buffer is the rows the header describes, or a size of the input's choosing that the
    // header's size field then states.
    const bool sized = input.Byte() % 2 == 0;
    const LONG rows = std::abs(header.biHeight);
    const LONG stride = ((std::max<LONG>(header.biWidth, 0) * header.biBitCount + 31) / 32) * 4;
    size_t bytes = sized ? input.Word() : static_cast<size_t>(stride) * rows;
    header.biSizeImage = sized ? static_cast<DWORD>(bytes) : 0;
    std::vector<BYTE> band(std::max<size_t>(bytes, 1));
    for (BYTE& b : band) {
        b = input.Byte();
    }
    const RGBQUAD palette[2] = {{0xFF, 0xFF, 0xFF, 0}, {0, 0, 0, 0}};
    PBYTE result = nullptr;
    printer.plugin()->ImageProcessing(&device.devobj, bytes ? band.data() : nullptr, &header,
                                      reinterpret_cast<PBYTE>(const_cast<RGBQUAD*>(palette)), 0,
                                      nullptr, &result);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static RenderPluginPrinter printer(MOLTR_SOURCE_DIR "/samples/MOLTR4KC.GPD");
    static RenderPluginDevice device(printer);
    static DRVENABLEDATA hooks = {};
    static const bool enabled = [] {
        device.gdiInfo.ulLogPixelsX = device.gdiInfo.ulLogPixelsY = 600;
        device.gdiInfo.ulHorzRes = 640;
        device.gdiInfo.ulVertRes = 480;
        return printer.ready() && device.Enable() &&
               printer.plugin()->EnableDriver(0x30000, sizeof hooks, &hooks) == S_OK;
    }();
    if (!enabled) {
        __builtin_trap();
    }
    FuzzInput input(data, size);
    moltr::test::RunInSpooler((input.Byte() & kInSpooler) != 0);
    const std::vector<BYTE>& defaults = printer.privateDevMode();
    std::copy(defaults.begin(), defaults.end(), device.privateDevMode.begin());
    moltr::render::RenderState* state = moltr::render::StateOf(&device.devobj);
    WriteSettings(state->settings, device.privateDevMode.data(), input);
    SURFOBJ surface = {};
    surface.dhpdev = reinterpret_cast<DHPDEV>(&device.devobj);
    Hook<PFN_DrvStartPage>(hooks, INDEX_DrvStartPage)(&surface);
    const size_t bands = input.Byte() % (kMostBands + 1);
    for (size_t i = 0; i < bands; ++i) {
        ProcessBand(printer, device, input);
    }
    Hook<PFN_DrvSendPage>(hooks, INDEX_DrvSendPage)(&surface);
    printer.output.clear();
    return 0;
}
