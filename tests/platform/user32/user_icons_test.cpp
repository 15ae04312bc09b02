// Icons, cursors and bitmaps from this program's resources (user_icons.rc) and from memory:
// LoadIconW, LoadCursorW, LoadBitmapW, LookupIconIdFromDirectoryEx, CreateIconFromResourceEx,
// CopyIcon, DestroyIcon and GetIconInfo.
#include "platform/kernel32/resource_file.h"
#include "sim/machine.h"
#include "sim/utf.h"
#include "sim/windows_admin.h"
#include "this_module.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

using moltr::sim::GdiObjectCount;
using moltr::sim::IconCount;
using moltr::sim::TestMachine;

constexpr DWORD kVersion = 0x00030000;

BITMAP BitmapOf(HBITMAP bitmap) {
    BITMAP info{};
    EXPECT_EQ(GetObjectW(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
    return info;
}

// Reads an icon's size and hot spot, deleting the bitmaps GetIconInfo made.
struct IconShape {
    LONG width = 0;
    LONG height = 0;
    WORD bits = 0;
    ICONINFO info{};
};
IconShape ShapeOf(HICON icon) {
    IconShape shape;
    EXPECT_TRUE(GetIconInfo(icon, &shape.info));
    const BITMAP mask = BitmapOf(shape.info.hbmMask);
    shape.width = mask.bmWidth;
    shape.height = shape.info.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
    shape.bits = shape.info.hbmColor ? BitmapOf(shape.info.hbmColor).bmBitsPixel : 1;
    DeleteObject(shape.info.hbmMask);
    DeleteObject(shape.info.hbmColor);
    return shape;
}

// An icon image in memory: a BITMAPINFOHEADER of double height, colours, pixels and mask.
std::vector<BYTE> IconImage(LONG width, LONG height, WORD bits) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = 2 * height;
    header.biPlanes = 1;
    header.biBitCount = bits;
    const size_t colours = bits <= 8 ? (size_t{1} << bits) * 4 : 0;
    const size_t pixels = (static_cast<size_t>(width) * bits + 31) / 32 * 4 * height;
    const size_t mask = (static_cast<size_t>(width) + 31) / 32 * 4 * height;
    std::vector<BYTE> image(sizeof header + colours + pixels + mask);
    std::memcpy(image.data(), &header, sizeof header);
    return image;
}

// A group directory of icon (type 1) or cursor (type 2) entries {width, height, bits, id}.
struct DirectoryEntry {
    int width;
    int height;
    int bits;
    WORD id;
};
std::vector<BYTE> Directory(WORD type, const std::vector<DirectoryEntry>& entries) {
    std::vector<BYTE> data(6 + 14 * entries.size());
    auto put = [&data](size_t at, WORD value) { std::memcpy(&data[at], &value, sizeof value); };
    put(2, type);
    put(4, static_cast<WORD>(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i) {
        const size_t at = 6 + 14 * i;
        if (type == 1) {
            data[at] = static_cast<BYTE>(entries[i].width);
            data[at + 1] = static_cast<BYTE>(entries[i].height);
            put(at + 4, 1);
            put(at + 6, static_cast<WORD>(entries[i].bits));
        } else {
            put(at, static_cast<WORD>(entries[i].width));
            put(at + 2, static_cast<WORD>(2 * entries[i].height));
            put(at + 4, 1);
            put(at + 6, static_cast<WORD>(entries[i].bits));
        }
        put(at + 12, entries[i].id);
    }
    return data;
}

int Lookup(std::vector<BYTE> directory, BOOL icon, int cx, int cy, UINT flags = LR_DEFAULTCOLOR) {
    return LookupIconIdFromDirectoryEx(directory.data(), icon, cx, cy, flags);
}

TEST(LookupIconId, ClosestSizeThenDeepestColours) {
    const auto directory =
        Directory(1, {{16, 16, 4, 1}, {32, 32, 8, 2}, {32, 32, 32, 3}, {48, 48, 32, 4}});
    EXPECT_EQ(Lookup(directory, TRUE, 32, 32), 3);
    EXPECT_EQ(Lookup(directory, TRUE, 16, 16), 1);
    EXPECT_EQ(Lookup(directory, TRUE, 20, 20), 1);
    EXPECT_EQ(Lookup(directory, TRUE, 44, 44), 4);
    EXPECT_EQ(Lookup(directory, TRUE, 0, 0), 3); // the system's icon size
    EXPECT_EQ(Lookup(directory, TRUE, 32, 32, LR_MONOCHROME), 2);
}

TEST(LookupIconId, ZeroWidthMeans256) {
    const auto directory = Directory(1, {{0, 0, 32, 9}, {128, 128, 32, 8}});
    EXPECT_EQ(Lookup(directory, TRUE, 256, 256), 9);
    EXPECT_EQ(Lookup(directory, TRUE, 100, 100), 8);
}

TEST(LookupIconId, CursorDirectoriesHoldDoubleHeights) {
    const auto directory = Directory(2, {{32, 32, 1, 5}, {48, 48, 1, 6}});
    EXPECT_EQ(Lookup(directory, FALSE, 32, 32), 5);
    EXPECT_EQ(Lookup(directory, FALSE, 48, 48), 6);
}

TEST(LookupIconId, KindMustMatchAndDirectoryMustBeSound) {
    EXPECT_EQ(Lookup(Directory(2, {{32, 32, 1, 5}}), TRUE, 32, 32), 0);
    EXPECT_EQ(Lookup(Directory(1, {{32, 32, 32, 5}}), FALSE, 32, 32), 0);
    EXPECT_EQ(Lookup(Directory(1, {}), TRUE, 32, 32), 0);
    auto reserved = Directory(1, {{32, 32, 32, 5}});
    reserved[0] = 1;
    EXPECT_EQ(Lookup(reserved, TRUE, 32, 32), 0);
    EXPECT_EQ(LookupIconIdFromDirectoryEx(nullptr, TRUE, 32, 32, 0), 0);
}

TEST(CreateIconFromResource, SizeFromTheImageOrAsAsked) {
    auto image = IconImage(16, 16, 32);
    HICON natural = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                             kVersion, 0, 0, LR_DEFAULTCOLOR);
    ASSERT_NE(natural, nullptr);
    EXPECT_EQ(ShapeOf(natural).width, 16);
    EXPECT_EQ(ShapeOf(natural).info.xHotspot, 8u);
    HICON scaled = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                            kVersion, 24, 20, LR_DEFAULTCOLOR);
    EXPECT_EQ(ShapeOf(scaled).width, 24);
    EXPECT_EQ(ShapeOf(scaled).height, 20);
    HICON standard = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                              kVersion, 0, 0, LR_DEFAULTSIZE);
    EXPECT_EQ(ShapeOf(standard).width, 32);
    for (HICON icon : {natural, scaled, standard}) {
        EXPECT_TRUE(DestroyIcon(icon));
    }
}

TEST(CreateIconFromResource, MonochromeImageHasOnlyAMask) {
    auto image = IconImage(32, 32, 1);
    HICON icon = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                          kVersion, 0, 0, 0);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    EXPECT_EQ(info.hbmColor, nullptr);
    EXPECT_EQ(BitmapOf(info.hbmMask).bmHeight, 64);
    EXPECT_TRUE(info.fIcon);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
}

TEST(CreateIconFromResource, CursorCarriesItsHotSpot) {
    auto image = IconImage(32, 32, 1);
    std::vector<BYTE> cursor{3, 0, 9, 0};
    cursor.insert(cursor.end(), image.begin(), image.end());
    HICON made = CreateIconFromResourceEx(cursor.data(), static_cast<DWORD>(cursor.size()), FALSE,
                                          kVersion, 0, 0, 0);
    const IconShape shape = ShapeOf(made);
    EXPECT_FALSE(shape.info.fIcon);
    EXPECT_EQ(shape.info.xHotspot, 3u);
    EXPECT_EQ(shape.info.yHotspot, 9u);
    DestroyIcon(made);
}

TEST(CreateIconFromResource, PngImagesAreTakenAsTheyAre) {
    std::vector<BYTE> png{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0,    13,
                          'I',  'H', 'D', 'R', 0,    0,    1,    0,    0, 0, 0x01, 0};
    HICON icon = CreateIconFromResourceEx(png.data(), static_cast<DWORD>(png.size()), TRUE,
                                          kVersion, 0, 0, 0);
    const IconShape shape = ShapeOf(icon);
    EXPECT_EQ(shape.width, 256);
    EXPECT_EQ(shape.height, 256);
    EXPECT_EQ(shape.bits, 32);
    DestroyIcon(icon);
}

TEST(CreateIconFromResource, RefusesDamagedImages) {
    auto image = IconImage(16, 16, 8);
    const auto size = static_cast<DWORD>(image.size());
    auto refused = [](BYTE* bits, DWORD bytes, DWORD version = kVersion) {
        SetLastError(0);
        HICON icon = CreateIconFromResourceEx(bits, bytes, TRUE, version, 0, 0, 0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
        return icon == nullptr;
    };
    EXPECT_TRUE(refused(nullptr, size));
    EXPECT_TRUE(refused(image.data(), size - 1)); // mask cut short
    EXPECT_TRUE(refused(image.data(), 39));
    EXPECT_TRUE(refused(image.data(), size, 0x00010000));
    EXPECT_TRUE(refused(image.data(), size, 0x00040000));
    auto odd = image;
    odd[8] = 33; // a height of 33 cannot be split into image and mask
    EXPECT_TRUE(refused(odd.data(), size));
    auto planes = image;
    planes[12] = 2;
    EXPECT_TRUE(refused(planes.data(), size));
    auto bits = image;
    bits[14] = 3;
    EXPECT_TRUE(refused(bits.data(), size));
    std::vector<BYTE> cursor{1, 0};
    SetLastError(0);
    EXPECT_EQ(CreateIconFromResourceEx(cursor.data(), 2, FALSE, kVersion, 0, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(IconHandles, CopyIsIndependentAndDestroyedOnce) {
    const size_t before = IconCount();
    auto image = IconImage(16, 16, 32);
    HICON icon = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                          kVersion, 0, 0, 0);
    HICON copy = CopyIcon(icon);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, icon);
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_EQ(ShapeOf(copy).width, 16);
    SetLastError(0);
    EXPECT_FALSE(DestroyIcon(icon));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_CURSOR_HANDLE));
    EXPECT_TRUE(DestroyIcon(copy));
    EXPECT_EQ(IconCount(), before);
}

TEST(IconHandles, BadHandlesAreRefused) {
    ICONINFO info{};
    SetLastError(0);
    EXPECT_EQ(CopyIcon(nullptr), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_CURSOR_HANDLE));
    EXPECT_FALSE(GetIconInfo(nullptr, &info));
    HWND window = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  nullptr, nullptr);
    EXPECT_FALSE(DestroyIcon(reinterpret_cast<HICON>(window)));
    EXPECT_TRUE(IsWindow(window));
    DestroyWindow(window);
    EXPECT_FALSE(GetIconInfo(LoadIconW(nullptr, IDI_WARNING), nullptr));
}

TEST(IconHandles, GetIconInfoBitmapsBelongToTheCaller) {
    const size_t before = GdiObjectCount();
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(LoadIconW(nullptr, IDI_APPLICATION), &info));
    EXPECT_EQ(GdiObjectCount(), before + 2);
    EXPECT_TRUE(DeleteObject(info.hbmColor));
    EXPECT_TRUE(DeleteObject(info.hbmMask));
    EXPECT_EQ(GdiObjectCount(), before);
}

class Resources : public ::testing::Test {
protected:
    TestMachine machine_;
    HINSTANCE self_ = ThisModuleHandle();
};

TEST_F(Resources, LoadIconPicksTheSystemSizeAndShares) {
    HICON icon = LoadIconW(self_, MAKEINTRESOURCEW(100));
    ASSERT_NE(icon, nullptr);
    const IconShape shape = ShapeOf(icon);
    EXPECT_EQ(shape.width, 32);
    EXPECT_EQ(shape.bits, 32);
    EXPECT_EQ(LoadIconW(self_, MAKEINTRESOURCEW(100)), icon);
    EXPECT_TRUE(DestroyIcon(icon)); // a shared icon stays
    EXPECT_EQ(LoadIconW(self_, MAKEINTRESOURCEW(100)), icon);
    EXPECT_NE(LoadIconW(self_, MAKEINTRESOURCEW(101)), icon);
}

TEST_F(Resources, LoadIconByNameIgnoringCase) {
    HICON icon = LoadIconW(self_, L"named");
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(LoadIconW(self_, L"NAMED"), icon);
    EXPECT_EQ(LoadIconW(self_, L"#100"), LoadIconW(self_, MAKEINTRESOURCEW(100)));
}

TEST_F(Resources, LoadIconFailsAsTheLookupDoes) {
    SetLastError(0);
    EXPECT_EQ(LoadIconW(self_, MAKEINTRESOURCEW(555)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    SetLastError(0);
    EXPECT_EQ(LoadIconW(self_, MAKEINTRESOURCEW(400)), nullptr); // its image is missing
    EXPECT_NE(GetLastError(), 0u);
    EXPECT_EQ(LoadIconW(self_, MAKEINTRESOURCEW(401)), nullptr); // no images at all
    EXPECT_EQ(LoadIconW(self_, nullptr), nullptr);
    EXPECT_EQ(LoadIconW(reinterpret_cast<HINSTANCE>(0x12340000), MAKEINTRESOURCEW(100)), nullptr);
}

// Windows does not validate a directory; inside a module's resource the simulation knows where the
// data ends and answers 0 rather than reading past it. The groups are the last resources of their
// files, so that a read past them leaves the module's memory.
TEST_F(Resources, LookupIconIdReadsNoFurtherThanTheResource) {
    const std::u16string path = u"C:\\Windows\\Temp\\GROUPS.DLL";
    auto lookup = [&](const std::string& group) {
        std::ofstream(moltr::sim::HostPath(moltr::sim::W(path)), std::ios::binary | std::ios::trunc)
            << moltr::test::ResourceFile({{14 /* RT_GROUP_ICON */, 1, 0, group}});
        HMODULE module = LoadLibraryExW(moltr::sim::W(path), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        EXPECT_NE(module, nullptr);
        HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
        EXPECT_NE(found, nullptr);
        auto* directory = static_cast<PBYTE>(LockResource(LoadResource(module, found)));
        SetLastError(0);
        const int image = LookupIconIdFromDirectoryEx(directory, TRUE, 32, 32, LR_DEFAULTCOLOR);
        const DWORD error = GetLastError();
        EXPECT_EQ(LoadIconW(module, MAKEINTRESOURCEW(1)), nullptr);
        FreeLibrary(module);
        return std::pair{image, error};
    };
    const std::string entry = moltr::test::Words({0x2020, 0, 1, 32, 0x0400, 0, 7});
    const std::pair refused{0, static_cast<DWORD>(ERROR_INVALID_PARAMETER)};
    EXPECT_EQ(lookup(moltr::test::Words({0, 1, 0xFFFF})), refused);
    EXPECT_EQ(lookup(moltr::test::Words({0, 1, 3}) + entry), refused);
    EXPECT_EQ(lookup(moltr::test::Words({0, 1, 1}) + entry.substr(0, 13)), refused);
    EXPECT_EQ(lookup(moltr::test::Words({0, 1})), refused);
    // A whole directory is read as usual.
    EXPECT_EQ(lookup(moltr::test::Words({0, 1, 1}) + entry).first, 7);
}

TEST_F(Resources, SystemIconsAndCursors) {
    HICON application = LoadIconW(nullptr, IDI_APPLICATION);
    ASSERT_NE(application, nullptr);
    EXPECT_EQ(LoadIconW(nullptr, IDI_APPLICATION), application);
    EXPECT_NE(LoadIconW(nullptr, IDI_ERROR), application);
    HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    ASSERT_NE(arrow, nullptr);
    EXPECT_NE(arrow, application); // same id, other kind
    EXPECT_FALSE(ShapeOf(arrow).info.fIcon);
    EXPECT_NE(LoadCursorW(nullptr, IDC_HAND), nullptr);
    SetLastError(0);
    EXPECT_EQ(LoadIconW(nullptr, MAKEINTRESOURCEW(1)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCEW(32647)), nullptr);
}

TEST_F(Resources, LoadCursorKeepsItsHotSpot) {
    HCURSOR cursor = LoadCursorW(self_, MAKEINTRESOURCEW(200));
    ASSERT_NE(cursor, nullptr);
    const IconShape shape = ShapeOf(cursor);
    EXPECT_FALSE(shape.info.fIcon);
    EXPECT_EQ(shape.info.xHotspot, 5u);
    EXPECT_EQ(shape.info.yHotspot, 7u);
    EXPECT_EQ(shape.bits, 1);
    EXPECT_EQ(LoadCursorW(self_, MAKEINTRESOURCEW(200)), cursor);
    EXPECT_EQ(LoadCursorW(self_, MAKEINTRESOURCEW(100)), nullptr); // an icon, not a cursor
}

TEST_F(Resources, LoadBitmapGivesScreenOrMonochromeBitmaps) {
    HBITMAP colour = LoadBitmapW(self_, MAKEINTRESOURCEW(300));
    ASSERT_NE(colour, nullptr);
    BITMAP info = BitmapOf(colour);
    EXPECT_EQ(info.bmWidth, 24);
    EXPECT_EQ(info.bmHeight, 10);
    EXPECT_EQ(info.bmBitsPixel, 32);
    HBITMAP mono = LoadBitmapW(self_, MAKEINTRESOURCEW(301));
    info = BitmapOf(mono);
    EXPECT_EQ(info.bmWidth, 8);
    EXPECT_EQ(info.bmBitsPixel, 1);
    EXPECT_NE(LoadBitmapW(self_, MAKEINTRESOURCEW(300)), colour); // not shared
    EXPECT_TRUE(DeleteObject(colour));
    EXPECT_TRUE(DeleteObject(mono));
}

// The expected colours come from the bitmap file itself: 24-bit rows, bottom-up, padded to DWORDs.
TEST_F(Resources, LoadBitmapKeepsTheResourcesColours) {
    std::ifstream file(MOLTR_SOURCE_DIR "/tests/platform/user32/user_icons_colour.bmp",
                       std::ios::binary);
    const std::vector<BYTE> bmp((std::istreambuf_iterator<char>(file)), {});
    ASSERT_GT(bmp.size(), 54u);
    DWORD bitsOffset = 0;
    std::memcpy(&bitsOffset, bmp.data() + 10, sizeof bitsOffset);
    constexpr LONG kWidth = 24, kHeight = 10;
    constexpr size_t kStride = (kWidth * 3 + 3) / 4 * 4;
    ASSERT_LE(bitsOffset + kStride * kHeight, bmp.size());
    HBITMAP colour = LoadBitmapW(self_, MAKEINTRESOURCEW(300));
    ASSERT_NE(colour, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, colour);
    size_t distinct = 0;
    for (LONG y = 0; y < kHeight; ++y) {
        for (LONG x = 0; x < kWidth; ++x) {
            const BYTE* bgr = bmp.data() + bitsOffset + (kHeight - 1 - y) * kStride + x * 3;
            const COLORREF expected = RGB(bgr[2], bgr[1], bgr[0]);
            distinct += expected != RGB(0, 0, 0);
            EXPECT_EQ(GetPixel(dc, x, y), expected) << x << "," << y;
        }
    }
    EXPECT_GT(distinct, 0u); // the check would not see pixels left black
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(colour);
}

TEST_F(Resources, LoadBitmapRefusesMissingAndDamagedOnes) {
    SetLastError(0);
    EXPECT_EQ(LoadBitmapW(self_, MAKEINTRESOURCEW(399)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    SetLastError(0);
    EXPECT_EQ(LoadBitmapW(self_, MAKEINTRESOURCEW(302)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    EXPECT_EQ(LoadBitmapW(self_, MAKEINTRESOURCEW(303)), nullptr);
    EXPECT_EQ(LoadBitmapW(nullptr, MAKEINTRESOURCEW(32754)), nullptr);
}

} // namespace
