// Exclusions and injections, chosen by the simulated Windows version.
#include "compiler/os_selection.h"

#include "compiler/structure_compiler.h"
#include "xpd_fixture.h"

using namespace moltr::compiler;
using namespace moltr::compiler::test;
using moltr::sim::Utf8;

namespace {

class OsSelection : public XpdFixture {
protected:
    void RunOn(DWORD major, DWORD minor) {
        moltr::sim::MachineConfig config = moltr::sim::CurrentConfig();
        config.version.major = major;
        config.version.minor = minor;
        ASSERT_TRUE(moltr::sim::UpdateConfig(config));
    }

    // The record size of OEMDEVMODE after the exclusions of `text` on the current version.
    DWORD DevmodeSizeAfterExclusions(std::string_view text) {
        Reset();
        EXPECT_EQ(Load(text), kSuccess);
        ApplyExclusions(compilation());
        Structure devmode;
        EXPECT_EQ(CompileDefinition(compilation(), services(), devmode, u"OEMDEVMODE"), kSuccess);
        return devmode.recordSize;
    }
};

constexpr const char* kExcludeBookletOnXp =
    "*EXCLUDE: WINXP { *EXCLUDEOPTION: BOOKLET { *EXCLUDETYPE: FIELD\n"
    "*EXCLUDENAME: _BOOKLET } }\n";

TEST_F(OsSelection, AnExclusionForAllDisablesTheFirstTokenAnywhere) {
    RunOn(6, 0);
    EXPECT_EQ(DevmodeSizeAfterExclusions("*EXCLUDE: ALL { *EXCLUDEOPTION: X { *EXCLUDETYPE: FIELD\n"
                                         "*EXCLUDENAME: _BOOKLET } }\n"),
              400u);
    const Token* disabled = compilation().tokens.Find(nullptr, u"xFIELD", kAnyLevel, u"_BOOKLET");
    ASSERT_NE(disabled, nullptr);
    EXPECT_EQ(compilation().tokens.Find(nullptr, u"*FIELD", kAnyLevel, u"_BOOKLET"), nullptr);
}

TEST_F(OsSelection, ExclusionsApplyOnlyToTheVersionTheyName) {
    const std::pair<DWORD, DWORD> versions[] = {{5, 0}, {5, 1}, {5, 2}, {6, 0}};
    const char* names[] = {"WIN2K", "WINXP", "WIN2003", "WINLONGHORN"};
    for (size_t named = 0; named < 4; ++named) {
        const std::string text = std::string("*EXCLUDE: ") + names[named] +
                                 " { *EXCLUDEOPTION: X { *EXCLUDETYPE: *FIELD\n"
                                 "*EXCLUDENAME: _BOOKLET } }\n";
        for (size_t running = 0; running < 4; ++running) {
            RunOn(versions[running].first, versions[running].second);
            EXPECT_EQ(DevmodeSizeAfterExclusions(text), named == running ? 400u : 401u)
                << names[named] << " on " << names[running];
            EXPECT_TRUE(raised_.empty());
        }
    }
}

TEST_F(OsSelection, OtherVersionsMakeNoExclusionsAndWarn) {
    for (const auto& version : {std::pair<DWORD, DWORD>{6, 1}, {10, 0}, {5, 3}}) {
        RunOn(version.first, version.second);
        EXPECT_EQ(DevmodeSizeAfterExclusions(std::string(kExcludeBookletOnXp) +
                                             "*EXCLUDE: ALL { *EXCLUDEOPTION: X { "
                                             "*EXCLUDETYPE: FIELD\n*EXCLUDENAME: _NUP_ORDER } }\n"),
                  401u);
        EXPECT_EQ(Ids(), IdList{message::kUnknownOsForExclusions});
    }
}

TEST_F(OsSelection, AnExclusionNeedsBothTypeAndName) {
    RunOn(5, 1);
    EXPECT_EQ(
        DevmodeSizeAfterExclusions("*EXCLUDE: WINXP { *EXCLUDEOPTION: X { *EXCLUDETYPE: FIELD }\n"
                                   "*EXCLUDEOPTION: Y { *EXCLUDENAME: _BOOKLET } }\n"),
        401u);
}

constexpr const char* kTarget = "*XPDSTRUCT: MINE {\n*FIELD: A { *FIELDTYPE: BYTE }\n}\n"
                                "*END: MARK\n";

TEST_F(OsSelection, InjectedTokensGoBehindTheirTargetInReverseOrder) {
    RunOn(5, 2);
    Load(std::string(kTarget) + "*INJECTION: WIN2003 { *INJECTOPTION: X { *KEY: XPDSTRUCT\n"
                                "*VALUE: MINE\n*INJECTINFO: ONE { *FIELD: B\n*FIELD: C } } }\n");
    EXPECT_EQ(ApplyInjections(compilation()), kSuccess);
    const Strings tokens = SourceTokens();
    EXPECT_EQ(Strings(tokens.begin(), tokens.begin() + 6),
              (Strings{"*XPDSTRUCT=MINE@0", "*FIELD=C@1", "*FIELD=B@1", "*FIELD=A@1",
                       "*FIELDTYPE=BYTE@2", "*END=MARK@0"}));
}

TEST_F(OsSelection, AnInjectionIntoAnExistingChildDescends) {
    RunOn(5, 0);
    Load(std::string(kTarget) +
         "*INJECTION: WIN2K { *INJECTOPTION: X { *KEY: *XPDSTRUCT\n*VALUE: MINE\n"
         "*INJECTINFO: ONE { *FIELD: B { *FIELDTYPE: NOTCOPIED } }\n"
         "*INJECTINFO: TWO { *FIELD: B { *FIELDTYPE: WORD }\n"
         "*FIELD: A { *WARNWHENEMPTY: OFF } } } }\n");
    EXPECT_EQ(ApplyInjections(compilation()), kSuccess);
    Structure mine;
    ASSERT_EQ(CompileDefinition(compilation(), services(), mine, u"MINE"), kSuccess);
    ASSERT_EQ(mine.fields.size(), 3u);
    EXPECT_EQ(Utf8(mine.fields[1].name), "B");
    EXPECT_EQ(mine.fields[1].type, moltr::store::kTypeWord);
    EXPECT_FALSE(mine.fields[2].warnWhenEmpty);
}

TEST_F(OsSelection, CopiesForTheLastTokenFollowInTheirOwnOrder) {
    RunOn(6, 0);
    Load("*INJECTION: ALL { *INJECTOPTION: X { *KEY: LAST\n*VALUE: ONE\n"
         "*INJECTINFO: I { *A: 1\n*B: 2 } } }\n*LAST: ONE\n");
    EXPECT_EQ(ApplyInjections(compilation()), kSuccess);
    const Strings tokens = SourceTokens();
    EXPECT_EQ(Strings(tokens.end() - 3, tokens.end()),
              (Strings{"*LAST=ONE@0", "*A=1@1", "*B=2@1"}));
}

TEST_F(OsSelection, OtherVersionsInjectNothingAndWarn) {
    RunOn(6, 1);
    Load(std::string(kTarget) + "*INJECTION: ALL { *INJECTOPTION: X { *KEY: XPDSTRUCT\n"
                                "*VALUE: MINE\n*INJECTINFO: ONE { *FIELD: B } } }\n");
    const size_t count = compilation().tokens.Count();
    EXPECT_EQ(ApplyInjections(compilation()), kWarning);
    EXPECT_EQ(Ids(), IdList{message::kUnknownOsForInjections});
    EXPECT_EQ(compilation().tokens.Count(), count);
}

} // namespace
