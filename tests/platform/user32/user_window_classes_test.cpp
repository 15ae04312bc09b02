// Registering window classes with RegisterClassW/ExW and UnregisterClassW, without windows.
#include "this_module.h"
#include "windows_run.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

WNDCLASSW Description(const WCHAR* name) {
    WNDCLASSW description{};
    description.lpfnWndProc = DefWindowProcW;
    description.hInstance = ThisModuleHandle();
    description.lpszClassName = name;
    return description;
}

TEST(WindowClasses, NamesAreUniquePerModuleIgnoringCase) {
    const WNDCLASSW first = Description(L"MoltrClass");
    ASSERT_NE(RegisterClassW(&first), 0);
    const WNDCLASSW second = Description(L"moltrclass");
    SetLastError(0);
    EXPECT_EQ(RegisterClassW(&second), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
    EXPECT_TRUE(UnregisterClassW(L"MOLTRCLASS", ThisModuleHandle()));
    SetLastError(0);
    EXPECT_FALSE(UnregisterClassW(L"MoltrClass", ThisModuleHandle()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_DOES_NOT_EXIST));
}

TEST(WindowClasses, RefusesBadDescriptions) {
    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    description.lpfnWndProc = DefWindowProcW;
    SetLastError(0);
    EXPECT_EQ(RegisterClassExW(&description), 0); // no name
    description.lpszClassName = L"MoltrBad";
    description.cbSize = sizeof description - 1;
    EXPECT_EQ(RegisterClassExW(&description), 0);
    description.cbSize = sizeof description;
    description.cbWndExtra = -1;
    EXPECT_EQ(RegisterClassExW(&description), 0);
}

TEST(WindowClasses, RefusesNoDescription) {
    MOLTR_SIMULATION_ONLY("Windows takes no null description, and faults on one under Wine");
    EXPECT_EQ(RegisterClassExW(nullptr), 0);
    EXPECT_EQ(RegisterClassW(nullptr), 0);
}

TEST(WindowClasses, ANamelessClassIsAnInvalidParameter) {
    MOLTR_SIMULATION_ONLY("Windows documents no error for a class without a name");
    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    description.lpfnWndProc = DefWindowProcW;
    SetLastError(0);
    EXPECT_EQ(RegisterClassExW(&description), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

} // namespace
