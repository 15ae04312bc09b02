// Printer data: values with keys and types, the sizing protocol, access, keys and enumeration.
#include "spool_fixture.h"

#include <cstring>

using moltr::sim::Utf16;
using moltr::sim::Utf8;
using moltr::test::Inside;
using moltr::test::SpoolTest;
using moltr::test::WideArg;

namespace {

class SpoolDataTest : public SpoolTest {
protected:
    void SetUp() override {
        SpoolTest::SetUp();
        admin_ = Open(PRINTER_ALL_ACCESS);
        reader_ = Open(0);
    }
    void TearDown() override {
        ClosePrinter(admin_);
        ClosePrinter(reader_);
    }

    DWORD Set(const char16_t* key, const char16_t* name, DWORD type,
              const std::vector<BYTE>& data) {
        return SetPrinterDataExW(admin_, W(key), W(name), type, const_cast<BYTE*>(data.data()),
                                 static_cast<DWORD>(data.size()));
    }
    // Reads a value with a size query first, as the store does.
    DWORD Get(const char16_t* key, const char16_t* name, DWORD& type, std::vector<BYTE>& data) {
        DWORD needed = 0xFFFF;
        DWORD error = GetPrinterDataExW(reader_, W(key), W(name), &type, nullptr, 0, &needed);
        if (error == ERROR_MORE_DATA) {
            data.assign(needed, 0);
            error =
                GetPrinterDataExW(reader_, W(key), W(name), &type, data.data(), needed, &needed);
        } else if (error == ERROR_SUCCESS) {
            data.clear();
        }
        return error;
    }
    static const WCHAR* W(const char16_t* text) { return reinterpret_cast<const WCHAR*>(text); }
    std::vector<std::u16string> Subkeys(const char16_t* key, DWORD* error = nullptr) {
        DWORD needed = 0;
        DWORD status = EnumPrinterKeyW(reader_, W(key), nullptr, 0, &needed);
        std::vector<std::u16string> names;
        if (status == ERROR_MORE_DATA) {
            std::vector<WCHAR> list(needed / 2);
            status = EnumPrinterKeyW(reader_, W(key), list.data(), needed, &needed);
            for (const WCHAR* at = list.data(); *at; at += moltr::sim::View(at).size() + 1) {
                names.emplace_back(moltr::sim::View(at));
            }
        }
        if (error) {
            *error = status;
        }
        return names;
    }

    HANDLE admin_ = nullptr;
    HANDLE reader_ = nullptr;
};

const std::vector<BYTE> kImage = {'M', 'O', 'L', 'T', 0x50, 0x02, 0, 0, 9, 8, 7};

} // namespace

// --- Values and the sizing protocol -------------------------------------------------------------

TEST_F(SpoolDataTest, SizeQueryThenReadAsTheStoreDoes) {
    ASSERT_EQ(Set(u"PrinterDriverData", u"OEMDEVMODE", REG_BINARY, kImage), 0u);
    DWORD type = 0;
    DWORD needed = 0;
    WideArg name("OEMDEVMODE");
    EXPECT_EQ(GetPrinterDataW(reader_, name, &type, nullptr, 0, &needed), DWORD{ERROR_MORE_DATA});
    EXPECT_EQ(needed, kImage.size());
    std::vector<BYTE> data(needed + 4, 0xEE);
    EXPECT_EQ(GetPrinterDataW(reader_, name, &type, data.data(), needed - 1, &needed),
              DWORD{ERROR_MORE_DATA});
    EXPECT_EQ(data[0], 0xEE) << "a too small buffer is left alone";
    EXPECT_EQ(GetPrinterDataW(reader_, name, &type, data.data(), needed, &needed), 0u);
    EXPECT_EQ(type, DWORD{REG_BINARY});
    EXPECT_EQ(std::vector<BYTE>(data.begin(), data.begin() + needed), kImage);
    EXPECT_EQ(data[needed], 0xEE);
    // A larger buffer reports the value's own size; the type is optional.
    EXPECT_EQ(GetPrinterDataW(reader_, name, nullptr, data.data(), 100, &needed), 0u);
    EXPECT_EQ(needed, kImage.size());
}

TEST_F(SpoolDataTest, AnEmptyValueAnswersTheSizeQueryWithSuccess) {
    ASSERT_EQ(Set(u"PrinterDriverData", u"Empty", REG_BINARY, {}), 0u);
    DWORD type = 0;
    DWORD needed = 99;
    WideArg name("Empty");
    EXPECT_EQ(GetPrinterDataW(reader_, name, &type, nullptr, 0, &needed), 0u);
    EXPECT_EQ(needed, 0u);
    EXPECT_EQ(type, DWORD{REG_BINARY});
}

TEST_F(SpoolDataTest, MissingValuesAndKeysAreFileNotFound) {
    DWORD type = 0;
    std::vector<BYTE> data;
    EXPECT_EQ(Get(u"PrinterDriverData", u"Timestamp", type, data), DWORD{ERROR_FILE_NOT_FOUND});
    ASSERT_EQ(Set(u"PrinterDriverData", u"Other", REG_DWORD, {1, 0, 0, 0}), 0u);
    EXPECT_EQ(Get(u"PrinterDriverData", u"Timestamp", type, data), DWORD{ERROR_FILE_NOT_FOUND});
    EXPECT_EQ(Get(u"CUSTOMMEDIA", u"Other", type, data), DWORD{ERROR_FILE_NOT_FOUND});
}

TEST_F(SpoolDataTest, TypesAndBytesAreKeptAsWritten) {
    const std::vector<BYTE> text = {'A', 0, 'B', 0, 0, 0};
    const std::vector<BYTE> multi = {'A', 0, 0, 0, 'B', 0, 0, 0, 0, 0};
    const std::vector<BYTE> number = {0x78, 0x56, 0x34, 0x12};
    const std::vector<BYTE> odd = {1, 2, 3};
    ASSERT_EQ(Set(u"K", u"sz", REG_SZ, text), 0u);
    ASSERT_EQ(Set(u"K", u"multi", REG_MULTI_SZ, multi), 0u);
    ASSERT_EQ(Set(u"K", u"dword", REG_DWORD, number), 0u);
    ASSERT_EQ(Set(u"K", u"own type", 0x4711, odd), 0u);
    ASSERT_EQ(Set(u"K", u"", REG_BINARY, odd), 0u) << "the key's default value has an empty name";
    struct Expect {
        const char16_t* name;
        DWORD type;
        const std::vector<BYTE>& data;
    } expected[] = {{u"sz", REG_SZ, text},
                    {u"MULTI", REG_MULTI_SZ, multi},
                    {u"Dword", REG_DWORD, number},
                    {u"own type", 0x4711, odd},
                    {u"", REG_BINARY, odd}};
    for (const Expect& e : expected) {
        DWORD type = 0;
        std::vector<BYTE> data;
        ASSERT_EQ(Get(u"k", e.name, type, data), 0u) << Utf8(std::u16string_view(e.name));
        EXPECT_EQ(type, e.type);
        EXPECT_EQ(data, e.data);
    }
}

TEST_F(SpoolDataTest, RewritingAValueReplacesTypeAndSize) {
    ASSERT_EQ(Set(u"PrinterDriverData", u"Timestamp", REG_BINARY, kImage), 0u);
    ASSERT_EQ(Set(u"printerdriverdata", u"TIMESTAMP", REG_DWORD, {1, 0, 0, 0}), 0u);
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_EQ(Get(u"PrinterDriverData", u"Timestamp", type, data), 0u);
    EXPECT_EQ(type, DWORD{REG_DWORD});
    EXPECT_EQ(data, (std::vector<BYTE>{1, 0, 0, 0}));
}

TEST_F(SpoolDataTest, PlainCallsUseThePrinterDriverDataKey) {
    WideArg name("Timestamp");
    std::vector<BYTE> stamp(16, 0x42);
    ASSERT_EQ(SetPrinterDataW(admin_, name, REG_BINARY, stamp.data(), 16), 0u);
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_EQ(Get(u"PrinterDriverData", u"Timestamp", type, data), 0u);
    EXPECT_EQ(data, stamp);
    EXPECT_EQ(Get(u"DsDriver", u"Timestamp", type, data), DWORD{ERROR_FILE_NOT_FOUND});
    EXPECT_EQ(DeletePrinterDataW(admin_, name), 0u);
    EXPECT_EQ(Get(u"PrinterDriverData", u"Timestamp", type, data), DWORD{ERROR_FILE_NOT_FOUND});
    EXPECT_EQ(DeletePrinterDataW(admin_, name), DWORD{ERROR_FILE_NOT_FOUND});
}

TEST_F(SpoolDataTest, DeletingRemovesOnlyThatValue) {
    ASSERT_EQ(Set(u"CUSTOMMEDIA", u"Card 1", REG_DWORD, {1, 0, 0, 0}), 0u);
    ASSERT_EQ(Set(u"CUSTOMMEDIA", u"Card 2", REG_DWORD, {1, 0, 0, 0}), 0u);
    EXPECT_EQ(DeletePrinterDataExW(admin_, W(u"custommedia"), W(u"CARD 1")), 0u);
    DWORD type = 0;
    std::vector<BYTE> data;
    EXPECT_EQ(Get(u"CUSTOMMEDIA", u"Card 1", type, data), DWORD{ERROR_FILE_NOT_FOUND});
    EXPECT_EQ(Get(u"CUSTOMMEDIA", u"Card 2", type, data), 0u);
    EXPECT_EQ(DeletePrinterDataExW(admin_, W(u"CUSTOMMEDIA"), W(u"Card 1")),
              DWORD{ERROR_FILE_NOT_FOUND});
    EXPECT_EQ(DeletePrinterDataExW(admin_, W(u"Nowhere"), W(u"Card 2")),
              DWORD{ERROR_FILE_NOT_FOUND});
}

TEST_F(SpoolDataTest, DataBelongsToOnePrinterAndGoesWithIt) {
    ASSERT_EQ(Set(u"PrinterDriverData", u"PRINTERSETTINGS", REG_BINARY, kImage), 0u);
    moltr::sim::PrinterSetup other;
    other.name = u"Other";
    other.driver = Utf16(kDriver);
    ASSERT_TRUE(moltr::sim::AddPrinter(other));
    HANDLE second = Open(0, "Other");
    DWORD needed = 0;
    EXPECT_EQ(GetPrinterDataExW(second, W(u"PrinterDriverData"), W(u"PRINTERSETTINGS"), nullptr,
                                nullptr, 0, &needed),
              DWORD{ERROR_FILE_NOT_FOUND});
    ClosePrinter(second);

    ASSERT_TRUE(moltr::sim::RemovePrinter(Utf16(kPrinter)));
    moltr::sim::PrinterSetup again;
    again.name = Utf16(kPrinter);
    again.driver = Utf16(kDriver);
    ASSERT_TRUE(moltr::sim::AddPrinter(again));
    HANDLE fresh = Open(0);
    EXPECT_EQ(GetPrinterDataExW(fresh, W(u"PrinterDriverData"), W(u"PRINTERSETTINGS"), nullptr,
                                nullptr, 0, &needed),
              DWORD{ERROR_FILE_NOT_FOUND});
    ClosePrinter(fresh);
}

// --- Access and bad arguments --------------------------------------------------------------------

TEST_F(SpoolDataTest, ChangesNeedAnAdministerHandle) {
    for (ACCESS_MASK access : {ACCESS_MASK{0}, ACCESS_MASK{PRINTER_ACCESS_USE},
                               ACCESS_MASK{PRINTER_READ | READ_CONTROL}}) {
        HANDLE user = Open(access);
        BYTE one = 1;
        EXPECT_EQ(SetPrinterDataExW(user, W(u"K"), W(u"v"), REG_BINARY, &one, 1),
                  DWORD{ERROR_ACCESS_DENIED});
        WideArg name("v");
        EXPECT_EQ(SetPrinterDataW(user, name, REG_BINARY, &one, 1), DWORD{ERROR_ACCESS_DENIED});
        EXPECT_EQ(DeletePrinterDataExW(user, W(u"K"), W(u"v")), DWORD{ERROR_ACCESS_DENIED});
        EXPECT_EQ(DeletePrinterDataW(user, name), DWORD{ERROR_ACCESS_DENIED});
        ClosePrinter(user);
    }
    HANDLE administer = Open(PRINTER_ACCESS_ADMINISTER);
    BYTE one = 1;
    EXPECT_EQ(SetPrinterDataExW(administer, W(u"K"), W(u"v"), REG_BINARY, &one, 1), 0u);
    ClosePrinter(administer);
}

TEST_F(SpoolDataTest, BadKeysNamesAndHandlesAreRefused) {
    BYTE one = 1;
    DWORD needed = 0;
    for (const char16_t* key : {u"", u"\\A", u"A\\", u"A\\\\B"}) {
        EXPECT_EQ(SetPrinterDataExW(admin_, W(key), W(u"v"), REG_BINARY, &one, 1),
                  DWORD{ERROR_INVALID_PARAMETER});
        EXPECT_EQ(GetPrinterDataExW(reader_, W(key), W(u"v"), nullptr, nullptr, 0, &needed),
                  DWORD{ERROR_INVALID_PARAMETER});
    }
    EXPECT_EQ(SetPrinterDataExW(admin_, nullptr, W(u"v"), REG_BINARY, &one, 1),
              DWORD{ERROR_INVALID_PARAMETER});
    EXPECT_EQ(SetPrinterDataExW(admin_, W(u"K"), nullptr, REG_BINARY, &one, 1),
              DWORD{ERROR_INVALID_PARAMETER});
    EXPECT_EQ(SetPrinterDataExW(admin_, W(u"K"), W(u"v"), REG_BINARY, nullptr, 1),
              DWORD{ERROR_INVALID_PARAMETER});
    EXPECT_EQ(GetPrinterDataExW(reader_, W(u"K"), nullptr, nullptr, nullptr, 0, &needed),
              DWORD{ERROR_INVALID_PARAMETER});
    ASSERT_EQ(SetPrinterDataExW(admin_, W(u"K"), W(u"v"), REG_BINARY, &one, 1), 0u);
    EXPECT_EQ(GetPrinterDataExW(reader_, W(u"K"), W(u"v"), nullptr, nullptr, 0, nullptr),
              DWORD{ERROR_INVALID_PARAMETER});
    EXPECT_EQ(GetPrinterDataExW(reader_, W(u"K"), W(u"v"), nullptr, nullptr, 8, &needed),
              DWORD{ERROR_INVALID_PARAMETER})
        << "no buffer behind a size";
    HANDLE closed = Open(PRINTER_ALL_ACCESS);
    ClosePrinter(closed);
    for (HANDLE handle : {closed, HANDLE{nullptr}, INVALID_HANDLE_VALUE}) {
        EXPECT_EQ(GetPrinterDataExW(handle, W(u"K"), W(u"v"), nullptr, nullptr, 0, &needed),
                  DWORD{ERROR_INVALID_HANDLE});
        EXPECT_EQ(SetPrinterDataExW(handle, W(u"K"), W(u"v"), REG_BINARY, &one, 1),
                  DWORD{ERROR_INVALID_HANDLE});
        EXPECT_EQ(DeletePrinterDataExW(handle, W(u"K"), W(u"v")), DWORD{ERROR_INVALID_HANDLE});
        EXPECT_EQ(EnumPrinterKeyW(handle, W(u""), nullptr, 0, &needed),
                  DWORD{ERROR_INVALID_HANDLE});
    }
}

// --- Keys and enumeration -----------------------------------------------------------------------

TEST_F(SpoolDataTest, KeysNestAndListTheirSubkeysOnce) {
    BYTE one = 1;
    for (const char16_t* key : {u"PrinterDriverData", u"CUSTOMMEDIA", u"Forms\\Letter",
                                u"Forms\\A4", u"Forms\\A4\\Deep", u"FORMS\\letter"}) {
        ASSERT_EQ(SetPrinterDataExW(admin_, W(key), W(u"v"), REG_BINARY, &one, 1), 0u);
    }
    // In alphabetical order, ignoring case, as the registry lists them.
    EXPECT_EQ(Subkeys(u""),
              (std::vector<std::u16string>{u"CUSTOMMEDIA", u"Forms", u"PrinterDriverData"}));
    EXPECT_EQ(Subkeys(u"FORMS"), (std::vector<std::u16string>{u"A4", u"Letter"}));
    EXPECT_EQ(Subkeys(u"Forms\\A4"), std::vector<std::u16string>{u"Deep"});
    DWORD error = 0;
    EXPECT_TRUE(Subkeys(u"CUSTOMMEDIA", &error).empty());
    EXPECT_EQ(error, 0u) << "a key without subkeys";
    Subkeys(u"Nowhere", &error);
    EXPECT_EQ(error, DWORD{ERROR_FILE_NOT_FOUND});
    Subkeys(u"Form", &error);
    EXPECT_EQ(error, DWORD{ERROR_FILE_NOT_FOUND}) << "a prefix of a name is not a key";
}

TEST_F(SpoolDataTest, KeyListsFollowTheSizingProtocol) {
    BYTE one = 1;
    ASSERT_EQ(SetPrinterDataExW(admin_, W(u"Forms\\A4"), W(u"v"), REG_BINARY, &one, 1), 0u);
    DWORD needed = 0;
    ASSERT_EQ(EnumPrinterKeyW(reader_, W(u"Forms"), nullptr, 0, &needed), DWORD{ERROR_MORE_DATA});
    EXPECT_EQ(needed, 8u) << "\"A4\", its NUL and the list's NUL";
    WCHAR list[8] = {};
    EXPECT_EQ(EnumPrinterKeyW(reader_, W(u"Forms"), list, needed - 2, &needed),
              DWORD{ERROR_MORE_DATA});
    ASSERT_EQ(EnumPrinterKeyW(reader_, W(u"Forms"), list, needed, &needed), 0u);
    EXPECT_EQ(Utf8(list), "A4");
    EXPECT_EQ(list[3], 0);
    EXPECT_EQ(EnumPrinterKeyW(reader_, nullptr, list, 16, &needed), DWORD{ERROR_INVALID_PARAMETER});
    EXPECT_EQ(EnumPrinterKeyW(reader_, W(u"Forms"), list, 16, nullptr),
              DWORD{ERROR_INVALID_PARAMETER});
}

TEST_F(SpoolDataTest, EnumeratesTheValuesOfAKeyInOneBuffer) {
    ASSERT_EQ(Set(u"CUSTOMMEDIA", u"Card", REG_DWORD, {1, 0, 0, 0}), 0u);
    ASSERT_EQ(Set(u"CUSTOMMEDIA", u"Label 3", REG_BINARY, kImage), 0u);
    ASSERT_EQ(Set(u"CUSTOMMEDIA", u"Nothing", REG_BINARY, {}), 0u);
    DWORD needed = 0;
    DWORD count = 99;
    ASSERT_EQ(EnumPrinterDataExW(reader_, W(u"custommedia"), nullptr, 0, &needed, &count),
              DWORD{ERROR_MORE_DATA});
    EXPECT_EQ(count, 0u);
    std::vector<BYTE> buffer(needed);
    ASSERT_EQ(
        EnumPrinterDataExW(reader_, W(u"CUSTOMMEDIA"), buffer.data(), needed - 1, &needed, &count),
        DWORD{ERROR_MORE_DATA});
    ASSERT_EQ(
        EnumPrinterDataExW(reader_, W(u"CUSTOMMEDIA"), buffer.data(), needed, &needed, &count), 0u);
    ASSERT_EQ(count, 3u);
    auto* values = reinterpret_cast<PRINTER_ENUM_VALUESW*>(buffer.data());
    EXPECT_EQ(Utf8(values[0].pValueName), "Card");
    EXPECT_EQ(values[0].cbValueName, 10u);
    EXPECT_EQ(values[0].dwType, DWORD{REG_DWORD});
    ASSERT_EQ(values[0].cbData, 4u);
    ASSERT_TRUE(Inside(values[0].pData, 4, buffer.data(), buffer.size()));
    EXPECT_EQ(values[0].pData[0], 1);
    EXPECT_EQ(Utf8(values[1].pValueName), "Label 3");
    ASSERT_TRUE(Inside(values[1].pData, kImage.size(), buffer.data(), buffer.size()));
    EXPECT_EQ(std::vector<BYTE>(values[1].pData, values[1].pData + kImage.size()), kImage);
    EXPECT_EQ(values[2].cbData, 0u);
    for (DWORD i = 0; i < count; ++i) {
        EXPECT_TRUE(
            Inside(values[i].pValueName, values[i].cbValueName, buffer.data(), buffer.size()));
    }
    EXPECT_EQ(EnumPrinterDataExW(reader_, W(u"Nowhere"), buffer.data(), needed, &needed, &count),
              DWORD{ERROR_FILE_NOT_FOUND});
}

TEST_F(SpoolDataTest, AnEmptyKeyEnumeratesNothingWithoutABuffer) {
    ASSERT_EQ(Set(u"Empty", u"gone", REG_BINARY, {1}), 0u);
    ASSERT_EQ(DeletePrinterDataExW(admin_, W(u"Empty"), W(u"gone")), 0u);
    DWORD needed = 99;
    DWORD count = 99;
    EXPECT_EQ(EnumPrinterDataExW(reader_, W(u"Empty"), nullptr, 0, &needed, &count), 0u);
    EXPECT_EQ(needed, 0u);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(Subkeys(u""), std::vector<std::u16string>{u"Empty"}) << "the key stays";
}
