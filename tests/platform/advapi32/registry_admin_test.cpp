// The simulation's registry administration beside the registry functions: what the calls store
// is what the administration reads, under either spelling of a root, and one registry is shared
// by the processes of a machine and emptied with it.
#include "sim/machine.h"
#include "sim/registry_admin.h"
#include "sim/utf.h"
#include <gtest/gtest.h>
#include <windows.h>

#include <sys/wait.h>
#include <unistd.h>

using moltr::sim::Utf8;
using moltr::sim::W;

namespace {

class RegistryAdmin : public ::testing::Test {
protected:
    moltr::sim::TestMachine machine;
};

TEST_F(RegistryAdmin, TheAdministrationReadsWhatTheCallsStore) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, W(u"Software\\MOLTR"), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD number = 0x12345678;
    const std::u16string expandable = u"%SystemRoot%\\hh.exe";
    ASSERT_EQ(
        RegSetValueExW(key, W(u"Number"), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4),
        ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, nullptr, 0, REG_EXPAND_SZ,
                             reinterpret_cast<const BYTE*>(expandable.c_str()),
                             static_cast<DWORD>((expandable.size() + 1) * 2)),
              ERROR_SUCCESS);
    RegCloseKey(key);

    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(moltr::sim::GetRegistryValue("HKCU\\Software\\MOLTR", "Number", type, data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(data, std::vector<BYTE>({0x78, 0x56, 0x34, 0x12}));
    // The default value has the empty name.
    ASSERT_TRUE(moltr::sim::GetRegistryValue("HKEY_CURRENT_USER\\Software\\MOLTR", "", type, data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(Utf8(reinterpret_cast<const WCHAR*>(data.data())), "%SystemRoot%\\hh.exe");
}

TEST_F(RegistryAdmin, ItsClassesRootIsTheMachinesClasses) {
    const std::string control = "%SystemRoot%\\System32\\hhctrl.ocx";
    ASSERT_TRUE(moltr::sim::SetRegistryString(
        "HKCR\\CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32", "", control,
        REG_EXPAND_SZ));
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(moltr::sim::GetRegistryValue(
        "HKLM\\SOFTWARE\\Classes\\CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32",
        "", type, data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(data.size(), (control.size() + 1) * 2);
}

TEST_F(RegistryAdmin, NamesWithSpacesAndSeparatorsSurviveStorage) {
    ASSERT_TRUE(
        moltr::sim::SetRegistryString("HKLM\\SOFTWARE\\Odd Key %20", "a name\twith % and\n", "v"));
    DWORD type = 0;
    std::vector<BYTE> data;
    EXPECT_TRUE(moltr::sim::GetRegistryValue("HKLM\\SOFTWARE\\odd key %20", "A NAME\twith % and\n",
                                             type, data));
}

TEST_F(RegistryAdmin, ProcessesOfAMachineShareTheRegistry) {
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

TEST_F(RegistryAdmin, ResetEmptiesTheRegistry) {
    ASSERT_TRUE(moltr::sim::SetRegistryDword("HKLM\\SOFTWARE\\MOLTR", "Value", 1));
    ASSERT_TRUE(moltr::sim::ResetMachine());
    DWORD type = 0;
    std::vector<BYTE> data;
    EXPECT_FALSE(moltr::sim::GetRegistryValue("HKLM\\SOFTWARE\\MOLTR", "Value", type, data));
}

} // namespace
