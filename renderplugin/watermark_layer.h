#pragma once
// WatermarkLayer: the page's watermark, drawn with GDI into a private 24-bit DIB section of the
// band's size (one stamp colour per band pixel, whatever the band's format) and merged into each
// band behind what the page drew there.
#include <windows.h>
#include "renderplugin/band_view.h"
#include "renderplugin/render_state.h"
#include "renderplugin/watermark_style.h"

namespace moltr::render {

class WatermarkLayer {
public:
    // A layer for the state's page and `band`'s size; null (with E_FAIL) when a setting holds
    // no NUL or a GDI object cannot be made.
    static HRESULT Create(const RenderState& state, const BandView& band, WatermarkLayer** layer);
    ~WatermarkLayer();
    WatermarkLayer(const WatermarkLayer&) = delete;
    WatermarkLayer& operator=(const WatermarkLayer&) = delete;

    bool firstPageOnly() const { return style_.firstPageOnly; }

    // Draws the text into every flagged cell that reaches the band at `origin` and merges it.
    HRESULT Stamp(const RenderState& state, const BandView& band, POINTL origin,
                  const bool (&cells)[kMaxCells]);

private:
    WatermarkLayer() = default;
    HRESULT MakeStamp(LONG width, LONG height);
    HRESULT MakeFont(const RenderState& state);
    // Where a cell's text goes in the band: its clip, its anchor and the area it can ink.
    struct CellPlacement {
        RECT clip;
        POINT anchor;
        RECT area;
    };
    bool PlaceCell(const RenderState& state, size_t cell, POINTL origin,
                   CellPlacement* placement) const;
    void DrawCell(const CellPlacement& placement);
    void Whiten(const RECT& area);

    WatermarkStyle style_;
    int textLength_ = 0;
    LONG escapement_ = 0;
    POINT offset_ = {};
    SIZE extent_ = {};
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    HFONT font_ = nullptr;
    HGDIOBJ oldFont_ = nullptr;
    BYTE* stampBits_ = nullptr;
    LONG width_ = 0;
    LONG height_ = 0;
};

} // namespace moltr::render
