// `moltr media`, `moltr forms` and `moltr printer gpd`: custom paper sizes made as the custom-size
// dialog makes them, seen in the forms database, the printer's marks and the driver's GPD.
#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include "moltr_run.h"
#include "sim/machine.h"
#include "sim/utf.h"

namespace moltr::test {
namespace {

constexpr char16_t kInstalledGpd[] = u"C:\\Windows\\System32\\spool\\drivers\\x64\\3\\MOLTR4KC.GPD";
constexpr char kBegin[] = "*% CMS BEGIN - DO NOT REMOVE THIS TAG";
constexpr char kEnd[] = "*% CMS END - DO NOT REMOVE THIS TAG";

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string InstalledGpd() {
    std::ifstream in(sim::HostPath(sim::W(kInstalledGpd)), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The GPD without its custom media block, which is all a change of the custom sizes may touch.
std::string OutsideTheBlock(const std::string& gpd) {
    const size_t begin = gpd.find(kBegin);
    const size_t end = gpd.find(kEnd);
    if (begin == std::string::npos || end == std::string::npos) {
        return gpd;
    }
    const size_t lineEnd = gpd.find('\n', end);
    return gpd.substr(0, begin) + gpd.substr(lineEnd == std::string::npos ? gpd.size() : lineEnd);
}

std::string Block(const std::string& gpd) {
    const size_t begin = gpd.find(kBegin);
    const size_t end = gpd.find(kEnd);
    return begin == std::string::npos || end == std::string::npos ? std::string()
                                                                  : gpd.substr(begin, end - begin);
}

class MoltrMedia : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Moltr("printer add Sample").status, 0); }
    sim::TestMachine machine_;
};

TEST_F(MoltrMedia, AnAddedSizeIsAMarkedFormListedAndWrittenIntoTheGpd) {
    const std::string before = InstalledGpd();
    EXPECT_EQ(Moltr("printer gpd Sample").output, before);
    ASSERT_EQ(Moltr("media Sample add \"My Size 1\" 100000 150000").status, 0);

    const std::string after = InstalledGpd();
    EXPECT_EQ(Moltr("printer gpd Sample").output, after);
    EXPECT_EQ(OutsideTheBlock(after), OutsideTheBlock(before));
    const std::string block = Block(after);
    EXPECT_TRUE(Contains(block, "*Else:\r\n*Define: _CUSTOM_MY20SIZE201_ALLOWED_01\r\n")) << block;
    EXPECT_TRUE(Contains(block,
                         "\t*Option: CUSTOM_MY20SIZE201\r\n\t{\r\n\t\t*Name: \"My Size 1\"\r\n"
                         "\t\t*PageDimensions: PAIR(4724,7086)\r\n"))
        << block;

    MoltrRun run = Moltr("media Sample list --json");
    ASSERT_EQ(run.status, 0);
    EXPECT_TRUE(Contains(run.output, "{\"name\": \"My Size 1\", \"width\": 100000, \"length\": "
                                     "150000, \"paperIndex\": "))
        << run.output;
    EXPECT_TRUE(Contains(run.output, "\"listed\": true}")) << run.output;
    run = Moltr("forms --json");
    EXPECT_TRUE(Contains(run.output, "\"name\": \"My Size 1\", \"flags\": 0, \"width\": 100000, "
                                     "\"length\": 150000, \"left\": 1, \"top\": 1, \"right\": "
                                     "99999, \"bottom\": 149999, \"customSizeOf\": [\"Sample\"]}"))
        << run.output;
    // The core driver offers it as a paper of the printer.
    EXPECT_TRUE(Contains(Moltr("devcaps Sample papernames").output, "My Size 1\n"));
}

// The options of item `id` in `moltr ui --json` output, as far as the end of its option list.
std::string ItemOptions(const std::string& json, int id) {
    const size_t item = json.find("{\"id\": " + std::to_string(id) + ", \"oem\": true");
    const size_t options = json.find("\"options\": [", item);
    if (item == std::string::npos || options == std::string::npos) {
        return std::string();
    }
    return json.substr(options, json.find("]}", options) - options);
}

TEST_F(MoltrMedia, TheDocumentSheetOffersAnAddedSizeInTheCustomSizeAndPaperLists) {
    ASSERT_EQ(Moltr("media Sample add \"My Size 1\" 100000 150000").status, 0);
    ASSERT_EQ(Moltr("media Sample add Huge 900000 900000").status, 0);
    MoltrRun run = Moltr("ui Sample --document --json");
    ASSERT_EQ(run.status, 0);
    const std::string custom = ItemOptions(run.output, 17052);
    EXPECT_TRUE(Contains(custom, "[{\"text\": \"My Size 1\", \"flags\": 0,")) << custom;
    EXPECT_TRUE(Contains(custom, "{\"text\": \"New custom size...\", \"flags\": 0,")) << custom;
    EXPECT_FALSE(Contains(custom, "Huge")) << custom;
    const std::string papers = ItemOptions(run.output, 1203);
    EXPECT_TRUE(Contains(papers, "{\"text\": \"Envelope #10\", \"flags\": 0, \"iconId\": 0, "
                                 "\"value\": 20}, {\"text\": \"My Size 1\", \"flags\": 0, "
                                 "\"iconId\": 0, \"value\": 32768}"))
        << papers;
    EXPECT_FALSE(Contains(papers, "Huge")) << papers;
}

TEST_F(MoltrMedia, ASizeOutsideTheModelsLimitsIsKeptButNeitherListedNorWritten) {
    ASSERT_EQ(Moltr("media Sample add Huge 900000 900000").status, 0);
    MoltrRun run = Moltr("media Sample list --json");
    EXPECT_EQ(run.output, "[{\"name\": \"Huge\", \"width\": 900000, \"length\": 900000, "
                          "\"paperIndex\": 0, \"listed\": false}]\n");
    const std::string block = Block(InstalledGpd());
    EXPECT_EQ(block, std::string(kBegin) + "\r\n\r\n*Ifdef: _FORMASSIGN_01\r\n*Else:\r\n"
                                           "*Endif: _FORMASSIGN_01\r\n\r\n");
}

TEST_F(MoltrMedia, NamesWhoseIdentifierIsTakenOrUnsafeAreRefusedWithNothingChanged) {
    ASSERT_EQ(Moltr("media Sample add \"My Size 1\" 100000 150000").status, 0);
    const std::string gpd = InstalledGpd();
    const std::string forms = Moltr("forms").output;
    for (const char* arguments :
         {"media Sample add MY20SIZE201 100000 150000", "media Sample add \"my size 1\" 1 1",
          "media Sample add Bad:name 100000 150000", "media Sample add \"\" 100000 150000",
          "media Sample add \"A/B\" 100000 150000", "media Sample add Zero 0 150000",
          "media Sample add Letter 100000 150000", "media Sample rename \"My Size 1\" \"\"",
          "media Sample rename Nope Other", "media Sample delete Nope", "media Nobody list",
          "media Sample frobnicate"}) {
        MoltrRun run = Moltr(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(run.output, "") << arguments;
    }
    EXPECT_EQ(InstalledGpd(), gpd);
    EXPECT_EQ(Moltr("forms").output, forms);
    // The hyphen is kept in an identifier.
    EXPECT_EQ(Moltr("media Sample add \"A-5 wide\" 150000 210000").status, 0);
    EXPECT_TRUE(Contains(InstalledGpd(), "*Option: CUSTOM_A-520WIDE\r\n"));
}

TEST_F(MoltrMedia, RenameMovesTheMarkAndDeleteRemovesFormMarkAndOption) {
    ASSERT_EQ(Moltr("media Sample add \"My Size 1\" 100000 150000").status, 0);
    ASSERT_EQ(Moltr("media Sample rename \"My Size 1\" Card").status, 0);
    MoltrRun run = Moltr("forms");
    EXPECT_FALSE(Contains(run.output, "My Size 1")) << run.output;
    EXPECT_TRUE(Contains(run.output, "custom size of Sample")) << run.output;
    std::string gpd = InstalledGpd();
    EXPECT_TRUE(Contains(gpd, "*Option: CUSTOM_CARD\r\n"));
    EXPECT_FALSE(Contains(gpd, "MY20SIZE201"));

    ASSERT_EQ(Moltr("media Sample delete Card").status, 0);
    EXPECT_FALSE(Contains(Moltr("forms").output, "Card"));
    EXPECT_EQ(Moltr("media Sample list --json").output, "[]\n");
    EXPECT_FALSE(Contains(InstalledGpd(), "CUSTOM_CARD"));
}

TEST_F(MoltrMedia, AUserFormOfAnotherApplicationIsNoCustomSize) {
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(L"Sample"), &printer, &defaults));
    FORM_INFO_1W form = {
        FORM_USER, const_cast<LPWSTR>(L"Foreign"), {100000, 150000}, {0, 0, 100000, 150000}};
    ASSERT_TRUE(AddFormW(printer, 1, reinterpret_cast<LPBYTE>(&form)));
    ClosePrinter(printer);
    EXPECT_EQ(Moltr("media Sample list --json").output, "[]\n");
    EXPECT_EQ(Moltr("media Sample delete Foreign").status, 2);
    EXPECT_TRUE(Contains(Moltr("forms").output, "Foreign"));
}

} // namespace
} // namespace moltr::test
