// Sheet pictures: the request kept in the machine's folder, and the PNG files written with
// libpng's simplified interface (which reports failures by its answer, never by a jump).
#include "src/unidrv/sheet_pictures.h"

#include <png.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <vector>
#include "sim/machine.h"
#include "sim/sheet_pictures.h"

namespace moltr::unidrv {
namespace {

constexpr char kRequests[] = "/sheet-pictures/";
// A sheet's picture is kept whole until it ends; one larger than this (a GPD of absurd
// resolution) is refused rather than allowed to exhaust the spooler's memory.
constexpr size_t kMaxPictureBytes = size_t{1} << 30;

std::string RequestFile(DWORD jobId) {
    const std::string root = sim::MachineRoot();
    return root.empty() ? root : root + kRequests + std::to_string(jobId);
}

class PngSheets final : public SheetSink {
public:
    explicit PngSheets(std::string folder) : folder_(std::move(folder)) {}

    void StartSheet(LONG width, LONG height, WORD bits) override;
    void Rows(const BandSurface& band, const BYTE* bits) override;
    HRESULT EndSheet() override;

private:
    std::string folder_;
    unsigned sheets_ = 0;
    LONG width_ = 0;
    LONG height_ = 0;
    // Three bytes (blue, green, red) or one grey byte a pixel, rows without padding.
    LONG channels_ = 1;
    bool refused_ = false;
    std::vector<BYTE> pixels_;
};

void PngSheets::StartSheet(LONG width, LONG height, WORD bits) {
    width_ = std::max<LONG>(width, 1);
    height_ = std::max<LONG>(height, 1);
    channels_ = bits == 24 ? 3 : 1;
    const size_t bytes = static_cast<size_t>(width_) * channels_ * height_;
    refused_ = bytes > kMaxPictureBytes;
    pixels_.clear();
    if (!refused_) {
        try {
            pixels_.assign(bytes, 0xFF);
        } catch (const std::bad_alloc&) {
            refused_ = true;
        }
    }
}

void PngSheets::Rows(const BandSurface& band, const BYTE* bits) {
    if (refused_) {
        return;
    }
    const LONG width = std::min(band.width(), width_);
    for (LONG row = 0; row < band.rows() && band.top() + row < height_; ++row) {
        const BYTE* from = band.Row(bits, row);
        BYTE* to = pixels_.data() + static_cast<size_t>(band.top() + row) * width_ * channels_;
        if (band.bitsPerPixel() == 1) {
            // 1 is ink.
            for (LONG x = 0; x < width; ++x) {
                to[x] = from[x / 8] & (0x80 >> (x % 8)) ? 0x00 : 0xFF;
            }
        } else {
            std::memcpy(to, from, static_cast<size_t>(width) * channels_);
        }
    }
}

HRESULT PngSheets::EndSheet() {
    if (refused_) {
        return E_OUTOFMEMORY;
    }
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    char name[32];
    std::snprintf(name, sizeof name, "/sheet-%03u.png", ++sheets_);
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width_);
    image.height = static_cast<png_uint_32>(height_);
    image.format = channels_ == 3 ? PNG_FORMAT_BGR : PNG_FORMAT_GRAY;
    image.flags = PNG_IMAGE_FLAG_FAST;
    const bool written = png_image_write_to_file(&image, (folder_ + name).c_str(), 0,
                                                 pixels_.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return written ? S_OK : HRESULT_FROM_WIN32(ERROR_WRITE_FAULT);
}

} // namespace

std::string TakeSheetPictureRequest(DWORD jobId) {
    const std::string file = RequestFile(jobId);
    std::ifstream in(file, std::ios::binary);
    if (file.empty() || !in) {
        return {};
    }
    std::string folder((std::istreambuf_iterator<char>(in)), {});
    in.close();
    std::error_code error;
    std::filesystem::remove(file, error);
    return folder;
}

std::unique_ptr<SheetSink> MakePngSheets(const std::string& folder) {
    return std::make_unique<PngSheets>(folder);
}

} // namespace moltr::unidrv

namespace moltr::sim {

bool RequestSheetPictures(DWORD jobId, const std::string& folder) {
    const std::string file = unidrv::RequestFile(jobId);
    if (file.empty() || folder.empty()) {
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(file).parent_path(), error);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << std::filesystem::absolute(folder, error).string();
    return static_cast<bool>(out.flush());
}

} // namespace moltr::sim
