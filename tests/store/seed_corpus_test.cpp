// The image-loading fuzzer's seed corpus (tests/fuzz/corpus/store_load_fuzz): valid images laid out
// by the writer. The committed files must be what the writer makes now; after a change of the
// layout, run this test with MOLTR_WRITE_SEEDS=1 to write them again (it then checks nothing).
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include "compiled_tree.h"
#include "store/image_load.h"
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

std::vector<BYTE> Committed(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(SeedCorpus, IsWhatTheWriterLaysOutAndTheLoaderAccepts) {
    if (std::getenv("MOLTR_WRITE_SEEDS") != nullptr) {
        std::filesystem::create_directories(kCorpus);
        for (const auto& [name, image] : Seeds()) {
            std::ofstream(kCorpus / name, std::ios::binary)
                .write(reinterpret_cast<const char*>(image.data()),
                       static_cast<std::streamsize>(image.size()));
        }
        GTEST_SKIP() << "seeds written to " << kCorpus << "; run again without MOLTR_WRITE_SEEDS";
    }
    for (const auto& [name, image] : Seeds()) {
        const std::filesystem::path path = kCorpus / name;
        const std::vector<BYTE> committed = Committed(path);
        EXPECT_EQ(committed, image) << path;
        // A seed the loader refuses would steer the fuzzer nowhere.
        ASSERT_FALSE(committed.empty()) << path;
        StructureRecord* record = NewRecord();
        record->image = AllocateImage(committed.size(), 0);
        std::memcpy(record->image, committed.data(), committed.size());
        record->imageSize = static_cast<DWORD>(committed.size());
        record->root = reinterpret_cast<StructureHeader*>(record->image);
        EXPECT_EQ(AcceptImage(record, L"SEED"), kClassSuccess) << path;
        FreeRecord(record);
    }
}
