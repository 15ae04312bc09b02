#pragma once
// RenderState: what the render plug-in keeps per PDEV, from EnablePDEV to DisablePDEV, reached
// through DEVOBJ.pdevOEM.
#include <windows.h>
#include "common/drv_settings.h"
#include "common/resources.h"
#include "plugin_hooks.h"
#include "prcomoem.h"

namespace moltr::render {

// The driver's own DDI entry points that the state keeps, in this order.
enum class Ddi : size_t {
    AlphaBlend,
    BitBlt,
    CopyBits,
    EnableSurface,
    EndDoc,
    FillPath,
    GradientFill,
    GetGlyphMode,
    LineTo,
    NextBand,
    Paint,
    PlgBlt,
    RealizeBrush,
    SendPage,
    StartBanding,
    StartDoc,
    StartPage,
    StretchBlt,
    StretchBltROP,
    StrokeAndFillPath,
    StrokePath,
    TextOut,
    TransparentBlt,
    IcmCreateColorTransform,
    IcmDeleteColorTransform,
    IcmCheckBitmapBits,
    Escape,
    DrawEscape,
    Count,
};
inline constexpr size_t kDdiCount = static_cast<size_t>(Ddi::Count);

// Job flags.
inline constexpr DWORD kJobManualDuplex = 0x10;
inline constexpr DWORD kJobLayoutComputed = 0x80;
// Device flags.
inline constexpr DWORD kDeviceRasterMode = 0x20000;

// The sizes of the geometry copies, at least the driver's own structures.
inline constexpr size_t kGdiInfoCopySize = sizeof(GDIINFO) > 320 ? sizeof(GDIINFO) : 320;
inline constexpr size_t kDevInfoCopySize = sizeof(DEVINFO) > 312 ? sizeof(DEVINFO) : 312;

class WatermarkLayer;
class GutterMask;

// The most cells a sheet holds, and the edges of a cell: left, top, right, bottom.
inline constexpr size_t kMaxCells = 16;
enum class Edge : size_t { Left, Top, Right, Bottom, Count };
inline constexpr size_t kEdgeCount = static_cast<size_t>(Edge::Count);

// The imposition of the current sheet: cell centres in page pixels, one cell size, and the
// factor that sizes the watermark.
struct CellTable {
    POINTL centre[kMaxCells] = {};
    LONG width = 0;
    LONG height = 0;
    double factor = 1.0;
};

// Room for the solid brushes that replace GDI's during one DrvTextOut.
inline constexpr size_t kBrushRecords = 3;

struct RenderState {
    PFN ddi[kDdiCount] = {};
    // Owned by the plug-in object.
    common::IDrvSettings* settings = nullptr;
    common::IDrvResources* resources = nullptr;
    IPrintOemDriverUni* driver = nullptr;
    PDEVMODEW publicDevMode = nullptr;
    void* privateDevMode = nullptr;
    PDEVOBJ devobj = nullptr;
    LPWSTR printerName = nullptr; // owned
    const PluginHooks* hooks = nullptr;
    GDIINFO* gdiInfo = nullptr; // on the shared render heap: the page geometry
    DEVINFO* devInfo = nullptr; // on the shared render heap
    DWORD pdlType = 0;
    DWORD deviceFlags = 0;

    // Job and page progress and the imposition that the drawing hooks follow.
    DWORD jobId = 0;
    DWORD pageCount = 0;
    DWORD totalPages = 0;
    DWORD halfPage = 0;
    DWORD nupCount = 1;
    bool nupBorder = false;
    bool booklet = false;
    bool landscape = false;
    bool rotated = false;
    bool printTextBlack = false;
    double scale = 1.0;
    DWORD scalePercent = 100;
    DWORD copies = 1;
    DWORD jobFlags = 0;
    bool windows2000 = false;
    bool heapUser = false;

    CellTable cells;
    bool edges[kMaxCells][kEdgeCount] = {};
    POINTL bandOrigin = {};
    SURFOBJ* surface = nullptr;
    // The page's stamping objects, from the first band that needs them to the page end.
    WatermarkLayer* watermark = nullptr;
    GutterMask* gutters = nullptr;
    // What the hooks hand the driver instead of changing GDI's own structures.
    LINEATTRS lineCopy = {};
    BRUSHOBJ brushRecords[kBrushRecords] = {};
    size_t brushRecordsUsed = 0;
    // Set while the text hook's own DrvBitBlt calls run.
    bool inTextBlits = false;

    // Registers one user of the shared render heap; `Create` says whether that worked.
    RenderState();
    RenderState(const RenderState&) = delete;
    RenderState& operator=(const RenderState&) = delete;
    ~RenderState();
};

// Destroys the page's watermark layer and gutter mask (the page ends, or never will).
void ForgetPageStamps(RenderState& state);

// The state of a PDEV: null for a missing device object or one without a state.
inline RenderState* StateOf(PDEVOBJ devobj) {
    return devobj != nullptr ? static_cast<RenderState*>(devobj->pdevOEM) : nullptr;
}

// Unidrv's PDEV begins with its DEVOBJ, so a surface's dhpdev leads to the state.
inline RenderState* StateOf(DHPDEV pdev) {
    return StateOf(reinterpret_cast<PDEVOBJ>(pdev));
}

// The driver's own entry point `slot` as its DDI function type; null when the driver has none.
template <typename Function> Function DriverEntry(const RenderState& state, Ddi slot) {
    // Function pointers change type through this one, which converts to and from any other.
    using GenericFunction = void (*)();
    return reinterpret_cast<Function>(
        reinterpret_cast<GenericFunction>(state.ddi[static_cast<size_t>(slot)]));
}

// Copies the driver's entry points from its function table; an index it lacks stays null.
void TakeDriverEntryPoints(RenderState& state, const DRVENABLEDATA& driverTable);

// Copies the geometry into the shared render heap (zero-filled beyond what the driver passed).
bool CopyGeometry(RenderState& state, const GDIINFO* gdiInfo, ULONG gdiSize, const DEVINFO* devInfo,
                  ULONG devSize);

} // namespace moltr::render
