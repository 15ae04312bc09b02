#pragma once
// A picture of a printed sheet (a PNG file the renderer wrote), read back as red, green and blue
// bytes, for tests that look at what a sheet shows.
#include <png.h>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace moltr::test {

struct SheetPicture {
    unsigned width = 0;
    unsigned height = 0;
    // Red, green, blue, row after row without padding.
    std::vector<unsigned char> rgb;

    const unsigned char* At(unsigned x, unsigned y) const {
        return &rgb[(static_cast<size_t>(y) * width + x) * 3];
    }
    // The pixels of [left, right) x [top, bottom) for which match(red, green, blue) holds.
    template <typename Match>
    size_t Count(unsigned left, unsigned top, unsigned right, unsigned bottom, Match match) const {
        size_t count = 0;
        for (unsigned y = top; y < bottom && y < height; ++y) {
            for (unsigned x = left; x < right && x < width; ++x) {
                const unsigned char* p = At(x, y);
                count += match(p[0], p[1], p[2]) ? 1 : 0;
            }
        }
        return count;
    }
    size_t Inked(unsigned left, unsigned top, unsigned right, unsigned bottom) const {
        return Count(left, top, right, bottom,
                     [](int r, int g, int b) { return r != 0xFF || g != 0xFF || b != 0xFF; });
    }
};

// Nothing when the file is missing or no PNG.
inline std::optional<SheetPicture> ReadSheetPicture(const std::string& file) {
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, file.c_str())) {
        return std::nullopt;
    }
    image.format = PNG_FORMAT_RGB;
    SheetPicture picture;
    picture.width = image.width;
    picture.height = image.height;
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    return picture;
}

} // namespace moltr::test
