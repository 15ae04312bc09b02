#pragma once
// The pages the renderer draws, as GDI plays an application's page to each band in turn: each
// logical page has its number in large type, a few lines of text, a frame, a thin box, a rule and
// a diagonal, a grey rectangle and a colour patch (red, green and blue squares and a yellow
// triangle), drawn through DrvTextOut (with the glyphs' bitmaps and the font), DrvStrokePath,
// DrvLineTo, DrvBitBlt and DrvFillPath of the driver's table. A page is laid out once; each band
// gets the calls in its own coordinates.
#include <windows.h>
#include <winddi.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "src/gdi32/gdi_font_faces.h"

namespace moltr::unidrv {

// The DDI function the driver's table has for an index (the plug-in's hook, else the driver's
// own), or null.
using DdiLookup = std::function<PFN(ULONG index)>;

// Where a logical page lands on the sheet: its top-left corner in sheet pixels, and the scale
// from the page's pixels to the sheet's.
struct PagePlacement {
    POINTL origin = {};
    double scale = 1.0;
};

// The border the driver draws around a page placed at `frame` (sheet pixels), as four lines
// through DrvLineTo in the coordinates of the band at `bandOrigin`; false when one fails.
bool DrawPageBorder(const DdiLookup& lookup, SURFOBJ* surface, const RECTL& frame,
                    POINTL bandOrigin);

class PageDrawing {
public:
    // Logical page `page` (0 first) of `size` pixels at `dpi`, placed on the sheet.
    PageDrawing(SIZEL size, LONG dpi, DWORD page, PagePlacement placement);
    PageDrawing(const PageDrawing&) = delete;
    PageDrawing& operator=(const PageDrawing&) = delete;

    // Plays the page to the band whose top-left corner is `bandOrigin` (sheet pixels) and which
    // is `bandRows` high; false when a drawing call answers FALSE or is missing.
    bool Draw(const DdiLookup& lookup, SURFOBJ* surface, POINTL bandOrigin, LONG bandRows) const;

private:
    // One glyph's bitmap as GLYPHBITS, and where its pen stands on the sheet.
    struct Glyph {
        std::vector<BYTE> storage;
        POINTL pen;
    };
    // A line of text in one font, with the sheet rectangle it covers.
    struct TextRun {
        std::unique_ptr<platform::RealisedFont> font;
        std::u16string text;
        std::vector<Glyph> glyphs;
        RECTL bounds;
        LONG points;
    };

    POINTL Place(LONG x, LONG y) const;
    RECTL Place(const RECTL& rect) const;
    LONG Scaled(LONG length) const;
    void AddText(std::u16string text, LONG x, LONG top, LONG em, bool bold, bool centred);
    bool DrawText(const DdiLookup& lookup, SURFOBJ* surface, const TextRun& run, POINTL band) const;
    bool DrawShapes(const DdiLookup& lookup, SURFOBJ* surface, POINTL band) const;

    SIZEL size_;
    LONG dpi_;
    PagePlacement placement_;
    std::vector<TextRun> runs_;
};

} // namespace moltr::unidrv
