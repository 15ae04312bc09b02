#include <gtest/gtest.h>
#include <winspool.h>
#include <filesystem>
#include <fstream>
#include "open_tree.h"
#include "raised_messages.h"
#include "sample_layout.h"
#include "sim/machine.h"
#include "sim/spooler_admin.h"
#include "store/image_layout.h"

using namespace moltr::store;
using namespace moltr::store::testing;
using namespace moltr::store::testing::sample;

namespace {

WCHAR kPrinterName[] = L"Store Laser";
WCHAR kValueName[] = L"PRINTERSETTINGS";

// A machine with one printer, opened for administration (printer data can be written) and for
// use only (it cannot).
class PrinterData : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string gpd = machine_.root() + "/STORE.GPD";
        std::ofstream(gpd) << "*GPDFileVersion: 1.0\r\n";
        moltr::sim::DriverSetup driver;
        driver.name = u"Store Laser PCL6";
        driver.dataFile = gpd;
        ASSERT_TRUE(moltr::sim::InstallDriver(driver));
        moltr::sim::PrinterSetup printer;
        printer.name = moltr::sim::Utf16("Store Laser");
        printer.driver = driver.name;
        ASSERT_TRUE(moltr::sim::AddPrinter(printer));
        PRINTER_DEFAULTSW all{nullptr, nullptr, PRINTER_ALL_ACCESS};
        ASSERT_TRUE(OpenPrinterW(kPrinterName, &admin_, &all));
        PRINTER_DEFAULTSW use{nullptr, nullptr, PRINTER_ACCESS_USE};
        ASSERT_TRUE(OpenPrinterW(kPrinterName, &user_, &use));
    }
    void TearDown() override {
        ClosePrinter(admin_);
        ClosePrinter(user_);
    }

    void Put(const std::vector<BYTE>& image, WCHAR* name = kValueName) {
        ASSERT_EQ(SetPrinterDataW(admin_, name, REG_BINARY, const_cast<BYTE*>(image.data()),
                                  static_cast<DWORD>(image.size())),
                  0u);
    }
    std::vector<BYTE> Stored(WCHAR* name = kValueName) {
        DWORD type = 0;
        DWORD needed = 0;
        GetPrinterDataW(admin_, name, &type, nullptr, 0, &needed);
        std::vector<BYTE> image(needed);
        EXPECT_EQ(GetPrinterDataW(admin_, name, &type, image.data(), needed, &needed), 0u);
        EXPECT_EQ(type, DWORD{REG_BINARY});
        return image;
    }
    StructureRecord* Open() {
        StructureRecord* record = nullptr;
        EXPECT_EQ(OpenByHandle(admin_, kValueName, &record), kClassSuccess);
        return record;
    }

    static std::vector<BYTE> SampleImage() {
        std::vector<BYTE> image;
        EXPECT_EQ(WriteImage(SampleTree(), image), kClassSuccess);
        return image;
    }
    // The owner and cursor fields of each header mean nothing in stored form.
    static void ClearOwnerAndCursors(std::vector<BYTE>& image) {
        for (size_t header : {size_t{0}, kOptionHeader, kDeepHeader}) {
            std::memset(image.data() + header + 8, 0, 8);
            std::memset(image.data() + header + 146, 0, 8);
        }
    }

    static std::string Text(StructureHandle handle, LPCWSTR field, size_t element = 0) {
        LPCWSTR texts[2] = {};
        EXPECT_EQ(GetField(handle, field, texts, sizeof texts), kClassSuccess);
        return texts[element] != nullptr ? moltr::sim::Utf8(texts[element]) : "<null>";
    }

    moltr::sim::TestMachine machine_;
    HANDLE admin_ = nullptr;
    HANDLE user_ = nullptr;
};

} // namespace

TEST_F(PrinterData, ImageReadAndWrittenBackIsEqualApartFromOwnerAndCursors) {
    const std::vector<BYTE> written = SampleImage();
    Put(written);
    StructureRecord* record = Open();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->stringAreaStart, kStrings);
    EXPECT_EQ(record->stringBytes, kImageSize - kStrings);
    StructureHandle root = nullptr;
    StructureHandle option = nullptr;
    ASSERT_EQ(GetStructure(record, L"PRINTERSETTINGS", &root, L"B"), kClassSuccess);
    ASSERT_EQ(GetStructure(record, L"OPTION", &option, nullptr), kClassSuccess);
    ASSERT_EQ(SelectField(option, L"_ID"), kClassSuccess);
    ASSERT_EQ(SaveByHandle(&record, admin_, TRUE), kClassSuccess);
    EXPECT_EQ(record, nullptr);
    std::vector<BYTE> read = Stored();
    ASSERT_EQ(read.size(), written.size());
    EXPECT_NE(read, written) << "the cursors were saved";
    ClearOwnerAndCursors(read);
    EXPECT_EQ(read, written);
}

TEST_F(PrinterData, StoredImagesHoldNoOwnerAddresses) {
    Put(SampleImage());
    StructureRecord* record = Open();
    ASSERT_NE(record, nullptr);
    StructureHandle root = nullptr;
    StructureHandle option = nullptr;
    StructureHandle deep = nullptr;
    ASSERT_EQ(GetStructure(record, L"PRINTERSETTINGS", &root, nullptr), kClassSuccess);
    ASSERT_EQ(GetStructure(record, L"OPTION", &option, nullptr), kClassSuccess);
    ASSERT_EQ(GetStructure(record, L"DEEP", &deep, nullptr), kClassSuccess);
    auto owners = [](const std::vector<BYTE>& image) {
        std::vector<ULONG64> found;
        for (size_t header : {size_t{0}, kOptionHeader, kDeepHeader}) {
            ULONG64 owner = 0;
            std::memcpy(&owner, image.data() + header + 8, sizeof owner);
            found.push_back(owner);
        }
        return found;
    };
    const std::vector<ULONG64> none(3, 0);
    ASSERT_EQ(SaveByHandle(&record, admin_, FALSE), kClassSuccess);
    EXPECT_EQ(owners(Stored()), none);
    // In memory the structures still know their record, so that a text change in a
    // sub-structure makes the next save rebuild the string area.
    for (StructureHandle handle : {root, option, deep}) {
        const ULONG64 owner = handle->owner;
        EXPECT_EQ(owner, AddressOf(record));
    }
    ASSERT_EQ(SaveByHandle(&record, admin_, TRUE), kClassSuccess);
    EXPECT_EQ(owners(Stored()), none);
}

TEST_F(PrinterData, SaveKeepingTheRecordOpenLeavesItInMemoryForm) {
    Put(SampleImage());
    StructureRecord* record = Open();
    StructureHandle root = nullptr;
    ASSERT_EQ(GetStructure(record, L"PRINTERSETTINGS", &root, nullptr), kClassSuccess);
    const DWORD size = 4242;
    ASSERT_EQ(SetField(root, L"_SIZE", &size, sizeof size), kClassSuccess);
    ASSERT_EQ(SaveByHandle(&record, admin_, FALSE), kClassSuccess);
    ASSERT_NE(record, nullptr);
    // Without string changes the image stays where it was, and so do the handles.
    EXPECT_EQ(Read<DWORD>(root, L"_SIZE"), 4242u);
    EXPECT_EQ(Text(root, L"_NAME", 1), "second");
    const ULONG64 owner = root->owner;
    EXPECT_EQ(owner, AddressOf(record));
    EXPECT_EQ(Close(&record), kClassSuccess);
    record = Open();
    root = nullptr;
    ASSERT_EQ(GetStructure(record, L"PRINTERSETTINGS", &root, nullptr), kClassSuccess);
    EXPECT_EQ(Read<DWORD>(root, L"_SIZE"), 4242u);
    Close(&record);
}

TEST_F(PrinterData, LongerStringGrowsTheImageByTheDifference) {
    Put(SampleImage());
    StructureRecord* record = Open();
    StructureHandle root = nullptr;
    ASSERT_EQ(GetStructure(record, L"PRINTERSETTINGS", &root, nullptr), kClassSuccess);
    LPCWSTR names[2] = {};
    ASSERT_EQ(GetField(root, L"_NAME", names, sizeof names), kClassSuccess);
    names[0] = L"first, and longer"; // 17 characters instead of 5
    ASSERT_EQ(SetField(root, L"_NAME", names, sizeof names), kClassSuccess);
    EXPECT_TRUE(record->stringsChanged);
    ASSERT_EQ(SaveByHandle(&record, admin_, TRUE), kClassSuccess);
    EXPECT_EQ(Stored().size(), kImageSize + 12 * 2);

    record = Open();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->stringBytes, kImageSize + 24 - kStrings);
    std::vector<std::string> texts;
    root = nullptr;
    while (GetStructure(record, L"PRINTERSETTINGS", &root, nullptr) == kClassSuccess) {
        texts.push_back(Text(root, L"TAG"));
        texts.push_back(Text(root, L"_NAME", 0));
        texts.push_back(Text(root, L"_NAME", 1));
        StructureHandle option = nullptr;
        while (GetStructure(record, L"OPTION", &option, nullptr) == kClassSuccess) {
            texts.push_back(Text(option, L"TAG"));
        }
    }
    EXPECT_EQ(texts,
              (std::vector<std::string>{"A", "first, and longer", "second", "X", "Y", "B", "<null>",
                                        "<null>", "X", "Z", "X", "a", "<null>", "third"}));
    root = nullptr;
    StructureHandle option = nullptr;
    StructureHandle deep = nullptr;
    ASSERT_EQ(GetStructure(record, L"PRINTERSETTINGS", &root, nullptr), kClassSuccess);
    ASSERT_EQ(GetStructure(record, L"OPTION", &option, nullptr), kClassSuccess);
    ASSERT_EQ(GetStructure(record, L"DEEP", &deep, nullptr), kClassSuccess);
    EXPECT_EQ(Text(deep, L"TAG"), "D");
    Close(&record);
}

TEST_F(PrinterData, NullStringDropsItsTextAndAnOpenRecordStaysUsable) {
    Put(SampleImage());
    StructureRecord* record = Open();
    StructureHandle root = nullptr;
    ASSERT_EQ(GetStructure(record, L"PRINTERSETTINGS", &root, L"a"), kClassSuccess);
    const LPCWSTR none[2] = {};
    ASSERT_EQ(SetField(root, L"_NAME", none, sizeof none), kClassSuccess); // drops "third"
    ASSERT_EQ(SaveByHandle(&record, admin_, FALSE), kClassSuccess);
    ASSERT_NE(record, nullptr);
    EXPECT_FALSE(record->stringsChanged);
    EXPECT_EQ(record->imageSize, kImageSize - 12);
    EXPECT_EQ(record->stringAreaStart, kStrings);
    EXPECT_EQ(Stored().size(), kImageSize - 12);
    // The image was replaced: handles are taken again.
    root = nullptr;
    ASSERT_EQ(GetStructure(record, L"PRINTERSETTINGS", &root, nullptr), kClassSuccess);
    EXPECT_EQ(Text(root, L"_NAME", 1), "second");
    EXPECT_EQ((AddressOf(record->image) + record->stringAreaStart) % 2, 0u);
    Close(&record);
}

TEST_F(PrinterData, FailedWriteLeavesTheValueAndAUsableRecord) {
    Put(SampleImage());
    StructureRecord* record = Open();
    StructureHandle root = nullptr;
    ASSERT_EQ(GetStructure(record, L"PRINTERSETTINGS", &root, nullptr), kClassSuccess);
    const DWORD size = 1;
    ASSERT_EQ(SetField(root, L"_SIZE", &size, sizeof size), kClassSuccess);
    LPCWSTR names[2] = {L"changed", nullptr};
    ASSERT_EQ(SetField(root, L"_NAME", names, sizeof names), kClassSuccess);
    // The outcome of the write is not passed back.
    EXPECT_EQ(SaveByHandle(&record, user_, FALSE), kClassSuccess);
    ASSERT_NE(record, nullptr);
    root = nullptr;
    ASSERT_EQ(GetStructure(record, L"PRINTERSETTINGS", &root, nullptr), kClassSuccess);
    EXPECT_EQ(Read<DWORD>(root, L"_SIZE"), 1u);
    EXPECT_EQ(Text(root, L"_NAME", 0), "changed");
    EXPECT_EQ(Stored(), SampleImage());
    Close(&record);
}

TEST_F(PrinterData, RefusedValuesOpenNothingAndSayWhy) {
    struct Case {
        const char* what;
        std::vector<BYTE> image;
        DWORD number;
    };
    std::vector<Case> cases;
    std::vector<BYTE> image = SampleImage();
    image[4] = 0x4F;
    image[5] = 0x02; // version 0x24F
    cases.push_back({"version 0x24F", image, 63005});
    image = SampleImage();
    image[0] = 'X';
    cases.push_back({"signature", image, 63004});
    image = SampleImage();
    image[kRootData + kOptionField] = 0; // the sub-structure at the root's own header
    cases.push_back({"bad offset", image, 63003});
    cases.push_back({"too short for a header", std::vector<BYTE>(100, 0), 63003});
    for (const Case& test : cases) {
        Put(test.image);
        RaisedMessages raised;
        StructureRecord* record = reinterpret_cast<StructureRecord*>(8);
        EXPECT_EQ(OpenByHandle(admin_, kValueName, &record), kClassError) << test.what;
        EXPECT_EQ(raised.Take(), std::vector<DWORD>{test.number}) << test.what;
        EXPECT_EQ(record, nullptr) << test.what;
    }
}

TEST_F(PrinterData, MissingOrEmptyValueIsUnreadable) {
    RaisedMessages raised;
    StructureRecord* record = nullptr;
    EXPECT_EQ(OpenByHandle(admin_, L"OEMDEVMODE", &record), kClassError);
    EXPECT_EQ(record, nullptr);
    EXPECT_EQ(raised.Take(), std::vector<DWORD>{63003});
    // A value of size 0 answers the size query with success.
    ASSERT_EQ(SetPrinterDataW(admin_, kValueName, REG_BINARY, nullptr, 0), 0u);
    EXPECT_EQ(OpenByHandle(admin_, kValueName, &record), kClassError);
    EXPECT_EQ(record, nullptr);
    EXPECT_EQ(raised.Take(), std::vector<DWORD>{63003});
}

TEST_F(PrinterData, LoadByHandleReplacesTheImageOfAnOpenRecord) {
    Put(SampleImage());
    StructureRecord* record = Open();
    CompiledStructure other = Structure(u"OTHER", {}, 1);
    PutText(other, 0, u"TAG", u"T");
    std::vector<BYTE> image;
    ASSERT_EQ(WriteImage(other, image), kClassSuccess);
    WCHAR otherName[] = L"OTHER";
    Put(image, otherName);
    ASSERT_EQ(LoadByHandle(record, admin_, otherName), kClassSuccess);
    EXPECT_EQ(record->imageSize, image.size());
    EXPECT_EQ(record->stringBytes, 4u);
    EXPECT_EQ(LoadByHandle(record, admin_, L"MISSING"), kClassError);
    EXPECT_EQ(record->imageSize, image.size()) << "the size query failed: the image stays";
    Close(&record);
}

TEST_F(PrinterData, ByNameOpensAndSavesThroughTheNamedPrinter) {
    Put(SampleImage());
    StructureRecord* record = nullptr;
    ASSERT_EQ(OpenByName(kPrinterName, kValueName, &record), kClassSuccess);
    StructureHandle root = nullptr;
    ASSERT_EQ(GetStructure(record, L"PRINTERSETTINGS", &root, nullptr), kClassSuccess);
    const DWORD size = 77;
    ASSERT_EQ(SetField(root, L"_SIZE", &size, sizeof size), kClassSuccess);
    ASSERT_EQ(SaveByName(&record, kPrinterName, TRUE), kClassSuccess);
    EXPECT_EQ(record, nullptr);
    std::vector<BYTE> stored = Stored();
    DWORD saved = 0;
    std::memcpy(&saved, stored.data() + kRootData + kSizeField, sizeof saved);
    EXPECT_EQ(saved, 77u);
}

TEST_F(PrinterData, UnknownPrinterNameIsAnError) {
    StructureRecord* record = nullptr;
    EXPECT_EQ(OpenByName(L"No Such Printer", kValueName, &record), kClassError);
    EXPECT_EQ(record, nullptr);
    ASSERT_EQ(BuildRecord(SampleTree(), &record), kClassSuccess);
    EXPECT_EQ(SaveByName(&record, L"No Such Printer", FALSE), kClassError);
    ASSERT_NE(record, nullptr);
    // With close set the record goes whatever happens.
    EXPECT_EQ(SaveByName(&record, L"No Such Printer", TRUE), kClassError);
    EXPECT_EQ(record, nullptr);
}

TEST_F(PrinterData, BuiltRecordSavesTheWritersImage) {
    StructureRecord* record = nullptr;
    ASSERT_EQ(BuildRecord(SampleTree(), &record), kClassSuccess);
    ASSERT_EQ(SaveByHandle(&record, admin_, TRUE), kClassSuccess);
    EXPECT_EQ(Stored(), SampleImage());
}

TEST_F(PrinterData, RejectsMissingArguments) {
    StructureRecord* record = nullptr;
    EXPECT_EQ(OpenByHandle(nullptr, kValueName, &record), kClassInternal);
    EXPECT_EQ(OpenByHandle(INVALID_HANDLE_VALUE, kValueName, &record), kClassInternal);
    EXPECT_EQ(OpenByHandle(admin_, L"", &record), kClassInternal);
    EXPECT_EQ(OpenByHandle(admin_, nullptr, &record), kClassInternal);
    EXPECT_EQ(OpenByHandle(admin_, kValueName, nullptr), kClassInternal);
    EXPECT_EQ(OpenByName(nullptr, kValueName, &record), kClassInternal);
    EXPECT_EQ(LoadByHandle(nullptr, admin_, kValueName), kClassInternal);
    ASSERT_EQ(BuildRecord(SampleTree(), &record), kClassSuccess);
    EXPECT_EQ(SaveByHandle(&record, nullptr, FALSE), kClassInternal);
    EXPECT_EQ(SaveByHandle(&record, INVALID_HANDLE_VALUE, FALSE), kClassInternal);
    EXPECT_EQ(SaveByName(&record, L"", FALSE), kClassInternal);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(LoadByHandle(record, admin_, L""), kClassInternal);
    EXPECT_EQ(SaveByHandle(nullptr, admin_, TRUE), kClassInternal);
    // A closing save releases the record also when its arguments stop it.
    EXPECT_EQ(SaveByHandle(&record, nullptr, TRUE), kClassInternal);
    EXPECT_EQ(record, nullptr);
    ASSERT_EQ(BuildRecord(SampleTree(), &record), kClassSuccess);
    EXPECT_EQ(SaveByName(&record, nullptr, TRUE), kClassInternal);
    EXPECT_EQ(record, nullptr);
    EXPECT_EQ(SaveByHandle(&record, admin_, TRUE), kClassInternal);
}
