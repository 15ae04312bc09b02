// Registering window classes with RegisterClassW/ExW and UnregisterClassW, and what
// GetClassInfoExW and GetClassNameW tell of them.
#include "this_module.h"
#include "sim/utf.h"
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

LRESULT CALLBACK ClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(ClassInfo, AnswersTheClassAsRegistered) {
    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    description.style = CS_DBLCLKS;
    description.lpfnWndProc = ClassProc;
    description.cbClsExtra = 4;
    description.cbWndExtra = 24;
    description.hInstance = ThisModuleHandle();
    description.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    description.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    description.lpszMenuName = MAKEINTRESOURCEW(7);
    description.lpszClassName = L"MoltrInfo";
    const ATOM atom = RegisterClassExW(&description);
    ASSERT_NE(atom, 0);
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    EXPECT_EQ(GetClassInfoExW(ThisModuleHandle(), L"moltrinfo", &info), atom);
    EXPECT_EQ(info.cbSize, sizeof info);
    EXPECT_EQ(info.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(info.lpfnWndProc, &ClassProc);
    EXPECT_EQ(info.cbClsExtra, 4);
    EXPECT_EQ(info.cbWndExtra, 24);
    EXPECT_EQ(info.hInstance, ThisModuleHandle());
    EXPECT_EQ(info.hIcon, description.hIcon);
    EXPECT_EQ(info.hCursor, description.hCursor);
    EXPECT_EQ(info.hbrBackground, description.hbrBackground);
    EXPECT_EQ(info.lpszMenuName, MAKEINTRESOURCEW(7));
    EXPECT_EQ(GetClassInfoExW(ThisModuleHandle(), MAKEINTRESOURCEW(atom), &info), atom);
    EXPECT_TRUE(UnregisterClassW(L"MoltrInfo", ThisModuleHandle()));
    SetLastError(0);
    EXPECT_FALSE(GetClassInfoExW(ThisModuleHandle(), L"MoltrInfo", &info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_DOES_NOT_EXIST));
}

TEST(ClassInfo, SystemClassesAnswerWithoutAnInstance) {
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetClassInfoExW(nullptr, L"EDIT", &info));
    EXPECT_EQ(info.hCursor, LoadCursorW(nullptr, IDC_IBEAM));
    EXPECT_NE(info.lpfnWndProc, nullptr);
    ASSERT_TRUE(GetClassInfoExW(nullptr, L"Button", &info));
    EXPECT_EQ(info.hCursor, LoadCursorW(nullptr, IDC_ARROW));
    ASSERT_TRUE(GetClassInfoExW(nullptr, L"#32770", &info));
    EXPECT_EQ(info.cbWndExtra, DLGWINDOWEXTRA);
    // The dialog class is also known by its atom.
    EXPECT_TRUE(GetClassInfoExW(nullptr, WC_DIALOG, &info));
}

TEST(ClassInfo, ClassNameOfAWindowAsRegisteredAndCutToTheBuffer) {
    MOLTR_NOT_UNDER_WINE("Wine without a display makes no windows");
    HWND window = CreateWindowExW(0, L"BUTTON", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  ThisModuleHandle(), nullptr);
    ASSERT_NE(window, nullptr);
    WCHAR name[16];
    for (WCHAR& c : name) {
        c = u'@';
    }
    EXPECT_EQ(GetClassNameW(window, name, 16), 6);
    EXPECT_EQ(moltr::sim::Utf8(name), "Button");
    EXPECT_EQ(GetClassNameW(window, name, 4), 3);
    EXPECT_EQ(moltr::sim::Utf8(name), "But");
    EXPECT_EQ(name[4], u'o');
    DestroyWindow(window);
    SetLastError(0);
    EXPECT_EQ(GetClassNameW(window, name, 16), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

} // namespace
