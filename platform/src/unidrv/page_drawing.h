#pragma once
// The simple page that the renderer draws while real GDI drawing is still to come: a frame along
// the top of the printable area, a filled mark inside it (red in colour, shifted to the right on
// each following page) and a glyph beside the mark, drawn through DrvStrokePath, DrvBitBlt and
// DrvTextOut, as GDI plays a page to each of its bands.
#include <windows.h>
#include <winddi.h>
#include <functional>
#include "src/unidrv/device_geometry.h"

namespace moltr::unidrv {

// The DDI function the driver's table has for an index (the plug-in's hook, else the driver's
// own), or null.
using DdiLookup = std::function<PFN(ULONG index)>;

// Draws page `page` (0 first) on `surface`; false when a drawing call answers FALSE or is
// missing.
bool DrawSimplePage(const DdiLookup& lookup, SURFOBJ* surface, const DeviceGeometry& geometry,
                    DWORD page);

} // namespace moltr::unidrv
