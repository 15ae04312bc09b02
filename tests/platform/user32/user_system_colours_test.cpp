// The system colours: GetSysColor and GetSysColorBrush, whose brushes belong to the system.
#include <gtest/gtest.h>
#include <windows.h>

namespace {

COLORREF BrushColour(HBRUSH brush) {
    LOGBRUSH description{};
    EXPECT_EQ(GetObjectW(brush, sizeof description, &description),
              static_cast<int>(sizeof description));
    EXPECT_EQ(description.lbStyle, static_cast<UINT>(BS_SOLID));
    return description.lbColor;
}

TEST(SystemColours, AreTheDesktopsOwn) {
    EXPECT_EQ(GetSysColor(COLOR_3DFACE), RGB(240, 240, 240));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_3DFACE));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), RGB(0, 0, 0));
    EXPECT_EQ(GetSysColor(COLOR_GRAYTEXT), RGB(109, 109, 109));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(0, 120, 215));
    EXPECT_EQ(GetSysColor(COLOR_3DSHADOW), RGB(160, 160, 160));
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), RGB(105, 105, 105));
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), RGB(255, 255, 225));
    EXPECT_EQ(GetSysColor(COLOR_MENUBAR), RGB(240, 240, 240));
}

TEST(SystemColours, IndicesOutsideTheTableHaveNone) {
    EXPECT_EQ(GetSysColor(-1), 0u);
    EXPECT_EQ(GetSysColor(COLOR_MENUBAR + 1), 0u);
    EXPECT_EQ(GetSysColorBrush(-1), nullptr);
    EXPECT_EQ(GetSysColorBrush(25), nullptr);
    EXPECT_EQ(GetSysColorBrush(COLOR_MENUBAR + 1), nullptr);
}

TEST(SystemColours, BrushesPaintTheirColourAndAreOneEach) {
    for (int index :
         {COLOR_SCROLLBAR, COLOR_WINDOW, COLOR_3DFACE, COLOR_HIGHLIGHT, COLOR_MENUBAR}) {
        HBRUSH brush = GetSysColorBrush(index);
        ASSERT_NE(brush, nullptr) << index;
        EXPECT_EQ(GetSysColorBrush(index), brush) << index;
        EXPECT_EQ(BrushColour(brush), GetSysColor(index)) << index;
    }
}

TEST(SystemColours, DeletingABrushLeavesItInUse) {
    HBRUSH brush = GetSysColorBrush(COLOR_HIGHLIGHT);
    DeleteObject(brush);
    EXPECT_EQ(GetSysColorBrush(COLOR_HIGHLIGHT), brush);
    EXPECT_EQ(BrushColour(brush), RGB(0, 120, 215));

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP pixels = CreateCompatibleBitmap(screen, 4, 4);
    HGDIOBJ previous = SelectObject(dc, pixels);
    const RECT all{0, 0, 4, 4};
    EXPECT_NE(FillRect(dc, &all, brush), 0);
    EXPECT_EQ(GetPixel(dc, 2, 2), RGB(0, 120, 215));
    SelectObject(dc, previous);
    DeleteObject(pixels);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

} // namespace
