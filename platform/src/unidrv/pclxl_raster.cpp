// PCL XL images from the bands of a page, with the session and page operators the GPD's and the
// plug-in's commands leave out.
#include "src/unidrv/pclxl_stream.h"
#include "src/unidrv/raster_compression.h"
#include "src/unidrv/raster_output.h"

namespace moltr::unidrv {
namespace {

using pclxl::Attribute;
using pclxl::Operator;

constexpr LONG kTenthsOfMillimetrePerInch = 254;

class PclXlRaster final : public RasterOutput {
public:
    PclXlRaster(DriverCommands* commands, std::vector<BYTE>* output, const DeviceGeometry& geometry,
                bool landscape)
        : commands_(commands), output_(output), writer_(output), geometry_(geometry),
          landscape_(landscape) {}

    HRESULT StartDocument() override;
    HRESULT StartPage() override;
    HRESULT Band(const BandSurface& band, const BYTE* bits) override;
    HRESULT EndRaster() override { return S_OK; }
    HRESULT EndPage() override;
    HRESULT EndDocument() override;

private:
    void OpenSession();
    void OpenPage();
    void Image(const BandSurface& band, const BYTE* bits, LONG first, LONG last);
    void AppendRow(const BandSurface& band, const BYTE* row);

    DriverCommands* commands_;
    std::vector<BYTE>* output_;
    pclxl::Writer writer_;
    pclxl::Reader reader_;
    DeviceGeometry geometry_;
    bool landscape_;
    std::vector<BYTE> row_;
    std::vector<BYTE> data_;
};

void PclXlRaster::OpenSession() {
    if (!reader_.headerSeen()) {
        const char* header = pclxl::kStreamHeader;
        output_->insert(output_->end(), header, header + sizeof(pclxl::kStreamHeader) - 1);
    }
    writer_.UByte(pclxl::kInch, Attribute::kMeasure);
    writer_.UInt16Xy(static_cast<WORD>(geometry_.dpiX), static_cast<WORD>(geometry_.dpiY),
                     Attribute::kUnitsPerMeasure);
    writer_.UByte(pclxl::kNoReporting, Attribute::kErrorReport);
    writer_.Op(Operator::kBeginSession);
    writer_.UByte(pclxl::kDefaultSource, Attribute::kSourceType);
    writer_.UByte(pclxl::kBinaryLowByteFirst, Attribute::kDataOrg);
    writer_.Op(Operator::kOpenDataSource);
}

void PclXlRaster::OpenPage() {
    // Landscape is the enumeration's 1.
    writer_.UByte(landscape_ ? 1 : pclxl::kPortrait, Attribute::kOrientation);
    auto tenths = [](LONG pixels, LONG dpi) {
        return static_cast<WORD>(static_cast<long long>(pixels) * kTenthsOfMillimetrePerInch / dpi);
    };
    writer_.UInt16Xy(tenths(geometry_.page.cx, geometry_.dpiX),
                     tenths(geometry_.page.cy, geometry_.dpiY), Attribute::kCustomMediaSize);
    writer_.UByte(pclxl::kTenthsOfAMillimeter, Attribute::kCustomMediaSizeUnits);
    writer_.Op(Operator::kBeginPage);
    writer_.UByte(geometry_.bandBits == 24 ? pclxl::kRgb : pclxl::kGray, Attribute::kColorSpace);
    writer_.Op(Operator::kSetColorSpace);
}

HRESULT PclXlRaster::StartDocument() {
    reader_.Feed(*output_);
    if (!reader_.sessionOpen()) {
        OpenSession();
    }
    reader_.Feed(*output_);
    return reader_.wellFormed() ? S_OK : HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
}

HRESULT PclXlRaster::StartPage() {
    HRESULT result = StartDocument();
    if (FAILED(result)) {
        return result;
    }
    if (!reader_.pageOpen()) {
        OpenPage();
    }
    reader_.Feed(*output_);
    return reader_.wellFormed() ? S_OK : HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
}

// One row as the image takes it: red, green, blue bytes, grey bytes, or bits where 1 is white,
// padded to whole DWORDs.
void PclXlRaster::AppendRow(const BandSurface& band, const BYTE* row) {
    const LONG width = band.width();
    if (band.bitsPerPixel() == 8) {
        row_.assign(row, row + width);
    } else if (band.colour()) {
        row_.resize(static_cast<size_t>(width) * 3);
        for (LONG x = 0; x < width; ++x) {
            row_[3 * x] = row[3 * x + 2];
            row_[3 * x + 1] = row[3 * x + 1];
            row_[3 * x + 2] = row[3 * x];
        }
    } else {
        row_.resize((static_cast<size_t>(width) + 7) / 8);
        for (size_t i = 0; i < row_.size(); ++i) {
            row_[i] = static_cast<BYTE>(~row[i]);
        }
    }
    row_.resize((row_.size() + pclxl::kRowPadding - 1) / pclxl::kRowPadding * pclxl::kRowPadding,
                0xFF);
    AppendPackBits(row_.data(), row_.size(), &data_);
}

void PclXlRaster::Image(const BandSurface& band, const BYTE* bits, LONG first, LONG last) {
    const WORD width = static_cast<WORD>(band.width());
    const WORD rows = static_cast<WORD>(last - first);
    writer_.UInt16Xy(0, static_cast<WORD>(band.top() + first), Attribute::kPoint);
    writer_.Op(Operator::kSetCursor);
    writer_.UByte(pclxl::kDirectPixel, Attribute::kColorMapping);
    writer_.UByte(band.bitsPerPixel() == 1 ? pclxl::kOneBit : pclxl::kEightBit,
                  Attribute::kColorDepth);
    writer_.UInt16(width, Attribute::kSourceWidth);
    writer_.UInt16(rows, Attribute::kSourceHeight);
    writer_.UInt16Xy(width, rows, Attribute::kDestinationSize);
    writer_.Op(Operator::kBeginImage);
    writer_.UInt16(0, Attribute::kStartLine);
    writer_.UInt16(rows, Attribute::kBlockHeight);
    writer_.UByte(pclxl::kRleCompression, Attribute::kCompressMode);
    writer_.Op(Operator::kReadImage);
    data_.clear();
    for (LONG row = first; row < last; ++row) {
        AppendRow(band, band.Row(bits, row));
    }
    writer_.Data(data_);
    writer_.Op(Operator::kEndImage);
}

HRESULT PclXlRaster::Band(const BandSurface& band, const BYTE* bits) {
    LONG first = -1;
    for (LONG row = 0; row <= band.rows(); ++row) {
        bool ink = row < band.rows() && !band.Extent(bits, row).empty();
        if (ink && first < 0) {
            first = row;
        } else if (!ink && first >= 0) {
            Image(band, bits, first, row);
            first = -1;
        }
    }
    return S_OK;
}

HRESULT PclXlRaster::EndPage() {
    reader_.Feed(*output_);
    if (reader_.pageOpen()) {
        writer_.UInt16(1, Attribute::kPageCopies);
        writer_.Op(Operator::kEndPage);
    }
    return S_OK;
}

HRESULT PclXlRaster::EndDocument() {
    reader_.Feed(*output_);
    if (reader_.sessionOpen() && !commands_->SectionCallsBack(GpdSection::kJobFinish)) {
        writer_.Op(Operator::kCloseDataSource);
        writer_.Op(Operator::kEndSession);
    }
    return S_OK;
}

} // namespace

std::unique_ptr<RasterOutput> MakePclXlRaster(DriverCommands* commands, std::vector<BYTE>* output,
                                              const DeviceGeometry& geometry, bool landscape) {
    return std::make_unique<PclXlRaster>(commands, output, geometry, landscape);
}

} // namespace moltr::unidrv
