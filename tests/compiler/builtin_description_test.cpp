#include "compiler/builtin_description.h"

#include <gtest/gtest.h>
#include "compiler/compilation.h"
#include "compiler/structure_compiler.h"
#include "compiler/translation.h"
#include "sim/utf.h"
#include "store/field_type.h"

using namespace moltr::compiler;
using moltr::sim::Utf8;

namespace {

TEST(BuiltInDescription, Has485TokensStartingWithTheConstants) {
    Compilation compilation;
    AppendBuiltInDescription(compilation.tokens);
    EXPECT_EQ(compilation.tokens.Count(), 485u);
    const Token* first = compilation.tokens.First();
    EXPECT_EQ(Utf8(first->key), "*MACROS");
    EXPECT_EQ(Utf8(first->value), "CONSTANTS");
    EXPECT_EQ(first->level, 0);
    EXPECT_EQ(Utf8(first->next()->key), "TVOT_2STATES");
    EXPECT_EQ(first->next()->level, 1);
}

TEST(BuiltInDescription, Has216ConstantsInTheirOrder) {
    const std::vector<BuiltInConstant>& constants = BuiltInConstants();
    ASSERT_EQ(constants.size(), 216u);
    EXPECT_EQ(Utf8(constants.front().name), "TVOT_2STATES");
    EXPECT_EQ(Utf8(constants[14].name), "TVOT_TABCONTROL");
    EXPECT_EQ(Utf8(constants[14].value), "20");
    EXPECT_EQ(Utf8(constants.back().name), "PST_DUPLEXTYPE_MANUALBACK");
    EXPECT_EQ(Utf8(constants.back().value), "3");

    Compilation compilation;
    AppendBuiltInDescription(compilation.tokens);
    compilation.macros.Build(compilation.tokens);
    ASSERT_EQ(compilation.macros.macros().size(), 216u);
    EXPECT_EQ(Utf8(compilation.macros.Find(u"TVOT_COMBOBOX")->value), "6");
    EXPECT_EQ(Utf8(compilation.macros.Find(u"CPSUI_DOC_PRNFEATURES")->value), "2147484667");
    EXPECT_EQ(Utf8(compilation.macros.Find(u"HELP_NOHELP")->value), "65534");
    EXPECT_EQ(Utf8(compilation.macros.Find(u"PDLTYPE_PCL6_COLOR")->value), "52");
}

TEST(BuiltInDescription, NamesEveryPaperSizeFromLetterToPrcEnvelope10Rotated) {
    const std::vector<BuiltInConstant>& constants = BuiltInConstants();
    size_t first = 0;
    while (Utf8(constants[first].name) != "DM_MEDIASIZE_UNSPECIFIED") {
        ++first;
    }
    ++first;
    for (int paper = 1; paper <= 118; ++paper) {
        const BuiltInConstant& constant = constants[first + paper - 1];
        EXPECT_EQ(Utf8(constant.value), std::to_string(paper)) << Utf8(constant.name);
        EXPECT_EQ(Utf8(constant.name).rfind("DM_MEDIASIZE_", 0), 0u);
    }
    EXPECT_EQ(Utf8(constants[first].name), "DM_MEDIASIZE_LETTER");
    EXPECT_EQ(Utf8(constants[first + 8].name), "DM_MEDIASIZE_A4");
    EXPECT_EQ(Utf8(constants[first + 47].name), "DM_MEDIASIZE_RESERVED_48");
    EXPECT_EQ(Utf8(constants[first + 48].name), "DM_MEDIASIZE_RESERVED_49");
    EXPECT_EQ(Utf8(constants[first + 117].name), "DM_MEDIASIZE_PENV_10_ROTATED");
    EXPECT_EQ(Utf8(constants[first + 118].name), "DM_MEDIASOURCE_UNDEFINED");
}

// The definition of a built-in structure, compiled from the built-in tokens alone.
Structure Compiled(const char16_t* name) {
    Compilation compilation;
    AppendBuiltInDescription(compilation.tokens);
    ResourceModules modules;
    Translation translation(compilation, modules);
    Structure structure;
    EXPECT_EQ(CompileDefinition(compilation, translation, structure, name), kSuccess);
    EXPECT_EQ(compilation.messages.Worst(), kSuccess);
    return structure;
}

TEST(BuiltInDescription, DefinesThePrivateDevmodeAndThePrinterSettings) {
    const Structure devmode = Compiled(u"OEMDEVMODE");
    EXPECT_EQ(devmode.recordSize, 401u);
    EXPECT_TRUE(devmode.forceWrite);
    ASSERT_EQ(devmode.fields.size(), 27u);
    EXPECT_EQ(Utf8(devmode.fields[0].name), "TAG");
    const Field* text = devmode.FindField(u"_WMK_TEXT");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->type, moltr::store::kTypeChar);
    EXPECT_EQ(text->elementCount, 64);
    EXPECT_FALSE(text->warnWhenEmpty);
    EXPECT_TRUE(devmode.FindField(u"_VERSION")->warnWhenEmpty);
    EXPECT_EQ(devmode.FindField(u"_OEM_RESERVE")->offset, 401u - 64u);

    const Structure settings = Compiled(u"PRINTERSETTINGS");
    EXPECT_EQ(settings.recordSize, 128u);
    EXPECT_TRUE(settings.forceWrite);
}

TEST(BuiltInDescription, DefinesTheFeaturesWithTheirOptions) {
    for (const char16_t* name : {u"DOCUMENTFEATURE", u"PRINTERFEATURE"}) {
        const Structure feature = Compiled(name);
        EXPECT_TRUE(feature.forceWrite);
        ASSERT_EQ(feature.fields.size(), 12u);
        const Field& option = feature.fields.back();
        EXPECT_EQ(Utf8(option.name), "OPTION");
        EXPECT_EQ(option.type, moltr::store::kTypeXpdStruct);
        ASSERT_NE(option.sub, nullptr);
        EXPECT_FALSE(option.sub->forceWrite);
        EXPECT_EQ(option.sub->fields.size(), 11u);
        EXPECT_EQ(option.sub->FindField(u"VALUE")->type, moltr::store::kTypeDynamic);
    }
    const Structure ui = Compiled(u"UIPINFO");
    EXPECT_FALSE(ui.forceWrite);
    ASSERT_NE(ui.FindField(u"SHEET"), nullptr);
    EXPECT_EQ(ui.FindField(u"SHEET")->sub->recordSize, 8u + 2u + 8u + 4u);
    EXPECT_EQ(Compiled(u"PRNINFO").recordSize, 8u + 2u + 1u + 2u + 32u + 32u);
    EXPECT_EQ(Compiled(u"REGINFO").FindField(u"REGENTRY")->sub->fields.size(), 4u);
}

} // namespace
