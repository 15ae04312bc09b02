#pragma once
// GutterMask: in raster mode without N-up borders, the strips between the cells of a sheet and
// the frame around the page are cleared to white in every band, so that nothing the imposition
// scaled into a gutter prints there.
#include <windows.h>
#include "renderplugin/band_view.h"

namespace moltr::render {

class GutterMask {
public:
    // The most rectangles a sheet has: six gutter strips (16 cells) and four frame strips.
    static constexpr size_t kMaxStrips = 10;

    GutterMask(LONG pageWidth, LONG pageHeight, DWORD nupCount, bool landscape);

    size_t count() const { return count_; }
    const RECTL& strip(size_t i) const { return strips_[i]; }

    // Sets the pixels of the strips inside the band at `origin` (page pixels) to white.
    void Apply(const BandView& band, POINTL origin) const;

private:
    void Add(LONG left, LONG top, LONG right, LONG bottom);
    void AddVertical(LONG centre);
    void AddHorizontal(LONG centre);

    LONG width_;
    LONG height_;
    RECTL strips_[kMaxStrips] = {};
    size_t count_ = 0;
};

} // namespace moltr::render
