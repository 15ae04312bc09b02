#include "renderplugin/band_stamping.h"

#include <algorithm>
#include <cstring>
#include "renderplugin/band_view.h"
#include "renderplugin/edge_markers.h"
#include "renderplugin/gutter_mask.h"
#include "renderplugin/settings_view.h"
#include "renderplugin/watermark_layer.h"

namespace moltr::render {

namespace {

LONG PageSide(ULONG pixels) {
    return static_cast<LONG>(std::min<ULONG>(pixels, 0x7FFFFFFF));
}

bool MasksGutters(const RenderState& state) {
    return (state.deviceFlags & kDeviceRasterMode) != 0 && !state.nupBorder;
}

// A watermark on this sheet: enabled, and on every sheet or this is the job's first.
bool WantsWatermark(const RenderState& state, const BandView& band) {
    SettingsView settings(state.settings, state.privateDevMode);
    return band.bitsPerPixel > 1 && settings.Job(L"_WMK_ENABLED") != 0 &&
           (state.pageCount == 0 || settings.Job(L"_WMK_1STPAGEONLY") == 0);
}

// The cells that get a watermark: the only one, or those whose page frame was drawn, so that the
// empty cells of a partly filled sheet stay empty.
void FlagCells(const RenderState& state, bool (&cells)[kMaxCells]) {
    for (size_t cell = 0; cell < kMaxCells; ++cell) {
        cells[cell] = state.nupCount == 1 ? cell == 0 : CellOccupied(state, cell);
    }
}

} // namespace

HRESULT StampBand(RenderState& state, const BITMAPINFOHEADER* header, BYTE* bits,
                  const BYTE* colorTable) {
    BandView band;
    if (header == nullptr || bits == nullptr || state.gdiInfo == nullptr ||
        !ViewBand(state, *header, bits, colorTable, &band)) {
        return E_INVALIDARG;
    }
    if (MasksGutters(state) && state.gutters == nullptr) {
        state.gutters = new (std::nothrow)
            GutterMask(PageSide(state.gdiInfo->ulHorzRes), PageSide(state.gdiInfo->ulVertRes),
                       state.nupCount, state.landscape);
    }
    // The gutters are cleared even when the watermark cannot be made: the page loses no more
    // than its watermark.
    if (state.gutters != nullptr) {
        state.gutters->Apply(band, state.bandOrigin);
    }
    if (state.watermark == nullptr && WantsWatermark(state, band)) {
        HRESULT made = WatermarkLayer::Create(state, band, &state.watermark);
        if (FAILED(made)) {
            return made;
        }
    }
    if (state.watermark == nullptr) {
        return S_OK;
    }
    bool cells[kMaxCells];
    FlagCells(state, cells);
    return state.watermark->Stamp(state, band, state.bandOrigin, cells);
}

void ClearBand(const RenderState& state, SURFOBJ* surface) {
    if (state.watermark == nullptr || surface == nullptr || surface->pvBits == nullptr) {
        return;
    }
    BYTE fill = state.windows2000 && surface->iBitmapFormat != BMF_24BPP ? 0x00 : 0xFF;
    std::memset(surface->pvBits, fill, surface->cjBits);
}

} // namespace moltr::render
