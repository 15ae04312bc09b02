// The universal driver's GPD reader: preprocessing, value macros, features and options, commands,
// switches, and the error it gives for each kind of bad text.
#include "src/unidrv/gpd_expression.h"
#include "src/unidrv/gpd_reader.h"

#include "sim/machine.h"
#include "sim/utf.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <filesystem>
#include <fstream>
#include <map>

namespace {

using namespace moltr::unidrv;

GpdReadResult Read(const std::string& text,
                   const std::map<std::string, std::string>& includes = {}) {
    return ReadGpdText(text, "TEST.GPD", [&](const std::string& name, std::string* content) {
        auto found = includes.find(name);
        if (found == includes.end()) {
            return false;
        }
        *content = found->second;
        return true;
    });
}

const GpdAttribute* Global(const GpdReadResult& result, const char* name) {
    return FindAttribute(result.model.global, name);
}

std::string OptionNames(const GpdFeature& feature) {
    std::string names;
    for (const GpdOption& option : feature.options) {
        names += (names.empty() ? "" : ",") + option.name;
    }
    return names;
}

TEST(GpdPreprocessor, IfdefTakesTheFirstBranchWhoseSymbolIsDefined) {
    GpdReadResult result = Read("*Define: B\n"
                                "*Ifdef: A\n*Pick: 1\n"
                                "*Elseif: B\n*Pick: 2\n"
                                "*Elseif: B\n*Pick: 3\n"
                                "*Else:\n*Pick: 4\n"
                                "*Endif: A\n");
    ASSERT_TRUE(result.ok) << result.error.Text();
    ASSERT_EQ(result.model.global.attributes.size(), 1u);
    EXPECT_EQ(Global(result, "*Pick")->value, "2");
}

TEST(GpdPreprocessor, NestedConditionalsInsideAnInactiveBranchStayInactive) {
    GpdReadResult result = Read("*Define: INNER\n"
                                "*Ifdef: OUTER\n*Ifdef: INNER\n*Pick: 1\n*Else\n*Pick: 2\n*Endif\n"
                                "*Else\n*Pick: 3\n*Endif\n");
    ASSERT_TRUE(result.ok) << result.error.Text();
    ASSERT_EQ(result.model.global.attributes.size(), 1u);
    EXPECT_EQ(Global(result, "*Pick")->value, "3");
}

TEST(GpdPreprocessor, DefinesInAnInactiveBranchAndUndefineTakeEffectInOrder) {
    GpdReadResult result = Read("*Ifdef: NOWHERE\n*Define: HIDDEN\n*Endif\n"
                                "*Define: GONE\n*Undefine: GONE\n*Define: KEPT\n"
                                "*Ifdef: HIDDEN\n*A: 1\n*Endif\n*Ifdef: GONE\n*B: 1\n*Endif\n");
    ASSERT_TRUE(result.ok) << result.error.Text();
    EXPECT_EQ(result.model.symbols, std::vector<std::string>{"KEPT"});
    EXPECT_TRUE(result.model.global.attributes.empty());
}

TEST(GpdPreprocessor, CommentsEndTheLineExceptInsideQuotes) {
    GpdReadResult result = Read("*% a comment line\n*ModelName: \"A *% B\" *% trailing\n");
    ASSERT_TRUE(result.ok) << result.error.Text();
    EXPECT_EQ(Global(result, "*ModelName")->value, "\"A *% B\"");
}

TEST(GpdPreprocessor, StandardNamesAreKnownAndOtherIncludesAreRead) {
    GpdReadResult result = Read("*Include: \"StdNames.gpd\"\n*Include: \"PARTS.GPD\"\n*After: 2\n",
                                {{"PARTS.GPD", "*Define: FROM_PART\n*Part: 1\n"}});
    ASSERT_TRUE(result.ok) << result.error.Text();
    EXPECT_TRUE(result.model.standardNames);
    EXPECT_EQ(result.model.symbols, std::vector<std::string>{"FROM_PART"});
    ASSERT_EQ(result.model.global.attributes.size(), 2u);
    EXPECT_EQ(result.model.global.attributes[0].origin.file, "PARTS.GPD");
    EXPECT_EQ(result.model.global.attributes[0].origin.line, 2);
    EXPECT_EQ(result.model.global.attributes[1].origin.file, "TEST.GPD");
    EXPECT_EQ(result.model.global.attributes[1].origin.line, 3);
}

TEST(GpdPreprocessor, AnErrorInAnIncludedFileNamesThatFile) {
    GpdReadResult result = Read("*Include: PARTS.GPD\n", {{"PARTS.GPD", "\n\n*Endif\n"}});
    ASSERT_FALSE(result.ok);
    EXPECT_EQ(result.error.Text(), "PARTS.GPD(3): *Elseif, *Else or *Endif without *Ifdef");
}

TEST(GpdPreprocessor, AFileIncludingItselfStopsAtTheDepthLimit) {
    GpdReadResult result = Read("*Include: LOOP.GPD\n", {{"LOOP.GPD", "*Include: LOOP.GPD\n"}});
    ASSERT_FALSE(result.ok);
    EXPECT_NE(result.error.message.find("nested too deeply"), std::string::npos);
}

TEST(GpdMacros, ValueMacrosExpandOutsideQuotes) {
    GpdReadResult result = Read("*Macros: Names\n{\n    Reset: \"<1B>E\"\n    Count: 3\n}\n"
                                "*Copies: =Count\n*Text: \"=Count\"\n"
                                "*Command: CmdStartDoc { *Cmd: =Reset \"<0D>\" }\n");
    ASSERT_TRUE(result.ok) << result.error.Text();
    EXPECT_EQ(Global(result, "*Copies")->value, "3");
    EXPECT_EQ(Global(result, "*Text")->value, "\"=Count\"");
    ASSERT_EQ(result.model.global.commands.size(), 1u);
    ASSERT_EQ(result.model.global.commands[0].parts.size(), 2u);
    EXPECT_EQ(result.model.global.commands[0].parts[0].bytes, "\x1b"
                                                              "E");
    EXPECT_EQ(result.model.global.commands[0].parts[1].bytes, "\r");
}

TEST(GpdMacros, AnUndefinedNameIsAStandardNameOnlyWithTheStandardNamesIncluded) {
    const std::string body = "*Feature: Orientation\n{\n    *rcNameID: =ORIENTATION_DISPLAY\n"
                             "    *Option: PORTRAIT { *rcNameID: =PORTRAIT_DISPLAY }\n}\n";
    GpdReadResult without = Read(body);
    ASSERT_FALSE(without.ok);
    EXPECT_EQ(without.error.Text(), "TEST.GPD(3): undefined value macro =ORIENTATION_DISPLAY");
    GpdReadResult with = Read("*Include: \"StdNames.gpd\"\n" + body);
    ASSERT_TRUE(with.ok) << with.error.Text();
    EXPECT_EQ(FindAttribute(with.model.features[0].options[0].body, "*rcNameID")->value,
              "=PORTRAIT_DISPLAY");
}

TEST(GpdFeatures, OptionsKeepTheirAttributesAndTheDefaultIsNamedOrFirst) {
    GpdReadResult result = Read("*Feature: Resolution\n{\n    *DefaultOption: High\n"
                                "    *Option: Low\n    {\n        *Name: \"300 dpi\"\n"
                                "        *DPI: PAIR(300, 300)\n    }\n"
                                "    *Option: High\n    {\n        *DPI: PAIR(600, 600)\n"
                                "        *OptionID: 260\n    }\n}\n"
                                "*Feature: Duplex\n{\n    *Option: NONE { *Name: \"Off\" }\n"
                                "    *Option: VERTICAL { *Name: \"Long\" }\n}\n");
    ASSERT_TRUE(result.ok) << result.error.Text();
    ASSERT_EQ(result.model.features.size(), 2u);
    const GpdFeature& resolution = result.model.features[0];
    EXPECT_EQ(OptionNames(resolution), "Low,High");
    EXPECT_EQ(resolution.defaultOption, 1u);
    GpdPair dpi;
    ASSERT_TRUE(ParseGpdPair(FindAttribute(resolution.options[0].body, "*DPI")->value, &dpi));
    EXPECT_EQ(dpi.x, 300);
    EXPECT_EQ(FindAttribute(resolution.options[1].body, "*OptionID")->value, "260");
    EXPECT_EQ(FindAttribute(resolution.options[0].body, "*Name")->value, "\"300 dpi\"");
    EXPECT_EQ(result.model.features[1].defaultOption, 0u);
}

TEST(GpdFeatures, AFeatureWrittenTwiceGathersItsOptions) {
    GpdReadResult result = Read("*Feature: InputBin { *Option: UPPER { *OptionID: 1 } }\n"
                                "*Feature: InputBin { *Option: LOWER { *OptionID: 2 } }\n");
    ASSERT_TRUE(result.ok) << result.error.Text();
    ASSERT_EQ(result.model.features.size(), 1u);
    EXPECT_EQ(OptionNames(result.model.features[0]), "UPPER,LOWER");
}

TEST(GpdCommands, OrderCmdBytesParametersAndCallbacksAreRead) {
    GpdReadResult result =
        Read("*Command: CmdStartJob\n{\n    *Order: JOB_SETUP.1\n    *CallbackID: 303\n}\n"
             "*Command: CmdCopies\n{\n    *Order: DOC_SETUP.11\n    *CallbackID: 309\n"
             "    *Params: LIST(NumOfCopies, PageNumber)\n}\n"
             "*Command: CmdEnd { *Order: JOB_FINISH.2 *% end\n *Cmd: \"<1B 25>-12345X\" }\n"
             "*Command: CmdXMove { *Cmd: \"<1B>*p\" %5d[0,9600]{max_repeat(DestX / 2)} \"X\" }\n");
    ASSERT_TRUE(result.ok) << result.error.Text();
    const auto& commands = result.model.global.commands;
    ASSERT_EQ(commands.size(), 4u);
    EXPECT_EQ(commands[0].section, GpdSection::kJobSetup);
    EXPECT_EQ(commands[0].order, 1);
    EXPECT_TRUE(commands[0].callback);
    EXPECT_EQ(commands[0].callbackId, 303u);
    EXPECT_EQ(commands[1].section, GpdSection::kDocSetup);
    EXPECT_EQ(commands[1].order, 11);
    EXPECT_EQ(commands[1].params, (std::vector<std::string>{"NumOfCopies", "PageNumber"}));
    EXPECT_EQ(commands[2].section, GpdSection::kJobFinish);
    EXPECT_EQ(commands[2].order, 2);
    ASSERT_EQ(commands[2].parts.size(), 1u);
    EXPECT_EQ(commands[2].parts[0].bytes, "\x1b%-12345X");
    EXPECT_FALSE(commands[2].callback);
    const auto& move = commands[3].parts;
    ASSERT_EQ(move.size(), 3u);
    EXPECT_EQ(move[0].bytes, "\x1b*p");
    EXPECT_TRUE(move[1].parameter);
    EXPECT_EQ(move[1].format, 'd');
    EXPECT_EQ(move[1].width, 5);
    EXPECT_TRUE(move[1].ranged);
    EXPECT_EQ(move[1].minimum, 0);
    EXPECT_EQ(move[1].maximum, 9600);
    EXPECT_EQ(move[1].expression, "max_repeat(DestX / 2)");
    EXPECT_EQ(move[2].bytes, "X");
    EXPECT_EQ(commands[3].section, GpdSection::kNone);
}

TEST(GpdCommands, EveryOrderSectionIsKnownByName) {
    const std::pair<const char*, GpdSection> sections[] = {
        {"JOB_SETUP", GpdSection::kJobSetup},   {"DOC_SETUP", GpdSection::kDocSetup},
        {"PAGE_SETUP", GpdSection::kPageSetup}, {"PAGE_FINISH", GpdSection::kPageFinish},
        {"DOC_FINISH", GpdSection::kDocFinish}, {"JOB_FINISH", GpdSection::kJobFinish},
    };
    for (const auto& [name, section] : sections) {
        GpdReadResult result =
            Read(std::string("*Command: CmdX { *Order: ") + name + ".7 *% x\n *CallbackID: 1 }\n");
        ASSERT_TRUE(result.ok) << name << ": " << result.error.Text();
        EXPECT_EQ(result.model.global.commands[0].section, section) << name;
        EXPECT_EQ(result.model.global.commands[0].order, 7) << name;
    }
}

TEST(GpdCommands, AnOptionsCommandsBelongToTheOption) {
    GpdReadResult result = Read("*Feature: Duplex\n{\n    *Option: NONE\n    {\n"
                                "        *Command: CmdSelect\n        {\n"
                                "            *Order: DOC_SETUP.9\n            *CallbackID: 304\n"
                                "        }\n    }\n}\n");
    ASSERT_TRUE(result.ok) << result.error.Text();
    EXPECT_TRUE(result.model.global.commands.empty());
    const auto& commands = result.model.features[0].options[0].body.commands;
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].name, "CmdSelect");
    EXPECT_EQ(commands[0].callbackId, 304u);
    EXPECT_EQ(commands[0].origin.line, 5);
}

TEST(GpdSwitches, CasesWithoutBodyShareTheNextAndDefaultComesLast) {
    GpdReadResult result = Read(
        "*Feature: Orientation { *Option: PORTRAIT { *Name: \"P\" }\n"
        " *Option: LANDSCAPE_CC90 { *Name: \"L\" }\n *Option: LANDSCAPE_CC270 { *Name: \"R\" } }\n"
        "*Feature: PaperSize\n{\n    *Option: LETTER\n    {\n        *switch: Orientation\n"
        "        {\n            *case: LANDSCAPE_CC90\n            *case: LANDSCAPE_CC270\n"
        "            {\n                *PrintableOrigin: PAIR(120, 120)\n            }\n"
        "            *default\n            {\n                *PrintableOrigin: PAIR(150, 150)\n"
        "            }\n        }\n    }\n}\n");
    ASSERT_TRUE(result.ok) << result.error.Text();
    const GpdBody& letter = result.model.features[1].options[0].body;
    ASSERT_EQ(letter.switches.size(), 1u);
    const GpdSwitch& chosen = letter.switches[0];
    EXPECT_EQ(chosen.feature, "Orientation");
    ASSERT_EQ(chosen.cases.size(), 2u);
    EXPECT_EQ(chosen.cases[0].options,
              (std::vector<std::string>{"LANDSCAPE_CC90", "LANDSCAPE_CC270"}));
    EXPECT_EQ(FindAttribute(chosen.cases[0].body, "*PrintableOrigin")->value, "PAIR(120, 120)");
    EXPECT_TRUE(chosen.cases[1].options.empty());
    EXPECT_EQ(FindAttribute(chosen.cases[1].body, "*PrintableOrigin")->value, "PAIR(150, 150)");
}

TEST(GpdBlocks, IgnoreBlockAndUnknownConstructsAreSetAside) {
    GpdReadResult result =
        Read("*IgnoreBlock\n{\n*XPDSTRUCT: A\n{\n*FIELD: B { *FIELDTYPE: BYTE }\n"
             "}\n*_TEXT: \"{\"\n}\n*Font: 1 { *Name: \"Courier\" }\n*Kept: 1\n");
    ASSERT_TRUE(result.ok) << result.error.Text();
    ASSERT_EQ(result.model.global.attributes.size(), 1u);
    EXPECT_EQ(result.model.global.attributes[0].name, "*Kept");
}

TEST(GpdBlocks, ContinuationLinesJoinTheValue) {
    GpdReadResult result = Read("*TextCaps: LIST(TC_OP_CHARACTER,\n+ TC_SA_DOUBLE)\n");
    ASSERT_TRUE(result.ok) << result.error.Text();
    std::vector<std::string> names;
    ASSERT_TRUE(ParseGpdList(Global(result, "*TextCaps")->value, &names));
    EXPECT_EQ(names, (std::vector<std::string>{"TC_OP_CHARACTER", "TC_SA_DOUBLE"}));
}

struct BadText {
    const char* text;
    int line;
    const char* message;
};

constexpr BadText kBadTexts[] = {
    {"*Ifdef: A\n*X: 1\n", 1, "*Ifdef without *Endif"},
    {"*Else\n", 1, "*Elseif, *Else or *Endif without *Ifdef"},
    {"*Ifdef: A\n*Else\n*Else\n*Endif\n", 3, "*Elseif or *Else after *Else"},
    {"*Ifdef: two words\n*Endif\n", 1, "*Ifdef and *Elseif need one symbol name"},
    {"*Define:\n", 1, "*Define and *Undefine need one symbol name"},
    {"*Include: \"MISSING.GPD\"\n", 1, "cannot read the included file MISSING.GPD"},
    {"*Feature: A\n{\n*Option: B { *Name: \"x\" }\n", 2, "'{' without '}'"},
    {"*A: 1\n}\n", 2, "'}' without '{'"},
    {"{\n", 1, "'{' without an entry to open"},
    {"*Name: \"open\n", 1, "unterminated string"},
    {"*A 1\n", 1, "expected ':' after *A"},
    {"*Feature: A\n{\n}\n", 1, "*Feature A has no *Option"},
    {"*Feature: A\n{\n *DefaultOption: C\n *Option: B { *Name: \"b\" }\n}\n", 3,
     "*DefaultOption C is no option of A"},
    {"*Feature: A\n", 1, "*Feature needs a { } block"},
    {"*Option: A { *Name: \"a\" }\n", 1, "*Option is not allowed here"},
    {"\n*PrintableArea: 100, 200\n", 2, "*PrintableArea needs PAIR(x, y)"},
    {"*Feature: A { *Option: B { *OptionID: many } }\n", 1, "*OptionID needs a number"},
    {"*Feature: A { *Option: B { *Name: plain } }\n", 1, "*Name needs a quoted text"},
    {"*Command: CmdX\n{\n *Order: SOMEWHERE.1\n *CallbackID: 1\n}\n", 3,
     "*Order needs SECTION.NUMBER, such as DOC_SETUP.5"},
    {"*Command: CmdX { *Order: DOC_SETUP.0\n *CallbackID: 1 }\n", 1,
     "*Order needs SECTION.NUMBER, such as DOC_SETUP.5"},
    {"*Command: CmdX\n{\n *Order: DOC_SETUP.1\n}\n", 1,
     "*Command CmdX has neither *Cmd nor *CallbackID"},
    {"*Command: CmdX { *CallbackID: -3 }\n", 1, "*CallbackID needs a number of 0 or more"},
    {"*Command: CmdX { *Cmd: \"<1G>\" }\n", 1, "bad hex byte in a command string"},
    {"*Command: CmdX { *Cmd: \"<1B2>\" }\n", 1, "odd number of hex digits in a command string"},
    {"*Command: CmdX { *Cmd: \"<1B\" }\n", 1, "'<' without '>' in a command string"},
    {"*Command: CmdX { *Cmd: %z{DestX} }\n", 1, "unknown parameter type in a command string"},
    {"*Command: CmdX { *Cmd: %d[x,9]{DestX} }\n", 1,
     "a parameter needs an optional [min,max] range and an expression in { }"},
    {"*Command: CmdX { *Cmd: %d[0]{DestX} }\n", 1,
     "a parameter needs an optional [min,max] range and an expression in { }"},
    {"*Command: CmdX { *Cmd: %d{DestX +} }\n", 1,
     "bad parameter expression: expression ends early"},
    {"*Command: CmdX { *Cmd: %d{(DestX} }\n", 1, "bad parameter expression: expected ')'"},
    {"*Command: CmdX { *Cmd: %d \"x\" }\n", 1, "a parameter needs an expression in { }"},
    {"*Command: CmdX { *Cmd: Reset }\n", 1, "a command string is quoted text and %-parameters"},
    {"*Command: CmdX { *Params: NumOfCopies\n *CallbackID: 1 }\n", 1, "*Params needs LIST(...)"},
    {"*switch: Nothing { *default { *A: 1 } }\n", 1, "*switch names no feature: Nothing"},
    {"*Feature: F { *Option: O { *A: 1 } }\n*switch: F\n{\n *case: P { *A: 2 } }\n", 4,
     "*case P is no option of F"},
    {"*Feature: F { *Option: O { *A: 1 } }\n*switch: F { *A: 1 }\n", 2,
     "only *case and *default belong in a *switch"},
    {"*Feature: F { *Option: O { *A: 1 } }\n*switch: F\n{\n *default { *A: 1 }\n *case: O { *A: 2 "
     "}\n}\n",
     5, "*default must come last in a *switch"},
    {"*Feature: F { *Option: O { *A: 1 } }\n*switch: F\n{\n *case: O\n}\n", 2,
     "a *case at the end of a *switch has no body"},
    {"*Macros: M { *A: 1 }\n", 1, "a value macro is NAME: value"},
    {"*A: =NOWHERE\n", 1, "undefined value macro =NOWHERE"},
    {"Plain: 1\n", 1, "expected an entry starting with '*': Plain"},
};

TEST(GpdErrors, BadTextIsRefusedWithItsFileLineAndReason) {
    for (const BadText& bad : kBadTexts) {
        GpdReadResult result = Read(bad.text);
        EXPECT_FALSE(result.ok) << bad.text;
        EXPECT_EQ(result.error.Text(), "TEST.GPD(" + std::to_string(bad.line) + "): " + bad.message)
            << bad.text;
    }
}

TEST(GpdErrors, DeepNestingIsRefusedNotRecursedInto) {
    std::string blocks;
    for (int i = 0; i < 200; ++i) {
        blocks += "*A: 1\n{\n";
    }
    GpdReadResult result = Read(blocks);
    ASSERT_FALSE(result.ok);
    EXPECT_EQ(result.error.message, "blocks nested too deeply");
    std::string conditionals;
    for (int i = 0; i < 200; ++i) {
        conditionals += "*Ifdef: A\n";
    }
    EXPECT_EQ(Read(conditionals).error.message, "conditionals nested too deeply");
}

long long Evaluate(const char* text) {
    long long value = -1;
    std::string message;
    auto variables = [](std::string_view name, long long* out) {
        *out = name == "DestX" ? 100 : name == "Copies" ? 3 : 0;
        return name == "DestX" || name == "Copies";
    };
    EXPECT_TRUE(EvaluateGpdExpression(text, variables, &value, &message)) << text << message;
    return value;
}

TEST(GpdExpressions, OperatorsFollowCPrecedence) {
    EXPECT_EQ(Evaluate("DestX + Copies * 2"), 106);
    EXPECT_EQ(Evaluate("(DestX + Copies) * 2"), 206);
    EXPECT_EQ(Evaluate("DestX / 3"), 33);
    EXPECT_EQ(Evaluate("DestX MOD 7"), 2);
    EXPECT_EQ(Evaluate("max(DestX, 250) - min(Copies, -1)"), 251);
    EXPECT_EQ(Evaluate("max_repeat(DestX * 8)"), 800);
    EXPECT_EQ(Evaluate("-Copies"), -3);
}

TEST(GpdExpressions, UnknownVariablesAndDivisionByZeroFailWhenEvaluated) {
    long long value = 0;
    std::string message;
    auto none = [](std::string_view, long long*) { return false; };
    EXPECT_FALSE(EvaluateGpdExpression("Nothing + 1", none, &value, &message));
    EXPECT_EQ(message, "unknown variable Nothing");
    auto zero = [](std::string_view, long long* out) { return *out = 0, true; };
    EXPECT_FALSE(EvaluateGpdExpression("10 / Zero", zero, &value, &message));
    EXPECT_EQ(message, "division by zero");
    EXPECT_TRUE(EvaluateGpdExpression("10 / Zero", nullptr, &value, &message));
}

TEST(GpdFiles, AFileOfTheMachineIsReadWithItsIncludesFromItsFolder) {
    moltr::sim::TestMachine machine;
    std::filesystem::path folder = std::filesystem::path(machine.root()) / "c/Drivers";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "MAIN.GPD") << "*Include: \"PART.GPD\"\r\n*Main: 1\r\n";
    std::ofstream(folder / "PART.GPD") << "*Part: 2\r\n";
    GpdReadResult result = ReadGpdFile(L"C:\\Drivers\\MAIN.GPD");
    ASSERT_TRUE(result.ok) << result.error.Text();
    EXPECT_EQ(FindAttribute(result.model.global, "*Part")->value, "2");
    EXPECT_EQ(FindAttribute(result.model.global, "*Main")->origin.file, "MAIN.GPD");

    GpdReadResult missing = ReadGpdFile(L"C:\\Drivers\\NONE.GPD");
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error.Text(), "NONE.GPD(0): cannot read the file");
}

} // namespace
