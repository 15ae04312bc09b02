#pragma once
// The driver's own drawing entry points, on the current band of the job's device: solid fills
// (DrvBitBlt), outlines (DrvStrokePath, DrvLineTo), filled polygons (DrvFillPath) and glyph
// bitmaps (DrvTextOut). Coordinates are the band's, as GDI gives them while it plays a page to
// each band in turn.
#include <windows.h>
#include <winddi.h>

namespace moltr::unidrv {

// A path as the engine hands it to DrvStrokePath and DrvFillPath: the DDI's object, then its
// points (28.4 fixed).
struct EnginePath {
    PATHOBJ path;
    const POINTFIX* points;
    ULONG count;
    bool closed;
};

BOOL APIENTRY DriverBitBlt(SURFOBJ* target, SURFOBJ* source, SURFOBJ* mask, CLIPOBJ* clip,
                           XLATEOBJ* xlate, RECTL* rect, POINTL* sourcePoint, POINTL* maskPoint,
                           BRUSHOBJ* brush, POINTL* brushOrigin, ROP4 rop4);
BOOL APIENTRY DriverStrokePath(SURFOBJ* surface, PATHOBJ* path, CLIPOBJ* clip, XFORMOBJ* xform,
                               BRUSHOBJ* brush, POINTL* brushOrigin, LINEATTRS* line, MIX mix);
BOOL APIENTRY DriverFillPath(SURFOBJ* surface, PATHOBJ* path, CLIPOBJ* clip, BRUSHOBJ* brush,
                             POINTL* brushOrigin, MIX mix, FLONG options);
BOOL APIENTRY DriverLineTo(SURFOBJ* surface, CLIPOBJ* clip, BRUSHOBJ* brush, LONG x1, LONG y1,
                           LONG x2, LONG y2, RECTL* bounds, MIX mix);
BOOL APIENTRY DriverTextOut(SURFOBJ* surface, STROBJ* text, FONTOBJ* font, CLIPOBJ* clip,
                            RECTL* extra, RECTL* opaque, BRUSHOBJ* fore, BRUSHOBJ* opaqueBrush,
                            POINTL* origin, MIX mix);

} // namespace moltr::unidrv
