#pragma once
// A PNG picture as the tests look at it: its size and its pixels as RGB, read with libpng.
#include <windows.h>
#include <png.h>

#include <string>
#include <vector>

namespace moltr::test {

struct Picture {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    std::vector<png_byte> rgb;

    COLORREF At(LONG x, LONG y) const {
        const png_byte* pixel = rgb.data() + (static_cast<size_t>(y) * width + x) * 3;
        return RGB(pixel[0], pixel[1], pixel[2]);
    }
    size_t PixelsOf(COLORREF colour) const {
        size_t count = 0;
        for (png_uint_32 y = 0; y < height; ++y) {
            for (png_uint_32 x = 0; x < width; ++x) {
                count += At(static_cast<LONG>(x), static_cast<LONG>(y)) == colour;
            }
        }
        return count;
    }
};

// Finishes a read that png_image_begin_read_* has started.
inline bool FinishRead(png_image& image, Picture& picture) {
    image.format = PNG_FORMAT_RGB;
    picture.width = image.width;
    picture.height = image.height;
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr) != 0;
}

inline bool ReadPng(const std::string& file, Picture& picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    return png_image_begin_read_from_file(&image, file.c_str()) && FinishRead(image, picture);
}

inline bool ReadPng(const std::vector<BYTE>& bytes, Picture& picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    return png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()) &&
           FinishRead(image, picture);
}

} // namespace moltr::test
