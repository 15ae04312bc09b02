#include <gtest/gtest.h>
#include "open_tree.h"
#include "raised_messages.h"
#include "sample_layout.h"
#include "sim/utf.h"
#include "store/image_layout.h"

using namespace moltr::store;
using namespace moltr::store::testing;

namespace {

// One root structure of seven records tagged P Q T Q R T S, and one record without a TAG.
CompiledStructure Tagged() {
    CompiledStructure root = Structure(
        u"TAGGED",
        [] {
            std::vector<CompiledField> fields;
            fields.push_back(Field(u"_N", kTypeWord));
            return fields;
        }(),
        8);
    const char16_t* tags[] = {u"P", u"Q", u"T", u"Q", u"R", u"T", u"S"};
    for (WORD record = 0; record < 8; ++record) {
        if (record < 7) {
            PutText(root, record, u"TAG", tags[record]);
        }
        PutValue<WORD>(root, record, u"_N", record);
    }
    return root;
}

} // namespace

TEST(GetStructure, EnumeratesTheRootRecordsAndEndsWithAWarning) {
    OpenTree tree(SampleTree());
    StructureHandle handle = nullptr;
    for (DWORD expected = 100; expected < 103; ++expected) {
        ASSERT_EQ(GetStructure(tree.get(), L"PRINTERSETTINGS", &handle, nullptr), kClassSuccess);
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(Read<DWORD>(handle, L"_SIZE"), expected);
    }
    EXPECT_EQ(GetStructure(tree.get(), L"PRINTERSETTINGS", &handle, nullptr), kClassWarning);
    EXPECT_EQ(handle, nullptr);
    // An empty handle starts over.
    ASSERT_EQ(GetStructure(tree.get(), L"PRINTERSETTINGS", &handle, nullptr), kClassSuccess);
    EXPECT_EQ(Read<DWORD>(handle, L"_SIZE"), 100u);
}

TEST(GetStructure, TagFilterSelectsEachMatchThenWarns) {
    OpenTree tree(Tagged());
    StructureHandle handle = nullptr;
    ASSERT_EQ(GetStructure(tree.get(), L"TAGGED", &handle, L"T"), kClassSuccess);
    EXPECT_EQ(Read<WORD>(handle, L"_N"), 2);
    ASSERT_EQ(GetStructure(tree.get(), L"TAGGED", &handle, L"T"), kClassSuccess);
    EXPECT_EQ(Read<WORD>(handle, L"_N"), 5);
    EXPECT_EQ(GetStructure(tree.get(), L"TAGGED", &handle, L"T"), kClassWarning);
    EXPECT_EQ(handle, nullptr);
}

TEST(GetStructure, TagFilterMatchingNothingIsAnError) {
    OpenTree tree(Tagged());
    RaisedMessages raised;
    StructureHandle handle = nullptr;
    EXPECT_EQ(GetStructure(tree.get(), L"TAGGED", &handle, L"NONE"), kClassError);
    EXPECT_EQ(handle, nullptr);
    // Selection compares exactly.
    EXPECT_EQ(GetStructure(tree.get(), L"TAGGED", &handle, L"t"), kClassError);
    EXPECT_EQ(raised.Take(), (std::vector<DWORD>{63201, 63201}));
}

TEST(GetStructure, TagFilterContinuesAfterARecordWhoseTagMatchesIgnoringCase) {
    OpenTree tree(SampleTree()); // tags A B a
    StructureHandle handle = nullptr;
    ASSERT_EQ(GetStructure(tree.get(), L"PRINTERSETTINGS", &handle, nullptr), kClassSuccess);
    // Record 0 ("A") is current and matches "a" ignoring case: the search goes on after it.
    ASSERT_EQ(GetStructure(tree.get(), nullptr, &handle, L"a"), kClassSuccess);
    EXPECT_EQ(Read<DWORD>(handle, L"_SIZE"), 102u);
    EXPECT_EQ(GetStructure(tree.get(), nullptr, &handle, L"a"), kClassWarning);

    // Record 1 ("B") does not match, so the search restarts at the window start.
    handle = nullptr;
    ASSERT_EQ(GetStructure(tree.get(), L"PRINTERSETTINGS", &handle, nullptr), kClassSuccess);
    ASSERT_EQ(GetStructure(tree.get(), nullptr, &handle, nullptr), kClassSuccess);
    ASSERT_EQ(GetStructure(tree.get(), nullptr, &handle, L"A"), kClassSuccess);
    EXPECT_EQ(Read<DWORD>(handle, L"_SIZE"), 100u);
    // From "A" the search continues after it and finds no further exact "A".
    EXPECT_EQ(GetStructure(tree.get(), nullptr, &handle, L"A"), kClassWarning);
}

TEST(GetStructure, TagFilterPassesOverRecordsWithoutTag) {
    OpenTree tree(Tagged());
    StructureHandle handle = nullptr;
    ASSERT_EQ(GetStructure(tree.get(), L"TAGGED", &handle, L"S"), kClassSuccess);
    EXPECT_EQ(Read<WORD>(handle, L"_N"), 6);
    EXPECT_EQ(GetStructure(tree.get(), nullptr, &handle, L"S"), kClassWarning);
}

TEST(GetStructure, SubStructureShowsTheSliceOfTheCurrentParentRecord) {
    OpenTree tree(SampleTree());
    StructureHandle root = tree.First(L"PRINTERSETTINGS");
    ASSERT_EQ(GetStructure(tree.get(), nullptr, &root, nullptr), kClassSuccess); // record 1: [2, 5)
    StructureHandle option = nullptr;
    for (WORD expected = 12; expected < 15; ++expected) {
        ASSERT_EQ(GetStructure(tree.get(), L"OPTION", &option, nullptr), kClassSuccess);
        EXPECT_EQ(GetRecordCount(option), 3);
        EXPECT_EQ(Read<WORD>(option, L"_ID"), expected);
    }
    EXPECT_EQ(GetStructure(tree.get(), L"OPTION", &option, nullptr), kClassWarning);
    // A tag filter searches the slice only: "X" is at 2 and 4 here, not at 0.
    ASSERT_EQ(GetStructure(tree.get(), L"OPTION", &option, L"X"), kClassSuccess);
    EXPECT_EQ(Read<WORD>(option, L"_ID"), 12);
    ASSERT_EQ(GetStructure(tree.get(), L"OPTION", &option, L"X"), kClassSuccess);
    EXPECT_EQ(Read<WORD>(option, L"_ID"), 14);
}

TEST(GetStructure, EmptySliceHasNoRecords) {
    OpenTree tree(SampleTree());
    StructureHandle root = tree.First(L"PRINTERSETTINGS");
    ASSERT_EQ(GetStructure(tree.get(), nullptr, &root, nullptr), kClassSuccess);
    ASSERT_EQ(GetStructure(tree.get(), nullptr, &root, nullptr), kClassSuccess); // record 2: [5, 5)
    StructureHandle option = nullptr;
    EXPECT_EQ(GetStructure(tree.get(), L"OPTION", &option, nullptr), kClassWarning);
    EXPECT_EQ(option, nullptr);
}

TEST(GetStructure, SubStructureWithoutCurrentParentRecordKeepsItsWindow) {
    OpenTree tree(SampleTree());
    // A new image has all cursors at zero: the root's window [0, 0) has no current record. OPTION
    // is given the window [2, 4) with record 2 current; a reopened window would start elsewhere.
    auto* header = reinterpret_cast<StructureHeader*>(tree.get()->image + sample::kOptionHeader);
    header->windowStart = 2;
    header->windowEnd = 4;
    header->currentRecord = 2;
    StructureHandle option = nullptr;
    ASSERT_EQ(GetStructure(tree.get(), L"OPTION", &option, nullptr), kClassSuccess);
    EXPECT_EQ(option, header);
    EXPECT_EQ(WORD{header->windowStart}, 2);
    EXPECT_EQ(WORD{header->windowEnd}, 4);
    EXPECT_EQ(WORD{header->currentRecord}, 3);
    EXPECT_EQ(GetStructure(tree.get(), nullptr, &option, nullptr), kClassWarning);
    EXPECT_EQ(WORD{header->windowStart}, 2);
    EXPECT_EQ(WORD{header->windowEnd}, 4);
}

TEST(GetStructure, FindsNestedStructuresAndIgnoresCaseOfNames) {
    OpenTree tree(SampleTree());
    StructureHandle root = tree.First(L"printersettings");
    ASSERT_NE(root, nullptr);
    StructureHandle option = tree.First(L"Option");
    ASSERT_NE(option, nullptr);
    StructureHandle deep = tree.First(L"deep");
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(TextOf(NameOf(deep)), "DEEP");
    StructureHandle none = nullptr;
    EXPECT_EQ(GetStructure(tree.get(), L"MISSING", &none, nullptr), kClassError);
    EXPECT_EQ(none, nullptr);
    // Only A-Z fold: a name differing in another character is a different name.
    EXPECT_EQ(GetStructure(tree.get(), L"DEEP\u00e9", &none, nullptr), kClassError);
}

TEST(GetStructure, RecordsItsOwnerInTheHeader) {
    OpenTree tree(SampleTree());
    StructureHandle option = tree.First(L"PRINTERSETTINGS");
    const ULONG64 owner = option->owner;
    EXPECT_EQ(owner, AddressOf(tree.get()));
}

TEST(GetStructure, RejectsMissingArgumentsAndForeignHandles) {
    OpenTree tree(SampleTree());
    OpenTree other(SampleTree());
    StructureHandle handle = nullptr;
    EXPECT_EQ(GetStructure(nullptr, L"PRINTERSETTINGS", &handle, nullptr), kClassInternal);
    EXPECT_EQ(GetStructure(tree.get(), L"PRINTERSETTINGS", nullptr, nullptr), kClassInternal);
    EXPECT_EQ(GetStructure(tree.get(), L"", &handle, nullptr), kClassInternal);
    EXPECT_EQ(GetStructure(tree.get(), nullptr, &handle, nullptr), kClassInternal);
    StructureHandle foreign = other.First(L"PRINTERSETTINGS");
    ASSERT_NE(foreign, nullptr);
    EXPECT_EQ(GetStructure(tree.get(), nullptr, &foreign, nullptr), kClassInternal);
    EXPECT_EQ(foreign, nullptr);
}

TEST(GetStructure, CursorsOutsideTheRecordsAreNotFollowed) {
    OpenTree tree(SampleTree());
    StructureHandle root = tree.First(L"PRINTERSETTINGS");
    // A saved image may carry any cursor; the window is cut to the records that exist.
    root->windowStart = 1;
    root->windowEnd = 0xFFF0;
    root->currentRecord = 2;
    EXPECT_EQ(GetStructure(tree.get(), nullptr, &root, nullptr), kClassWarning);
    root = tree.First(L"PRINTERSETTINGS");
    root->windowStart = 1;
    root->windowEnd = 0xFFF0;
    root->currentRecord = 0x8000;
    EXPECT_EQ(GetStructure(tree.get(), nullptr, &root, L"A"), kClassError);
}
