#include "src/unidrv/job_device.h"

#include <algorithm>
#include "src/unidrv/job_device_drawing.h"

namespace moltr::unidrv {
namespace {

// Bands of at most this many bytes.
constexpr LONG kBandBytes = 2 << 20;
constexpr LONG kMinBandRows = 16;

LONG BandRows(const DeviceGeometry& geometry) {
    LONG stride = ((geometry.printable.cx * geometry.bandBits + 31) / 32) * 4;
    return std::clamp<LONG>(kBandBytes / std::max<LONG>(stride, 1), kMinBandRows,
                            geometry.printable.cy);
}

ULONG SurfaceFormat(WORD bits) {
    return bits == 24 ? BMF_24BPP : bits == 8 ? BMF_8BPP : BMF_1BPP;
}

// The colour table ImageProcessing gets with a band: for 1-bit bands white and black (1 is ink),
// for 8-bit bands the grey levels.
struct BandPalette {
    RGBQUAD entries[256];

    explicit BandPalette(WORD bits) : entries() {
        if (bits == 1) {
            entries[0] = {0xFF, 0xFF, 0xFF, 0};
            return;
        }
        for (int level = 0; level < 256; ++level) {
            const BYTE value = static_cast<BYTE>(level);
            entries[level] = {value, value, value, 0};
        }
    }
};

BOOL APIENTRY DriverStartDoc(SURFOBJ* surface, LPWSTR, DWORD) {
    JobDevice* device = JobDevice::OfSurface(surface);
    return device && device->StartDoc();
}

BOOL APIENTRY DriverEndDoc(SURFOBJ* surface, FLONG) {
    JobDevice* device = JobDevice::OfSurface(surface);
    return device && device->EndDoc();
}

BOOL APIENTRY DriverStartPage(SURFOBJ* surface) {
    JobDevice* device = JobDevice::OfSurface(surface);
    return device && device->StartPage();
}

BOOL APIENTRY DriverSendPage(SURFOBJ* surface) {
    JobDevice* device = JobDevice::OfSurface(surface);
    return device && device->SendPage();
}

BOOL APIENTRY DriverStartBanding(SURFOBJ* surface, POINTL* origin) {
    JobDevice* device = JobDevice::OfSurface(surface);
    return device && origin && device->StartBanding(origin);
}

BOOL APIENTRY DriverNextBand(SURFOBJ* surface, POINTL* origin) {
    JobDevice* device = JobDevice::OfSurface(surface);
    return device && origin && device->NextBand(origin);
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
    {INDEX_DrvFillPath, AsPfn(DriverFillPath)},
    {INDEX_DrvLineTo, AsPfn(DriverLineTo)},
    {INDEX_DrvTextOut, AsPfn(DriverTextOut)},
};

} // namespace

DRVENABLEDATA JobDevice::DriverTable() {
    return {DDI_DRIVER_VERSION_NT5, sizeof kDriverFunctions / sizeof kDriverFunctions[0],
            const_cast<DRVFN*>(kDriverFunctions)}; // the table's readers only read it
}

JobDevice* JobDevice::OfSurface(SURFOBJ* surface) {
    return surface && surface->dhpdev ? reinterpret_cast<DriverPdev*>(surface->dhpdev)->device
                                      : nullptr;
}

JobDevice::JobDevice(const JobDeviceSetup& setup, std::vector<BYTE>* output,
                     std::vector<DWORD>* callbackIds)
    : setup_(setup), commands_(*setup.model, *setup.configuration, setup.plugin, &pdev_.devobj,
                               output, callbackIds),
      band_(setup.geometry.printable.cx, setup.geometry.printable.cy, BandRows(setup.geometry),
            setup.geometry.bandBits) {
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
    surface_.iBitmapFormat = SurfaceFormat(setup.geometry.bandBits);
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
    if (setup_.sheets) {
        setup_.sheets->StartSheet(band_.width(), setup_.geometry.printable.cy,
                                  band_.bitsPerPixel());
    }
    HRESULT result = commands_.SendSection(GpdSection::kPageSetup);
    return Check(SUCCEEDED(result) ? raster_->StartPage() : result);
}

BOOL JobDevice::StartBanding(POINTL* origin) {
    band_.StartBand(0);
    *origin = {0, 0};
    return TRUE;
}

HRESULT JobDevice::ProcessBand() {
    const BYTE* sent = band_.bits();
    if (setup_.imageProcessing) {
        const WORD bits = band_.bitsPerPixel();
        BITMAPINFOHEADER header = {};
        header.biSize = sizeof header;
        header.biWidth = band_.width();
        // Rows top first, as the band holds them.
        header.biHeight = band_.rows();
        header.biPlanes = 1;
        header.biBitCount = bits;
        header.biCompression = BI_RGB;
        header.biSizeImage = static_cast<DWORD>(band_.stride() * band_.rows());
        const BandPalette palette(bits);
        IPPARAMS params = {sizeof(IPPARAMS), {0, band_.top()}, nullptr, TRUE, FALSE};
        PBYTE result = nullptr;
        HRESULT answer = setup_.plugin->ImageProcessing(
            &pdev_.devobj, band_.bits(), &header,
            bits == 24 ? nullptr : reinterpret_cast<PBYTE>(const_cast<RGBQUAD*>(palette.entries)),
            0, &params, &result);
        if (FAILED(answer)) {
            return answer;
        }
        // No bitmap back: the plug-in has sent the band itself.
        if (!result) {
            return S_OK;
        }
        sent = result;
    }
    if (setup_.sheets) {
        setup_.sheets->Rows(band_, sent);
    }
    return raster_->Band(band_, sent);
}

BOOL JobDevice::NextBand(POINTL* origin) {
    if (!Check(ProcessBand())) {
        return FALSE;
    }
    LONG next = band_.top() + band_.rows();
    if (next >= setup_.geometry.printable.cy) {
        // The last band ends a banded page: GDI sends no DrvSendPage after it.
        *origin = {-1, -1};
        return SendPage();
    }
    band_.StartBand(next);
    *origin = {0, next};
    return TRUE;
}

BOOL JobDevice::SendPage() {
    HRESULT result = setup_.sheets ? setup_.sheets->EndSheet() : S_OK;
    result = SUCCEEDED(result) ? raster_->EndRaster() : result;
    result = SUCCEEDED(result) ? commands_.SendSection(GpdSection::kPageFinish) : result;
    return Check(SUCCEEDED(result) ? raster_->EndPage() : result);
}

BOOL JobDevice::EndDoc() {
    HRESULT result = commands_.SendSection(GpdSection::kDocFinish);
    result = SUCCEEDED(result) ? raster_->EndDocument() : result;
    return Check(SUCCEEDED(result) ? commands_.SendSection(GpdSection::kJobFinish) : result);
}

} // namespace moltr::unidrv
