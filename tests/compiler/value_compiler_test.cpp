// Records and values: the record tokens of a structure, every conversion rule, sub-structure
// slices, DYNAMIC fields and the layout of a compiled root as an image.
#include "compiler/value_compiler.h"

#include <cstring>
#include "compiler/structure_compiler.h"
#include "store/field_type.h"
#include "store/image_writer.h"
#include "xpd_fixture.h"

using namespace moltr::compiler;
using namespace moltr::compiler::test;
using moltr::sim::Utf8;
namespace store = moltr::store;

namespace {

class ValueCompiler : public XpdFixture {
protected:
    // Loads `text`, compiles the definition of `name` and its values.
    int Compile(std::string_view text, const char16_t* name, std::u16string_view driver = u"") {
        Reset();
        root_ = Structure();
        EXPECT_LT(Load(text), kError);
        EXPECT_EQ(CompileDefinition(compilation(), services(), root_, name), kSuccess);
        return CompileValues(compilation(), services(), root_, 0, nullptr, driver, {},
                             root_.forceWrite);
    }

    // A structure MINE with one field F of `type`, and one record whose F is `value`.
    int CompileOne(const std::string& type, const std::string& value, int count = 1) {
        const std::string text = "*XPDSTRUCT: MINE { *FIELD: F { *FIELDTYPE: " + type +
                                 "\n*ARRAYSIZE: " + std::to_string(count) + " } }\n" +
                                 "*MINE: R { *F: " + value + " }\n";
        return Compile(text, u"MINE");
    }

    // The bytes of field `field` in record `record` of `structure`.
    std::vector<BYTE> Bytes(const Structure& structure, const char16_t* field, size_t record = 0) {
        const Field* found = structure.FindField(field);
        EXPECT_NE(found, nullptr);
        if (found == nullptr) {
            return {};
        }
        const BYTE* at = structure.records.data() + record * structure.recordSize + found->offset;
        return std::vector<BYTE>(at, at + found->elementSize * found->elementCount);
    }

    unsigned long long Number(const char16_t* field, size_t record = 0) {
        unsigned long long value = 0;
        const std::vector<BYTE> bytes = Bytes(root_, field, record);
        for (size_t at = bytes.size(); at > 0; --at) {
            value = value << 8 | bytes[at - 1];
        }
        return value;
    }

    Structure root_;
};

TEST_F(ValueCompiler, MacrosGiveTheirValue) {
    EXPECT_EQ(CompileOne("WORD", "=TVOT_COMBOBOX"), kSuccess);
    EXPECT_EQ(Number(u"F"), 6u);
    EXPECT_TRUE(raised_.empty());
    EXPECT_EQ(Utf8(root_.fields[0].strings[0].value()), "R");
}

TEST_F(ValueCompiler, NumbersAreDecimalAndTruncatedToTheirField) {
    struct Case {
        const char* type;
        const char* value;
        unsigned long long expected;
    };
    const Case cases[] = {
        {"DWORD64", "4294967296", 0xFFFFFFFFull}, // 32-bit parsing saturates
        {"LONG64", "-1", 0x00000000FFFFFFFFull},  // and is zero-extended
        {"DWORD", "0x10", 0},                     // no hexadecimal
        {"DWORD", "-1", 0xFFFFFFFFull},
        {"LONG", "4294967295", 0xFFFFFFFFull},
        {"SHORT", "-2", 0xFFFE},
        {"WORD", "65537", 1},
        {"BYTE", "300", 44},
        {"BYTE", "99999999999", 0xFF}, // signed parsing saturates at 0x7FFFFFFF
        {"DWORD", "12abc", 12},
        {"WORD", "abc", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CompileOne(c.type, c.value), kSuccess) << c.type << " " << c.value;
        EXPECT_EQ(Number(u"F"), c.expected) << c.type << " " << c.value;
    }
}

TEST_F(ValueCompiler, ColorsAreWrittenAsRgb) {
    EXPECT_EQ(CompileOne("COLORREF", "RGB(255,0,128)"), kSuccess);
    EXPECT_EQ(Number(u"F"), 0x008000FFu);
    EXPECT_EQ(CompileOne("COLORREF", "RGB(256,1,513)"), kSuccess);
    EXPECT_EQ(Number(u"F"), 0x00010100u);
    EXPECT_EQ(CompileOne("COLORREF", "255"), kSuccess);
    EXPECT_EQ(Number(u"F"), 0u);
    EXPECT_EQ(Ids(), IdList{message::kValuesDoNotFit});
    EXPECT_EQ(CompileOne("COLORREF", "RGB(1,2,3),RGB(4,5,6),RGB(7,8,9)", 2), kSuccess);
    EXPECT_EQ(Bytes(root_, u"F"), (std::vector<BYTE>{1, 2, 3, 0, 4, 5, 6, 0}));
    EXPECT_EQ(Ids(), IdList{message::kValuesDoNotFit});
}

TEST_F(ValueCompiler, ArraysTakeCommaSeparatedListsAndIgnoreTheOverflow) {
    EXPECT_EQ(CompileOne("BYTE", "1,2,3,4,5", 4), kSuccess);
    EXPECT_EQ(Bytes(root_, u"F"), (std::vector<BYTE>{1, 2, 3, 4}));
    EXPECT_EQ(Ids(), IdList{message::kValuesDoNotFit});
    EXPECT_EQ(CompileOne("WORD", "=TVOT_EDITBOX,,2", 4), kSuccess);
    EXPECT_EQ(Bytes(root_, u"F"), (std::vector<BYTE>{7, 0, 0, 0, 2, 0, 0, 0}));
    EXPECT_TRUE(raised_.empty());
    EXPECT_EQ(CompileOne("DWORD", "5,6"), kSuccess); // a list for a single value
    EXPECT_EQ(Number(u"F"), 5u);
    EXPECT_EQ(Ids(), IdList{message::kValuesDoNotFit});
}

TEST_F(ValueCompiler, CharArraysHoldInlineText) {
    EXPECT_EQ(CompileOne("CHAR", "\"ab\"", 4), kSuccess);
    EXPECT_EQ(Bytes(root_, u"F"), (std::vector<BYTE>{'a', 0, 'b', 0, 0, 0, 0, 0}));
    EXPECT_EQ(CompileOne("CHAR", "\"abcd\"", 4), kSuccess); // no room for a terminator
    EXPECT_EQ(Bytes(root_, u"F"), (std::vector<BYTE>{'a', 0, 'b', 0, 'c', 0, 'd', 0}));
    EXPECT_TRUE(raised_.empty());
    EXPECT_EQ(CompileOne("CHAR", "\"a,bcdef\"", 4), kSuccess);
    EXPECT_EQ(Bytes(root_, u"F"), (std::vector<BYTE>{'a', 0, ',', 0, 'b', 0, 'c', 0}));
    EXPECT_EQ(Ids(), IdList{message::kValuesDoNotFit});
}

TEST_F(ValueCompiler, StringsAreCopiedWholeOrAsAList) {
    EXPECT_EQ(CompileOne("STRING", "\"Hello, world\""), kSuccess);
    ASSERT_EQ(root_.fields[1].strings.size(), 1u);
    EXPECT_EQ(Utf8(root_.fields[1].strings[0].value()), "Hello, world");
    EXPECT_EQ(CompileOne("STRING", "\"one,two,three\"", 2), kSuccess);
    ASSERT_EQ(root_.fields[1].strings.size(), 2u);
    EXPECT_EQ(Utf8(root_.fields[1].strings[1].value()), "two");
    EXPECT_EQ(Ids(), IdList{message::kValuesDoNotFit});
    EXPECT_EQ(CompileOne("STRING", "=NO_SUCH_MACRO"), kSuccess);
    EXPECT_EQ(Utf8(root_.fields[1].strings[0].value()), "=NO_SUCH_MACRO");
    EXPECT_EQ(Ids(), IdList{message::kMacroNotFound});
}

TEST_F(ValueCompiler, MissingAndEmptyValuesWarnUnlessTheFieldSaysOff) {
    EXPECT_EQ(Compile("*XPDSTRUCT: MINE {\n*FIELD: ON1 { *FIELDTYPE: DWORD }\n"
                      "*FIELD: ON2 { *FIELDTYPE: STRING }\n"
                      "*FIELD: OFF1 { *FIELDTYPE: DWORD\n*WARNWHENEMPTY: OFF }\n"
                      "*FIELD: OFF2 { *FIELDTYPE: DWORD\n*WARNWHENEMPTY: OFF }\n}\n"
                      "*MINE: R { *ON2: \"\"\n*OFF2: \"\" }\n",
                      u"MINE"),
              kSuccess);
    EXPECT_EQ(Ids(), (IdList{message::kNoValueForField, message::kEmptyValueForField}));
    EXPECT_EQ(Utf8(raised_[0].arguments[0]), "ON1");
    EXPECT_EQ(Utf8(raised_[0].arguments[1]), "MINE");
    EXPECT_EQ(Utf8(raised_[0].arguments[2]), "R");
    EXPECT_FALSE(root_.fields[2].strings[0].has_value());
}

TEST_F(ValueCompiler, ARootWithoutRecordsIsStoredOnlyWhenForced) {
    EXPECT_EQ(Compile("", u"UIPINFO"), kWarning);
    EXPECT_EQ(Ids(), IdList{message::kNoValuesForStructure});
    EXPECT_EQ(root_.recordCount, 0);

    EXPECT_EQ(Compile("", u"DOCUMENTFEATURE"), kSuccess);
    EXPECT_TRUE(raised_.empty());
    EXPECT_EQ(root_.recordCount, 1);
    EXPECT_EQ(root_.records, std::vector<BYTE>(root_.recordSize, 0));
    EXPECT_FALSE(root_.fields[0].strings[0].has_value());
}

TEST_F(ValueCompiler, RecordsForTheDriverReplaceTheOthers) {
    const char* text = "*PRINTERSETTINGS: GENERIC { *_VERSION: 1\n*_PDLTYPE: 1 }\n"
                       "*PRINTERSETTINGS: \"Model A\" { *_VERSION: 2\n*_PDLTYPE: 2 }\n"
                       "*PRINTERSETTINGS: \"Model A\" { *_VERSION: 3\n*_PDLTYPE: 3 }\n";
    EXPECT_EQ(Compile(text, u"PRINTERSETTINGS", u"Model A"), kSuccess);
    ASSERT_EQ(root_.recordCount, 2);
    EXPECT_EQ(Number(u"_VERSION", 0), 2u);
    EXPECT_EQ(Number(u"_VERSION", 1), 3u);
    EXPECT_EQ(Compile(text, u"PRINTERSETTINGS", u"Model B"), kSuccess);
    EXPECT_EQ(root_.recordCount, 3);
    EXPECT_EQ(Utf8(root_.fields[0].strings[1].value()), "Model A");
}

TEST_F(ValueCompiler, SubStructureRecordsAreSharedOutAmongTheirParents) {
    EXPECT_EQ(Compile("*UIPINFO: ONE { *UIPTYPE: 1\n*UIPMODE: 1\n*UIPPDL: 40\n"
                      "*SHEET: A { *DIALOGID: 100\n*CAPTION: \"First\" }\n"
                      "*SHEET: B { *DIALOGID: 101\n*CAPTION: \"Second\" } }\n"
                      "*UIPINFO: TWO { *UIPTYPE: 2\n*UIPMODE: 2\n*UIPPDL: 50\n"
                      "*SHEET: C { *DIALOGID: 102\n*CAPTION: \"Third\" } }\n",
                      u"UIPINFO"),
              kSuccess);
    EXPECT_TRUE(raised_.empty());
    ASSERT_EQ(root_.recordCount, 2);
    const Field* sheet = root_.FindField(u"SHEET");
    ASSERT_EQ(sheet->slices.size(), 2u);
    EXPECT_EQ(sheet->slices[0].first, 0);
    EXPECT_EQ(sheet->slices[0].end, 2);
    EXPECT_EQ(sheet->slices[1].first, 2);
    EXPECT_EQ(sheet->slices[1].end, 3);
    EXPECT_EQ(sheet->sub->recordCount, 3);
    EXPECT_EQ(Utf8(sheet->sub->FindField(u"CAPTION")->strings[2].value()), "Third");
    EXPECT_EQ(Bytes(*sheet->sub, u"DIALOGID", 1), (std::vector<BYTE>{101, 0}));
}

TEST_F(ValueCompiler, AParentRecordWithoutSubStructureRecordsStopsTheRoot) {
    EXPECT_EQ(Compile("*UIPINFO: ONE { *UIPTYPE: 1\n*UIPMODE: 1\n*UIPPDL: 40 }\n", u"UIPINFO"),
              kWarning);
    EXPECT_EQ(Ids(), IdList{message::kNoValuesForStructure});
    EXPECT_EQ(Utf8(raised_[0].arguments[0]), "SHEET");
}

TEST_F(ValueCompiler, DynamicValuesTakeTheTypeTheirReferenceNames) {
    referenceTypes_["OEMDEVMODE._NUP_PAGES"] = {u"", u"", u"", store::kTypeByte, 1, 1};
    EXPECT_EQ(Compile("*DOCUMENTFEATURE: NUP { *CONTROLID: 1\n*CONTROLTYPE: 6\n"
                      "*CONTROLTEXTID: 10\n*DMPUBID: 0\n*PROPLEVEL: 1\n"
                      "*REFERENCES: OEMDEVMODE._NUP_PAGES(DOCUMENTFEATURE.OPTION.VALUE)\n"
                      "*OPTION: ONE { *ITEMTEXTID: 11\n*VALUE: 1 }\n"
                      "*OPTION: FOUR { *ITEMTEXTID: 12\n*VALUE: 4 }\n"
                      "*OPTION: NONE { *ITEMTEXTID: 13 } }\n",
                      u"DOCUMENTFEATURE"),
              kSuccess);
    EXPECT_EQ(Ids(), IdList{message::kNoValueForField});
    const Field* option = root_.FindField(u"OPTION");
    const Field* value = option->sub->FindField(u"VALUE");
    ASSERT_EQ(value->dynamics.size(), 3u);
    ASSERT_TRUE(value->dynamics[1].has_value());
    EXPECT_EQ(Utf8(value->dynamics[1]->reference.value()), "OEMDEVMODE._NUP_PAGES");
    EXPECT_EQ(value->dynamics[1]->type, store::kTypeByte);
    EXPECT_EQ(value->dynamics[1]->bytes, std::vector<BYTE>{4});
    ASSERT_TRUE(value->dynamics[2].has_value()); // a missing value keeps zero
    EXPECT_EQ(value->dynamics[2]->bytes, std::vector<BYTE>{0});
}

TEST_F(ValueCompiler, ADynamicFieldWithoutReferenceKeepsNoValue) {
    EXPECT_EQ(Compile("*DOCUMENTFEATURE: F { *CONTROLID: 1\n*CONTROLTYPE: 6\n*CONTROLTEXTID: 10\n"
                      "*DMPUBID: 0\n*PROPLEVEL: 1\n*OPTION: ONE { *ITEMTEXTID: 11\n*VALUE: 1 } }\n",
                      u"DOCUMENTFEATURE"),
              kSuccess);
    EXPECT_EQ(Ids(), IdList{message::kNoReferenceForDynamicField});
    const Field* value = root_.FindField(u"OPTION")->sub->FindField(u"VALUE");
    EXPECT_FALSE(value->dynamics[0].has_value());
}

TEST_F(ValueCompiler, ACompiledRootLaysOutAsAnImage) {
    referenceTypes_["OEMDEVMODE._NUP_PAGES"] = {u"", u"", u"", store::kTypeByte, 1, 1};
    ASSERT_EQ(Compile("*DOCUMENTFEATURE: NUP { *CONTROLID: 1\n*CONTROLTYPE: 6\n"
                      "*CONTROLTEXTID: 10\n*CONTROLTEXT: \"Pages per sheet\"\n*DMPUBID: 0\n"
                      "*PROPLEVEL: 1\n"
                      "*REFERENCES: OEMDEVMODE._NUP_PAGES(DOCUMENTFEATURE.OPTION.VALUE)\n"
                      "*OPTION: ONE { *ITEMTEXTID: 11\n*VALUE: 1 }\n"
                      "*OPTION: TWO { *ITEMTEXTID: 12\n*VALUE: 2 } }\n",
                      u"DOCUMENTFEATURE"),
              kSuccess);
    const store::CompiledStructure image = ToImageInput(std::move(root_));
    EXPECT_EQ(Utf8(image.name), "DOCUMENTFEATURE");
    ASSERT_EQ(image.fields.size(), 12u);
    ASSERT_NE(image.fields.back().sub, nullptr);
    EXPECT_EQ(image.fields.back().sub->recordCount, 2);
    std::vector<BYTE> bytes;
    EXPECT_EQ(store::WriteImage(image, bytes), kSuccess);
    EXPECT_GT(bytes.size(), 2u * 160u);
    EXPECT_EQ(std::memcmp(bytes.data(), "MOLT", 4), 0);
}

} // namespace
