// A bitmap as a PNG file.
#include "sim/bitmap_pictures.h"
#include "src/gdi32/gdi_objects.h"
#include "src/gdi32/gdi_pixels.h"

#include <png.h>

namespace moltr::sim {

std::vector<BYTE> BitmapPicture(HBITMAP bitmap) {
    std::vector<BYTE> rgb;
    png_image image = {};
    {
        std::lock_guard guard(platform::GdiLock());
        const platform::BitmapObject* object = platform::FindBitmap(bitmap);
        if (!object || object->pixels.empty()) {
            return {};
        }
        image.width = static_cast<png_uint_32>(object->width);
        image.height = static_cast<png_uint_32>(object->height);
        rgb.reserve(static_cast<size_t>(object->width) * object->height * 3);
        for (LONG y = 0; y < object->height; ++y) {
            for (LONG x = 0; x < object->width; ++x) {
                const COLORREF colour =
                    platform::ColourOf(*object, platform::ReadPixel(*object, x, y));
                rgb.insert(rgb.end(), {GetRValue(colour), GetGValue(colour), GetBValue(colour)});
            }
        }
    }
    image.version = PNG_IMAGE_VERSION;
    image.format = PNG_FORMAT_RGB;
    std::vector<BYTE> out;
    png_alloc_size_t size = 0;
    if (png_image_write_get_memory_size(image, size, 0, rgb.data(), 0, nullptr)) {
        out.resize(size);
        if (!png_image_write_to_memory(&image, out.data(), &size, 0, rgb.data(), 0, nullptr)) {
            size = 0;
        }
        out.resize(size);
    }
    png_image_free(&image);
    return out;
}

} // namespace moltr::sim
