// A key of a printer's data is kept in one file that each change is appended to: a reader that
// finds the last change cut short (still being written, or its writer died) sees the key as it was
// before that change, the next write repairs the file, and rewriting a value again and again does
// not let the file grow without bound.
#include "spool_fixture.h"

#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

using moltr::test::ReadBytes;
using moltr::test::SpoolTest;
using moltr::test::W;
using moltr::test::WriteBytes;

namespace {

class SpoolKeyFileTest : public SpoolTest {
protected:
    void SetUp() override {
        SpoolTest::SetUp();
        admin_ = Open(PRINTER_ALL_ACCESS);
    }
    void TearDown() override { ClosePrinter(admin_); }

    fs::path KeyFile() const {
        for (const auto& printer :
             fs::directory_iterator(fs::path(machine_.root()) / "spool" / "printers")) {
            return printer.path() / "data" / "PRINTERDRIVERDATA";
        }
        return {};
    }
    DWORD Set(const char16_t* name, const std::vector<BYTE>& data) {
        return SetPrinterDataExW(admin_, W(u"PrinterDriverData"), W(name), REG_BINARY,
                                 const_cast<BYTE*>(data.data()), static_cast<DWORD>(data.size()));
    }
    // The value's bytes; empty when it cannot be read.
    std::vector<BYTE> Get(const char16_t* name) {
        std::vector<BYTE> data(1024);
        DWORD needed = 0;
        DWORD error = GetPrinterDataExW(admin_, W(u"PrinterDriverData"), W(name), nullptr,
                                        data.data(), static_cast<DWORD>(data.size()), &needed);
        data.resize(error == ERROR_SUCCESS ? needed : 0);
        return data;
    }

    HANDLE admin_ = nullptr;
};

const std::vector<BYTE> kOld(100, 0x11);
const std::vector<BYTE> kNew(120, 0x22);
const std::vector<BYTE> kFirst = {1, 2, 3};

} // namespace

TEST_F(SpoolKeyFileTest, AChangeCutShortReadsAsTheKeyBeforeIt) {
    ASSERT_EQ(Set(u"First", kFirst), 0u);
    ASSERT_EQ(Set(u"Image", kOld), 0u);
    const std::string before = ReadBytes(KeyFile());
    ASSERT_EQ(Set(u"Image", kNew), 0u);
    const std::string after = ReadBytes(KeyFile());
    ASSERT_GT(after.size(), before.size());
    ASSERT_EQ(after.substr(0, before.size()), before) << "a change is appended";
    for (size_t length = before.size(); length < after.size(); ++length) {
        WriteBytes(KeyFile(), after.substr(0, length));
        ASSERT_EQ(Get(u"Image"), kOld) << "cut at " << length;
        ASSERT_EQ(Get(u"First"), kFirst) << "cut at " << length;
    }
    WriteBytes(KeyFile(), after);
    EXPECT_EQ(Get(u"Image"), kNew);
}

TEST_F(SpoolKeyFileTest, TheWriteAfterAChangeCutShortKeepsEveryWholeChange) {
    ASSERT_EQ(Set(u"First", kFirst), 0u);
    const std::string before = ReadBytes(KeyFile());
    ASSERT_EQ(Set(u"Image", kOld), 0u);
    const std::string after = ReadBytes(KeyFile());
    WriteBytes(KeyFile(), after.substr(0, before.size() + (after.size() - before.size()) / 2));
    ASSERT_EQ(Set(u"Second", kNew), 0u);
    EXPECT_EQ(Get(u"First"), kFirst);
    EXPECT_EQ(Get(u"Second"), kNew);
    EXPECT_TRUE(Get(u"Image").empty()) << "the change cut short never happened";
}

TEST_F(SpoolKeyFileTest, RewritingAValueOftenKeepsTheFileNearTheSizeOfTheKey) {
    std::vector<BYTE> image(300);
    for (int round = 0; round < 200; ++round) {
        image.assign(image.size(), static_cast<BYTE>(round));
        ASSERT_EQ(Set(u"Image", image), 0u);
    }
    EXPECT_EQ(Get(u"Image"), image);
    // Changes may take twice the key and 4 KiB more before the file is written whole again.
    EXPECT_LE(fs::file_size(KeyFile()), 3 * (image.size() + 100) + 4096);
}

TEST_F(SpoolKeyFileTest, RemovalsAreChangesLikeAnyOther) {
    ASSERT_EQ(Set(u"First", kFirst), 0u);
    ASSERT_EQ(Set(u"Image", kOld), 0u);
    ASSERT_EQ(DeletePrinterDataExW(admin_, W(u"PrinterDriverData"), W(u"First")), 0u);
    EXPECT_TRUE(Get(u"First").empty());
    EXPECT_EQ(DeletePrinterDataExW(admin_, W(u"PrinterDriverData"), W(u"First")),
              DWORD{ERROR_FILE_NOT_FOUND});
    ASSERT_EQ(Set(u"First", kFirst), 0u);
    DWORD needed = 0;
    DWORD count = 0;
    std::vector<BYTE> buffer(4096);
    ASSERT_EQ(EnumPrinterDataExW(admin_, W(u"PrinterDriverData"), buffer.data(),
                                 static_cast<DWORD>(buffer.size()), &needed, &count),
              0u);
    ASSERT_EQ(count, 2u);
    auto* values = reinterpret_cast<PRINTER_ENUM_VALUESW*>(buffer.data());
    EXPECT_EQ(moltr::sim::Utf8(values[0].pValueName), "Image");
    EXPECT_EQ(moltr::sim::Utf8(values[1].pValueName), "First") << "set again, it comes last";
}

// The file of a key written whole as a bare bag: "MSPL", version 1, the title, the value count,
// then per value its name, type, size and data, with 32-bit lengths and UTF-16 texts.
TEST_F(SpoolKeyFileTest, AKeyWrittenAsABareBagStillReads) {
    ASSERT_EQ(Set(u"First", kFirst), 0u);
    std::string bag = "MSPL";
    auto number = [&bag](uint32_t n) { bag.append(reinterpret_cast<const char*>(&n), 4); };
    auto text = [&](const char16_t* t) {
        std::u16string s(t);
        number(static_cast<uint32_t>(s.size()));
        bag.append(reinterpret_cast<const char*>(s.data()), s.size() * 2);
    };
    number(1);
    text(u"PrinterDriverData");
    number(1);
    text(u"Old");
    number(REG_BINARY);
    number(2);
    bag += "\x07\x08";
    WriteBytes(KeyFile(), bag);
    EXPECT_EQ(Get(u"Old"), (std::vector<BYTE>{7, 8}));
    EXPECT_TRUE(Get(u"First").empty());
    ASSERT_EQ(Set(u"New", kFirst), 0u);
    EXPECT_EQ(Get(u"Old"), (std::vector<BYTE>{7, 8}));
    EXPECT_EQ(Get(u"New"), kFirst);
}
