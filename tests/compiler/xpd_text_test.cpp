// The text passes of the tokenizer: locating the XPD text, the character pass with its syntax
// messages and the token pass.
#include "xpd_fixture.h"

using namespace moltr::compiler;
using namespace moltr::compiler::test;
using moltr::sim::Utf8;

namespace {

class XpdText : public XpdFixture {
protected:
    // The source tokens of `text`, which must tokenize without a message of class 2 or more.
    Strings TokensOf(std::string_view text, bool gpdInclude = false) {
        Reset();
        EXPECT_LT(Load(text, false, gpdInclude), kError);
        return SourceTokens(0);
    }

    // The one message that `text` raises, as "id line argument".
    std::string OnlyMessage(std::string_view text) {
        Reset();
        EXPECT_EQ(Load(text, false), kError);
        EXPECT_EQ(raised_.size(), 1u);
        if (raised_.empty()) {
            return {};
        }
        const CompileMessage& message = raised_.front();
        EXPECT_EQ(Utf8(message.file), "test.xpd");
        std::string text_ = std::to_string(message.id) + " " + std::to_string(message.line);
        if (message.arguments.size() > 2) {
            text_ += " " + Utf8(message.arguments[2]);
        }
        return text_;
    }
};

TEST_F(XpdText, KeywordsAndPlainValuesAreUpperCasedAndLoseTheirSpaces) {
    EXPECT_EQ(TokensOf("*Field: My Value\n"), Strings{"*FIELD=MYVALUE@0"});
    EXPECT_EQ(TokensOf("*Caption: \"My Value\"\n"), Strings{"*CAPTION=My Value@0"});
}

TEST_F(XpdText, QuotedMacroAndSingleQuotedValuesKeepTheirCase) {
    EXPECT_EQ(TokensOf("*A: =myMacro\n*B: 'Quoted'\n*C: \"say \"\"hi\"\"\"\nplain: x\n"),
              (Strings{"*A==myMacro@0", "*B='Quoted'@0", "*C=say hi@0", "plain=X@0"}));
}

TEST_F(XpdText, AColonInsideAValueBelongsToIt) {
    EXPECT_EQ(TokensOf("*PATH: \"C:\\dir\\file.xpd\"\n"), Strings{"*PATH=C:\\dir\\file.xpd@0"});
}

TEST_F(XpdText, BackslashAndPlusContinueTheLineBefore) {
    EXPECT_EQ(TokensOf("*A: ab\\\ncd\n*B: ef\n+gh\n*C: 1+2\n"),
              (Strings{"*A=ABCD@0", "*B=EFGH@0", "*C=1+2@0"}));
}

TEST_F(XpdText, BlocksGiveTheirTokensTheNextLevel) {
    EXPECT_EQ(TokensOf("*XPDSTRUCT: UIPINFO\n{\n  *FIELD: X\n  {\n    *FIELDTYPE: DWORD\n  }\n"
                       "  *FIELD: Y { *FIELDTYPE: WORD }\n}\n*NEXT: 1\n"),
              (Strings{"*XPDSTRUCT=UIPINFO@0", "*FIELD=X@1", "*FIELDTYPE=DWORD@2", "*FIELD=Y@1",
                       "*FIELDTYPE=WORD@2", "*NEXT=1@0"}));
}

TEST_F(XpdText, TwoBlocksInARowAddAnExtraToken) {
    EXPECT_EQ(TokensOf("*A: 1\n{\n*B: 2\n}\n{\n*C: 3\n}\n"),
              (Strings{"*A=1@0", "*B=2@1", "EXTRA=TOKEN@1", "*C=3@1"}));
}

TEST_F(XpdText, CommentsEmptyLinesAndTabsVanish) {
    EXPECT_EQ(TokensOf("*% a comment\n\n\t*A:\t1\n*% another\n\n*B: 2\n"),
              (Strings{"*A=1@0", "*B=2@0"}));
}

TEST_F(XpdText, TheEndOfTheTextEndsItsLastLine) {
    EXPECT_EQ(TokensOf("*A: 1\n*B: 2"), (Strings{"*A=1@0", "*B=2@0"}));
    EXPECT_EQ(TokensOf(""), Strings{});
}

TEST_F(XpdText, OneOpeningBraceTooManyIsNoError) {
    EXPECT_EQ(TokensOf("*A: 1\n{\n*B: 2\n"), (Strings{"*A=1@0", "*B=2@1"}));
    EXPECT_TRUE(raised_.empty());
}

TEST_F(XpdText, ANulEndsTheTextOfItsToken) {
    EXPECT_EQ(TokensOf(std::string_view("*AB\0C: 1\0 2\n", 12)), Strings{"*AB=1@0"});
}

TEST_F(XpdText, EverySyntaxErrorIsReportedWithItsLine) {
    EXPECT_EQ(OnlyMessage("*A: 1\n*NOCOLON\n"), "61901 2 :");
    EXPECT_EQ(OnlyMessage("*A: \"open\n*B: 2\n"), "61901 1 \"");
    EXPECT_EQ(OnlyMessage("*A: 1\n*B: \"open"), "61902 2");
    EXPECT_EQ(OnlyMessage("*A: 1\n*% comment without line end"), "61902 2");
}

TEST_F(XpdText, ALineMayNotEndInAnOperator) {
    for (const char* line : {"*A: 1*\n", "*A: 1+\n", "*A: 1-\n", "*A: 1/\n"}) {
        EXPECT_EQ(OnlyMessage(line), "61903 1") << line;
    }
}

TEST_F(XpdText, ValuesMustNotBeMissing) {
    EXPECT_EQ(OnlyMessage("*A: 1\n*B:\n"), "61904 2");
    EXPECT_EQ(OnlyMessage("*A: 1\n*B: {\n*C: 1\n}\n"), "61906 2");
}

TEST_F(XpdText, OneClosingBraceTooManyIsAnError) {
    EXPECT_EQ(OnlyMessage("*A: 1\n{\n*B: 2\n}\n}\n"), "61905 5");
}

TEST_F(XpdText, AFileWithSyntaxErrorsIsReadToTheEndAndGivesNoTokens) {
    EXPECT_EQ(Load("*A\n*B: 1\n*C:\n*D: 2\n}\n", false), kError);
    EXPECT_EQ(Ids(),
              (IdList{message::kMissingBeforeNewLine, message::kMissingTokenValueBeforeNewLine,
                      message::kIllegalEndSectionMarker}));
    EXPECT_EQ(compilation().tokens.Count(), 0u);
}

TEST_F(XpdText, IncludedGpdFilesGiveLinesWithoutValuesAnEmptyOne) {
    EXPECT_EQ(TokensOf("*Include\n*Name:\n*IgnoreBlock\n{\n*X: 1\n}\n*Q: \"to the end\n", true),
              (Strings{"*INCLUDE=@0", "*NAME=@0", "*IGNOREBLOCK=@0", "*X=1@1", "*Q=to the end@0"}));
    EXPECT_TRUE(raised_.empty());
}

TEST_F(XpdText, TheEmbeddedBlockLiesBetweenTheTagLines) {
    const std::string gpd = "*GPDFileVersion: \"1.0\"\r\n"
                            "*% XPD BEGIN - DO NOT REMOVE THIS TAG\r\n"
                            "*IgnoreBlock\r\n"
                            "{\r\n"
                            "*A: 1\r\n"
                            "}\r\n"
                            "*% XPD END - DO NOT REMOVE THIS TAG\r\n"
                            "*ModelName: \"X\"\r\n";
    EXPECT_EQ(LocateXpdText(gpd), "*A: 1\r\n");
}

TEST_F(XpdText, AGpdFileWithAMissingMarkerIsReadWhole) {
    const std::string noBlock = "*% XPD BEGIN - DO NOT REMOVE THIS TAG\r\n{\r\n*A: 1\r\n}\r\n"
                                "*% XPD END - DO NOT REMOVE THIS TAG\r\n";
    EXPECT_EQ(LocateXpdText(noBlock), noBlock);
    const std::string noEnd = "*% XPD BEGIN - DO NOT REMOVE THIS TAG\r\n*IgnoreBlock\r\n{\r\n"
                              "*A: 1\r\n}\r\n";
    EXPECT_EQ(LocateXpdText(noEnd), noEnd);
    const std::string noBrace = "*% XPD BEGIN - DO NOT REMOVE THIS TAG\r\n*IgnoreBlock\r\n{\r\n"
                                "*A: 1\r\n*% XPD END - DO NOT REMOVE THIS TAG\r\n";
    EXPECT_EQ(LocateXpdText(noBrace), noBrace);
    EXPECT_EQ(LocateXpdText(""), "");
}

} // namespace
