// The driver's data file after a printer settings change: the GPD's RTI block and the PPD's
// conditional lines, rewritten so that a failure never leaves a half-written file.
#include <functional>
#include "common/conditional_lines.h"
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
    OPTPARAM params[2] = {};
    params[1].IconID = 16;
    OPTTYPE optType = {sizeof(OPTTYPE), TVOT_EDITBOX, 0, 2, 0, params, 0, {}, {}};
    OPTITEM item = {};
    item.Flags = OPTIF_CHANGEONCE;
    item.UserData = reinterpret_cast<ULONG_PTR>(L"PRINTERSETTINGS._ALLOWED");
    item.pSel = text;
    item.pOptType = &optType;
    ASSERT_EQ(S_OK, settings->SettingsFromItems(&item, 1, nullptr, printer_.handle()));
    std::string after = ReadHostFile(printer_.DataFile());
    EXPECT_NE(std::string::npos, after.find(Block("01000000", "A4_ONLY"))) << after;
    // A second change starts from the rewritten file.
    text[0] = L'\0';
    ASSERT_EQ(S_OK, settings->SettingsFromItems(&item, 1, nullptr, printer_.handle()));
    after = ReadHostFile(printer_.DataFile());
    EXPECT_NE(std::string::npos, after.find(Block("01000000"))) << after;
}

TEST_F(GpdRewrite, InterruptedRewriteLeavesTheOldFileWhole) {
    std::string before = ReadHostFile(printer_.DataFile());
    fs::path folder = fs::path(printer_.DataFile()).parent_path();
    size_t files = FilesIn(folder);
    // A reader holds the GPD without delete sharing for longer than the ten tries: the new text is
    // written in full to its temporary file, but it cannot replace the GPD.
    std::u16string path = sim::WindowsPath(printer_.DataFile());
    HANDLE reader = CreateFileW(sim::W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    EXPECT_EQ(S_OK, ChangeDuplex(printer_, 2));
    CloseHandle(reader);
    EXPECT_EQ(before, ReadHostFile(printer_.DataFile()));
    EXPECT_EQ(files, FilesIn(folder));
    // The printer data holds the change all the same.
    EXPECT_EQ(2u, StoredDuplex(printer_));
}

TEST_F(GpdRewrite, ShortSharingConflictsAreWaitedOut) {
    std::u16string path = sim::WindowsPath(printer_.DataFile());
    HANDLE reader = CreateFileW(sim::W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
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
                   "*%*OpenUI *Duplex: PickOne\n"
                   "*%*CloseUI: *Duplex\n"
                   "*%Endif: _DUPLEXTYPE_01000000\n"
                   "*%Ifdef: _DUPLEXTYPE_02000000\n"
                   "*ManualDuplex: True\n"
                   "*%Endif: _DUPLEXTYPE_02000000\n"
                   "*% XPD BEGIN - DO NOT REMOVE THIS TAG\n"
                   "*%Ifdef: _DUPLEXTYPE_01000000\n"
                   "*Kept: True\n"
                   "*%Endif: _DUPLEXTYPE_01000000\n"),
              ReadHostFile(printer.DataFile()));
    ASSERT_EQ(S_OK, ChangeDuplex(printer, 1));
    EXPECT_EQ(Crlf(kPpd), ReadHostFile(printer.DataFile()));
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
    EXPECT_EQ("*%Ifdef: A\na\n*%Ifdef: B\n*%b\n*%Endif: B\n*%Endif: A\nc\n",
              common::SwitchConditionalLines(ppd, {"A"}));
    std::string off = common::SwitchConditionalLines(ppd, {"B"});
    EXPECT_EQ("*%Ifdef: A\n*%a\n*%Ifdef: B\n*%b\n*%Endif: B\n*%Endif: A\nc\n", off);
    // Switching again changes nothing, and switching on restores the lines.
    EXPECT_EQ(off, common::SwitchConditionalLines(off, {"B"}));
    EXPECT_EQ(ppd, common::SwitchConditionalLines(off, {"A", "B"}));
    // An unclosed block runs to the end of the switched part.
    EXPECT_EQ("*%Ifdef: X\n*%x\n", common::SwitchConditionalLines("*%Ifdef: X\nx\n", {}));
}

} // namespace
} // namespace moltr::test
