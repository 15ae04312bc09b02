// Structure definitions: fields, types, array sizes, record layout and sub-structures.
#include "compiler/structure_compiler.h"

#include "store/field_type.h"
#include "xpd_fixture.h"

using namespace moltr::compiler;
using namespace moltr::compiler::test;
using moltr::sim::Utf8;
namespace store = moltr::store;

namespace {

class StructureCompiler : public XpdFixture {
protected:
    // Loads `text` after the built-in tokens and compiles the definition of `name`.
    int Define(std::string_view text, const char16_t* name) {
        Reset();
        structure_ = Structure();
        EXPECT_LT(Load(text), kError);
        return CompileDefinition(compilation(), services(), structure_, name);
    }

    Structure structure_;
};

TEST_F(StructureCompiler, AnExtraDevmodeFieldFollowsTheBuiltInOnes) {
    ASSERT_EQ(Define("*XPDSTRUCT: OEMDEVMODE\n{\n*FIELD: _EXTRA\n{\n*FIELDTYPE: DWORD\n}\n}\n",
                     u"OEMDEVMODE"),
              kSuccess);
    EXPECT_EQ(structure_.recordSize, 405u);
    const Field* extra = structure_.FindField(u"_EXTRA");
    ASSERT_NE(extra, nullptr);
    EXPECT_EQ(extra->offset, 401u);
    EXPECT_EQ(Utf8(structure_.fields.back().name), "_EXTRA");
    EXPECT_TRUE(raised_.empty());
}

TEST_F(StructureCompiler, AnArraySizeMayBeAMacro) {
    ASSERT_EQ(Define("*MACROS: SIZES\n{\nSZ: 4\n}\n"
                     "*XPDSTRUCT: MINE\n{\n*FIELD: LIST\n{\n*FIELDTYPE: WORD\n"
                     "*ARRAYSIZE: =SZ\n}\n}\n",
                     u"MINE"),
              kSuccess);
    const Field* list = structure_.FindField(u"LIST");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->elementCount, 4u);
    EXPECT_EQ(structure_.recordSize, 8u + 4 * 2);
    EXPECT_TRUE(raised_.empty());
}

TEST_F(StructureCompiler, FieldsArePackedWithoutAlignment) {
    ASSERT_EQ(Define("*XPDSTRUCT: MINE\n{\n*FORCEWRITE: ON\n"
                     "*FIELD: B { *FIELDTYPE: BYTE }\n"
                     "*FIELD: D { *FIELDTYPE: DWORD }\n"
                     "*FIELD: S { *FIELDTYPE: STRING\n*ARRAYSIZE: 2\n*WARNWHENEMPTY: OFF }\n"
                     "*FIELD: W { *FIELDTYPE: WORD\n*WARNWHENEMPTY: NO }\n}\n",
                     u"MINE"),
              kSuccess);
    EXPECT_TRUE(structure_.forceWrite);
    ASSERT_EQ(structure_.fields.size(), 5u);
    EXPECT_EQ(Utf8(structure_.fields[0].name), "TAG");
    EXPECT_EQ(structure_.fields[0].type, store::kTypeString);
    EXPECT_EQ(structure_.fields[1].offset, 8u);
    EXPECT_EQ(structure_.fields[2].offset, 9u);
    EXPECT_EQ(structure_.fields[3].offset, 13u);
    EXPECT_EQ(structure_.fields[3].elementCount, 2);
    EXPECT_FALSE(structure_.fields[3].warnWhenEmpty);
    EXPECT_TRUE(structure_.fields[4].warnWhenEmpty); // anything but OFF keeps the warnings
    EXPECT_EQ(structure_.recordSize, 31u);
}

TEST_F(StructureCompiler, DefinitionsOfOneNameAddUp) {
    ASSERT_EQ(Define("*XPDSTRUCT: TWICE { *FIELD: A { *FIELDTYPE: BYTE } }\n"
                     "*XPDSTRUCT: OTHER { *FIELD: X { *FIELDTYPE: BYTE } }\n"
                     "*XPDSTRUCT: TWICE { *FIELD: B { *FIELDTYPE: WORD } }\n",
                     u"TWICE"),
              kSuccess);
    ASSERT_EQ(structure_.fields.size(), 3u);
    EXPECT_EQ(Utf8(structure_.fields[2].name), "B");
    EXPECT_EQ(structure_.recordSize, 11u);
}

TEST_F(StructureCompiler, ArraySizesMustLieBetweenOneAnd65535) {
    for (const char* size : {"0", "65536", "-1", "ABC"}) {
        EXPECT_EQ(Define(std::string("*XPDSTRUCT: A { *FIELD: F { *FIELDTYPE: BYTE\n*ARRAYSIZE: ") +
                             size + " } }\n",
                         u"A"),
                  kError)
            << size;
        EXPECT_EQ(Ids(), IdList{message::kInvalidArraySize}) << size;
    }
    EXPECT_EQ(Define("*XPDSTRUCT: A { *FIELD: F { *FIELDTYPE: BYTE\n*ARRAYSIZE: 65535 } }\n", u"A"),
              kSuccess);
    EXPECT_EQ(structure_.recordSize, 8u + 65535u);
}

TEST_F(StructureCompiler, DynamicAndStructureFieldsTakeNoArraySize) {
    ASSERT_EQ(Define("*XPDSTRUCT: A {\n*FIELD: V { *FIELDTYPE: DYNAMIC\n*ARRAYSIZE: 3 }\n"
                     "*FIELD: SUB { *FIELDTYPE: XPDSTRUCT\n*ARRAYSIZE: 2 }\n"
                     "*XPDSTRUCT: SUB { *FIELD: X { *FIELDTYPE: BYTE } }\n}\n",
                     u"A"),
              kSuccess);
    EXPECT_EQ(Ids(), (IdList{message::kArraySizeNotAllowed, message::kArraySizeNotAllowed}));
    EXPECT_EQ(structure_.FindField(u"V")->elementCount, 1);
    EXPECT_EQ(structure_.FindField(u"SUB")->elementCount, 1);
    EXPECT_EQ(structure_.recordSize, 8u + 8u + 12u);
}

TEST_F(StructureCompiler, EveryFieldNeedsAKnownType) {
    EXPECT_EQ(Define("*XPDSTRUCT: A { *FIELD: F { *ARRAYSIZE: 2 } }\n", u"A"), kError);
    EXPECT_EQ(Ids(), IdList{message::kNoFieldType});
    EXPECT_EQ(Define("*XPDSTRUCT: A { *FIELD: F { *FIELDTYPE: FLOAT } }\n", u"A"), kError);
    EXPECT_EQ(Ids(), IdList{message::kInvalidFieldType});
    EXPECT_EQ(Define("*XPDSTRUCT: A { *FIELD: F { *FIELDTYPE: \"dword\" } }\n", u"A"), kError);
    EXPECT_EQ(Ids(), IdList{message::kInvalidFieldType});
}

TEST_F(StructureCompiler, NamesHaveAtMost47Characters) {
    const std::string longest(47, 'N');
    EXPECT_EQ(Define("*XPDSTRUCT: A { *FIELD: " + longest + " { *FIELDTYPE: BYTE } }\n", u"A"),
              kSuccess);
    EXPECT_EQ(Define("*XPDSTRUCT: A { *FIELD: " + longest + "N { *FIELDTYPE: BYTE } }\n", u"A"),
              kError);
    EXPECT_EQ(Ids(), (IdList{message::kFieldNameTooLong, message::kCannotInitializeField}));
    EXPECT_EQ(Define("", std::u16string(48, u'S').c_str()), kError);
    EXPECT_EQ(Ids(), IdList{message::kStructureNameTooLong});
    EXPECT_EQ(Utf8(raised_[0].arguments[1]), "47");
}

TEST_F(StructureCompiler, AStructureWithoutFieldsIsMissing) {
    EXPECT_EQ(Define("", u"NOWHERE"), kError);
    EXPECT_EQ(Ids(), IdList{message::kStructureDefinitionMissing});
    EXPECT_EQ(Define("*XPDSTRUCT: EMPTY { *FORCEWRITE: ON }\n", u"EMPTY"), kError);
    EXPECT_EQ(Ids(), IdList{message::kStructureDefinitionMissing});
}

TEST_F(StructureCompiler, ASubStructureIsDefinedInsideItsParentAfterItsField) {
    ASSERT_EQ(Define("*XPDSTRUCT: P {\n*FIELD: K { *FIELDTYPE: XPDSTRUCT }\n"
                     "*XPDSTRUCT: K { *FIELD: X { *FIELDTYPE: WORD } }\n"
                     "*FIELD: LAST { *FIELDTYPE: BYTE }\n"
                     "*XPDSTRUCT: K { *FIELD: Y { *FIELDTYPE: BYTE } }\n}\n",
                     u"P"),
              kSuccess);
    const Field* sub = structure_.FindField(u"K");
    ASSERT_NE(sub, nullptr);
    ASSERT_NE(sub->sub, nullptr);
    EXPECT_EQ(sub->elementSize, 12);
    EXPECT_EQ(sub->sub->fields.size(), 3u); // TAG, X and Y: every definition in the block adds
    EXPECT_EQ(structure_.FindField(u"LAST")->offset, 20u);

    EXPECT_EQ(Define("*XPDSTRUCT: K { *FIELD: X { *FIELDTYPE: WORD } }\n"
                     "*XPDSTRUCT: P { *FIELD: K { *FIELDTYPE: XPDSTRUCT } }\n",
                     u"P"),
              kError);
    EXPECT_EQ(Ids(), IdList{message::kStructureDefinitionMissing});
}

TEST_F(StructureCompiler, NestingBeyondTheLookupCursorsFailsCleanly) {
    std::string text;
    const int depth = 40;
    for (int level = 0; level < depth; ++level) {
        text += "*XPDSTRUCT: S" + std::to_string(level) + " {\n";
        text += "*FIELD: S" + std::to_string(level + 1) + " { *FIELDTYPE: XPDSTRUCT }\n";
    }
    text += "*XPDSTRUCT: S" + std::to_string(depth) + " { *FIELD: X { *FIELDTYPE: BYTE } }\n";
    text += std::string(depth, '}') + "\n";
    EXPECT_EQ(Define(text, u"S0"), kInternalError);
    EXPECT_EQ(Ids(), IdList{message::kNoTokenSlots});
    // The compile can go on with other structures afterwards.
    Structure devmode;
    EXPECT_EQ(CompileDefinition(compilation(), services(), devmode, u"OEMDEVMODE"), kSuccess);
}

} // namespace
