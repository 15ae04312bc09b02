// The custom media written into the printer driver's description file: the GPD's CMS block, the
// PPD's template blocks, and the rewrite that never leaves a half-written file.
#include <windows.h>
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include "sim/machine.h"
#include "sim/utf.h"
#include "uiplugin/custom_media_file.h"
#include "uiplugin/custom_media_gpd_writer.h"
#include "uiplugin/custom_media_ppd_writer.h"

namespace moltr::test {
namespace {

using uiplugin::CustomMedium;
using uiplugin::MakeCustomMedium;

std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string SampleGpd() {
    return ReadBytes(MOLTR_SOURCE_DIR "/samples/MOLTR4KC.GPD");
}

const std::vector<CustomMedium> kTwo = {MakeCustomMedium(L"My Size 1", 100000, 150000),
                                        MakeCustomMedium(L"A-5 wide", 210000, 148000)};

// One option block as the GPD gets it, at 1200 x 1200 master units.
std::string Option(const std::string& id, const std::string& name, int w, int h) {
    auto pair = [](int x, int y) {
        return "PAIR(" + std::to_string(x) + "," + std::to_string(y) + ")";
    };
    return "*Ifdef: _CUSTOM_" + id + "_ALLOWED_01\r\n\t*Option: CUSTOM_" + id + "\r\n\t{\r\n" +
           "\t\t*Name: \"" + name + "\"\r\n\t\t*PageDimensions: " + pair(w, h) + "\r\n\r\n" +
           "\t\t*switch: Orientation\r\n\t\t{\r\n\t\t\t*case: PORTRAIT\r\n\t\t\t{\r\n" +
           "\t\t\t\t*PrintableArea: " + pair(w - 600, h - 480) + "\r\n" +
           "\t\t\t\t*PrintableOrigin: PAIR(300,240)\r\n\t\t\t\t*CursorOrigin: PAIR(300,240)\r\n" +
           "\t\t\t\t*Command: CmdSelect\r\n\t\t\t\t{\r\n\t\t\t\t\t*Order: PAGE_SETUP.3\r\n" +
           "\t\t\t\t\t*Cmd: =MediaSizeCustomPortrait\r\n\t\t\t\t}\r\n\t\t\t}\r\n" +
           "\t\t\t*case: LANDSCAPE_CC90\r\n\t\t\t{\r\n" +
           "\t\t\t\t*PrintableArea: " + pair(w - 480, h - 600) +
           "\r\n\t\t\t\t*PrintableOrigin: PAIR(240,300)\r\n" +
           "\t\t\t\t*CursorOrigin: " + pair(240, h - 300) + "\r\n" +
           "\t\t\t\t*Command: CmdSelect\r\n\t\t\t\t{\r\n\t\t\t\t\t*Order: PAGE_SETUP.3\r\n" +
           "\t\t\t\t\t*Cmd: =MediaSizeCustomLandscape\r\n\t\t\t\t}\r\n\t\t\t}\r\n" +
           "\t\t}\r\n\t}\r\n*Endif: _CUSTOM_" + id + "_ALLOWED_01\r\n\r\n";
}

const char kFrameStart[] = "*% CMS BEGIN - DO NOT REMOVE THIS TAG\r\n\r\n*Ifdef: _FORMASSIGN_01\r\n"
                           "*Else:\r\n";
const char kEndLine[] = "*% CMS END - DO NOT REMOVE THIS TAG\r\n";

TEST(CustomMediumIdentifier, KeepsSafeBytesAndWritesTheRestInHex) {
    EXPECT_EQ("MY20SIZE201", uiplugin::CustomMediumIdentifier(L"My Size 1"));
    EXPECT_EQ("A-520WIDE", uiplugin::CustomMediumIdentifier(L"A-5 wide"));
    EXPECT_EQ("22245B", uiplugin::CustomMediumIdentifier(L"\"$["));
    EXPECT_EQ("", uiplugin::CustomMediumIdentifier(L""));
    // Names longer than a form name are cut to its 31 characters.
    EXPECT_EQ(std::string(31, 'A'),
              uiplugin::CustomMediumIdentifier(L"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"));
}

TEST(GpdCustomMedia, TwoMediaOnTheSampleGpdGetTheExactBlock) {
    const std::string gpd = SampleGpd();
    std::string written;
    ASSERT_TRUE(uiplugin::WriteGpdCustomMedia(gpd, kTwo, uiplugin::ReadMasterUnits(gpd), &written));
    const size_t begin = gpd.find(uiplugin::kGpdCmsBegin);
    const size_t after = gpd.find(kEndLine) + sizeof(kEndLine) - 1;
    ASSERT_NE(std::string::npos, begin);
    // 100 mm x 150 mm and 210 mm x 148 mm at 1200 units per inch.
    const std::string block =
        std::string(kFrameStart) + "*Define: _CUSTOM_MY20SIZE201_ALLOWED_01\r\n" +
        "*Define: _CUSTOM_A-520WIDE_ALLOWED_01\r\n" + "*Endif: _FORMASSIGN_01\r\n\r\n" +
        Option("MY20SIZE201", "My Size 1", 4724, 7086) +
        Option("A-520WIDE", "A-5 wide", 9921, 6992) + kEndLine;
    EXPECT_EQ(gpd.substr(0, begin) + block + gpd.substr(after), written);
    // Written again, the block replaces itself.
    std::string again;
    ASSERT_TRUE(uiplugin::WriteGpdCustomMedia(written, kTwo, {}, &again));
    EXPECT_EQ(written, again);
}

TEST(GpdCustomMedia, NoMediaLeaveAnEmptyFormAssignmentFrame) {
    std::string written;
    ASSERT_TRUE(uiplugin::WriteGpdCustomMedia(SampleGpd(), {}, {}, &written));
    EXPECT_NE(std::string::npos,
              written.find(std::string(kFrameStart) + "*Endif: _FORMASSIGN_01\r\n\r\n" + kEndLine));
    EXPECT_EQ(SampleGpd(), written) << "the sample ships with the empty frame";
}

TEST(GpdCustomMedia, MasterUnitsScaleTheSizes) {
    const std::string gpd =
        std::string("*MasterUnits: PAIR(600, 600)\r\n") + kFrameStart + kEndLine;
    EXPECT_EQ(600u, uiplugin::ReadMasterUnits(gpd).x);
    std::string written;
    ASSERT_TRUE(
        uiplugin::WriteGpdCustomMedia(gpd, {kTwo[0]}, uiplugin::ReadMasterUnits(gpd), &written));
    EXPECT_NE(std::string::npos, written.find("*PageDimensions: PAIR(2362,3543)"));
    EXPECT_NE(std::string::npos, written.find("*PrintableArea: PAIR(1762,3063)"));
    // A number of 16 digits, or a single number, keeps the defaults.
    EXPECT_EQ(1200u, uiplugin::ReadMasterUnits("*MasterUnits: PAIR(1234567890123456, 600)").x);
    EXPECT_EQ(1200u, uiplugin::ReadMasterUnits("*MasterUnits: PAIR(600)\r\n 600").y);
}

TEST(GpdCustomMedia, AQuoteInTheNameCannotCloseIt) {
    std::string written;
    ASSERT_TRUE(uiplugin::WriteGpdCustomMedia(std::string(kFrameStart) + kEndLine,
                                              {MakeCustomMedium(L"10\" x 12\"", 254000, 304800)},
                                              {}, &written));
    EXPECT_NE(std::string::npos, written.find("*Name: \"10<22> x 12<22>\"\r\n"));
}

TEST(GpdCustomMedia, TagsOutOfOrderOrMissingWriteNothing) {
    std::string written = "untouched";
    EXPECT_FALSE(
        uiplugin::WriteGpdCustomMedia(std::string(kEndLine) + kFrameStart, kTwo, {}, &written));
    EXPECT_FALSE(uiplugin::WriteGpdCustomMedia(kFrameStart, kTwo, {}, &written));
    EXPECT_FALSE(uiplugin::WriteGpdCustomMedia(kEndLine, kTwo, {}, &written));
    EXPECT_EQ("untouched", written);
}

TEST(GpdCustomMedia, TheEndTagsLineEndsAtANewlineOrTheEndOfTheFile) {
    const std::string head = std::string(kFrameStart) + "old\r\n";
    std::string written;
    ASSERT_TRUE(uiplugin::WriteGpdCustomMedia(
        head + "*% CMS END - DO NOT REMOVE THIS TAG junk\nkept", {}, {}, &written));
    EXPECT_EQ(std::string(kFrameStart) + "*Endif: _FORMASSIGN_01\r\n\r\n" + kEndLine + "kept",
              written);
    ASSERT_TRUE(uiplugin::WriteGpdCustomMedia(head + "*% CMS END - DO NOT REMOVE THIS TAG", {}, {},
                                              &written));
    EXPECT_EQ(std::string(kFrameStart) + "*Endif: _FORMASSIGN_01\r\n\r\n" + kEndLine, written);
}

// A small PPD with two CMS blocks, the second naming the medium twice.
const char kPpd[] = "*PPD-Adobe: \"4.3\"\r\n"
                    "*%__ CMS BEGIN - DO NOT REMOVE THIS TAG\r\n"
                    "*%__ SYN BEGIN - DO NOT REMOVE THIS TAG\r\n"
                    "*%__*PageSize #NAME/#DNAME: \"<</PageSize[#WIDTH #HEIGHT]>>setpagedevice\"\r\n"
                    "*%__ SYN END - DO NOT REMOVE THIS TAG\r\n"
                    "*PageSize OLD/Old: \"\"\r\n"
                    "*%__ CMS END - DO NOT REMOVE THIS TAG\r\n"
                    "*DefaultPageSize: A4\r\n"
                    "*%__ CMS BEGIN - DO NOT REMOVE THIS TAG\r\n"
                    "*%__ SYN BEGIN - DO NOT REMOVE THIS TAG\r\n"
                    "*%__*ImageableArea #NAME/#NAME#NAME: \"#LLX #LLY #URX #URY #X\"\r\n"
                    "*%__ SYN END - DO NOT REMOVE THIS TAG\r\n"
                    "*%__ CMS END - DO NOT REMOVE THIS TAG\r\n"
                    "*End\r\n";

TEST(PpdCustomMedia, EveryBlockGetsItsTemplateOncePerMedium) {
    std::string written;
    ASSERT_TRUE(uiplugin::WritePpdCustomMedia(kPpd, kTwo, &written));
    EXPECT_EQ(
        std::string("*PPD-Adobe: \"4.3\"\r\n"
                    "*%__ CMS BEGIN - DO NOT REMOVE THIS TAG\r\n"
                    "*%__ SYN BEGIN - DO NOT REMOVE THIS TAG\r\n"
                    "*%__*PageSize #NAME/#DNAME: \"<</PageSize[#WIDTH #HEIGHT]>>setpagedevice\"\r\n"
                    "*%__ SYN END - DO NOT REMOVE THIS TAG\r\n"
                    "*PageSize MY20SIZE201/My Size 1: \"<</PageSize[283 425]>>setpagedevice\"\r\n"
                    "*PageSize A-520WIDE/A-5 wide: \"<</PageSize[595 419]>>setpagedevice\"\r\n"
                    "*%__ CMS END - DO NOT REMOVE THIS TAG\r\n"
                    "*DefaultPageSize: A4\r\n"
                    "*%__ CMS BEGIN - DO NOT REMOVE THIS TAG\r\n"
                    "*%__ SYN BEGIN - DO NOT REMOVE THIS TAG\r\n"
                    "*%__*ImageableArea #NAME/#NAME#NAME: \"#LLX #LLY #URX #URY #X\"\r\n"
                    "*%__ SYN END - DO NOT REMOVE THIS TAG\r\n"
                    "*ImageableArea MY20SIZE201/MY20SIZE201MY20SIZE201: \"12 12 259 401 #X\"\r\n"
                    "*ImageableArea A-520WIDE/A-520WIDEA-520WIDE: \"12 12 571 395 #X\"\r\n"
                    "*%__ CMS END - DO NOT REMOVE THIS TAG\r\n"
                    "*End\r\n"),
        written);
    // Written again, the blocks replace themselves.
    std::string again;
    ASSERT_TRUE(uiplugin::WritePpdCustomMedia(written, kTwo, &again));
    EXPECT_EQ(written, again);
}

TEST(PpdCustomMedia, ExpansionsLongerThanTheTemplateAreWhole) {
    const std::string many = "#DNAME#DNAME#DNAME#DNAME#DNAME#DNAME#DNAME#DNAME";
    const CustomMedium medium = MakeCustomMedium(L"0123456789012345678901234567890", 1, 1);
    std::string expected;
    for (int i = 0; i < 8; ++i) {
        expected += medium.name;
    }
    EXPECT_EQ(expected, uiplugin::ExpandPpdTemplate(many, medium));
}

TEST(PpdCustomMedia, NoMediaWriteAnEmptyLineAndBrokenBlocksStayAsTheyAre) {
    std::string written;
    ASSERT_TRUE(uiplugin::WritePpdCustomMedia(kPpd, {}, &written));
    EXPECT_NE(std::string::npos,
              written.find("SYN END - DO NOT REMOVE THIS TAG\r\n\r\n*%__ CMS END"));
    // The second block's template lacks its end: from that block on, the file stays as it was.
    std::string broken = kPpd;
    broken.erase(broken.rfind("*%__ SYN END"), sizeof("*%__ SYN END - DO NOT REMOVE THIS TAG"));
    ASSERT_TRUE(uiplugin::WritePpdCustomMedia(broken, kTwo, &written));
    const size_t second = broken.find("*DefaultPageSize");
    EXPECT_EQ(broken.substr(second), written.substr(written.find("*DefaultPageSize")));
    EXPECT_NE(std::string::npos, written.find("*PageSize A-520WIDE/A-5 wide"));
    // Without an end tag after a begin tag nothing is written.
    written = "untouched";
    EXPECT_FALSE(uiplugin::WritePpdCustomMedia("*%__ CMS END - DO NOT REMOVE THIS TAG\r\n"
                                               "*%__ CMS BEGIN - DO NOT REMOVE THIS TAG\r\n",
                                               kTwo, &written));
    EXPECT_EQ("untouched", written);
}

// The rewrite of a description file on the machine's disk.
class CustomMediaFile : public ::testing::Test {
protected:
    static constexpr common::FileRetries kQuick = {3, 0};

    void Put(const std::u16string& path, const std::string& text) {
        std::ofstream(sim::HostPath(sim::W(path)), std::ios::binary) << text;
    }
    std::string Get(const std::u16string& path) { return ReadBytes(sim::HostPath(sim::W(path))); }

    sim::TestMachine machine_;
    std::u16string gpd_ = u"C:\\Windows\\Temp\\custom.gpd";
    std::u16string ppd_ = u"C:\\Windows\\Temp\\custom.PPD";
};

TEST_F(CustomMediaFile, GpdAndPpdAreRewrittenByTheirExtension) {
    Put(gpd_, SampleGpd());
    EXPECT_EQ(S_OK, uiplugin::WriteCustomMediaFile(sim::W(gpd_), kTwo, kQuick));
    EXPECT_NE(std::string::npos, Get(gpd_).find("*Option: CUSTOM_A-520WIDE"));
    Put(ppd_, kPpd);
    EXPECT_EQ(S_OK, uiplugin::WriteCustomMediaFile(sim::W(ppd_), kTwo, kQuick));
    EXPECT_NE(std::string::npos, Get(ppd_).find("*PageSize A-520WIDE/A-5 wide"));
    const std::u16string other = u"C:\\Windows\\Temp\\custom.gpd.txt";
    Put(other, SampleGpd());
    EXPECT_EQ(S_FALSE, uiplugin::WriteCustomMediaFile(sim::W(other), kTwo, kQuick));
    EXPECT_EQ(SampleGpd(), Get(other));
}

TEST_F(CustomMediaFile, AFileWithoutTagsOrThatCannotBeReadIsLeftAlone) {
    Put(gpd_, "*GPDFileVersion: \"1.0\"\r\n");
    EXPECT_EQ(S_FALSE, uiplugin::WriteCustomMediaFile(sim::W(gpd_), kTwo, kQuick));
    EXPECT_EQ("*GPDFileVersion: \"1.0\"\r\n", Get(gpd_));
    EXPECT_EQ(E_FAIL,
              uiplugin::WriteCustomMediaFile(L"C:\\Windows\\Temp\\missing.gpd", kTwo, kQuick));
}

TEST_F(CustomMediaFile, AnInterruptedRewriteLeavesTheOldFileWhole) {
    Put(gpd_, SampleGpd());
    // A reader sharing only reading keeps both the move and the write in place out.
    HANDLE reader = CreateFileW(sim::W(gpd_), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    EXPECT_EQ(E_FAIL, uiplugin::WriteCustomMediaFile(sim::W(gpd_), kTwo, kQuick));
    CloseHandle(reader);
    EXPECT_EQ(SampleGpd(), Get(gpd_));
    const auto folder = std::filesystem::path(sim::HostPath(sim::W(gpd_))).parent_path();
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        EXPECT_EQ(std::string::npos, entry.path().filename().string().find("MOL"))
            << "no temporary file is left behind";
    }
}

} // namespace
} // namespace moltr::test
