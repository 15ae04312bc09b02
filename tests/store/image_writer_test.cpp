#include <gtest/gtest.h>
#include "compiled_tree.h"
#include "sample_layout.h"
#include "sim/utf.h"
#include "store/image_layout.h"
#include "store/xpr.h"

using namespace moltr::store;
using namespace moltr::store::testing;
using namespace moltr::store::testing::sample;

namespace {

template <class T> T At(const std::vector<BYTE>& image, size_t offset) {
    T value;
    std::memcpy(&value, image.data() + offset, sizeof value);
    return value;
}

std::string TextAt(const std::vector<BYTE>& image, size_t offset) {
    std::u16string text;
    for (char16_t c; (c = At<char16_t>(image, offset)) != 0; offset += 2) {
        text.push_back(c);
    }
    return moltr::sim::Utf8(text);
}

std::vector<BYTE> Write(const CompiledStructure& root) {
    std::vector<BYTE> image;
    EXPECT_EQ(WriteImage(root, image), kClassSuccess);
    return image;
}

} // namespace

TEST(ImageWriter, LaysTheFiveAreasOutInOrder) {
    const std::vector<BYTE> image = Write(SampleTree());
    ASSERT_EQ(image.size(), kImageSize);
    EXPECT_EQ(At<DWORD>(image, 0), 0x544C4F4Du);
    EXPECT_EQ(At<DWORD>(image, 4), 0x250u);
    EXPECT_EQ(TextAt(image, 24), "PRINTERSETTINGS");
    EXPECT_EQ(TextAt(image, kOptionHeader + 24), "OPTION");
    EXPECT_EQ(TextAt(image, kDeepHeader + 24), "DEEP");
    EXPECT_EQ(At<ULONG64>(image, 136), kRootDescriptors);
    EXPECT_EQ(At<ULONG64>(image, kOptionHeader + 136), kOptionDescriptors);
    EXPECT_EQ(At<ULONG64>(image, kDeepHeader + 136), kDeepDescriptors);
    EXPECT_EQ(At<ULONG64>(image, 120), kRootData);
    EXPECT_EQ(At<ULONG64>(image, kOptionHeader + 120), kOptionData);
    EXPECT_EQ(At<ULONG64>(image, kDeepHeader + 120), kDeepData);
    EXPECT_EQ(At<DWORD>(image, 128), 49u);
    EXPECT_EQ(At<WORD>(image, 132), 3);
    EXPECT_EQ(At<WORD>(image, 144), 6);
    EXPECT_EQ(At<WORD>(image, kOptionHeader + 132), 5);
    // Owner, parent and cursor fields are zero in a new image.
    for (size_t header : {size_t{0}, kOptionHeader, kDeepHeader}) {
        EXPECT_EQ(At<ULONG64>(image, header + 8), 0u);
        EXPECT_EQ(At<ULONG64>(image, header + 16), 0u);
        for (size_t cursor = 146; cursor < 160; ++cursor) {
            EXPECT_EQ(image[header + cursor], 0) << header << "+" << cursor;
        }
    }
}

TEST(ImageWriter, SubStructureValuesReferenceTheHeaderWithEachSlice) {
    const std::vector<BYTE> image = Write(SampleTree());
    const WORD first[] = {0, 2, 5};
    const WORD end[] = {2, 5, 5};
    for (size_t record = 0; record < 3; ++record) {
        const size_t value = kRootData + record * 49 + 29;
        EXPECT_EQ(At<ULONG64>(image, value), kOptionHeader);
        EXPECT_EQ(At<WORD>(image, value + 8), first[record]);
        EXPECT_EQ(At<WORD>(image, value + 10), end[record]);
    }
    EXPECT_EQ(At<ULONG64>(image, kOptionData + 10), kDeepHeader);
    EXPECT_EQ(At<WORD>(image, kOptionData + 4 * 22 + 10 + 8), 1);
}

TEST(ImageWriter, DynamicValuesShareARepeatedReferenceText) {
    const std::vector<BYTE> image = Write(SampleTree());
    EXPECT_EQ(At<ULONG64>(image, kRootData + 41), kDynamics);
    EXPECT_EQ(At<ULONG64>(image, kRootData + 49 + 41), 0u);
    EXPECT_EQ(At<ULONG64>(image, kRootData + 2 * 49 + 41), kDynamics + 24);
    const size_t text = kDynamics + 48;
    EXPECT_EQ(At<ULONG64>(image, kDynamics), text);
    EXPECT_EQ(At<ULONG64>(image, kDynamics + 24), text);
    EXPECT_EQ(TextAt(image, text), "PRINTERSETTINGS._SIZE");
    EXPECT_EQ(At<ULONG64>(image, kDynamics + 8), text + 44);
    EXPECT_EQ(At<ULONG64>(image, kDynamics + 24 + 8), text + 48);
    EXPECT_EQ(At<DWORD>(image, text + 44), 7u);
    EXPECT_EQ(At<DWORD>(image, text + 48), 9u);
    EXPECT_EQ(At<DWORD>(image, kDynamics + 16), kTypeDword);
    EXPECT_EQ(At<WORD>(image, kDynamics + 20), 4);
    EXPECT_EQ(At<WORD>(image, kDynamics + 22), 1);
}

TEST(ImageWriter, ReferenceTextsAreSharedOnlyWithinOneField) {
    CompiledStructure root = Structure(
        u"R",
        [] {
            std::vector<CompiledField> fields;
            fields.push_back(Field(u"_A", kTypeDynamic));
            fields.push_back(Field(u"_B", kTypeDynamic));
            return fields;
        }(),
        1);
    FieldNamed(root, u"_A").dynamics[0] = Dynamic(u"REF", 1);
    FieldNamed(root, u"_B").dynamics[0] = Dynamic(u"REF", 2);
    const std::vector<BYTE> image = Write(root);
    // 160 + 3 x 108 + 24 of record, then per field 24 + 8 of text + 4 of value.
    ASSERT_EQ(image.size(), 160u + 324 + 24 + 2 * 36);
    const size_t dynamics = 160 + 324 + 24;
    EXPECT_EQ(At<ULONG64>(image, dynamics), dynamics + 24);
    EXPECT_EQ(At<ULONG64>(image, dynamics + 36), dynamics + 36 + 24);
}

TEST(ImageWriter, ValueWithoutReferenceOrBytesStoresZeros) {
    CompiledStructure root = Structure(
        u"R",
        [] {
            std::vector<CompiledField> fields;
            fields.push_back(Field(u"_A", kTypeDynamic));
            return fields;
        }(),
        1);
    CompiledDynamic bare;
    bare.type = kTypeLong;
    bare.elementSize = 4;
    bare.elementCount = 1;
    FieldNamed(root, u"_A").dynamics[0] = bare;
    const std::vector<BYTE> image = Write(root);
    const size_t dynamic = 160 + 216 + 16;
    ASSERT_EQ(image.size(), dynamic + 24);
    EXPECT_EQ(At<ULONG64>(image, 160 + 216 + 8), dynamic);
    EXPECT_EQ(At<ULONG64>(image, dynamic), 0u);
    EXPECT_EQ(At<ULONG64>(image, dynamic + 8), 0u);
    EXPECT_EQ(At<DWORD>(image, dynamic + 16), kTypeLong);
}

TEST(ImageWriter, StringAreaHoldsTheTextsLast) {
    const std::vector<BYTE> image = Write(SampleTree());
    EXPECT_EQ(At<ULONG64>(image, kRootData), kStrings);
    EXPECT_EQ(TextAt(image, kStrings), "A");
    EXPECT_EQ(TextAt(image, kStrings + 8), "a");
    EXPECT_EQ(At<ULONG64>(image, kRootData + 12), kStrings + 12);
    EXPECT_EQ(TextAt(image, kStrings + 12), "first");
    EXPECT_EQ(TextAt(image, kStrings + 24), "second");
    EXPECT_EQ(At<ULONG64>(image, kRootData + 49 + 12), 0u);
    EXPECT_EQ(At<ULONG64>(image, kRootData + 2 * 49 + 20), kStrings + 38);
    EXPECT_EQ(TextAt(image, kImageSize - 4), "D");
}

TEST(ImageWriter, NamesOfFortySevenCharactersFitAndLongerOnesDoNot) {
    CompiledStructure root = Structure(std::u16string(47, u'N'), {}, 0);
    std::vector<BYTE> image;
    EXPECT_EQ(WriteImage(root, image), kClassSuccess);
    EXPECT_EQ(image.size(), 160u + 108);
    EXPECT_EQ(At<WORD>(image, 24 + 92), WORD{'N'});
    EXPECT_EQ(At<WORD>(image, 24 + 94), 0);
    root.name.push_back(u'N');
    EXPECT_EQ(WriteImage(root, image), kClassInternal);
}

TEST(ImageWriter, RefusesTreesThatDoNotDescribeAnImage) {
    auto refused = [](CompiledStructure root) {
        std::vector<BYTE> image;
        return WriteImage(root, image) == kClassInternal;
    };
    CompiledStructure tree = SampleTree();
    tree.fields.erase(tree.fields.begin());
    EXPECT_TRUE(refused(std::move(tree))) << "no TAG";
    tree = SampleTree();
    tree.records.pop_back();
    EXPECT_TRUE(refused(std::move(tree))) << "records short of the record size";
    tree = SampleTree();
    PutText(tree, 0, u"TAG", std::u16string(u"A\0B", 3));
    EXPECT_TRUE(refused(std::move(tree))) << "NUL inside a text";
    tree = SampleTree();
    FieldNamed(tree, u"OPTION").slices[2] = {5, 6};
    EXPECT_TRUE(refused(std::move(tree))) << "slice beyond the sub-structure";
    tree = SampleTree();
    FieldNamed(tree, u"OPTION").slices[1] = {3, 2};
    EXPECT_TRUE(refused(std::move(tree))) << "slice ending before it starts";
    tree = SampleTree();
    FieldNamed(tree, u"OPTION").sub.reset();
    EXPECT_TRUE(refused(std::move(tree))) << "XPDSTRUCT without its structure";
    tree = SampleTree();
    FieldNamed(tree, u"_VALUE").dynamics[0]->bytes.push_back(0);
    EXPECT_TRUE(refused(std::move(tree))) << "value bytes of the wrong size";
    tree = SampleTree();
    FieldNamed(tree, u"_SIZE").strings.resize(3);
    EXPECT_TRUE(refused(std::move(tree))) << "texts on a DWORD field";
    tree = SampleTree();
    FieldNamed(tree, u"_NAME").strings.pop_back();
    EXPECT_TRUE(refused(std::move(tree))) << "texts short of records x elements";
    tree = SampleTree();
    FieldNamed(tree, u"_VALUE").elementCount = 2;
    EXPECT_TRUE(refused(std::move(tree))) << "DYNAMIC array";
}

TEST(ImageWriter, NestingIsLimited) {
    auto chain = [](int depth) {
        CompiledStructure inner = Structure(u"S0", {}, 1);
        for (int level = 1; level <= depth; ++level) {
            std::u16string name = u"S" + moltr::sim::Utf16(std::to_string(level));
            std::u16string innerName = inner.name;
            std::vector<CompiledField> fields;
            fields.push_back(Field(innerName, kTypeXpdStruct));
            CompiledStructure outer = Structure(name, std::move(fields), 1);
            PutSub(outer, std::move(inner), {{0, 1}});
            inner = std::move(outer);
        }
        return inner;
    };
    std::vector<BYTE> image;
    EXPECT_EQ(WriteImage(chain(kMaxNesting), image), kClassSuccess);
    EXPECT_EQ(WriteImage(chain(kMaxNesting + 1), image), kClassInternal);
}

TEST(ImageWriter, BuildRecordGivesAnOpenRecordWithItsStringArea) {
    StructureRecord* record = nullptr;
    ASSERT_EQ(BuildRecord(SampleTree(), &record), kClassSuccess);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->imageSize, kImageSize);
    EXPECT_EQ(record->stringBytes, kImageSize - kStrings);
    EXPECT_EQ(record->stringAreaStart, kStrings);
    EXPECT_FALSE(record->stringsChanged);
    EXPECT_EQ(reinterpret_cast<BYTE*>(record->root), record->image);
    // The string area starts at an odd offset here; the image is placed so that it is aligned.
    EXPECT_EQ(kStrings % 2, 1u);
    EXPECT_EQ((AddressOf(record->image) + record->stringAreaStart) % 2, 0u);
    StructureHandle handle = nullptr;
    ASSERT_EQ(GetStructure(record, L"PRINTERSETTINGS", &handle, nullptr), kClassSuccess);
    LPCWSTR names[2] = {};
    ASSERT_EQ(GetField(handle, L"_NAME", names, sizeof names), kClassSuccess);
    EXPECT_EQ(moltr::sim::Utf8(names[0]), "first");
    EXPECT_EQ(moltr::sim::Utf8(names[1]), "second");
    EXPECT_EQ(Close(&record), kClassSuccess);
    EXPECT_EQ(record, nullptr);
}

TEST(ImageWriter, BuildRecordRefusesAnInvalidTree) {
    CompiledStructure tree = SampleTree();
    tree.name.clear();
    StructureRecord* record = reinterpret_cast<StructureRecord*>(1);
    EXPECT_EQ(BuildRecord(tree, &record), kClassInternal);
    EXPECT_EQ(record, nullptr);
}
