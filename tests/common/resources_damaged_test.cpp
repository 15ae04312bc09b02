// A language module with hand-made, damaged resources: each gives its error answer, and nothing is
// read outside the resource (the host-asan build checks the latter; the damaged resource is the
// last of the file, so that a read past it leaves the module's memory).
#include "platform/kernel32/resource_file.h"
#include "resources_printer.h"

#include <string>
#include <vector>

namespace moltr::common {
namespace {

constexpr WORD kImageId = 1;
constexpr WORD kSoundGroup = 10;
constexpr WORD kDamagedGroup = 11;

// A 16 x 16 icon image of 32 bits: the header of double height, the pixels and the mask.
std::string IconImage() {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = 16;
    header.biHeight = 32;
    header.biPlanes = 1;
    header.biBitCount = 32;
    std::string image(reinterpret_cast<const char*>(&header), sizeof header);
    image.append(16 * 16 * 4 + 16 * 4, '\0');
    return image;
}

// An icon group's header with `count` and the one 16 x 16 entry that leads to the image.
std::string Group(WORD count) {
    return test::Words({0, 1, count, 0x1010, 0, 1, 32, 0x0468, 0, kImageId});
}

test::ResourcesPrinterSetup ModuleWithGroup(const std::string& damaged) {
    test::ResourcesPrinterSetup setup;
    setup.languageModuleImage =
        test::ResourceFile({{3 /* RT_ICON */, kImageId, 0, IconImage()},
                            {14 /* RT_GROUP_ICON */, kSoundGroup, 0, Group(1)},
                            {14, kDamagedGroup, 0, damaged}});
    return setup;
}

TEST(DamagedLanguageModule, IconGroupShorterThanItsEntryCountIsRefused) {
    const std::vector<std::string> damaged = {
        test::Words({0, 1, 0xFFFF}),  // six bytes that count 65535 entries
        Group(3),                     // one entry where three are counted
        Group(1).substr(0, 19),       // the only entry cut short
        test::Words({0, 1}) + "\x01", // a header cut short
        std::string(),                // no data at all
    };
    for (const std::string& group : damaged) {
        test::ResourcesPrinter printer(ModuleWithGroup(group));
        IDrvResources* resources = printer.Create();
        ASSERT_TRUE(resources);
        HICON icon = reinterpret_cast<HICON>(1);
        EXPECT_EQ(resources->LoadIcon(kDamagedGroup, 16, &icon), E_INVALIDARG) << group.size();
        EXPECT_EQ(icon, nullptr);
        // The sound group of the same module still serves its icon.
        EXPECT_EQ(resources->LoadIcon(kSoundGroup, 16, &icon), S_OK);
        EXPECT_NE(icon, nullptr);
    }
}

} // namespace
} // namespace moltr::common
