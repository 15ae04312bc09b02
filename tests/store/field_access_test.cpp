#include <gtest/gtest.h>
#include "open_tree.h"
#include "sample_layout.h"
#include "sim/utf.h"
#include "store/image_layout.h"

using namespace moltr::store;
using namespace moltr::store::testing;

namespace {

CompiledStructure TagAndDword() {
    CompiledStructure root = Structure(
        u"SMALL",
        [] {
            std::vector<CompiledField> fields;
            fields.push_back(Field(u"_SIZE", kTypeDword));
            return fields;
        }(),
        1);
    PutValue<DWORD>(root, 0, u"_SIZE", 0xA1B2C3D4);
    return root;
}

std::string CurrentFieldName(StructureHandle handle) {
    LPCWSTR name = nullptr;
    return GetFieldName(handle, &name) == kClassSuccess ? TextOf(name) : "<none>";
}

} // namespace

TEST(GetDataSize, IsTheRecordWithoutTagAndSelectsTag) {
    OpenTree small(TagAndDword());
    StructureHandle handle = small.First(L"SMALL");
    ASSERT_EQ(SelectField(handle, L"_SIZE"), kClassSuccess);
    EXPECT_EQ(GetDataSize(handle), 4u);
    EXPECT_EQ(CurrentFieldName(handle), "TAG");
    OpenTree sample(SampleTree());
    EXPECT_EQ(GetDataSize(sample.First(L"PRINTERSETTINGS")), 41u);
    EXPECT_EQ(GetDataSize(nullptr), 0u);
}

TEST(GetField, LargerDestinationGetsItsTailZeroed) {
    OpenTree tree(TagAndDword());
    StructureHandle handle = tree.First(L"SMALL");
    BYTE destination[8];
    std::memset(destination, 0xEE, sizeof destination);
    ASSERT_EQ(GetField(handle, L"_SIZE", destination, sizeof destination), kClassSuccess);
    const BYTE expected[8] = {0xD4, 0xC3, 0xB2, 0xA1, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(destination, expected, 8), 0);
}

TEST(GetField, SmallerDestinationFailsAndIsLeftAlone) {
    OpenTree tree(TagAndDword());
    StructureHandle handle = tree.First(L"SMALL");
    BYTE destination[3] = {7, 7, 7};
    EXPECT_EQ(GetField(handle, L"_SIZE", destination, sizeof destination), kClassError);
    EXPECT_EQ(destination[0], 7);
    EXPECT_EQ(destination[2], 7);
}

TEST(SetField, ShortSourceSetsTheLowBytesAndClearsTheRest) {
    OpenTree tree(TagAndDword());
    StructureHandle handle = tree.First(L"SMALL");
    const WORD source = 0x1234;
    ASSERT_EQ(SetField(handle, L"_SIZE", &source, sizeof source), kClassSuccess);
    EXPECT_EQ(Read<DWORD>(handle, L"_SIZE"), 0x1234u);
    EXPECT_FALSE(tree.get()->stringsChanged);
}

TEST(SetField, LongerSourceFailsAndLeavesTheField) {
    OpenTree tree(TagAndDword());
    StructureHandle handle = tree.First(L"SMALL");
    const ULONG64 source = 1;
    EXPECT_EQ(SetField(handle, L"_SIZE", &source, sizeof source), kClassError);
    EXPECT_EQ(Read<DWORD>(handle, L"_SIZE"), 0xA1B2C3D4u);
}

TEST(SetField, StringFieldMarksTheRecordsStringsChanged) {
    OpenTree tree(SampleTree());
    StructureHandle option = nullptr;
    StructureHandle root = tree.First(L"PRINTERSETTINGS");
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(GetStructure(tree.get(), L"OPTION", &option, nullptr), kClassSuccess);
    LPCWSTR tag = L"NEW";
    ASSERT_EQ(SetField(option, L"TAG", &tag, sizeof tag), kClassSuccess);
    EXPECT_TRUE(tree.get()->stringsChanged);
    EXPECT_EQ(moltr::sim::Utf8(Read<LPCWSTR>(option, L"TAG")), "NEW");
}

TEST(SetField, SubStructureValuesAreNotWritable) {
    OpenTree tree(SampleTree());
    StructureHandle root = tree.First(L"PRINTERSETTINGS");
    const BYTE zeros[12] = {};
    EXPECT_EQ(SetField(root, L"OPTION", zeros, sizeof zeros), kClassInternal);
    StructureHandle option = nullptr;
    EXPECT_EQ(GetStructure(tree.get(), L"OPTION", &option, nullptr), kClassSuccess);
}

TEST(SelectField, NamesCompareExactly) {
    OpenTree tree(SampleTree());
    StructureHandle root = tree.First(L"PRINTERSETTINGS");
    EXPECT_EQ(SelectField(root, L"_SIZE"), kClassSuccess);
    EXPECT_EQ(SelectField(root, L"_size"), kClassError);
    EXPECT_EQ(CurrentFieldName(root), "<none>");
    EXPECT_EQ(SelectField(root, L"_SIZ"), kClassError);
    EXPECT_EQ(SelectField(root, L"_SIZEX"), kClassError);
}

TEST(SelectField, WithoutNameStepsThroughTheFields) {
    OpenTree tree(SampleTree());
    StructureHandle root = tree.First(L"PRINTERSETTINGS");
    std::vector<std::string> names;
    while (SelectField(root, nullptr) == kClassSuccess) {
        names.push_back(CurrentFieldName(root));
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"TAG", "_SIZE", "_NAME", "_FLAG", "OPTION", "_VALUE"}));
    EXPECT_EQ(CurrentFieldName(root), "<none>");
    // After the end the next step starts over.
    ASSERT_EQ(SelectField(root, L""), kClassSuccess);
    EXPECT_EQ(CurrentFieldName(root), "TAG");
}

TEST(FieldQueries, DescribeTheNamedFieldOrAnswerZero) {
    OpenTree tree(SampleTree());
    StructureHandle root = tree.First(L"PRINTERSETTINGS");
    EXPECT_EQ(GetFieldOffset(root, L"_FLAG"), 28u);
    EXPECT_EQ(GetFieldType(root, L"_NAME"), kTypeString);
    EXPECT_EQ(GetFieldSize(root, L"_NAME"), 16);
    EXPECT_EQ(GetFieldCount(root, L"_NAME"), 2);
    EXPECT_EQ(GetFieldSize(root, L"OPTION"), 12);
    EXPECT_EQ(GetFieldOffset(root, L"MISSING"), 0u);
    EXPECT_EQ(GetFieldType(root, L"MISSING"), 0u);
    EXPECT_EQ(GetFieldSize(root, L"MISSING"), 0);
    EXPECT_EQ(GetFieldCount(root, L"MISSING"), 0);
    // Without a name they describe the current field.
    ASSERT_EQ(SelectField(root, L"_SIZE"), kClassSuccess);
    EXPECT_EQ(GetFieldOffset(root, nullptr), 8u);
    EXPECT_EQ(GetFieldType(root, L""), kTypeDword);
}

TEST(FieldPointer, AddressesTheValueInPlace) {
    OpenTree tree(SampleTree());
    StructureHandle root = tree.First(L"PRINTERSETTINGS");
    void* pointer = nullptr;
    ASSERT_EQ(GetFieldPointer(root, L"_FLAG", &pointer), kClassSuccess);
    ASSERT_NE(pointer, nullptr);
    *static_cast<BYTE*>(pointer) = 0x5A;
    EXPECT_EQ(Read<BYTE>(root, L"_FLAG"), 0x5A);
    EXPECT_EQ(static_cast<BYTE*>(pointer),
              tree.get()->image + sample::kRootData + sample::kFlagField);
}

TEST(DynamicField, ActsOnTheRecordsDynamicValue) {
    OpenTree tree(SampleTree());
    StructureHandle root = tree.First(L"PRINTERSETTINGS");
    EXPECT_EQ(Read<DWORD>(root, L"_VALUE"), 7u);
    EXPECT_EQ(GetFieldType(root, L"_VALUE"), kTypeDword);
    EXPECT_EQ(GetFieldSize(root, L"_VALUE"), 4);
    EXPECT_EQ(GetFieldCount(root, L"_VALUE"), 1);
    LPCWSTR reference = nullptr;
    ASSERT_EQ(GetFieldReference(root, L"_VALUE", &reference), kClassSuccess);
    EXPECT_EQ(TextOf(reference), "PRINTERSETTINGS._SIZE");
    const DWORD changed = 70;
    ASSERT_EQ(SetField(root, L"_VALUE", &changed, sizeof changed), kClassSuccess);
    EXPECT_EQ(Read<DWORD>(root, L"_VALUE"), 70u);
    const ULONG64 tooLong = 0;
    EXPECT_EQ(SetField(root, L"_VALUE", &tooLong, sizeof tooLong), kClassError);
}

TEST(DynamicField, RecordWithoutValueAnswersOneOrZero) {
    OpenTree tree(SampleTree());
    StructureHandle root = tree.First(L"PRINTERSETTINGS");
    ASSERT_EQ(GetStructure(tree.get(), nullptr, &root, nullptr), kClassSuccess); // record 1
    DWORD value = 5;
    EXPECT_EQ(GetField(root, L"_VALUE", &value, sizeof value), kClassWarning);
    EXPECT_EQ(SetField(root, L"_VALUE", &value, sizeof value), kClassWarning);
    void* pointer = &value;
    EXPECT_EQ(GetFieldPointer(root, L"_VALUE", &pointer), kClassWarning);
    EXPECT_EQ(pointer, nullptr);
    EXPECT_EQ(GetFieldType(root, L"_VALUE"), 0u);
    EXPECT_EQ(GetFieldSize(root, L"_VALUE"), 0);
    EXPECT_EQ(GetFieldCount(root, L"_VALUE"), 0);
    LPCWSTR reference = L"x";
    EXPECT_EQ(GetFieldReference(root, L"_VALUE", &reference), kClassWarning);
    EXPECT_EQ(reference, nullptr);
    // The descriptor still tells where the field lies.
    EXPECT_EQ(GetFieldOffset(root, L"_VALUE"), 41u);
}

TEST(DynamicField, ReferenceOfAnotherFieldIsAWarning) {
    OpenTree tree(SampleTree());
    StructureHandle root = tree.First(L"PRINTERSETTINGS");
    LPCWSTR reference = nullptr;
    EXPECT_EQ(GetFieldReference(root, L"_SIZE", &reference), kClassWarning);
    EXPECT_EQ(reference, nullptr);
    EXPECT_EQ(GetFieldReference(root, L"MISSING", &reference), kClassError);
}

TEST(ValueOperations, WithoutCurrentRecordOrFieldTouchNothing) {
    OpenTree tree(SampleTree());
    StructureHandle root = tree.First(L"PRINTERSETTINGS");
    DWORD value = 0;
    void* pointer = nullptr;
    LPCWSTR text = nullptr;
    for (WORD record : {kNone, WORD{3}, WORD{0x7FFF}}) {
        root->currentRecord = record;
        EXPECT_EQ(GetField(root, L"_SIZE", &value, sizeof value), kClassInternal);
        EXPECT_EQ(SetField(root, L"_SIZE", &value, sizeof value), kClassInternal);
        EXPECT_EQ(GetFieldPointer(root, L"_SIZE", &pointer), kClassInternal);
        EXPECT_EQ(GetFieldReference(root, L"_VALUE", &text), kClassInternal);
        EXPECT_EQ(GetFieldType(root, L"_VALUE"), 0u);
    }
    root->currentRecord = 0;
    for (WORD field : {kNone, WORD{6}, WORD{0x7FFF}}) {
        root->currentField = field;
        EXPECT_EQ(GetField(root, nullptr, &value, sizeof value), kClassInternal);
        EXPECT_EQ(GetFieldName(root, &text), kClassInternal);
        EXPECT_EQ(text, nullptr);
        EXPECT_EQ(GetFieldSize(root, nullptr), 0);
    }
}

TEST(ValueOperations, RejectNullArguments) {
    OpenTree tree(SampleTree());
    StructureHandle root = tree.First(L"PRINTERSETTINGS");
    DWORD value = 0;
    void* pointer = nullptr;
    LPCWSTR text = nullptr;
    EXPECT_EQ(GetField(nullptr, L"_SIZE", &value, sizeof value), kClassInternal);
    EXPECT_EQ(GetField(root, L"_SIZE", nullptr, 4), kClassInternal);
    EXPECT_EQ(SetField(root, L"_SIZE", nullptr, 0), kClassInternal);
    EXPECT_EQ(GetFieldPointer(root, L"_SIZE", nullptr), kClassInternal);
    EXPECT_EQ(GetFieldPointer(nullptr, L"_SIZE", &pointer), kClassInternal);
    EXPECT_EQ(GetFieldName(nullptr, &text), kClassInternal);
    EXPECT_EQ(GetFieldReference(root, L"_VALUE", nullptr), kClassInternal);
    EXPECT_EQ(SelectField(nullptr, L"_SIZE"), kClassInternal);
    EXPECT_EQ(GetRecordCount(nullptr), 0);
    EXPECT_EQ(GetFieldCount(nullptr, L"_SIZE"), 0);
    EXPECT_EQ(Close(nullptr), kClassInternal);
    StructureRecord* none = nullptr;
    EXPECT_EQ(Close(&none), kClassInternal);
}
