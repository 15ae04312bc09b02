// The printer commands of `moltr` on the sample printer: adding and compiling it, its data, its
// settings changed through the settings object, and its private devmode.
#include <cstdio>
#include "settings_printer.h"
#include "moltr_run.h"

namespace moltr::test {
namespace {

namespace fs = std::filesystem;

std::string InstalledSample() {
    std::u16string path = u"C:\\Windows\\System32\\spool\\drivers\\x64\\3\\MOLTR4KC.GPD";
    return sim::HostPath(sim::W(path));
}

// True when every character is a hexadecimal digit or white space, in pairs.
bool HexPairs(const std::string& text, size_t pairs) {
    size_t digits = 0;
    for (char c : text) {
        if (std::isxdigit(static_cast<unsigned char>(c))) {
            ++digits;
        } else if (!std::isspace(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return digits == 2 * pairs;
}

class MoltrSample : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(0, Moltr("printer add Sample").status);
        MoltrRun compile = Moltr("printer compile Sample");
        ASSERT_EQ(0, compile.status) << compile.output;
        // Adding the printer initialised it, compiling its descriptions: nothing is left to do.
        ASSERT_EQ("result: 0\n", compile.output);
    }

    sim::TestMachine machine_;
};

TEST_F(MoltrSample, SettingsChangeRewritesOnlyTheRtiBlock) {
    std::string before = ReadHostFile(InstalledSample());
    MoltrRun run = Moltr("printer settings Sample _DUPLEXTYPE=2 _FORMSIZE_ALLOWED_00=A4_ONLY");
    ASSERT_EQ(0, run.status);
    EXPECT_NE(std::string::npos, run.output.find("_DUPLEXTYPE                      DWORD         "
                                                 "20     4  2\n"))
        << run.output;
    std::string after = ReadHostFile(InstalledSample());
    const std::string begin = "*% RTI BEGIN - DO NOT REMOVE THIS TAG\r\n";
    const std::string end = "*% RTI END - DO NOT REMOVE THIS TAG\r\n";
    size_t blockStart = before.find(begin);
    size_t blockEnd = before.find(end) + end.size();
    ASSERT_NE(std::string::npos, blockStart);
    size_t newEnd = after.find(end) + end.size();
    EXPECT_EQ(before.substr(0, blockStart), after.substr(0, blockStart));
    EXPECT_EQ(before.substr(blockEnd), after.substr(newEnd));
    // The block differs from the sample's exactly in the changed settings.
    std::string oldBlock = before.substr(blockStart, blockEnd - blockStart);
    std::string expected = oldBlock;
    expected.replace(expected.find("_DUPLEXTYPE_01000000"), 20, "_DUPLEXTYPE_02000000");
    expected.insert(expected.find(end), "*Define: A4_ONLY\r\n");
    EXPECT_EQ(expected, after.substr(blockStart, newEnd - blockStart));

    // The printer data keeps the change for the next object.
    run = Moltr("printer settings Sample");
    EXPECT_NE(std::string::npos, run.output.find("\"A4_ONLY\"")) << run.output;
}

TEST_F(MoltrSample, SettingsRefuseUnknownFieldsAndBadValues) {
    std::string before = ReadHostFile(InstalledSample());
    EXPECT_EQ(2, Moltr("printer settings Sample _NOSUCH=1").status);
    EXPECT_EQ(2, Moltr("printer settings Sample _DUPLEXTYPE=two").status);
    EXPECT_EQ(2, Moltr("printer settings Sample _DUPLEXTYPE").status);
    EXPECT_EQ(2, Moltr("printer settings Nobody").status);
    EXPECT_EQ(before, ReadHostFile(InstalledSample()));
}

TEST_F(MoltrSample, DataValuesListedAndShown) {
    MoltrRun list = Moltr("printer data Sample");
    ASSERT_EQ(0, list.status);
    for (const char* value : {"OEMDEVMODE ", "PRINTERSETTINGS ", "Timestamp "}) {
        EXPECT_NE(std::string::npos, list.output.find(value)) << list.output;
    }
    MoltrRun timestamp = Moltr("printer data Sample Timestamp --hex");
    EXPECT_EQ(0, timestamp.status);
    EXPECT_TRUE(HexPairs(timestamp.output, 16)) << timestamp.output;
    EXPECT_EQ(2, Moltr("printer data Sample NoSuchValue").status);
}

TEST_F(MoltrSample, DefaultDevModeDecodedAndInBytes) {
    MoltrRun decoded = Moltr("devmode Sample --default");
    ASSERT_EQ(0, decoded.status);
    EXPECT_NE(std::string::npos, decoded.output.find("_WMK_TEXT                        CHAR"
                                                     "          29   128  \"Confidential\"\n"))
        << decoded.output;
    MoltrRun hex = Moltr("devmode Sample --default --hex");
    ASSERT_EQ(0, hex.status);
    EXPECT_EQ(0u, hex.output.rfind("32 02 00 00 4d 4f 4c 54 ", 0)) << hex.output.substr(0, 60);
    EXPECT_TRUE(HexPairs(hex.output, 562));
}

TEST(MoltrSamples, ThePclXlSampleIsAddedByItsLanguageAndCompiles) {
    sim::TestMachine machine;
    MoltrRun add = Moltr("printer add Colour --sample pcl6");
    ASSERT_EQ(0, add.status) << add.output;
    EXPECT_NE(std::string::npos,
              add.output.find("with driver MOLTR ColorLaser 4000 PCL6 (MOLTR4KX.GPD)"))
        << add.output;
    MoltrRun compile = Moltr("printer compile Colour");
    // Adding the printer compiled its descriptions already.
    EXPECT_EQ("result: 0\n", compile.output);
    EXPECT_EQ(2, Moltr("printer add Other --sample pcl9").status);
}

} // namespace
} // namespace moltr::test
