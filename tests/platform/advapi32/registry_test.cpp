// The registry functions: opening and creating keys, the value sizing protocol, value types,
// enumeration, access, and one registry shared by the processes of a machine.
#include "sim/machine.h"
#include "sim/registry_admin.h"
#include "sim/utf.h"
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

using moltr::sim::Utf16;
using moltr::sim::Utf8;
using moltr::sim::W;

namespace {

const std::u16string kProcessors = u"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\"
                                   u"Windows x64\\Print Processors\\vorta MOLTR Processor";

class Registry : public ::testing::Test {
protected:
    HKEY Create(HKEY root, const std::u16string& path, DWORD* disposition = nullptr) {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExW(root, W(path), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                  disposition),
                  ERROR_SUCCESS);
        return key;
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
    HKEY key = Create(HKEY_LOCAL_MACHINE, kProcessors, &disposition);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    RegCloseKey(key);
    key = Create(HKEY_LOCAL_MACHINE, u"system\\currentcontrolset\\CONTROL\\print", &disposition);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    RegCloseKey(key);
}

TEST_F(Registry, OpenFindsKeysIgnoringCaseAndRefusesMissingOnes) {
    RegCloseKey(Create(HKEY_LOCAL_MACHINE, kProcessors));
    HKEY key = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, W(u"SYSTEM\\NoSuchKey"), 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, W(u"\\SYSTEM"), 0, KEY_READ, &key),
              ERROR_BAD_PATHNAME);
    std::u16string upper = u"SYSTEM\\CURRENTCONTROLSET\\control\\PRINT\\";
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, W(upper), 0, KEY_READ, &key), ERROR_SUCCESS);
    HKEY same = nullptr;
    ASSERT_EQ(RegOpenKeyExW(key, nullptr, 0, KEY_READ, &same), ERROR_SUCCESS);
    EXPECT_NE(same, key);
    EXPECT_EQ(RegCloseKey(same), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, W(upper), 0, KEY_READ, nullptr),
              ERROR_INVALID_PARAMETER);
}

TEST_F(Registry, QueryFollowsTheSizingProtocol) {
    HKEY key = Create(HKEY_LOCAL_MACHINE, kProcessors);
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
    HKEY key = Create(HKEY_CURRENT_USER, u"Software\\MOLTR");
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
    RegCloseKey(key);

    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(moltr::sim::GetRegistryValue("HKCU\\Software\\MOLTR", "Number", type, data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(data, std::vector<BYTE>({0x78, 0x56, 0x34, 0x12}));
    ASSERT_TRUE(moltr::sim::GetRegistryValue("HKCU\\Software\\MOLTR", "Bytes", type, data));
    EXPECT_EQ(data, std::vector<BYTE>(binary, binary + sizeof(binary)));
    ASSERT_TRUE(moltr::sim::GetRegistryValue("HKCU\\Software\\MOLTR", "List", type, data));
    EXPECT_EQ(data.size(), sizeof(multi));
    ASSERT_TRUE(moltr::sim::GetRegistryValue("HKCU\\Software\\MOLTR", "Empty", type, data));
    EXPECT_TRUE(data.empty());
    // The default value has the empty name; expandable text is returned unexpanded.
    ASSERT_TRUE(moltr::sim::GetRegistryValue("HKEY_CURRENT_USER\\Software\\MOLTR", "", type, data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(Utf8(reinterpret_cast<const WCHAR*>(data.data())), "%SystemRoot%\\hh.exe");
}

TEST_F(Registry, ClassesRootIsTheMachinesClasses) {
    const std::string control = "%SystemRoot%\\System32\\hhctrl.ocx";
    ASSERT_TRUE(moltr::sim::SetRegistryString(
        "HKCR\\CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32", "", control,
        REG_EXPAND_SZ));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                            W(u"SOFTWARE\\Classes\\CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}"
                              u"\\InprocServer32"),
                            0, KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(key, W(u""), nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, (control.size() + 1) * 2);
    RegCloseKey(key);
}

TEST_F(Registry, DeletingValuesAndKeys) {
    ASSERT_TRUE(moltr::sim::SetRegistryDword("HKLM\\SOFTWARE\\MOLTR\\Sub", "Value", 1));
    HKEY key = nullptr;
    ASSERT_EQ(
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, W(u"SOFTWARE\\MOLTR\\Sub"), 0, KEY_ALL_ACCESS, &key),
        ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(key, W(u"VALUE")), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(key, W(u"Value")), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, W(u"SOFTWARE\\MOLTR")), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, W(u"SOFTWARE\\MOLTR\\Sub")), ERROR_SUCCESS);
    // The open handle now names a key that is gone.
    DWORD one = 1;
    EXPECT_EQ(RegSetValueExW(key, W(u"Value"), 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4),
              ERROR_KEY_DELETED);
    RegCloseKey(key);
    EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, W(u"SOFTWARE\\MOLTR\\Sub")), ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, AccessIsCheckedAgainstTheOpenRights) {
    ASSERT_TRUE(moltr::sim::SetRegistryDword("HKLM\\SOFTWARE\\MOLTR", "Value", 1));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, W(u"SOFTWARE\\MOLTR"), 0, KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD two = 2, size = 4;
    EXPECT_EQ(RegSetValueExW(key, W(u"Value"), 0, REG_DWORD, reinterpret_cast<BYTE*>(&two), 4),
              ERROR_ACCESS_DENIED);
    HKEY child = nullptr;
    EXPECT_EQ(
        RegCreateKeyExW(key, W(u"Child"), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr),
        ERROR_ACCESS_DENIED);
    RegCloseKey(key);
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, W(u"SOFTWARE\\MOLTR"), 0, KEY_SET_VALUE, &key),
              ERROR_SUCCESS);
    EXPECT_EQ(
        RegQueryValueExW(key, W(u"Value"), nullptr, nullptr, reinterpret_cast<BYTE*>(&two), &size),
        ERROR_ACCESS_DENIED);
    RegCloseKey(key);
}

TEST_F(Registry, EnumerationListsInCreationOrder) {
    ASSERT_TRUE(moltr::sim::SetRegistryDword("HKLM\\SOFTWARE\\MOLTR", "Zeta", 1));
    ASSERT_TRUE(moltr::sim::SetRegistryString("HKLM\\SOFTWARE\\MOLTR", "Alpha", "text"));
    ASSERT_TRUE(moltr::sim::SetRegistryDword("HKLM\\SOFTWARE\\MOLTR\\Keys\\B", "x", 1));
    ASSERT_TRUE(moltr::sim::SetRegistryDword("HKLM\\SOFTWARE\\MOLTR\\Keys\\A", "x", 1));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, W(u"SOFTWARE\\MOLTR"), 0, KEY_READ, &key),
              ERROR_SUCCESS);
    WCHAR name[8];
    DWORD length = 8, type = 0, size = 0;
    ASSERT_EQ(RegEnumValueW(key, 0, name, &length, nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(Utf8(name), "Zeta");
    EXPECT_EQ(length, 4u);
    EXPECT_EQ(size, 4u);
    length = 5; // "Alpha" needs 6 with its NUL
    EXPECT_EQ(RegEnumValueW(key, 1, name, &length, nullptr, &type, nullptr, &size),
              ERROR_MORE_DATA);
    length = 8;
    EXPECT_EQ(RegEnumValueW(key, 2, name, &length, nullptr, &type, nullptr, &size),
              ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, W(u"SOFTWARE\\MOLTR\\Keys"), 0, KEY_READ, &key),
              ERROR_SUCCESS);
    length = 8;
    ASSERT_EQ(RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(Utf8(name), "B");
    length = 8;
    EXPECT_EQ(RegEnumKeyExW(key, 2, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);
}

TEST_F(Registry, NamesWithSpacesAndSeparatorsSurviveStorage) {
    ASSERT_TRUE(
        moltr::sim::SetRegistryString("HKLM\\SOFTWARE\\Odd Key %20", "a name\twith % and\n", "v"));
    DWORD type = 0;
    std::vector<BYTE> data;
    EXPECT_TRUE(moltr::sim::GetRegistryValue("HKLM\\SOFTWARE\\odd key %20", "A NAME\twith % and\n",
                                             type, data));
}

TEST_F(Registry, ProcessesOfAMachineShareTheRegistry) {
    ASSERT_TRUE(moltr::sim::SetRegistryDword("HKLM\\SOFTWARE\\MOLTR", "Before", 1));
    pid_t pid = ::fork();
    if (pid == 0) {
        DWORD type = 0;
        std::vector<BYTE> data;
        bool seen = moltr::sim::GetRegistryValue("HKLM\\SOFTWARE\\MOLTR", "Before", type, data);
        bool set = moltr::sim::SetRegistryDword("HKLM\\SOFTWARE\\MOLTR", "FromChild", 7);
        ::_exit(seen && set ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(moltr::sim::GetRegistryValue("HKLM\\SOFTWARE\\MOLTR", "FromChild", type, data));
    EXPECT_EQ(data[0], 7);
}

TEST_F(Registry, ResetEmptiesTheRegistry) {
    ASSERT_TRUE(moltr::sim::SetRegistryDword("HKLM\\SOFTWARE\\MOLTR", "Value", 1));
    ASSERT_TRUE(moltr::sim::ResetMachine());
    DWORD type = 0;
    std::vector<BYTE> data;
    EXPECT_FALSE(moltr::sim::GetRegistryValue("HKLM\\SOFTWARE\\MOLTR", "Value", type, data));
}

} // namespace
