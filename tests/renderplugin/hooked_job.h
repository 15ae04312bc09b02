#pragma once
// The render plug-in's DDI hooks over a driver whose own entry points record what reaches them:
// a PDEV enabled for a given page, its surface, and the hooks by DDI index.
#include <algorithm>
#include <memory>
#include <vector>
#include "render_driver.h"
#include "renderplugin/render_state.h"

namespace moltr::test {

template <typename Function> PFN Pfn(Function function) {
    return reinterpret_cast<PFN>(reinterpret_cast<void (*)()>(function));
}
template <typename Function> Function As(PFN pfn) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(pfn));
}

// What the driver's own entry points received.
struct DriverLog {
    POINTL brushOrigin = {};
    const POINTL* brushOriginPointer = nullptr;
    LONG lineWidth = 0;
    const LINEATTRS* line = nullptr;
    std::vector<ULONG> textColours;
    std::vector<ROP4> blits;
    // The band origins DrvNextBand answers, in turn; (-1, -1) ends the page.
    std::vector<POINTL> bands;
    size_t nextBand = 0;
};
inline DriverLog* logged = nullptr;

inline BOOL APIENTRY OwnStartDoc(SURFOBJ*, LPWSTR, DWORD) {
    return TRUE;
}
inline BOOL APIENTRY OwnPage(SURFOBJ*) {
    return TRUE;
}
inline BOOL APIENTRY OwnEndDoc(SURFOBJ*, FLONG) {
    return TRUE;
}
inline BOOL APIENTRY OwnStartBanding(SURFOBJ*, POINTL* origin) {
    *origin = {0, 0};
    return TRUE;
}
inline BOOL APIENTRY OwnNextBand(SURFOBJ*, POINTL* origin) {
    *origin = logged->nextBand < logged->bands.size() ? logged->bands[logged->nextBand++]
                                                      : POINTL{-1, -1};
    return TRUE;
}
inline BOOL APIENTRY OwnLineTo(SURFOBJ*, CLIPOBJ*, BRUSHOBJ*, LONG, LONG, LONG, LONG, RECTL*, MIX) {
    return TRUE;
}
inline BOOL APIENTRY OwnBitBlt(SURFOBJ*, SURFOBJ*, SURFOBJ*, CLIPOBJ*, XLATEOBJ*, RECTL*, POINTL*,
                               POINTL*, BRUSHOBJ*, POINTL* brushOrigin, ROP4 rop4) {
    logged->blits.push_back(rop4);
    logged->brushOriginPointer = brushOrigin;
    if (brushOrigin != nullptr) {
        logged->brushOrigin = *brushOrigin;
    }
    return TRUE;
}
inline BOOL APIENTRY OwnStrokePath(SURFOBJ*, PATHOBJ*, CLIPOBJ*, XFORMOBJ*, BRUSHOBJ*, POINTL*,
                                   LINEATTRS* line, MIX) {
    logged->line = line;
    logged->lineWidth = line->elWidth.l;
    return TRUE;
}
inline BOOL APIENTRY OwnTextOut(SURFOBJ*, STROBJ*, FONTOBJ*, CLIPOBJ*, RECTL*, RECTL*,
                                BRUSHOBJ* fore, BRUSHOBJ*, POINTL*, MIX) {
    logged->textColours.push_back(fore->iSolidColor);
    return TRUE;
}

inline const DRVFN kOwn[] = {
    {INDEX_DrvStartDoc, Pfn(OwnStartDoc)},
    {INDEX_DrvStartPage, Pfn(OwnPage)},
    {INDEX_DrvSendPage, Pfn(OwnPage)},
    {INDEX_DrvEndDoc, Pfn(OwnEndDoc)},
    {INDEX_DrvStartBanding, Pfn(OwnStartBanding)},
    {INDEX_DrvNextBand, Pfn(OwnNextBand)},
    {INDEX_DrvLineTo, Pfn(OwnLineTo)},
    {INDEX_DrvBitBlt, Pfn(OwnBitBlt)},
    {INDEX_DrvStrokePath, Pfn(OwnStrokePath)},
    {INDEX_DrvTextOut, Pfn(OwnTextOut)},
};
inline const DRVENABLEDATA kOwnTable = {0x30000, static_cast<ULONG>(std::size(kOwn)),
                                        const_cast<DRVFN*>(kOwn)};

// Letter at `dpi`, with a margin of 1/6 inch.
inline GDIINFO Letter(ULONG dpi) {
    GDIINFO page = {};
    page.ulLogPixelsX = page.ulLogPixelsY = dpi;
    page.szlPhysSize = {static_cast<LONG>(dpi * 17 / 2), static_cast<LONG>(dpi * 11)};
    page.ptlPhysOffset = {static_cast<LONG>(dpi / 6), static_cast<LONG>(dpi / 6)};
    page.ulHorzRes = page.szlPhysSize.cx - 2 * page.ptlPhysOffset.x;
    page.ulVertRes = page.szlPhysSize.cy - 2 * page.ptlPhysOffset.y;
    return page;
}

inline RenderPrinterSetup ManualDuplexPrinter() {
    RenderPrinterSetup setup;
    setup.lines = {
        {"*_DUPLEXTYPE: =PST_DUPLEXTYPE_HARDWARE", "*_DUPLEXTYPE: =PST_DUPLEXTYPE_MANUAL"}};
    return setup;
}

// A job of the hooks' device: the plug-in with the recording driver beneath it.
class HookedJob {
public:
    HookedJob(const RenderPrinter& printer, ULONG dpi = 600) : HookedJob(printer, Letter(dpi)) {}
    HookedJob(const RenderPrinter& printer, const GDIINFO& geometry) : geometry_(geometry) {
        logged = &log;
        job = std::make_unique<RenderJob>(module_, printer.handle(), &kOwnTable, &geometry_);
        surface.dhpdev = reinterpret_cast<DHPDEV>(&job->devobj);
    }
    ~HookedJob() { logged = nullptr; }

    template <typename Function> Function Hook(ULONG index) const {
        for (ULONG i = 0; i < job->hookedTable.c; ++i) {
            if (job->hookedTable.pdrvfn[i].iFunc == index) {
                return As<Function>(job->hookedTable.pdrvfn[i].pfn);
            }
        }
        ADD_FAILURE() << "no hook " << index;
        return nullptr;
    }
    BOOL StartDoc(DWORD jobId) {
        WCHAR name[] = L"document";
        return Hook<PFN_DrvStartDoc>(INDEX_DrvStartDoc)(&surface, name, jobId);
    }
    BOOL StartPage() { return Hook<PFN_DrvStartPage>(INDEX_DrvStartPage)(&surface); }
    BOOL SendPage() { return Hook<PFN_DrvSendPage>(INDEX_DrvSendPage)(&surface); }
    BOOL EndDoc() { return Hook<PFN_DrvEndDoc>(INDEX_DrvEndDoc)(&surface, 0); }
    BOOL Line(LONG x1, LONG y1, LONG x2, LONG y2) {
        return Hook<PFN_DrvLineTo>(INDEX_DrvLineTo)(&surface, nullptr, nullptr, x1, y1, x2, y2,
                                                    nullptr, 0);
    }
    render::RenderState& state() const { return *render::StateOf(&job->devobj); }
    const GDIINFO& geometry() const { return geometry_; }

private:
    GDIINFO geometry_;
    RenderModule module_;

public:
    DriverLog log;
    SURFOBJ surface = {};
    std::unique_ptr<RenderJob> job;
};

} // namespace moltr::test
