#include "src/unidrv/device_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace moltr::unidrv {
namespace {

constexpr LONG kMaxDpi = 4800;
// PCL XL gives image sizes as 16-bit values.
constexpr long long kMaxPixels = 0xFFFF;
constexpr long long kMicronsPerInch = 25400;
constexpr ULONG kGdiVersion = 0x5000;

struct Reading {
    const GpdModel& model;
    const GpdConfiguration& configuration;
    std::string* message;

    bool Fail(const std::string& text) const {
        *message = text;
        return false;
    }

    // A PAIR attribute of the chosen option of `feature` (or of the global entries).
    bool Pair(const char* feature, const char* name, GpdPair* pair) const {
        const GpdOption* option = configuration.Selected(model, feature);
        const GpdAttribute* attribute =
            option ? ResolvedAttribute(model, configuration, option->body, name) : nullptr;
        attribute =
            attribute ? attribute : ResolvedAttribute(model, configuration, model.global, name);
        return attribute && ParseGpdPair(attribute->value, pair);
    }

    long long Integer(const char* name, long long fallback) const {
        const GpdAttribute* attribute = ResolvedAttribute(model, configuration, model.global, name);
        long long value = 0;
        return attribute && ParseGpdInteger(attribute->value, &value) ? value : fallback;
    }
};

bool InRange(long long value, long long low, long long high) {
    return value >= low && value <= high;
}

constexpr WORD kGreyBits = 8;

WORD BandBits(const GpdModel& model, const GpdConfiguration& configuration) {
    if (PrintsInColour(model, configuration)) {
        return 24;
    }
    const GpdOption* option = configuration.Selected(model, "ColorMode");
    const GpdAttribute* bits = option ? FindAttribute(option->body, "*DrvBPP") : nullptr;
    long long value = 0;
    return bits && ParseGpdInteger(bits->value, &value) && value == kGreyBits ? kGreyBits : 1;
}

// Master units to device pixels.
LONG Pixels(long long master, long long masterUnits, LONG dpi) {
    return static_cast<LONG>(master * dpi / masterUnits);
}

bool Read(const Reading& reading, DeviceGeometry* geometry) {
    GpdPair dpi{300, 300};
    reading.Pair("Resolution", "*DPI", &dpi);
    if (!InRange(dpi.x, 1, kMaxDpi) || !InRange(dpi.y, 1, kMaxDpi)) {
        return reading.Fail("resolution out of range");
    }
    GpdPair master{dpi.x, dpi.y};
    reading.Pair("", "*MasterUnits", &master);
    if (!InRange(master.x, 1, 1 << 20) || !InRange(master.y, 1, 1 << 20)) {
        return reading.Fail("master units out of range");
    }
    GpdPair area;
    GpdPair origin{0, 0};
    GpdPair page;
    bool hasArea = reading.Pair("PaperSize", "*PrintableArea", &area);
    reading.Pair("PaperSize", "*PrintableOrigin", &origin);
    if (!reading.Pair("PaperSize", "*PageDimensions", &page)) {
        if (!hasArea) {
            return reading.Fail("no page dimensions or printable area for the paper size");
        }
        page = {area.x + 2 * origin.x, area.y + 2 * origin.y};
    }
    area = hasArea ? area : page;
    const long long limitX = kMaxPixels * master.x / dpi.x;
    const long long limitY = kMaxPixels * master.y / dpi.y;
    if (!InRange(page.x, 1, limitX) || !InRange(page.y, 1, limitY) || !InRange(area.x, 1, page.x) ||
        !InRange(area.y, 1, page.y) || !InRange(origin.x, 0, page.x - area.x) ||
        !InRange(origin.y, 0, page.y - area.y)) {
        return reading.Fail("paper size out of range");
    }
    geometry->dpiX = static_cast<LONG>(dpi.x);
    geometry->dpiY = static_cast<LONG>(dpi.y);
    geometry->page = {Pixels(page.x, master.x, geometry->dpiX),
                      Pixels(page.y, master.y, geometry->dpiY)};
    geometry->printable = {std::max<LONG>(Pixels(area.x, master.x, geometry->dpiX), 1),
                           std::max<LONG>(Pixels(area.y, master.y, geometry->dpiY), 1)};
    geometry->origin = {Pixels(origin.x, master.x, geometry->dpiX),
                        Pixels(origin.y, master.y, geometry->dpiY)};
    geometry->bandBits = BandBits(reading.model, reading.configuration);
    long long xMove = reading.Integer("*XMoveUnit", dpi.x);
    long long yMove = reading.Integer("*YMoveUnit", dpi.y);
    geometry->xMoveUnit = static_cast<LONG>(InRange(xMove, 1, master.x) ? xMove : dpi.x);
    geometry->yMoveUnit = static_cast<LONG>(InRange(yMove, 1, master.y) ? yMove : dpi.y);
    return true;
}

} // namespace

HRESULT ReadGeometry(const GpdModel& model, const GpdConfiguration& configuration,
                     DeviceGeometry* geometry, std::string* message) {
    Reading reading{model, configuration, message};
    return Read(reading, geometry) ? S_OK : HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
}

void FillGdiInfo(const DeviceGeometry& geometry, GDIINFO* info) {
    std::memset(info, 0, sizeof *info);
    info->ulVersion = kGdiVersion;
    info->ulTechnology = DT_RASPRINTER;
    info->ulHorzSize =
        static_cast<ULONG>(geometry.printable.cx * kMicronsPerInch / 1000 / geometry.dpiX);
    info->ulVertSize =
        static_cast<ULONG>(geometry.printable.cy * kMicronsPerInch / 1000 / geometry.dpiY);
    info->ulHorzRes = static_cast<ULONG>(geometry.printable.cx);
    info->ulVertRes = static_cast<ULONG>(geometry.printable.cy);
    info->cBitsPixel = geometry.bandBits;
    info->cPlanes = 1;
    info->ulNumColors = geometry.bandBits == 24 ? static_cast<ULONG>(-1) : 1UL << geometry.bandBits;
    info->ulLogPixelsX = static_cast<ULONG>(geometry.dpiX);
    info->ulLogPixelsY = static_cast<ULONG>(geometry.dpiY);
    info->ulAspectX = static_cast<ULONG>(geometry.dpiY);
    info->ulAspectY = static_cast<ULONG>(geometry.dpiX);
    info->ulAspectXY = static_cast<ULONG>(std::lround(std::hypot(geometry.dpiX, geometry.dpiY)));
    info->ptlPhysOffset = geometry.origin;
    info->szlPhysSize = geometry.page;
    info->ulDevicePelsDPI = static_cast<ULONG>(geometry.dpiX);
}

void FillDevInfo(const DeviceGeometry& geometry, DEVINFO* info) {
    std::memset(info, 0, sizeof *info);
    info->iDitherFormat = geometry.bandBits == 24  ? BMF_24BPP
                          : geometry.bandBits == 8 ? BMF_8BPP
                                                   : BMF_1BPP;
    info->cxDither = 8;
    info->cyDither = 8;
}

} // namespace moltr::unidrv
