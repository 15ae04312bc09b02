#include "renderplugin/page_sides.h"

#include "renderplugin/pdl_family.h"

namespace moltr::render {

namespace {

enum class Side { Portrait, Landscape, ReversePortrait, ReverseLandscape };

// Orientation resources by page-side code: PCL 5 and PCL XL.
struct SideRow {
    DWORD code;
    Side side;
    UINT pcl5;
    UINT pclXl;
};
constexpr SideRow kSides[] = {
    {101, Side::ReversePortrait, 220, 222},
    {102, Side::ReverseLandscape, 221, 223},
    {103, Side::Portrait, 224, 226},
    {104, Side::Landscape, 225, 227},
};

// The manual feed: PCL 5 and PCL XL.
constexpr UINT kManualFeedPcl5 = 111;
constexpr UINT kManualFeedPclXl = 121;

DWORD PageSideCode(Side side) {
    for (const SideRow& row : kSides) {
        if (row.side == side) {
            return row.code;
        }
    }
    return 0;
}

// What the orientation rules read from the state, named as the rules name them.
struct SideFacts {
    bool landscape; // Ld
    bool rotated;   // Rt
    bool turned;    // N26: 2 or 6 cells turn the sheet
    bool booklet;   // Bk
    bool shortEdge; // Sh
    bool raster;
};

SideFacts FactsOf(const RenderState& state) {
    const DEVMODEW* devmode = state.publicDevMode;
    return {devmode != nullptr && devmode->dmOrientation == DMORIENT_LANDSCAPE,
            state.rotated,
            state.nupCount == 2 || state.nupCount == 6,
            state.booklet,
            devmode != nullptr && devmode->dmDuplex == DMDUP_HORIZONTAL,
            (state.deviceFlags & kDeviceRasterMode) != 0};
}

Side Pick(bool condition, Side yes, Side no) {
    return condition ? yes : no;
}

Side FrontSide(const SideFacts& f) {
    bool turned = f.turned && f.booklet;
    if (!f.raster) {
        return f.landscape ? Pick(f.rotated, Side::ReverseLandscape, Side::Landscape)
                           : Pick(f.rotated, Side::ReversePortrait, Side::Portrait);
    }
    if (f.landscape) {
        return f.rotated ? Pick(turned, Side::Landscape, Side::ReverseLandscape)
                         : Pick(turned, Side::Portrait, Side::Landscape);
    }
    return f.rotated ? Pick(turned, Side::ReverseLandscape, Side::ReversePortrait)
                     : Pick(turned, Side::Landscape, Side::Portrait);
}

Side RasterBackSide(const SideFacts& f) {
    if (!f.landscape) {
        return f.turned ? Pick(f.booklet || f.shortEdge, Side::ReversePortrait, Side::Portrait)
                        : Pick(f.shortEdge, Side::Portrait, Side::ReversePortrait);
    }
    if (f.rotated) {
        return f.turned ? Pick(f.shortEdge, Side::ReverseLandscape, Side::Landscape)
                        : Pick(f.shortEdge, Side::Landscape, Side::ReverseLandscape);
    }
    if (!f.turned) {
        return Pick(f.shortEdge, Side::ReverseLandscape, Side::Landscape);
    }
    return f.booklet ? Side::Landscape : Pick(f.shortEdge, Side::Landscape, Side::ReverseLandscape);
}

// Device types 1 and 3.
Side EdgeDeviceBackSide(const SideFacts& f) {
    if (!f.landscape) {
        bool t = f.turned ? (f.booklet || !f.shortEdge) : f.shortEdge;
        return f.rotated ? Pick(t, Side::Portrait, Side::ReversePortrait)
                         : Pick(t, Side::ReversePortrait, Side::Portrait);
    }
    if (f.rotated) {
        return f.turned ? Pick(f.booklet || f.shortEdge, Side::Landscape, Side::ReverseLandscape)
                        : Pick(f.shortEdge, Side::ReverseLandscape, Side::Landscape);
    }
    if (!f.turned) {
        return Pick(f.shortEdge, Side::Landscape, Side::ReverseLandscape);
    }
    return f.booklet ? Side::ReverseLandscape
                     : Pick(f.shortEdge, Side::ReverseLandscape, Side::Landscape);
}

// Whether the paper is longer than 12 inches in the direction it feeds.
bool LongPaper(const RenderState& state, bool landscape) {
    const GDIINFO* page = state.gdiInfo;
    if (page == nullptr) {
        return false;
    }
    double length = landscape ? page->szlPhysSize.cx : page->szlPhysSize.cy;
    ULONG dpi = landscape ? page->ulLogPixelsX : page->ulLogPixelsY;
    return dpi != 0 && length / dpi > 12.0;
}

Side OtherDeviceBackSide(const SideFacts& f, bool longPaper) {
    if (!f.landscape) {
        bool k = f.rotated ? (f.turned ? (!f.booklet && f.shortEdge) : !f.shortEdge)
                           : (f.turned ? (f.booklet || !f.shortEdge) : f.shortEdge);
        return Pick(k == longPaper, Side::Portrait, Side::ReversePortrait);
    }
    bool k = f.rotated ? (f.turned ? (f.booklet || f.shortEdge) : !f.shortEdge)
                       : (f.turned ? (!f.booklet && !f.shortEdge) : f.shortEdge);
    return Pick(k == longPaper, Side::ReverseLandscape, Side::Landscape);
}

Side BackSide(const RenderState& state, const SideFacts& f, DWORD deviceType) {
    if (f.raster) {
        return RasterBackSide(f);
    }
    if (deviceType == 1 || deviceType == 3) {
        return EdgeDeviceBackSide(f);
    }
    return OtherDeviceBackSide(f, LongPaper(state, f.landscape));
}

// The back sides print from the half-way page on, once the job knows where that is.
bool PrintsBackSides(const RenderState& state) {
    return (state.jobFlags & kJobManualDuplex) != 0 && (state.jobFlags & kJobLayoutComputed) != 0 &&
           state.halfPage != 0 && state.pageCount >= state.halfPage;
}

HRESULT WriteSide(RenderState& state, const SettingsView& settings) {
    DWORD deviceType = settings.Printer(L"_DEVICETYPE");
    if (deviceType == 0) {
        return S_OK;
    }
    SideFacts facts = FactsOf(state);
    Side side = PrintsBackSides(state) ? BackSide(state, facts, deviceType) : FrontSide(facts);
    PageSideHook pageSide = state.hooks != nullptr ? state.hooks->pageSide : nullptr;
    return pageSide != nullptr ? pageSide(state, PageSideCode(side)) : S_OK;
}

// "\x1b&l8c1E..." with the printable page in decipoints.
HRESULT WritePcl5PageSize(CommandOutput& out) {
    const GDIINFO* page = out.state().gdiInfo;
    auto decipoints = [](LONG physical, LONG offset, ULONG dpi) {
        return dpi != 0 ? static_cast<LONG>((physical - 2.0 * offset) / dpi * 720.0) : 0;
    };
    LONG width = decipoints(page->szlPhysSize.cx, page->ptlPhysOffset.x, page->ulLogPixelsX);
    LONG height = decipoints(page->szlPhysSize.cy, page->ptlPhysOffset.y, page->ulLogPixelsY);
    return out.Narrowed(L"\x1b&l8c1E\x1b*c%ldx%ldY\x1b*p0x0Y\x1b*c0T", width, height);
}

HRESULT WriteBackSides(RenderState& state) {
    CommandOutput out(state);
    bool pcl5 = IsPcl5(state.pdlType);
    HRESULT result = out.Resource(pcl5 ? kManualFeedPcl5 : kManualFeedPclXl);
    if (FAILED(result) || (state.jobFlags & kJobLayoutComputed) == 0) {
        return result;
    }
    result = WriteSide(state, SettingsView(state.settings, state.privateDevMode));
    return SUCCEEDED(result) && pcl5 && state.gdiInfo != nullptr ? WritePcl5PageSize(out) : result;
}

} // namespace

HRESULT WriteOrientation(CommandOutput& out, const SettingsView& settings) {
    return WriteSide(out.state(), settings);
}

HRESULT WritePageSide(RenderState& state, DWORD code) {
    if (code == kBackSidesCode) {
        return WriteBackSides(state);
    }
    for (const SideRow& row : kSides) {
        if (row.code == code) {
            return CommandOutput(state).Resource(IsPcl5(state.pdlType) ? row.pcl5 : row.pclXl);
        }
    }
    return E_NOTIMPL;
}

} // namespace moltr::render
