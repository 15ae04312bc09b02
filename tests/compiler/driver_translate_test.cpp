// Translation of values through macros and the resource modules: aliases, the order in which
// modules are asked, and the order of the languages a module's strings are looked up in.
#include "driver_test_printer.h"

#include "compiler/translation.h"

namespace moltr::test {
namespace {

const std::string kPath = std::string(kFolder) + "texts.xpd";
const std::string kFirst = std::string(kFolder) + "first.dll";
const std::string kSecond = std::string(kFolder) + "second.dll";

// A description whose record TEXTS has one STRING field per value given (T0, T1, ...), after
// `declarations`.
std::string Description(const std::string& declarations, const std::vector<std::string>& values) {
    std::string text = declarations + "*XPDSTRUCT: TEXTS\n{\n";
    for (size_t i = 0; i < values.size(); ++i) {
        text += "    *FIELD: T" + std::to_string(i) + " { *FIELDTYPE: STRING }\n";
    }
    text += "}\n*TEXTS: DEFAULT\n{\n";
    for (size_t i = 0; i < values.size(); ++i) {
        text += "    *T" + std::to_string(i) + ": " + values[i] + "\n";
    }
    return text + "}\n";
}

class Translate : public ::testing::Test {
protected:
    Translate() : printer_((WriteDescription(kPath, "*X: 1\n"), HostFile(kPath))) {
        WriteStringModule(kFirst, {{1033, {{5, u"first five"}, {6, u"first six"}}}});
        WriteStringModule(kSecond, {{1033, {{5, u"second five"}, {7, u"second seven"}}}});
    }

    // Compiles and answers the stored texts T0, T1, ...
    std::vector<std::string> Texts(const std::string& declarations,
                                   const std::vector<std::string>& values) {
        WriteDescription(kPath, Description(declarations, values));
        EXPECT_LT(printer_.Compile(kPath), 2)
            << ::testing::PrintToString(printer_.MessagesOfClass(2));
        std::vector<std::string> texts;
        for (size_t i = 0; i < values.size(); ++i) {
            texts.push_back(printer_.Text(u"TEXTS", u"TEXTS", sim::Utf16("T" + std::to_string(i))));
        }
        return texts;
    }

    sim::TestMachine machine_;
    TestPrinter printer_;
};

const std::string kTwoModules = "*RESOURCEDLL: \"" + kFirst +
                                "\"\n{\n    *ALIAS: ONE\n}\n"
                                "*RESOURCEDLL: \"" +
                                kSecond + "\"\n";

TEST_F(Translate, AliasSelectsTheModule) {
    EXPECT_EQ((std::vector<std::string>{"first five", "second five", "second seven"}),
              Texts(kTwoModules, {"ONE.5", "RESDLL2.5", "RESDLL2.7"}));
}

TEST_F(Translate, MissingStringWithAliasWarnsAndKeepsTheValue) {
    EXPECT_EQ((std::vector<std::string>{"ONE.7", "UNKNOWN.5", "ONE.0", "ONE.65536"}),
              Texts(kTwoModules, {"ONE.7", "UNKNOWN.5", "ONE.0", "ONE.65536"}));
    EXPECT_TRUE(printer_.Raised(61501));
    EXPECT_FALSE(printer_.Raised(61502));
}

TEST_F(Translate, RcKeysAskEveryModuleInDeclarationOrder) {
    std::string text = kTwoModules + "*XPDSTRUCT: TEXTS\n{\n"
                                     "    *FIELD: RCA { *FIELDTYPE: STRING }\n"
                                     "    *FIELD: RCB { *FIELDTYPE: STRING }\n"
                                     "    *FIELD: RCC { *FIELDTYPE: STRING }\n"
                                     "    *FIELD: PLAIN { *FIELDTYPE: STRING }\n"
                                     "}\n*TEXTS: DEFAULT\n{\n"
                                     "    *RCA: 5\n    *RCB: 7\n    *RCC: 9\n    *PLAIN: 5\n}\n";
    WriteDescription(kPath, text);
    printer_.Compile(kPath);
    EXPECT_EQ("first five", printer_.Text(u"TEXTS", u"TEXTS", u"RCA"));
    EXPECT_EQ("second seven", printer_.Text(u"TEXTS", u"TEXTS", u"RCB"));
    EXPECT_EQ("9", printer_.Text(u"TEXTS", u"TEXTS", u"RCC"));
    EXPECT_TRUE(printer_.Raised(61502));
    EXPECT_EQ("5", printer_.Text(u"TEXTS", u"TEXTS", u"PLAIN")) << "only *RC keys load numbers";
}

TEST_F(Translate, MacrosLoadTheirStringOnce) {
    std::string macros = kTwoModules + "*MACROS: TEXTS\n{\n    GREETING: ONE.6\n    PLAIN: 42\n}\n";
    EXPECT_EQ((std::vector<std::string>{"first six", "first six", "42", "=MISSING"}),
              Texts(macros, {"=GREETING", "=GREETING", "=PLAIN", "=MISSING"}));
    EXPECT_TRUE(printer_.Raised(61503));
}

TEST_F(Translate, WithoutModulesValuesStayAsTheyAre) {
    EXPECT_EQ((std::vector<std::string>{"RESDLL1.5", "ONE.5"}), Texts("", {"RESDLL1.5", "ONE.5"}));
    EXPECT_FALSE(printer_.Raised(61501));
    EXPECT_FALSE(printer_.Raised(61502));
}

TEST_F(Translate, MissingModuleEndsTheCompile) {
    WriteDescription(kPath, Description("*RESOURCEDLL: \"C:\\Windows\\Temp\\none.dll\"\n", {"X"}));
    EXPECT_EQ(2, printer_.Compile(kPath));
    EXPECT_TRUE(printer_.Raised(61805));
    EXPECT_TRUE(printer_.stored.empty());
}

TEST_F(Translate, FeatureOptionsDeclareModules) {
    std::string feature = "*FEATURE: RESDLL\n{\n    *OPTION: UI\n    {\n        *NAME: \"" +
                          kSecond + "\"\n    }\n}\n";
    EXPECT_EQ((std::vector<std::string>{"second seven"}), Texts(feature, {"RESDLL.UI.7"}));
}

// Languages: the module's INI UIPLANG (only for ...URS.DLL modules), then the user's, then the
// system's UI language, then the version's languages, then 0.
TEST(TranslateLanguages, UserLanguageComesBeforeTheSystemLanguage) {
    sim::MachineConfig config;
    config.userUiLanguage = 1031;
    config.systemUiLanguage = 1036;
    sim::TestMachine machine(config);
    WriteStringModule(kFirst,
                      {{1033, {{5, u"five"}}}, {1031, {{5, u"fünf"}}}, {1036, {{5, u"cinq"}}}});
    WriteDescription(kPath, Description("*RESOURCEDLL: \"" + kFirst + "\"\n", {"RESDLL1.5"}));
    TestPrinter printer(HostFile(kPath));
    printer.Compile(kPath);
    EXPECT_EQ("fünf", printer.Text(u"TEXTS", u"TEXTS", u"T0"));
}

TEST(TranslateLanguages, FirstLanguageWithTheBlockDecides) {
    sim::MachineConfig config;
    config.userUiLanguage = 1031;
    config.systemUiLanguage = 1036;
    sim::TestMachine machine(config);
    WriteStringModule(kFirst, {{1036, {{6, u"six"}}}, {1033, {{5, u"five"}, {6, u"SIX"}}}});
    WriteDescription(kPath,
                     Description("*RESOURCEDLL: \"" + kFirst + "\"\n", {"RESDLL1.5", "RESDLL1.6"}));
    TestPrinter printer(HostFile(kPath));
    printer.Compile(kPath);
    // The system language's block 1 has no string 5: the module has none, whatever 1033 holds.
    EXPECT_EQ("RESDLL1.5", printer.Text(u"TEXTS", u"TEXTS", u"T0"));
    EXPECT_TRUE(printer.Raised(61501) || printer.Raised(61502));
    EXPECT_EQ("six", printer.Text(u"TEXTS", u"TEXTS", u"T1"));
}

TEST(TranslateLanguages, SettingsFileLanguageComesFirstForUrsModules) {
    sim::TestMachine machine;
    std::string module = std::string(kFolder) + "MOLTRURS.DLL";
    WriteStringModule(module, {{1033, {{5, u"five"}}}, {1040, {{5, u"cinque"}}}});
    std::ofstream(HostFile(std::string(kFolder) + "MOLTR.INI"))
        << "[UIPSETTINGS]\r\nUIPLANG=1040\r\n";
    WriteDescription(kPath, Description("*RESOURCEDLL: \"" + module + "\"\n", {"RESDLL1.5"}));
    TestPrinter printer(HostFile(kPath));
    printer.Compile(kPath);
    EXPECT_EQ("cinque", printer.Text(u"TEXTS", u"TEXTS", u"T0"));
}

TEST(StringIdOf, AcceptsExactDecimalIdsOnly) {
    EXPECT_EQ(1u, compiler::StringIdOf(u"1"));
    EXPECT_EQ(65535u, compiler::StringIdOf(u"65535"));
    for (const char16_t* text : {u"", u"0", u"01", u"65536", u"-1", u"1a", u"123456"}) {
        EXPECT_EQ(0u, compiler::StringIdOf(text)) << sim::Utf8(text);
    }
}

} // namespace
} // namespace moltr::test
