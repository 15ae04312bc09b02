// The driver's data file after a printer settings change: the GPD's RTI block and the PPD's
// conditional lines, rewritten so that a failure never leaves a half-written file.
#include <functional>
#include "common/conditional_lines.h"
#include "common/data_file.h"
#include "common/description_lines.h"
#include "common/rti_block.h"
#include "settings_printer.h"
#include "sim/sleep_admin.h"

namespace moltr::test {
namespace {

namespace fs = std::filesystem;

const char kBegin[] = "*% RTI BEGIN - DO NOT REMOVE THIS TAG\r\n";
const char kEnd[] = "*% RTI END - DO NOT REMOVE THIS TAG\r\n";

// The block the tests' printer settings give with `duplex` as _DUPLEXTYPE.
std::string Block(const std::string& duplex, const std::string& allowed = "") {
    std::string block = std::string(kBegin) + "*Define: _PDLTYPE_2a000000\r\n" +
                        "*Define: _DEVICETYPE_00000000\r\n" + "*Define: _DUPLEXTYPE_" + duplex +
                        "\r\n*Define: _LRGSIZESCL_01\r\n*Define: _LRGSIZES_01\r\n" +
                        "*Define: _OPTSOURCE_00\r\n*Define: _OPTOUTPUT_00\r\n" +
                        "*Define: _ENVFEEDER_00\r\n*Define: _RAMDISK_01\r\n" +
                        "*Define: _CFLASH_00\r\n*Define: _FORMLIST_090000000000\r\n";
    if (!allowed.empty()) {
        block += "*Define: " + allowed + "\r\n";
    }
    return block + kEnd;
}

// Sets _DUPLEXTYPE through a changed item in printer mode.
HRESULT ChangeDuplex(const SettingsPrinter& printer, DWORD type) {
    SettingsPtr settings(printer.Create(common::kModePrinter));
    if (!settings) {
        return E_FAIL;
    }
    OPTPARAM option = {sizeof(OPTPARAM), 0, 0, nullptr, 0, reinterpret_cast<LPARAM>(&type), {}};
    OPTTYPE optType = {sizeof(OPTTYPE), TVOT_LISTBOX, 0, 1, 0, &option, 0, {}, {}};
    OPTITEM item = {};
    item.cbSize = sizeof(OPTITEM);
    item.Flags = OPTIF_CHANGED;
    item.UserData = reinterpret_cast<ULONG_PTR>(L"PRINTERSETTINGS._DUPLEXTYPE");
    item.pOptType = &optType;
    return settings->SettingsFromItems(&item, 1, nullptr, printer.handle());
}

// Sets the text setting _ALLOWED through a changed edit box holding `text` (16 characters).
HRESULT ChangeAllowed(common::IDrvSettings& settings, const SettingsPrinter& printer, WCHAR* text) {
    OPTPARAM params[2] = {};
    params[1].IconID = 16;
    OPTTYPE optType = {sizeof(OPTTYPE), TVOT_EDITBOX, 0, 2, 0, params, 0, {}, {}};
    OPTITEM item = {};
    item.Flags = OPTIF_CHANGEONCE;
    item.UserData = reinterpret_cast<ULONG_PTR>(L"PRINTERSETTINGS._ALLOWED");
    item.pSel = text;
    item.pOptType = &optType;
    return settings.SettingsFromItems(&item, 1, nullptr, printer.handle());
}

DWORD StoredDuplex(const SettingsPrinter& printer) {
    SettingsPtr settings(printer.Create(common::kModeDocument));
    DWORD duplex = 0xFFFF;
    settings->GetValue(nullptr, L"_DUPLEXTYPE", &duplex, 4, common::kLayoutPrinterSettings);
    return duplex;
}

size_t FilesIn(const fs::path& folder) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
}

class GpdRewrite : public ::testing::Test {
protected:
    sim::TestMachine machine_;
    SettingsPrinter printer_;
    // The rewrite's retry pauses pass at once; a test may act at a pause.
    std::function<void()> atPause_;
    sim::SleepOverride pauses_{[this](DWORD) {
        if (atPause_) {
            atPause_();
        }
    }};
};

TEST_F(GpdRewrite, ReplacesOnlyTheRtiBlock) {
    std::string before = ReadHostFile(printer_.DataFile());
    ASSERT_EQ(S_OK, ChangeDuplex(printer_, 2));
    std::string after = ReadHostFile(printer_.DataFile());
    size_t begin = before.find(kBegin);
    size_t end = before.find(kEnd) + std::string(kEnd).size();
    EXPECT_EQ(before.substr(0, begin) + Block("02000000") + before.substr(end), after);
    EXPECT_EQ(2u, StoredDuplex(printer_));
}

TEST_F(GpdRewrite, TextSettingsAreTheirOwnSymbolsAndEmptyOnesHaveNone) {
    SettingsPtr settings(printer_.Create(common::kModePrinter));
    WCHAR text[16] = L"A4_ONLY";
    ASSERT_EQ(S_OK, ChangeAllowed(*settings, printer_, text));
    std::string after = ReadHostFile(printer_.DataFile());
    EXPECT_NE(std::string::npos, after.find(Block("01000000", "A4_ONLY"))) << after;
    // A second change starts from the rewritten file.
    text[0] = L'\0';
    ASSERT_EQ(S_OK, ChangeAllowed(*settings, printer_, text));
    after = ReadHostFile(printer_.DataFile());
    EXPECT_NE(std::string::npos, after.find(Block("01000000"))) << after;
}

TEST_F(GpdRewrite, TextSettingsEndAtTheirFirstControlCharacter) {
    SettingsPtr settings(printer_.Create(common::kModePrinter));
    WCHAR text[16] = L"A\r\n*Define: Z";
    ASSERT_EQ(S_OK, ChangeAllowed(*settings, printer_, text));
    std::string after = ReadHostFile(printer_.DataFile());
    EXPECT_NE(std::string::npos, after.find(Block("01000000", "A"))) << after;
    EXPECT_EQ(std::string::npos, after.find("*Define: Z")) << after;
}

TEST_F(GpdRewrite, AReaderSharingWritesGetsTheFileWrittenInPlace) {
    fs::path folder = fs::path(printer_.DataFile()).parent_path();
    size_t files = FilesIn(folder);
    // A reader holds the GPD the way description files are read, without delete sharing: the
    // temporary file cannot be moved over it, so the new text is written into it.
    std::u16string path = sim::WindowsPath(printer_.DataFile());
    HANDLE reader = CreateFileW(sim::W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    EXPECT_EQ(S_OK, ChangeDuplex(printer_, 2));
    CloseHandle(reader);
    EXPECT_NE(std::string::npos, ReadHostFile(printer_.DataFile()).find(Block("02000000")));
    EXPECT_EQ(files, FilesIn(folder)) << "the temporary file is gone";
    EXPECT_EQ(2u, StoredDuplex(printer_));
}

// The file writes on their own, with retries that do not wait.
class DataFileReplace : public ::testing::Test {
protected:
    static constexpr common::FileRetries kQuick = {3, 0};

    DataFileReplace() {
        host_ = sim::HostPath(sim::W(path_));
        std::ofstream(host_, std::ios::binary) << "old text";
    }

    HANDLE OpenReader(DWORD share) {
        return CreateFileW(sim::W(path_), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
    }

    sim::TestMachine machine_;
    std::u16string path_ = u"C:\\Windows\\Temp\\replaced.gpd";
    std::string host_;
};

TEST_F(DataFileReplace, ReplacesAFileNobodyHolds) {
    size_t files = FilesIn(fs::path(host_).parent_path());
    EXPECT_EQ(S_OK, common::ReplaceDataFile(sim::W(path_), "new", 3, kQuick));
    EXPECT_EQ("new", ReadHostFile(host_));
    EXPECT_EQ(files, FilesIn(fs::path(host_).parent_path()));
}

TEST_F(DataFileReplace, AReaderSharingWritesGetsTheTextWrittenInPlace) {
    HANDLE reader = OpenReader(FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    size_t files = FilesIn(fs::path(host_).parent_path());
    EXPECT_EQ(S_OK, common::ReplaceDataFile(sim::W(path_), "new", 3, kQuick));
    CloseHandle(reader);
    EXPECT_EQ("new", ReadHostFile(host_));
    EXPECT_EQ(files, FilesIn(fs::path(host_).parent_path()));
}

TEST_F(DataFileReplace, AReaderSharingOnlyReadsLeavesTheFileAsItWas) {
    HANDLE reader = OpenReader(FILE_SHARE_READ);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    size_t files = FilesIn(fs::path(host_).parent_path());
    EXPECT_EQ(E_FAIL, common::ReplaceDataFile(sim::W(path_), "new", 3, kQuick));
    CloseHandle(reader);
    EXPECT_EQ("old text", ReadHostFile(host_));
    EXPECT_EQ(files, FilesIn(fs::path(host_).parent_path())) << "the temporary file is gone";
}

TEST_F(GpdRewrite, ShortSharingConflictsAreWaitedOut) {
    std::u16string path = sim::WindowsPath(printer_.DataFile());
    // A reader that shares only reading keeps both the move and the write in place out.
    HANDLE reader = CreateFileW(sim::W(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    // The reader lets go during the third pause.
    int pauses = 0;
    atPause_ = [&] {
        if (++pauses == 3) {
            CloseHandle(reader);
        }
    };
    EXPECT_EQ(S_OK, ChangeDuplex(printer_, 3));
    EXPECT_GE(pauses, 3);
    EXPECT_NE(std::string::npos, ReadHostFile(printer_.DataFile()).find(Block("03000000")));
}

TEST(GpdRewriteTags, FileWithoutBothTagsIsLeftAlone) {
    sim::TestMachine machine;
    std::string gpd = Gpd();
    gpd.erase(gpd.find("*% RTI END"), std::string("*% RTI END - DO NOT REMOVE THIS TAG\n").size());
    SettingsPrinter printer(gpd);
    std::string before = ReadHostFile(printer.DataFile());
    ASSERT_EQ(S_OK, ChangeDuplex(printer, 2));
    EXPECT_EQ(before, ReadHostFile(printer.DataFile()));
    EXPECT_EQ(2u, StoredDuplex(printer));
}

TEST(RtiBlock, TagsAndLineEnds) {
    std::string result;
    EXPECT_FALSE(common::RewriteRtiBlock("*% RTI BEGIN - DO NOT REMOVE THIS TAG\r\n", {}, &result));
    EXPECT_FALSE(common::RewriteRtiBlock("*% RTI END - DO NOT REMOVE THIS TAG\r\n"
                                         "*% RTI BEGIN - DO NOT REMOVE THIS TAG\r\n",
                                         {}, &result));
    // The end tag on the last line, without a line end of its own.
    ASSERT_TRUE(common::RewriteRtiBlock("a\n*% RTI BEGIN - DO NOT REMOVE THIS TAG\nold\n"
                                        "*% RTI END - DO NOT REMOVE THIS TAG",
                                        {"_X_01"}, &result));
    EXPECT_EQ(std::string("a\n") + kBegin + "*Define: _X_01\r\n" + kEnd, result);
}

TEST(RtiBlock, TagsCountOnlyAsLinesOfTheirOwn) {
    // A comment quoting the begin tag is no tag, and the tags may stand between blanks.
    const std::string gpd = "*% keep *% RTI BEGIN - DO NOT REMOVE THIS TAG here\r\n"
                            "*Kept: 1\r\n"
                            "  *% RTI BEGIN - DO NOT REMOVE THIS TAG \t\r\n"
                            "*Define: _OLD_00\r\n"
                            "*% RTI END - DO NOT REMOVE THIS TAG  \r\n"
                            "*Tail: 1\r\n";
    std::string result;
    ASSERT_TRUE(common::RewriteRtiBlock(gpd, {"_X_01"}, &result));
    EXPECT_EQ(std::string("*% keep *% RTI BEGIN - DO NOT REMOVE THIS TAG here\r\n*Kept: 1\r\n") +
                  kBegin + "*Define: _X_01\r\n" + kEnd + "*Tail: 1\r\n",
              result);
    EXPECT_FALSE(common::RewriteRtiBlock("*% RTI BEGIN - DO NOT REMOVE THIS TAG!\r\n"
                                         "*% RTI END - DO NOT REMOVE THIS TAG\r\n",
                                         {}, &result));
}

TEST(RtiBlock, ASymbolEqualToTheEndTagDoesNotEndTheBlock) {
    std::string first;
    ASSERT_TRUE(common::RewriteRtiBlock(std::string(kBegin) + kEnd + "*Tail: 1\r\n",
                                        {"*% RTI END - DO NOT REMOVE THIS TAG"}, &first));
    std::string second;
    ASSERT_TRUE(common::RewriteRtiBlock(first, {"_X_01"}, &second));
    EXPECT_EQ(std::string(kBegin) + "*Define: _X_01\r\n" + kEnd + "*Tail: 1\r\n", second);
}

// `text` (written with LF) with `end` as every line's end.
std::string WithLineEnds(const std::string& text, const std::string& end) {
    std::string converted;
    for (char c : text) {
        converted += c == '\n' ? end : std::string(1, c);
    }
    return converted;
}

class DataFileLineEnds : public ::testing::TestWithParam<std::string> {};

// A GPD with CR-only or LF-only line ends: the text after the end tag, the XPD block the printer
// is compiled from among it, stays byte for byte.
TEST_P(DataFileLineEnds, GpdKeepsEverythingAroundTheRtiBlock) {
    sim::TestMachine machine;
    SettingsPrinter printer;
    const std::string gpd = WithLineEnds(Gpd(), GetParam());
    std::ofstream(printer.DataFile(), std::ios::binary | std::ios::trunc) << gpd;
    ASSERT_EQ(S_OK, ChangeDuplex(printer, 2));
    const std::string endTag = "*% RTI END - DO NOT REMOVE THIS TAG" + GetParam();
    const size_t begin = gpd.find("*% RTI BEGIN");
    const size_t rest = gpd.find(endTag) + endTag.size();
    EXPECT_EQ(gpd.substr(0, begin) + Block("02000000") + gpd.substr(rest),
              ReadHostFile(printer.DataFile()));
}

TEST_P(DataFileLineEnds, PpdLinesAreSwitchedEachWithItsOwnLineEnd) {
    const std::string ppd = WithLineEnds("*%Ifdef: A\n"
                                         "a\n"
                                         "*%Endif: A\n"
                                         "*%Ifdef: B\n"
                                         "*%Off: b\n"
                                         "*%Endif: B\n",
                                         GetParam());
    EXPECT_EQ(WithLineEnds("*%Ifdef: A\n"
                           "*%Off: a\n"
                           "*%Endif: A\n"
                           "*%Ifdef: B\n"
                           "b\n"
                           "*%Endif: B\n",
                           GetParam()),
              common::SwitchConditionalLines(ppd, {"B"}));
}

INSTANTIATE_TEST_SUITE_P(Conventions, DataFileLineEnds, ::testing::Values("\r", "\n", "\r\n"),
                         [](const auto& info) {
                             return info.param == "\r" ? "Cr" : info.param == "\n" ? "Lf" : "CrLf";
                         });

TEST(DataFileLineEnds, EachLineEndsAtItsFirstCrLfOrCrLf) {
    const std::string_view file = "a\r\r\nbc\n\nd";
    std::vector<std::pair<std::string, std::string>> lines;
    for (size_t at = 0; at < file.size();) {
        const common::DescriptionLine line = common::LineFrom(file, at);
        lines.emplace_back(line.text, line.end);
        EXPECT_EQ(file.substr(at, line.next - at), line.Whole());
        at = line.next;
    }
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"a", "\r"}, {"", "\r\n"}, {"bc", "\n"}, {"", "\n"}, {"d", ""}};
    EXPECT_EQ(expected, lines);
    // From inside a line: the rest of it.
    EXPECT_EQ("c", common::LineFrom(file, 5).text);
    EXPECT_EQ(file.size(), common::LineFrom(file, file.size()).next);
}

TEST(DataFileLineEnds, MixedLineEndsAreEachKept) {
    const std::string ppd = "*%Ifdef: A\ra\r\nb\n*%Endif: A\rc";
    EXPECT_EQ("*%Ifdef: A\r*%Off: a\r\n*%Off: b\n*%Endif: A\rc",
              common::SwitchConditionalLines(ppd, {}));
    std::string result;
    ASSERT_TRUE(common::RewriteRtiBlock("*% RTI BEGIN - DO NOT REMOVE THIS TAG\rold\r"
                                        "*% RTI END - DO NOT REMOVE THIS TAG\r\nx\ry\n",
                                        {}, &result));
    EXPECT_EQ(std::string(kBegin) + kEnd + "x\ry\n", result);
}

const char kPpd[] = "*PPD-Adobe: \"4.3\"\n"
                    "*%Ifdef: _DUPLEXTYPE_01000000\n"
                    "*OpenUI *Duplex: PickOne\n"
                    "*CloseUI: *Duplex\n"
                    "*%Endif: _DUPLEXTYPE_01000000\n"
                    "*%Ifdef: _DUPLEXTYPE_02000000\n"
                    "*%*ManualDuplex: True\n"
                    "*%Endif: _DUPLEXTYPE_02000000\n"
                    "*% XPD BEGIN - DO NOT REMOVE THIS TAG\n"
                    "*%Ifdef: _DUPLEXTYPE_01000000\n"
                    "*Kept: True\n"
                    "*%Endif: _DUPLEXTYPE_01000000\n";

TEST(PpdRewrite, ConditionalLinesFollowTheSettings) {
    sim::TestMachine machine;
    SettingsPrinter printer(kPpd, "MOLTRTST.PPD", Descriptions());
    ASSERT_EQ(S_OK, ChangeDuplex(printer, 2));
    EXPECT_EQ(Crlf("*PPD-Adobe: \"4.3\"\n"
                   "*%Ifdef: _DUPLEXTYPE_01000000\n"
                   "*%Off: *OpenUI *Duplex: PickOne\n"
                   "*%Off: *CloseUI: *Duplex\n"
                   "*%Endif: _DUPLEXTYPE_01000000\n"
                   "*%Ifdef: _DUPLEXTYPE_02000000\n"
                   "*ManualDuplex: True\n"
                   "*%Endif: _DUPLEXTYPE_02000000\n"
                   "*% XPD BEGIN - DO NOT REMOVE THIS TAG\n"
                   "*%Ifdef: _DUPLEXTYPE_01000000\n"
                   "*Kept: True\n"
                   "*%Endif: _DUPLEXTYPE_01000000\n"),
              ReadHostFile(printer.DataFile()));
    // Back on, the lines of the first block return; the second block's line is switched off
    // with the marker now.
    ASSERT_EQ(S_OK, ChangeDuplex(printer, 1));
    std::string expected = Crlf(kPpd);
    expected.replace(expected.find("*%*ManualDuplex"), 3, "*%Off: *");
    EXPECT_EQ(expected, ReadHostFile(printer.DataFile()));
}

TEST(ConditionalLines, NestedBlocksAreOnOnlyInsideSetSymbols) {
    const std::string ppd = "*%Ifdef: A\n"
                            "a\n"
                            "*%Ifdef: B\n"
                            "b\n"
                            "*%Endif: B\n"
                            "*%Endif: A\n"
                            "c\n";
    EXPECT_EQ(ppd, common::SwitchConditionalLines(ppd, {"A", "B"}));
    EXPECT_EQ("*%Ifdef: A\na\n*%Ifdef: B\n*%Off: b\n*%Endif: B\n*%Endif: A\nc\n",
              common::SwitchConditionalLines(ppd, {"A"}));
    std::string off = common::SwitchConditionalLines(ppd, {"B"});
    EXPECT_EQ("*%Ifdef: A\n*%Off: a\n*%Ifdef: B\n*%Off: b\n*%Endif: B\n*%Endif: A\nc\n", off);
    // Switching again changes nothing, and switching on restores the lines.
    EXPECT_EQ(off, common::SwitchConditionalLines(off, {"B"}));
    EXPECT_EQ(ppd, common::SwitchConditionalLines(off, {"A", "B"}));
    // An unclosed block runs to the end of the switched part.
    EXPECT_EQ("*%Ifdef: X\n*%Off: x\n", common::SwitchConditionalLines("*%Ifdef: X\nx\n", {}));
}

TEST(ConditionalLines, ThePpdsOwnCommentsStayComments) {
    const std::string ppd = "*%Ifdef: A\n"
                            "*% Duplex unit options\n"
                            "*%=====\n"
                            "*Duplex: True\n"
                            "*%Endif: A\n";
    // In a block that is on, the comments keep their marker.
    EXPECT_EQ(ppd, common::SwitchConditionalLines(ppd, {"A"}));
    // Switched off, every line gets the marker, comments too, and switched on again the block is
    // what it was.
    std::string off = common::SwitchConditionalLines(ppd, {});
    EXPECT_EQ("*%Ifdef: A\n*%Off: *% Duplex unit options\n*%Off: *%=====\n"
              "*%Off: *Duplex: True\n*%Endif: A\n",
              off);
    EXPECT_EQ(ppd, common::SwitchConditionalLines(off, {"A"}));
}

} // namespace
} // namespace moltr::test
