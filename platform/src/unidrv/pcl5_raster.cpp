// PCL 5 raster graphics from the bands of a page.
#include <cstring>
#include "src/unidrv/raster_compression.h"
#include "src/unidrv/raster_output.h"

namespace moltr::unidrv {
namespace {

// The planes of a colour row, in the order they are sent; the last ends the row.
constexpr const char* kPlaneCommands[] = {"CmdSendRedData", "CmdSendGreenData", "CmdSendBlueData"};

// Grey bands print in one bit by an ordered dither: a pixel is ink where its grey level is below
// its place's threshold, (level + 0.5) * 16 of this 4 by 4 Bayer matrix.
constexpr BYTE kDither[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

class Pcl5Raster final : public RasterOutput {
public:
    Pcl5Raster(DriverCommands* commands, const DeviceGeometry& geometry, bool compress)
        : commands_(commands), geometry_(geometry), compress_(compress) {}

    HRESULT StartDocument() override { return S_OK; }
    HRESULT StartPage() override { return S_OK; }
    HRESULT Band(const BandSurface& band, const BYTE* bits) override;
    HRESULT EndRaster() override { return open_ ? End() : S_OK; }
    HRESULT EndPage() override { return commands_->Send("CmdFF"); }
    HRESULT EndDocument() override { return S_OK; }

private:
    HRESULT Begin(LONG pageRow, LONG planeBytes);
    HRESULT End();
    HRESULT Plane(const char* command, const BYTE* data, size_t size);
    HRESULT ColourRow(const BandSurface& band, const BYTE* row, const RowExtent& extent);
    HRESULT GreyRow(const BYTE* row, LONG pageRow, const RowExtent& extent);

    DriverCommands* commands_;
    DeviceGeometry geometry_;
    bool compress_;
    bool open_ = false;
    std::vector<BYTE> planes_[3];
    std::vector<BYTE> dithered_;
    std::vector<BYTE> encoded_;
};

HRESULT Pcl5Raster::Begin(LONG pageRow, LONG planeBytes) {
    commands_->Set("DestX", 0);
    commands_->Set("DestY", static_cast<long long>(pageRow) * geometry_.yMoveUnit / geometry_.dpiY);
    commands_->Set("RasterDataWidthInBytes", planeBytes);
    const char* steps[] = {"CmdYMoveAbsolute", "CmdXMoveAbsolute", "CmdSetSrcBmpWidth",
                           "CmdBeginRaster", compress_ ? "CmdEnableRLE" : "CmdDisableCompression"};
    for (const char* step : steps) {
        HRESULT result = commands_->Send(step);
        if (FAILED(result)) {
            return result;
        }
    }
    open_ = true;
    return S_OK;
}

HRESULT Pcl5Raster::End() {
    open_ = false;
    return commands_->Send("CmdEndRaster");
}

HRESULT Pcl5Raster::Plane(const char* command, const BYTE* data, size_t size) {
    const BYTE* sent = data;
    if (compress_) {
        encoded_.clear();
        AppendRunLength(data, size, &encoded_);
        sent = encoded_.data();
        size = encoded_.size();
    }
    commands_->Set("NumOfDataBytes", static_cast<long long>(size));
    HRESULT result = commands_->Send(command);
    if (SUCCEEDED(result)) {
        commands_->Output().insert(commands_->Output().end(), sent, sent + size);
    }
    return result;
}

// Red, green and blue bits from the blue, green, red pixels; eight white pixels at a time where
// they are white, which most of a row is.
HRESULT Pcl5Raster::ColourRow(const BandSurface& band, const BYTE* row, const RowExtent& extent) {
    const size_t bytes = (static_cast<size_t>(band.width()) + 7) / 8;
    static constexpr BYTE kWhiteGroup[24] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                             0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                             0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    for (std::vector<BYTE>& plane : planes_) {
        plane.assign(bytes, 0xFF);
    }
    for (LONG group = extent.first / 8; group < (extent.last + 7) / 8; ++group) {
        LONG first = group * 8;
        LONG count = std::min<LONG>(8, band.width() - first);
        const BYTE* pixels = row + 3 * first;
        if (count == 8 && std::memcmp(pixels, kWhiteGroup, sizeof kWhiteGroup) == 0) {
            continue;
        }
        BYTE bits[3] = {};
        for (LONG i = 0; i < count; ++i) {
            const BYTE mask = static_cast<BYTE>(0x80 >> i);
            for (int plane = 0; plane < 3; ++plane) {
                // Pixels hold blue, green, red; the planes go red, green, blue.
                bits[plane] |= pixels[3 * i + 2 - plane] >= 0x80 ? mask : 0;
            }
        }
        for (int plane = 0; plane < 3; ++plane) {
            // Bits beyond the width stay white.
            planes_[plane][group] = static_cast<BYTE>(bits[plane] | (0xFF >> count));
        }
    }
    for (int plane = 0; plane < 3; ++plane) {
        HRESULT result = Plane(kPlaneCommands[plane], planes_[plane].data(), bytes);
        if (FAILED(result)) {
            return result;
        }
    }
    return S_OK;
}

// The row's ink up to its last grey pixel.
HRESULT Pcl5Raster::GreyRow(const BYTE* row, LONG pageRow, const RowExtent& extent) {
    dithered_.assign((static_cast<size_t>(extent.last) + 7) / 8, 0);
    const BYTE* thresholds = kDither[pageRow % 4];
    for (LONG x = extent.first; x < extent.last; ++x) {
        if (row[x] < thresholds[x % 4] * 16 + 8) {
            dithered_[x / 8] = static_cast<BYTE>(dithered_[x / 8] | (0x80 >> (x % 8)));
        }
    }
    return Plane("CmdSendBlockData", dithered_.data(), dithered_.size());
}

HRESULT Pcl5Raster::Band(const BandSurface& band, const BYTE* bits) {
    const LONG planeBytes = (band.width() + 7) / 8;
    for (LONG row = 0; row < band.rows(); ++row) {
        RowExtent extent = band.Extent(bits, row);
        HRESULT result = S_OK;
        if (extent.empty()) {
            result = open_ ? End() : S_OK;
        } else {
            result = open_ ? S_OK : Begin(band.top() + row, planeBytes);
            const BYTE* line = band.Row(bits, row);
            // A monochrome row may stop at its last ink: the printer fills the rest with white.
            if (SUCCEEDED(result)) {
                switch (band.bitsPerPixel()) {
                case 24:
                    result = ColourRow(band, line, extent);
                    break;
                case 8:
                    result = GreyRow(line, band.top() + row, extent);
                    break;
                default:
                    result = Plane("CmdSendBlockData", line, (extent.last + 7) / 8);
                    break;
                }
            }
        }
        if (FAILED(result)) {
            return result;
        }
    }
    return S_OK;
}

} // namespace

std::unique_ptr<RasterOutput> MakePcl5Raster(DriverCommands* commands,
                                             const DeviceGeometry& geometry, bool compress) {
    return std::make_unique<Pcl5Raster>(commands, geometry, compress);
}

} // namespace moltr::unidrv
