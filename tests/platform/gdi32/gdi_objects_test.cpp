// Device contexts and the calls common to GDI objects: GetDC, ReleaseDC, CreateCompatibleDC,
// DeleteDC, SelectObject, DeleteObject and GetObjectW.
#include "sim/utf.h"
#include "sim/windows_admin.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>

namespace {

using moltr::sim::GdiObjectCount;

HFONT MakeFont(LONG height) {
    LOGFONTW font{};
    font.lfHeight = height;
    std::memcpy(font.lfFaceName, u"Arial", sizeof(u"Arial"));
    return CreateFontIndirectW(&font);
}

HGDIOBJ Bogus() {
    return reinterpret_cast<HGDIOBJ>(static_cast<ULONG_PTR>(0x0A0A1234));
}

TEST(DeviceContexts, ScreenDcIsReleasedNotDeleted) {
    const size_t before = GdiObjectCount();
    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    EXPECT_FALSE(DeleteDC(screen));
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 0);
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(DeviceContexts, WindowDcIsReleasedForItsOwnWindowOnly) {
    HWND window = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    HDC dc = GetDC(window);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(ReleaseDC(nullptr, dc), 0);
    EXPECT_EQ(ReleaseDC(window, dc), 1);
    DestroyWindow(window);
    SetLastError(0);
    EXPECT_EQ(GetDC(window), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST(DeviceContexts, MemoryDcIsDeletedNotReleased) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    ASSERT_NE(memory, nullptr);
    EXPECT_EQ(ReleaseDC(nullptr, memory), 0);
    EXPECT_TRUE(DeleteDC(memory));
    SetLastError(0);
    EXPECT_FALSE(DeleteDC(memory));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    ReleaseDC(nullptr, screen);
}

TEST(DeviceContexts, CompatibleWithNothingMeansTheScreen) {
    HDC memory = CreateCompatibleDC(nullptr);
    ASSERT_NE(memory, nullptr);
    EXPECT_EQ(GetDeviceCaps(memory, LOGPIXELSY), 96);
    DeleteDC(memory);
    SetLastError(0);
    EXPECT_EQ(CreateCompatibleDC(reinterpret_cast<HDC>(Bogus())), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(DeviceContexts, HandlesAreDistinctAndNotReusedAtOnce) {
    HDC first = CreateCompatibleDC(nullptr);
    DeleteDC(first);
    HDC second = CreateCompatibleDC(nullptr);
    EXPECT_NE(first, second);
    EXPECT_FALSE(DeleteDC(first));
    EXPECT_TRUE(DeleteDC(second));
}

TEST(SelectObject, ReturnsThePreviousFontEachTime) {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT a = MakeFont(-11);
    HFONT b = MakeFont(-20);
    HGDIOBJ initial = SelectObject(dc, a);
    ASSERT_NE(initial, nullptr);
    EXPECT_EQ(SelectObject(dc, b), a);
    EXPECT_EQ(SelectObject(dc, b), b);
    EXPECT_EQ(SelectObject(dc, initial), b);
    DeleteDC(dc);
    EXPECT_TRUE(DeleteObject(a));
    EXPECT_TRUE(DeleteObject(b));
}

TEST(SelectObject, RefusesBadHandles) {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = MakeFont(-11);
    EXPECT_EQ(SelectObject(dc, nullptr), nullptr);
    EXPECT_EQ(SelectObject(dc, Bogus()), nullptr);
    EXPECT_EQ(SelectObject(nullptr, font), nullptr);
    EXPECT_EQ(SelectObject(dc, dc), nullptr);
    DeleteDC(dc);
    EXPECT_EQ(SelectObject(dc, font), nullptr);
    DeleteObject(font);
}

TEST(SelectObject, BitmapsGoIntoOneMemoryDcAtATime) {
    HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(nullptr);
    HGDIOBJ initial = SelectObject(first, info.hbmColor);
    ASSERT_NE(initial, nullptr);
    EXPECT_EQ(SelectObject(second, info.hbmColor), nullptr);
    EXPECT_EQ(SelectObject(screen, info.hbmMask), nullptr);
    EXPECT_FALSE(DeleteObject(info.hbmColor)); // still selected
    EXPECT_EQ(SelectObject(first, initial), info.hbmColor);
    EXPECT_TRUE(DeleteObject(info.hbmColor));
    EXPECT_TRUE(DeleteObject(info.hbmMask));
    DeleteDC(first);
    DeleteDC(second);
    ReleaseDC(nullptr, screen);
}

TEST(DeleteObject, SelectedFontStaysUntilItsDcIsGone) {
    const size_t before = GdiObjectCount();
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = MakeFont(-11);
    SelectObject(dc, font);
    EXPECT_FALSE(DeleteObject(font));
    EXPECT_EQ(GetObjectW(font, 0, nullptr), static_cast<int>(sizeof(LOGFONTW)));
    DeleteDC(dc);
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_EQ(GetObjectW(font, 0, nullptr), 0);
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(DeleteObject, StockObjectsSurvive) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ systemFont = SelectObject(dc, MakeFont(-8));
    DeleteObject(SelectObject(dc, systemFont));
    DeleteDC(dc);
    EXPECT_TRUE(DeleteObject(systemFont));
    EXPECT_EQ(GetObjectW(systemFont, 0, nullptr), static_cast<int>(sizeof(LOGFONTW)));
}

TEST(DeleteObject, RefusesBadHandlesAndDcs) {
    SetLastError(0);
    EXPECT_FALSE(DeleteObject(nullptr));
    EXPECT_FALSE(DeleteObject(Bogus()));
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_FALSE(DeleteObject(dc));
    EXPECT_TRUE(DeleteDC(dc));
    HFONT font = MakeFont(-11);
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_FALSE(DeleteObject(font));
}

TEST(GetObject, FontDescriptionWholeOrInPart) {
    LOGFONTW wanted{};
    wanted.lfHeight = -13;
    wanted.lfWeight = FW_LIGHT;
    wanted.lfCharSet = DEFAULT_CHARSET;
    std::memcpy(wanted.lfFaceName, u"MS Shell Dlg", sizeof(u"MS Shell Dlg"));
    HFONT font = CreateFontIndirectW(&wanted);
    LOGFONTW read{};
    EXPECT_EQ(GetObjectW(font, sizeof read, &read), static_cast<int>(sizeof(LOGFONTW)));
    EXPECT_EQ(std::memcmp(&read, &wanted, sizeof read), 0);
    LOGFONTW part{};
    EXPECT_EQ(GetObjectW(font, 8, &part), 8);
    EXPECT_EQ(part.lfHeight, -13);
    EXPECT_EQ(part.lfWeight, 0);
    EXPECT_EQ(GetObjectW(font, 2 * sizeof read, &read), static_cast<int>(sizeof(LOGFONTW)));
    EXPECT_EQ(GetObjectW(font, 0, &read), 0);
    DeleteObject(font);
}

TEST(GetObject, BitmapNeedsTheWholeStructure) {
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(LoadIconW(nullptr, IDI_APPLICATION), &info));
    EXPECT_EQ(GetObjectW(info.hbmColor, 0, nullptr), static_cast<int>(sizeof(BITMAP)));
    BITMAP bitmap{};
    EXPECT_EQ(GetObjectW(info.hbmColor, sizeof bitmap - 1, &bitmap), 0);
    EXPECT_EQ(GetObjectW(info.hbmColor, sizeof bitmap, &bitmap), static_cast<int>(sizeof bitmap));
    EXPECT_EQ(bitmap.bmWidth, 32);
    EXPECT_EQ(bitmap.bmHeight, 32);
    EXPECT_EQ(bitmap.bmBitsPixel, 32);
    EXPECT_EQ(bitmap.bmWidthBytes, 128);
    EXPECT_EQ(bitmap.bmBits, nullptr);
    EXPECT_EQ(GetObjectW(info.hbmMask, sizeof bitmap, &bitmap), static_cast<int>(sizeof bitmap));
    EXPECT_EQ(bitmap.bmBitsPixel, 1);
    EXPECT_EQ(bitmap.bmWidthBytes, 4); // rows padded to words
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

TEST(GetObject, RefusesDcsAndBadHandles) {
    HDC dc = CreateCompatibleDC(nullptr);
    LOGFONTW font{};
    EXPECT_EQ(GetObjectW(dc, sizeof font, &font), 0);
    EXPECT_EQ(GetObjectW(Bogus(), sizeof font, &font), 0);
    EXPECT_EQ(GetObjectW(nullptr, sizeof font, &font), 0);
    DeleteDC(dc);
}

} // namespace
