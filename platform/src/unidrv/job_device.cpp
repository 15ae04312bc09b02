#include "src/unidrv/job_device.h"

#include <algorithm>
#include <cstdlib>

namespace moltr::unidrv {
namespace {

// Bands of at most this many bytes.
constexpr LONG kBandBytes = 2 << 20;
constexpr LONG kMinBandRows = 16;
constexpr ULONG kWhite = 0x00FFFFFF;

// The raster operations that paint without a source, and what they paint.
enum class Paint { kBrush, kBlack, kWhite };

struct SolidRop {
    ROP4 rop4;
    Paint paint;
};

constexpr SolidRop kSolidRops[] = {
    {0xF0F0, Paint::kBrush}, // PATCOPY
    {0x0000, Paint::kBlack}, // BLACKNESS
    {0xFFFF, Paint::kWhite}, // WHITENESS
};

LONG BandRows(const DeviceGeometry& geometry) {
    LONG stride = ((geometry.printable.cx * (geometry.colour ? 24 : 1) + 31) / 32) * 4;
    return std::clamp<LONG>(kBandBytes / std::max<LONG>(stride, 1), kMinBandRows,
                            geometry.printable.cy);
}

JobDevice* DeviceOf(SURFOBJ* surface) {
    return surface && surface->dhpdev ? reinterpret_cast<DriverPdev*>(surface->dhpdev)->device
                                      : nullptr;
}

// A solid colour to paint with; pattern brushes are painted in black.
ULONG BrushColour(const BRUSHOBJ* brush) {
    return brush && brush->iSolidColor != 0xFFFFFFFF ? brush->iSolidColor & kWhite : 0;
}

RECTL Clipped(RECTL rect, const CLIPOBJ* clip) {
    if (clip && clip->iDComplexity != DC_TRIVIAL) {
        rect.left = std::max(rect.left, clip->rclBounds.left);
        rect.top = std::max(rect.top, clip->rclBounds.top);
        rect.right = std::min(rect.right, clip->rclBounds.right);
        rect.bottom = std::min(rect.bottom, clip->rclBounds.bottom);
    }
    return rect;
}

void Segment(BandSurface& band, const CLIPOBJ* clip, POINTL from, POINTL to, LONG width,
             ULONG colour) {
    const LONG half = width / 2;
    if (from.x == to.x || from.y == to.y) {
        RECTL rect = {std::min(from.x, to.x) - half, std::min(from.y, to.y) - half,
                      std::max(from.x, to.x) - half + width, std::max(from.y, to.y) - half + width};
        band.Fill(Clipped(rect, clip), colour);
        return;
    }
    const LONG steps = std::max(std::labs(to.x - from.x), std::labs(to.y - from.y));
    for (LONG i = 0; i <= steps; ++i) {
        LONG x = from.x + (to.x - from.x) * i / steps;
        LONG y = from.y + (to.y - from.y) * i / steps;
        band.Fill(Clipped({x - half, y - half, x - half + width, y - half + width}, clip), colour);
    }
}

BOOL APIENTRY DriverStartDoc(SURFOBJ* surface, LPWSTR, DWORD) {
    JobDevice* device = DeviceOf(surface);
    return device && device->StartDoc();
}

BOOL APIENTRY DriverEndDoc(SURFOBJ* surface, FLONG) {
    JobDevice* device = DeviceOf(surface);
    return device && device->EndDoc();
}

BOOL APIENTRY DriverStartPage(SURFOBJ* surface) {
    JobDevice* device = DeviceOf(surface);
    return device && device->StartPage();
}

BOOL APIENTRY DriverSendPage(SURFOBJ* surface) {
    JobDevice* device = DeviceOf(surface);
    return device && device->SendPage();
}

BOOL APIENTRY DriverStartBanding(SURFOBJ* surface, POINTL* origin) {
    JobDevice* device = DeviceOf(surface);
    return device && origin && device->StartBanding(origin);
}

BOOL APIENTRY DriverNextBand(SURFOBJ* surface, POINTL* origin) {
    JobDevice* device = DeviceOf(surface);
    return device && origin && device->NextBand(origin);
}

// Solid fills of the target rectangle; blits from a source the simple page does not make.
BOOL APIENTRY DriverBitBlt(SURFOBJ* target, SURFOBJ* source, SURFOBJ*, CLIPOBJ* clip, XLATEOBJ*,
                           RECTL* rect, POINTL*, POINTL*, BRUSHOBJ* brush, POINTL*, ROP4 rop4) {
    JobDevice* device = DeviceOf(target);
    if (!device || !rect || source) {
        return FALSE;
    }
    for (const SolidRop& solid : kSolidRops) {
        if (solid.rop4 == rop4) {
            ULONG colour = solid.paint == Paint::kBrush   ? BrushColour(brush)
                           : solid.paint == Paint::kBlack ? 0
                                                          : kWhite;
            device->band().Fill(Clipped(*rect, clip), colour);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL APIENTRY DriverStrokePath(SURFOBJ* surface, PATHOBJ* path, CLIPOBJ* clip, XFORMOBJ*,
                               BRUSHOBJ* brush, POINTL*, LINEATTRS* line, MIX) {
    JobDevice* device = DeviceOf(surface);
    if (!device || !path) {
        return FALSE;
    }
    const auto* engine = reinterpret_cast<const EnginePath*>(path);
    LONG width = line && (line->fl & LA_GEOMETRIC) ? std::max<LONG>(line->elWidth.l, 1) : 1;
    ULONG colour = BrushColour(brush);
    auto point = [&](ULONG i) {
        return POINTL{engine->points[i].x >> 4, engine->points[i].y >> 4};
    };
    for (ULONG i = 1; i < engine->count; ++i) {
        Segment(device->band(), clip, point(i - 1), point(i), width, colour);
    }
    if (engine->closed && engine->count > 2) {
        Segment(device->band(), clip, point(engine->count - 1), point(0), width, colour);
    }
    return TRUE;
}

// Glyph bitmaps (rows of whole bytes, 1 for ink) in the fore colour over the opaque rectangle.
BOOL APIENTRY DriverTextOut(SURFOBJ* surface, STROBJ* text, FONTOBJ*, CLIPOBJ* clip, RECTL*,
                            RECTL* opaque, BRUSHOBJ* fore, BRUSHOBJ* opaqueBrush, POINTL*, MIX) {
    JobDevice* device = DeviceOf(surface);
    if (!device || !text) {
        return FALSE;
    }
    if (opaque) {
        device->band().Fill(Clipped(*opaque, clip), BrushColour(opaqueBrush));
    }
    ULONG colour = BrushColour(fore);
    for (ULONG g = 0; g < text->cGlyphs && text->pgp; ++g) {
        const GLYPHPOS& glyph = text->pgp[g];
        const GLYPHBITS* bits = glyph.pgdf ? glyph.pgdf->pgb : nullptr;
        if (!bits) {
            continue;
        }
        const LONG rowBytes = (bits->sizlBitmap.cx + 7) / 8;
        for (LONG y = 0; y < bits->sizlBitmap.cy; ++y) {
            for (LONG x = 0; x < bits->sizlBitmap.cx; ++x) {
                if (bits->aj[y * rowBytes + x / 8] & (0x80 >> (x % 8))) {
                    LONG px = glyph.ptl.x + bits->ptlOrigin.x + x;
                    LONG py = glyph.ptl.y + bits->ptlOrigin.y + y;
                    device->band().Fill(Clipped({px, py, px + 1, py + 1}, clip), colour);
                }
            }
        }
    }
    return TRUE;
}

template <typename Function> PFN AsPfn(Function function) {
    return reinterpret_cast<PFN>(reinterpret_cast<void (*)()>(function));
}

// The entry points the driver offers; the others stay null for the plug-in.
const DRVFN kDriverFunctions[] = {
    {INDEX_DrvStartDoc, AsPfn(DriverStartDoc)},
    {INDEX_DrvEndDoc, AsPfn(DriverEndDoc)},
    {INDEX_DrvStartPage, AsPfn(DriverStartPage)},
    {INDEX_DrvSendPage, AsPfn(DriverSendPage)},
    {INDEX_DrvStartBanding, AsPfn(DriverStartBanding)},
    {INDEX_DrvNextBand, AsPfn(DriverNextBand)},
    {INDEX_DrvBitBlt, AsPfn(DriverBitBlt)},
    {INDEX_DrvStrokePath, AsPfn(DriverStrokePath)},
    {INDEX_DrvTextOut, AsPfn(DriverTextOut)},
};

} // namespace

DRVENABLEDATA JobDevice::DriverTable() {
    return {DDI_DRIVER_VERSION_NT5, sizeof kDriverFunctions / sizeof kDriverFunctions[0],
            const_cast<DRVFN*>(kDriverFunctions)}; // the table's readers only read it
}

JobDevice::JobDevice(const JobDeviceSetup& setup, std::vector<BYTE>* output,
                     std::vector<DWORD>* callbackIds)
    : setup_(setup), commands_(*setup.model, *setup.configuration, setup.plugin, &pdev_.devobj,
                               output, callbackIds),
      band_(setup.geometry.printable.cx, setup.geometry.printable.cy, BandRows(setup.geometry),
            setup.geometry.colour) {
    pdev_.devobj.dwSize = sizeof(DEVOBJ);
    pdev_.devobj.hPrinter = setup.printer;
    pdev_.devobj.pPublicDM = setup.publicDevmode;
    pdev_.devobj.pOEMDM = setup.pluginDevmode;
    pdev_.device = this;
    commands_.Set("NumOfCopies", setup.copies);
    raster_ = setup.pclXl ? MakePclXlRaster(&commands_, output, setup.geometry, setup.landscape)
                          : MakePcl5Raster(&commands_, setup.geometry, setup.compress);
    band_.StartBand(0);
    surface_.dhpdev = reinterpret_cast<DHPDEV>(&pdev_);
    surface_.sizlBitmap = {band_.width(), band_.rows()};
    surface_.pvBits = band_.bits();
    surface_.pvScan0 = band_.bits();
    surface_.lDelta = band_.stride();
    surface_.cjBits = static_cast<ULONG>(band_.stride() * band_.rows());
    surface_.iBitmapFormat = setup.geometry.colour ? BMF_24BPP : BMF_1BPP;
    surface_.iType = STYPE_BITMAP;
    surface_.fjBitmap = BMF_TOPDOWN;
}

BOOL JobDevice::Check(HRESULT result) {
    if (FAILED(result) && SUCCEEDED(failure_)) {
        failure_ = result;
    }
    return SUCCEEDED(result);
}

BOOL JobDevice::StartDoc() {
    HRESULT result = S_OK;
    // The job's set-up comes once, with its first document.
    if (!jobStarted_) {
        jobStarted_ = true;
        result = commands_.SendSection(GpdSection::kJobSetup);
    }
    result = SUCCEEDED(result) ? commands_.SendSection(GpdSection::kDocSetup) : result;
    return Check(SUCCEEDED(result) ? raster_->StartDocument() : result);
}

BOOL JobDevice::StartPage() {
    HRESULT result = commands_.SendSection(GpdSection::kPageSetup);
    return Check(SUCCEEDED(result) ? raster_->StartPage() : result);
}

BOOL JobDevice::StartBanding(POINTL* origin) {
    band_.StartBand(0);
    *origin = {0, 0};
    return TRUE;
}

HRESULT JobDevice::ProcessBand() {
    const BYTE* bits = band_.bits();
    if (setup_.imageProcessing) {
        const bool colour = band_.colour();
        BITMAPINFOHEADER header = {};
        header.biSize = sizeof header;
        header.biWidth = band_.width();
        // Rows top first, as the band holds them.
        header.biHeight = band_.rows();
        header.biPlanes = 1;
        header.biBitCount = colour ? 24 : 1;
        header.biCompression = BI_RGB;
        header.biSizeImage = static_cast<DWORD>(band_.stride() * band_.rows());
        RGBQUAD palette[2] = {{0xFF, 0xFF, 0xFF, 0}, {0, 0, 0, 0}};
        IPPARAMS params = {sizeof(IPPARAMS), {0, band_.top()}, nullptr, TRUE, FALSE};
        PBYTE result = nullptr;
        HRESULT answer = setup_.plugin->ImageProcessing(
            &pdev_.devobj, band_.bits(), &header,
            colour ? nullptr : reinterpret_cast<PBYTE>(palette), 0, &params, &result);
        if (FAILED(answer)) {
            return answer;
        }
        // No bitmap back: the plug-in has sent the band itself.
        if (!result) {
            return S_OK;
        }
        bits = result;
    }
    return raster_->Band(band_, bits);
}

BOOL JobDevice::NextBand(POINTL* origin) {
    if (!Check(ProcessBand())) {
        return FALSE;
    }
    LONG next = band_.top() + band_.rows();
    if (next >= setup_.geometry.printable.cy) {
        *origin = {-1, -1};
        return TRUE;
    }
    band_.StartBand(next);
    *origin = {0, next};
    return TRUE;
}

BOOL JobDevice::SendPage() {
    HRESULT result = raster_->EndRaster();
    result = SUCCEEDED(result) ? commands_.SendSection(GpdSection::kPageFinish) : result;
    return Check(SUCCEEDED(result) ? raster_->EndPage() : result);
}

BOOL JobDevice::EndDoc() {
    HRESULT result = commands_.SendSection(GpdSection::kDocFinish);
    result = SUCCEEDED(result) ? raster_->EndDocument() : result;
    return Check(SUCCEEDED(result) ? commands_.SendSection(GpdSection::kJobFinish) : result);
}

} // namespace moltr::unidrv
