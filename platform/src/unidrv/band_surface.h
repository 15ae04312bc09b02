#pragma once
// The bitmap of one band of a page, as the renderer hands it to GDI's drawing calls: the
// printable width at the device resolution, a number of rows from a top row of the page, 1 bit
// per pixel (1 is ink), 8 bits (grey levels, 255 white) or 24 bits (blue, green, red). Drawing
// takes the band's own coordinates (row 0 is the band's top row), as the DDI calls give them, and
// is clipped to the band; what lies outside it is drawn again when its band comes.
#include <windows.h>
#include <winddi.h>
#include <vector>

namespace moltr::unidrv {

// The columns of a row that hold anything but white: [first, last).
struct RowExtent {
    LONG first = 0;
    LONG last = 0;
    bool empty() const { return first >= last; }
};

class BandSurface {
public:
    // `bandRows` is the most rows a band holds; a page's last band may hold fewer. `bits` is 1, 8
    // or 24.
    BandSurface(LONG width, LONG pageHeight, LONG bandRows, WORD bits);

    // Makes the band starting at page row `top` the current one, all white.
    void StartBand(LONG top);

    LONG width() const { return width_; }
    LONG top() const { return top_; }
    LONG rows() const { return rows_; }
    LONG stride() const { return stride_; }
    WORD bitsPerPixel() const { return bits_; }
    bool colour() const { return bits_ == 24; }
    BYTE* bits() { return pixels_.data(); }
    const BYTE* Row(const BYTE* bits, LONG row) const { return bits + row * stride_; }

    // Paints `rect` (band coordinates, right and bottom exclusive) in `rgb` (0x00BBGGRR): its
    // grey level on an 8-bit band; on a 1-bit band any colour darker than mid-grey is ink.
    void Fill(RECTL rect, ULONG rgb);
    // The non-white columns of band row `row` of `bits` (the band itself, or what the plug-in
    // made of it).
    RowExtent Extent(const BYTE* bits, LONG row) const;

private:
    void Whiten();
    BYTE White() const { return bits_ == 1 ? 0 : 0xFF; }

    LONG width_;
    LONG pageHeight_;
    LONG bandRows_;
    WORD bits_;
    LONG stride_;
    LONG top_ = 0;
    LONG rows_ = 0;
    std::vector<BYTE> pixels_;
    // The rows of the band drawn on, so that only they are whitened for the next band.
    mutable std::vector<RowExtent> drawn_;
};

// The grey level of a colour (0x00BBGGRR), 0 black to 255 white.
BYTE GreyLevel(ULONG rgb);

} // namespace moltr::unidrv
