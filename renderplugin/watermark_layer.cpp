#include "renderplugin/watermark_layer.h"

#include <wingdi.h>
#include <algorithm>
#include <cstring>
#include <memory>
#include "renderplugin/settings_view.h"
#include "renderplugin/stamp_merge.h"

namespace moltr::render {

namespace {

// The text keeps clear of the cell's edges by this much on each side.
constexpr LONG kCellInset = 18;

RECT Intersection(const RECT& a, const RECT& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

bool Empty(const RECT& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

RECT Union(const RECT& a, const RECT& b) {
    if (Empty(a)) {
        return b;
    }
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

bool StretchedSingleSheet(const RenderState& state) {
    return state.nupCount == 1 && state.scalePercent != 100;
}

} // namespace

HRESULT WatermarkLayer::Create(const RenderState& state, const BandView& band,
                               WatermarkLayer** layer) {
    *layer = nullptr;
    std::unique_ptr<WatermarkLayer> made(new (std::nothrow) WatermarkLayer);
    if (made == nullptr) {
        return E_OUTOFMEMORY;
    }
    SettingsView settings(state.settings, state.privateDevMode);
    if (!ReadWatermarkStyle(settings, &made->style_)) {
        return E_FAIL;
    }
    made->textLength_ = lstrlenW(made->style_.text);
    const GDIINFO* page = state.gdiInfo;
    made->escapement_ = WatermarkEscapement(made->style_, page->ulHorzRes, page->ulVertRes,
                                            state.nupCount, state.booklet, state.pageCount);
    made->dc_ = CreateCompatibleDC(nullptr);
    if (made->dc_ == nullptr || FAILED(made->MakeStamp(band.width, band.height)) ||
        FAILED(made->MakeFont(state))) {
        return E_FAIL;
    }
    *layer = made.release();
    return S_OK;
}

WatermarkLayer::~WatermarkLayer() {
    if (dc_ != nullptr) {
        if (oldFont_ != nullptr) {
            SelectObject(dc_, oldFont_);
        }
        if (oldBitmap_ != nullptr) {
            SelectObject(dc_, oldBitmap_);
        }
        DeleteDC(dc_);
    }
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    }
}

HRESULT WatermarkLayer::MakeStamp(LONG width, LONG height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // rows top first, as the band's
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr || bits == nullptr) {
        return E_FAIL;
    }
    HGDIOBJ previous = SelectObject(dc_, bitmap);
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    } else {
        oldBitmap_ = previous;
    }
    bitmap_ = bitmap;
    stampBits_ = static_cast<BYTE*>(bits);
    width_ = width;
    height_ = height;
    return S_OK;
}

HRESULT WatermarkLayer::MakeFont(const RenderState& state) {
    double scale = StretchedSingleSheet(state) ? state.scalePercent / 100.0 : state.scale;
    LOGFONTW font = {};
    const GDIINFO* page = state.gdiInfo;
    font.lfHeight = WatermarkFontHeight(style_.size, page->ulLogPixelsX, scale,
                                        std::max(page->ulHorzRes, page->ulVertRes));
    font.lfEscapement = escapement_;
    font.lfOrientation = escapement_;
    font.lfWeight = style_.style == 2 || style_.style == 4 ? FW_BOLD : FW_NORMAL;
    font.lfItalic = style_.style == 3 || style_.style == 4 ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfPitchAndFamily = VARIABLE_PITCH;
    lstrcpynW(font.lfFaceName, style_.font, LF_FACESIZE);
    font_ = CreateFontIndirectW(&font);
    if (font_ == nullptr) {
        return E_FAIL;
    }
    oldFont_ = SelectObject(dc_, font_);
    if (!GetTextExtentPoint32W(dc_, style_.text, textLength_, &extent_)) {
        extent_ = {};
    }
    offset_ = WatermarkTextOffset(extent_.cy, escapement_);
    return S_OK;
}

bool WatermarkLayer::PlaceCell(const RenderState& state, size_t cell, POINTL origin,
                               CellPlacement* placement) const {
    const CellTable& cells = state.cells;
    POINTL centre = cells.centre[cell];
    RECT clip = {centre.x - cells.width / 2 + kCellInset - origin.x,
                 centre.y - cells.height / 2 + kCellInset - origin.y,
                 centre.x + cells.width / 2 - kCellInset - origin.x,
                 centre.y + cells.height / 2 - kCellInset - origin.y};
    if (StretchedSingleSheet(state)) {
        centre.x = static_cast<LONG>(centre.x * (state.scalePercent / 100.0));
        centre.y = static_cast<LONG>(centre.y * (state.scalePercent / 100.0));
    }
    POINT inBand = {centre.x - origin.x, centre.y - origin.y};
    placement->clip = clip;
    placement->anchor = {inBand.x + offset_.x, inBand.y + offset_.y};
    // Only where the clip, the text and the band meet can the cell change a pixel.
    RECT text = WatermarkTextBounds(inBand, extent_, escapement_, 0, height_);
    placement->area = Intersection(Intersection(clip, text), {0, 0, width_, height_});
    return !Empty(placement->area);
}

void WatermarkLayer::DrawCell(const CellPlacement& placement) {
    const RECT& clip = placement.clip;
    int saved = SaveDC(dc_);
    IntersectClipRect(dc_, clip.left, clip.top, clip.right, clip.bottom);
    ExtTextOutW(dc_, placement.anchor.x, placement.anchor.y, 0, nullptr, style_.text,
                static_cast<UINT>(textLength_), nullptr);
    RestoreDC(dc_, saved);
}

void WatermarkLayer::Whiten(const RECT& area) {
    const LONG stride = DibStride(width_, 24);
    for (LONG y = area.top; y < area.bottom; ++y) {
        std::memset(stampBits_ + static_cast<size_t>(y) * stride + area.left * 3, 0xFF,
                    static_cast<size_t>(area.right - area.left) * 3);
    }
}

HRESULT WatermarkLayer::Stamp(const RenderState& state, const BandView& band, POINTL origin,
                              const bool (&cells)[kMaxCells]) {
    if (band.width <= 0 || band.height <= 0) {
        return E_FAIL;
    }
    if ((band.width > width_ || band.height > height_) &&
        FAILED(MakeStamp(band.width, band.height))) {
        return E_FAIL;
    }
    // The cells whose text reaches this band, and the area of the stamp they can ink: only that
    // area is whitened, drawn and merged.
    CellPlacement placements[kMaxCells];
    bool placed[kMaxCells] = {};
    RECT dirty = {};
    size_t count = style_.firstPageOnly ? 1 : std::min<size_t>(state.nupCount, kMaxCells);
    for (size_t cell = 0; cell < count; ++cell) {
        placed[cell] =
            cells[cell] && textLength_ > 0 && PlaceCell(state, cell, origin, &placements[cell]);
        if (placed[cell]) {
            dirty = Union(dirty, placements[cell].area);
        }
    }
    if (Empty(dirty)) {
        return S_OK;
    }
    Whiten(dirty);
    SetTextColor(dc_, WatermarkTextColour(style_.colour, style_.shade));
    SetTextAlign(dc_, TA_CENTER);
    SetBkMode(dc_, TRANSPARENT);
    for (size_t cell = 0; cell < count; ++cell) {
        if (placed[cell]) {
            DrawCell(placements[cell]);
        }
    }
    // GDI may batch the drawing; the bits are read only after it has reached them.
    GdiFlush();
    MergeStamp(band, {stampBits_, width_, height_, DibStride(width_, 24)}, dirty);
    return S_OK;
}

} // namespace moltr::render
