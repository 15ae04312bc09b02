#pragma once
// A PNG picture as the tests look at it (a printed sheet, a dialog's surface): its size and its
// pixels as red, green and blue bytes, read with libpng's simplified interface.
#include <windows.h>
#include <png.h>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace moltr::test {

struct Picture {
    unsigned width = 0;
    unsigned height = 0;
    // Red, green, blue, row after row without padding.
    std::vector<unsigned char> rgb;

    COLORREF At(LONG x, LONG y) const {
        const unsigned char* pixel = rgb.data() + (static_cast<size_t>(y) * width + x) * 3;
        return RGB(pixel[0], pixel[1], pixel[2]);
    }
    // The pixels of [left, right) x [top, bottom) for which match(red, green, blue) holds.
    template <typename Match>
    size_t Count(unsigned left, unsigned top, unsigned right, unsigned bottom, Match match) const {
        size_t count = 0;
        for (unsigned y = top; y < bottom && y < height; ++y) {
            for (unsigned x = left; x < right && x < width; ++x) {
                const unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
                count += match(p[0], p[1], p[2]) ? 1 : 0;
            }
        }
        return count;
    }
    size_t PixelsOf(COLORREF colour) const {
        return Count(0, 0, width, height,
                     [colour](int r, int g, int b) { return RGB(r, g, b) == colour; });
    }
    size_t Inked(unsigned left, unsigned top, unsigned right, unsigned bottom) const {
        return Count(left, top, right, bottom,
                     [](int r, int g, int b) { return r != 0xFF || g != 0xFF || b != 0xFF; });
    }
};

// Finishes a read that png_image_begin_read_* has started; nothing when it fails.
inline std::optional<Picture> FinishRead(png_image& image, bool begun) {
    if (!begun) {
        return std::nullopt;
    }
    image.format = PNG_FORMAT_RGB;
    Picture picture;
    picture.width = image.width;
    picture.height = image.height;
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    return picture;
}

// Nothing when the file is missing or no PNG.
inline std::optional<Picture> ReadPng(const std::string& file) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    return FinishRead(image, png_image_begin_read_from_file(&image, file.c_str()) != 0);
}

inline std::optional<Picture> ReadPng(const std::vector<BYTE>& bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    return FinishRead(image,
                      png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()) != 0);
}

} // namespace moltr::test
