#include "sim/help_calls.h"
#include "sim/machine.h"
#include "sim/utf.h"
#include <gtest/gtest.h>
#include <windows.h>

using moltr::sim::HelpCalls;
using moltr::sim::Utf8;

TEST(HtmlHelpControl, LoadsByNameOrPathAndBindsOrdinal15) {
    moltr::sim::TestMachine machine;
    moltr::sim::ClearHelpCalls();
    HMODULE control = LoadLibraryA("HHCtrl.OCX");
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(LoadLibraryW(L"C:\\Windows\\System32\\hhctrl.ocx"), control);

    using HtmlHelpProc = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
    auto entry = reinterpret_cast<HtmlHelpProc>(
        reinterpret_cast<void (*)()>(GetProcAddress(control, MAKEINTRESOURCEA(15))));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry(nullptr, L"C:\\help\\driver.chm", 15, 1234), nullptr);
    auto calls = HelpCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].kind, moltr::sim::HelpCall::Kind::HtmlHelp);
    EXPECT_EQ(Utf8(calls[0].file), "C:\\help\\driver.chm");
    EXPECT_EQ(calls[0].command, 15u);
    EXPECT_EQ(calls[0].data, 1234u);

    SetLastError(0);
    EXPECT_EQ(GetProcAddress(control, MAKEINTRESOURCEA(14)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_EQ(GetProcAddress(control, "HtmlHelpW"), nullptr);
    EXPECT_TRUE(FreeLibrary(control));
}

TEST(HtmlHelpControl, IsNoDataFile) {
    moltr::sim::TestMachine machine;
    SetLastError(0);
    EXPECT_EQ(LoadLibraryExW(L"hhctrl.ocx", nullptr, LOAD_LIBRARY_AS_DATAFILE), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}
