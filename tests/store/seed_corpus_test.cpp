// The image-loading fuzzer's seed corpus (tests/fuzz/corpus/store_load_fuzz): valid images laid out
// by the writer. The committed files must be what the writer makes now; run this test with
// MOLTR_WRITE_SEEDS=1 to write them again after a change of the layout.
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include "compiled_tree.h"
#include "store/record_memory.h"
#include "store/relocation.h"
#include "store/string_area.h"
#include "store/xpr.h"

using namespace moltr::store;
using namespace moltr::store::testing;

namespace {

const std::filesystem::path kCorpus =
    std::filesystem::path(MOLTR_SOURCE_DIR) / "tests/fuzz/corpus/store_load_fuzz";

std::vector<BYTE> Written(const CompiledStructure& root) {
    std::vector<BYTE> image;
    EXPECT_EQ(WriteImage(root, image), kClassSuccess);
    return image;
}

// The sample after a changed text was saved: the string area in the rebuild's order.
std::vector<BYTE> Rebuilt() {
    StructureRecord* record = nullptr;
    EXPECT_EQ(BuildRecord(SampleTree(), &record), kClassSuccess);
    StructureHandle root = nullptr;
    EXPECT_EQ(GetStructure(record, L"PRINTERSETTINGS", &root, nullptr), kClassSuccess);
    LPCWSTR tag = L"A longer tag";
    EXPECT_EQ(SetField(root, L"TAG", &tag, sizeof tag), kClassSuccess);
    EXPECT_EQ(RebuildStringArea(record), kClassSuccess);
    ToStoredForm(record->root, record->image, StringValues::Convert);
    record->root->owner = 0; // an address, different in every run
    std::vector<BYTE> image(record->image, record->image + record->imageSize);
    FreeRecord(record);
    return image;
}

std::vector<std::pair<std::string, std::vector<BYTE>>> Seeds() {
    CompiledStructure bare = Structure(u"BARE", {}, 0);
    return {{"sample", Written(SampleTree())},
            {"devmode", Written(DevmodeTree())},
            {"bare", Written(bare)},
            {"rebuilt", Rebuilt()}};
}

} // namespace

TEST(SeedCorpus, IsWhatTheWriterLaysOut) {
    const bool write = std::getenv("MOLTR_WRITE_SEEDS") != nullptr;
    if (write) {
        std::filesystem::create_directories(kCorpus);
    }
    for (const auto& [name, image] : Seeds()) {
        const std::filesystem::path path = kCorpus / name;
        if (write) {
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(image.data()),
                       static_cast<std::streamsize>(image.size()));
        }
        std::ifstream in(path, std::ios::binary);
        const std::vector<BYTE> stored{std::istreambuf_iterator<char>(in),
                                       std::istreambuf_iterator<char>()};
        EXPECT_EQ(stored, image) << path;
    }
}
