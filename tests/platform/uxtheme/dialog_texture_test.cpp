// The theme library as a dialog binds it at run time: the texture a window asks for, and the
// requests it refuses.
#include <windows.h>
#include <gtest/gtest.h>
#include <uxtheme.h>
#include "sim/machine.h"
#include "sim/themes.h"

namespace {

using TextureProc = HRESULT(WINAPI*)(HWND, DWORD);

TEST(DialogTexture, AWindowKeepsTheTextureItAskedFor) {
    moltr::sim::TestMachine machine;
    HMODULE theme = LoadLibraryW(L"UXTHEME.DLL");
    ASSERT_NE(theme, nullptr);
    auto texture = reinterpret_cast<TextureProc>(
        reinterpret_cast<void (*)()>(GetProcAddress(theme, "EnableThemeDialogTexture")));
    ASSERT_NE(texture, nullptr);
    HWND window = CreateWindowExW(0, L"Static", L"Page", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(moltr::sim::DialogTexture(window), 0u);
    EXPECT_EQ(texture(window, ETDT_ENABLETAB), S_OK);
    EXPECT_EQ(moltr::sim::DialogTexture(window), static_cast<DWORD>(ETDT_ENABLETAB));
    EXPECT_EQ(texture(window, ETDT_DISABLE), S_OK);
    EXPECT_EQ(moltr::sim::DialogTexture(window), static_cast<DWORD>(ETDT_DISABLE));

    EXPECT_EQ(texture(window, 0x100), E_INVALIDARG);
    EXPECT_EQ(texture(window, ETDT_ENABLE | ETDT_DISABLE), E_INVALIDARG);
    EXPECT_EQ(moltr::sim::DialogTexture(window), static_cast<DWORD>(ETDT_DISABLE));
    DestroyWindow(window);
    EXPECT_EQ(texture(window, ETDT_ENABLE), HRESULT_FROM_WIN32(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(moltr::sim::DialogTexture(window), 0u);
    EXPECT_TRUE(FreeLibrary(theme));
}

} // namespace
