// Hostile description-file text for the custom media writers: tags missing, repeated, cut off,
// NULs.
#include <cstddef>
#include <cstdint>
#include <string>
#include "uiplugin/custom_media_gpd_writer.h"
#include "uiplugin/custom_media_ppd_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace moltr::uiplugin;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    static const std::vector<CustomMedium> media = {{"My \"Size\"", "MY20SIZE", 1, 0xFFFFFFFF},
                                                    {"#NAME", "23NAME", 100000, 150000}};
    std::string written;
    if (WriteGpdCustomMedia(text, media, ReadMasterUnits(text), &written) &&
        written.find(kGpdCmsEnd) == std::string::npos) {
        __builtin_trap();
    }
    if (WritePpdCustomMedia(text, media, &written) &&
        written.find(kPpdCmsEnd) == std::string::npos) {
        __builtin_trap();
    }
    return 0;
}
