// The registry functions: opening and creating keys, the value sizing protocol, value types,
// enumeration, deletion and access. Every key a test makes lies below a key of its own, which
// goes again with the test.
#include "sim/machine.h"
#include "sim/utf.h"
#include "windows_run.h"
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

using moltr::sim::Utf8;
using moltr::sim::W;

namespace {

const std::u16string kRoot = u"Software\\MOLTR Registry Tests";
const std::u16string kProcessors = kRoot + u"\\Print Processors\\vorta MOLTR Processor";
// A class of the tests' own, written through HKEY_CLASSES_ROOT.
const std::u16string kClass = u"CLSID\\{6D4F4C54-5445-5354-0000-000000000001}";

// Deletes `path` below `root` with every key below it.
void DeleteTree(HKEY root, const std::u16string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, W(path), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        return;
    }
    WCHAR name[256];
    DWORD length = 256;
    std::vector<std::u16string> children;
    for (DWORD i = 0;
         RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, length = 256) {
        children.emplace_back(moltr::sim::View(name));
    }
    RegCloseKey(key);
    for (const std::u16string& child : children) {
        DeleteTree(root, path + u"\\" + child);
    }
    RegDeleteKeyW(root, W(path));
}

class Registry : public ::testing::Test {
protected:
    ~Registry() override {
        DeleteTree(HKEY_CURRENT_USER, kRoot);
        DeleteTree(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Classes\\" + kClass);
    }

    HKEY Create(HKEY root, const std::u16string& path, DWORD* disposition = nullptr) {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExW(root, W(path), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                  disposition),
                  ERROR_SUCCESS);
        return key;
    }

    void SetDword(const std::u16string& path, const char16_t* name, DWORD value) {
        HKEY key = Create(HKEY_CURRENT_USER, path);
        EXPECT_EQ(RegSetValueExW(key, W(name), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                 sizeof value),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    // The value's type and bytes as RegQueryValueExW gives them.
    std::vector<BYTE> Query(HKEY key, const char16_t* name, DWORD& type) {
        DWORD size = 0;
        EXPECT_EQ(RegQueryValueExW(key, W(name), nullptr, &type, nullptr, &size), ERROR_SUCCESS);
        std::vector<BYTE> data(size);
        EXPECT_EQ(RegQueryValueExW(key, W(name), nullptr, &type, data.data(), &size),
                  ERROR_SUCCESS);
        data.resize(size);
        return data;
    }

    moltr::sim::TestMachine machine;
};

TEST_F(Registry, PredefinedKeysHaveTheirWindowsValues) {
    EXPECT_EQ(reinterpret_cast<uintptr_t>(HKEY_CLASSES_ROOT), 0xFFFFFFFF80000000ULL);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(HKEY_CURRENT_USER), 0xFFFFFFFF80000001ULL);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(HKEY_LOCAL_MACHINE), 0xFFFFFFFF80000002ULL);
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
}

TEST_F(Registry, CreateReportsWhetherTheKeyIsNew) {
    DWORD disposition = 0;
    HKEY key = Create(HKEY_CURRENT_USER, kProcessors, &disposition);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    RegCloseKey(key);
    key = Create(HKEY_CURRENT_USER, u"software\\moltr registry TESTS\\print processors",
                 &disposition);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    RegCloseKey(key);
}

TEST_F(Registry, OpenFindsKeysIgnoringCaseAndRefusesMissingOnes) {
    RegCloseKey(Create(HKEY_CURRENT_USER, kProcessors));
    HKEY key = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, W(kRoot + u"\\NoSuchKey"), 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, W(u"\\" + kRoot), 0, KEY_READ, &key),
              ERROR_BAD_PATHNAME);
    std::u16string upper = u"SOFTWARE\\moltr REGISTRY tests\\PRINT processors\\";
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, W(upper), 0, KEY_READ, &key), ERROR_SUCCESS);
    HKEY same = nullptr;
    ASSERT_EQ(RegOpenKeyExW(key, nullptr, 0, KEY_READ, &same), ERROR_SUCCESS);
    EXPECT_NE(same, key);
    EXPECT_EQ(RegCloseKey(same), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, W(upper), 0, KEY_READ, nullptr),
              ERROR_INVALID_PARAMETER);
}

TEST_F(Registry, QueryFollowsTheSizingProtocol) {
    HKEY key = Create(HKEY_CURRENT_USER, kProcessors);
    const std::u16string driver = u"moltrpp.dll";
    const DWORD bytes = static_cast<DWORD>((driver.size() + 1) * sizeof(WCHAR));
    ASSERT_EQ(RegSetValueExW(key, W(u"Driver"), 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(driver.c_str()), bytes),
              ERROR_SUCCESS);

    DWORD type = 0, size = 0;
    EXPECT_EQ(RegQueryValueExW(key, W(u"driver"), nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, bytes); // the NUL counts

    WCHAR small[4];
    size = sizeof(small);
    EXPECT_EQ(
        RegQueryValueExW(key, W(u"Driver"), nullptr, &type, reinterpret_cast<BYTE*>(small), &size),
        ERROR_MORE_DATA);
    EXPECT_EQ(size, bytes);

    WCHAR exact[12];
    size = sizeof(exact);
    ASSERT_EQ(RegQueryValueExW(key, W(u"Driver"), nullptr, nullptr, reinterpret_cast<BYTE*>(exact),
                               &size),
              ERROR_SUCCESS);
    EXPECT_EQ(Utf8(exact), "moltrpp.dll");

    EXPECT_EQ(RegQueryValueExW(key, W(u"Missing"), nullptr, &type, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExW(key, W(u"Driver"), nullptr, &type, reinterpret_cast<BYTE*>(exact),
                               nullptr),
              ERROR_INVALID_PARAMETER);
    DWORD reserved = 0;
    EXPECT_EQ(RegQueryValueExW(key, W(u"Driver"), &reserved, &type, nullptr, &size),
              ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
}

TEST_F(Registry, ValuesKeepTheirTypeAndBytes) {
    HKEY key = Create(HKEY_CURRENT_USER, kRoot);
    const DWORD number = 0x12345678;
    const BYTE binary[] = {0, 1, 0xFF, ' ', '\n'};
    const char16_t multi[] = u"one\0two\0";
    const std::u16string expandable = u"%SystemRoot%\\hh.exe";
    ASSERT_EQ(
        RegSetValueExW(key, W(u"Number"), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4),
        ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, W(u"Bytes"), 0, REG_BINARY, binary, sizeof(binary)),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, W(u"List"), 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi),
                             sizeof(multi)),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, nullptr, 0, REG_EXPAND_SZ,
                             reinterpret_cast<const BYTE*>(expandable.c_str()),
                             static_cast<DWORD>((expandable.size() + 1) * 2)),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, W(u"Empty"), 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);

    DWORD type = 0;
    EXPECT_EQ(Query(key, u"Number", type), std::vector<BYTE>({0x78, 0x56, 0x34, 0x12}));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(Query(key, u"Bytes", type), std::vector<BYTE>(binary, binary + sizeof(binary)));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(Query(key, u"List", type).size(), sizeof(multi));
    EXPECT_EQ(type, static_cast<DWORD>(REG_MULTI_SZ));
    EXPECT_TRUE(Query(key, u"Empty", type).empty());
    // The default value has the empty name; expandable text is returned unexpanded.
    std::vector<BYTE> text = Query(key, u"", type);
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
    ASSERT_EQ(text.size(), (expandable.size() + 1) * 2);
    EXPECT_EQ(Utf8(reinterpret_cast<const WCHAR*>(text.data())), "%SystemRoot%\\hh.exe");
    RegCloseKey(key);
}

TEST_F(Registry, ClassesRootWritesGoToTheMachinesClasses) {
    const std::u16string control = u"%SystemRoot%\\System32\\hhctrl.ocx";
    HKEY key = Create(HKEY_CLASSES_ROOT, kClass + u"\\InprocServer32");
    ASSERT_EQ(RegSetValueExW(key, nullptr, 0, REG_EXPAND_SZ,
                             reinterpret_cast<const BYTE*>(control.c_str()),
                             static_cast<DWORD>((control.size() + 1) * 2)),
              ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                            W(u"SOFTWARE\\Classes\\" + kClass + u"\\InprocServer32"), 0, KEY_READ,
                            &key),
              ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(key, W(u""), nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, (control.size() + 1) * 2);
    RegCloseKey(key);
}

TEST_F(Registry, DeletingValuesAndKeys) {
    SetDword(kRoot + u"\\Sub", u"Value", 1);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, W(kRoot + u"\\Sub"), 0, KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(key, W(u"VALUE")), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(key, W(u"Value")), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, W(kRoot)), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, W(kRoot + u"\\Sub")), ERROR_SUCCESS);
    // The open handle now names a key that is gone.
    DWORD one = 1;
    EXPECT_EQ(RegSetValueExW(key, W(u"Value"), 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4),
              ERROR_KEY_DELETED);
    RegCloseKey(key);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, W(kRoot + u"\\Sub")), ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, AccessIsCheckedAgainstTheOpenRights) {
    SetDword(kRoot, u"Value", 1);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, W(kRoot), 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD two = 2, size = 4;
    EXPECT_EQ(RegSetValueExW(key, W(u"Value"), 0, REG_DWORD, reinterpret_cast<BYTE*>(&two), 4),
              ERROR_ACCESS_DENIED);
    // Creating is checked against the key's security, not the rights of the handle it goes
    // through.
    HKEY child = nullptr;
    DWORD disposition = 0;
    EXPECT_EQ(RegCreateKeyExW(key, W(u"Child"), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child,
                              &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    RegCloseKey(child);
    RegCloseKey(key);
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, W(kRoot), 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    EXPECT_EQ(
        RegQueryValueExW(key, W(u"Value"), nullptr, nullptr, reinterpret_cast<BYTE*>(&two), &size),
        ERROR_ACCESS_DENIED);
    RegCloseKey(key);
}

TEST_F(Registry, EnumerationListsEveryNameOnceWithTheSizingProtocol) {
    SetDword(kRoot, u"Zeta", 1);
    SetDword(kRoot, u"Alpha", 2);
    SetDword(kRoot + u"\\Keys\\B", u"x", 1);
    SetDword(kRoot + u"\\Keys\\A", u"x", 1);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, W(kRoot), 0, KEY_READ, &key), ERROR_SUCCESS);
    // Windows gives no order; each name comes once, its length without the NUL.
    std::vector<std::string> values;
    WCHAR name[8];
    DWORD length = 8, type = 0, size = 0;
    for (DWORD i = 0;
         RegEnumValueW(key, i, name, &length, nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
         ++i, length = 8) {
        EXPECT_EQ(length, Utf8(name).size());
        EXPECT_EQ(size, 4u);
        values.push_back(Utf8(name));
    }
    EXPECT_EQ(std::set<std::string>(values.begin(), values.end()),
              std::set<std::string>({"Alpha", "Zeta"}));
    ASSERT_EQ(values.size(), 2u);
    length = 5; // "Alpha" needs 6 with its NUL
    const DWORD alpha = values[0] == "Alpha" ? 0 : 1;
    EXPECT_EQ(RegEnumValueW(key, alpha, name, &length, nullptr, &type, nullptr, &size),
              ERROR_MORE_DATA);
    length = 8;
    EXPECT_EQ(RegEnumValueW(key, 2, name, &length, nullptr, &type, nullptr, &size),
              ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, W(kRoot + u"\\Keys"), 0, KEY_READ, &key),
              ERROR_SUCCESS);
    std::set<std::string> keys;
    for (DWORD i = 0; i < 2; ++i) {
        length = 8;
        ASSERT_EQ(RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr),
                  ERROR_SUCCESS);
        keys.insert(Utf8(name));
    }
    EXPECT_EQ(keys, std::set<std::string>({"A", "B"}));
    length = 8;
    EXPECT_EQ(RegEnumKeyExW(key, 2, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);
}

} // namespace
