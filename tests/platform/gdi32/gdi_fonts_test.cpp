// Fonts and text metrics: CreateFontIndirectW, GetTextMetricsW, GetTextExtentPoint32W and the
// screen resolution from GetDeviceCaps, measured on the faces fontconfig finds.
#include "sim/display.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <climits>
#include <cstring>

namespace {

using moltr::sim::CurrentDisplay;
using moltr::sim::DisplayConfig;
using moltr::sim::SetDisplay;

constexpr WCHAR kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// A memory DC with a font of `height` and `weight` selected, deleted with the fixture.
class FontDc : public ::testing::Test {
protected:
    void Select(LONG height, LONG weight = FW_NORMAL) {
        LOGFONTW font{};
        font.lfHeight = height;
        font.lfWeight = weight;
        std::memcpy(font.lfFaceName, u"MS Shell Dlg", sizeof(u"MS Shell Dlg"));
        Select(font);
    }
    void Select(const LOGFONTW& font) {
        HFONT made = CreateFontIndirectW(&font);
        ASSERT_NE(made, nullptr);
        DeleteObject(SelectObject(dc_, made));
    }
    TEXTMETRICW Metric() {
        TEXTMETRICW metric{};
        EXPECT_TRUE(GetTextMetricsW(dc_, &metric));
        return metric;
    }
    SIZE Extent(const WCHAR* text, int count) {
        SIZE size{-1, -1};
        EXPECT_TRUE(GetTextExtentPoint32W(dc_, text, count, &size));
        return size;
    }
    void TearDown() override {
        HGDIOBJ font = SelectObject(dc_, original_);
        DeleteDC(dc_);
        if (font != original_) {
            DeleteObject(font);
        }
    }

    HDC dc_ = CreateCompatibleDC(nullptr);
    HGDIOBJ original_ = GetCurrentObjectFont();

private:
    HGDIOBJ GetCurrentObjectFont() {
        // The font a new DC starts with, read by swapping it out and back.
        const LOGFONTW any{};
        HFONT probe = CreateFontIndirectW(&any);
        HGDIOBJ font = SelectObject(dc_, probe);
        SelectObject(dc_, font);
        DeleteObject(probe);
        return font;
    }
};

// Arial is drawn with Liberation Sans, whose tables hold Arial's metrics: 2048 units to the em,
// a Windows ascent of 1854 and descent of 434.
TEST_F(FontDc, ArialTakesItsMetricsFromTheFace) {
    LOGFONTW font{};
    font.lfHeight = -2048;
    std::memcpy(font.lfFaceName, u"Arial", sizeof(u"Arial"));
    Select(font);
    const TEXTMETRICW metric = Metric();
    EXPECT_EQ(metric.tmAscent, 1854);
    EXPECT_EQ(metric.tmDescent, 434);
    EXPECT_EQ(metric.tmHeight, 2288);
    EXPECT_EQ(metric.tmInternalLeading, 2288 - 2048);
    EXPECT_EQ(Extent(L"A", 1).cx, 1366); // Arial's advance of A
    // The cell height asked for is met, so the em is smaller by the same ratio.
    font.lfHeight = 2288;
    Select(font);
    EXPECT_EQ(Metric().tmHeight, 2288);
    EXPECT_EQ(Metric().tmInternalLeading, 2288 - 2048);
}

TEST_F(FontDc, PositiveHeightIsTheCellHeight) {
    Select(20);
    const TEXTMETRICW metric = Metric();
    EXPECT_EQ(metric.tmHeight, 20);
    EXPECT_EQ(metric.tmHeight - metric.tmInternalLeading, 17); // five sixths, rounded
}

TEST_F(FontDc, ZeroHeightIsTheDefaultSize) {
    Select(0);
    EXPECT_EQ(Metric().tmHeight, 14);
}

TEST_F(FontDc, ExtremeHeightsStayWithinRange) {
    Select(INT_MIN);
    const TEXTMETRICW huge = Metric();
    EXPECT_GT(huge.tmHeight, 0);
    EXPECT_GT(huge.tmAveCharWidth, 0);
    Select(INT_MAX);
    EXPECT_EQ(Metric().tmHeight, huge.tmHeight);
    Select(-1);
    EXPECT_EQ(Metric().tmHeight, 1);
    EXPECT_EQ(Metric().tmAveCharWidth, 1);
}

TEST_F(FontDc, BoldIsWiderAndReportsItsWeight) {
    Select(-11, FW_BOLD);
    const TEXTMETRICW metric = Metric();
    EXPECT_EQ(metric.tmWeight, FW_BOLD);
    EXPECT_EQ(metric.tmAveCharWidth, 6);
    Select(-11, FW_DONTCARE);
    EXPECT_EQ(Metric().tmWeight, FW_NORMAL);
}

TEST_F(FontDc, StyleFlagsAndCharacterSetCarryOver) {
    LOGFONTW font{};
    font.lfHeight = -11;
    font.lfItalic = TRUE;
    font.lfUnderline = TRUE;
    font.lfCharSet = 0xA1; // Greek
    Select(font);
    const TEXTMETRICW metric = Metric();
    EXPECT_NE(metric.tmItalic, 0);
    EXPECT_NE(metric.tmUnderlined, 0);
    EXPECT_EQ(metric.tmStruckOut, 0);
    EXPECT_EQ(metric.tmCharSet, 0xA1);
}

TEST_F(FontDc, ExtentsAddUpCharacterWidths) {
    Select(-11);
    const SIZE whole = Extent(L"Wide text.", 10);
    const SIZE first = Extent(L"Wide ", 5);
    const SIZE rest = Extent(L"text.", 5);
    EXPECT_EQ(whole.cx, first.cx + rest.cx);
    EXPECT_EQ(whole.cy, Metric().tmHeight);
    EXPECT_LT(Extent(L"...", 3).cx, Extent(L"aaa", 3).cx);
    EXPECT_LT(Extent(L"aaa", 3).cx, Extent(L"WWW", 3).cx);
}

TEST_F(FontDc, ExtentCountsUnitsNotTheTerminator) {
    Select(-11);
    EXPECT_EQ(Extent(L"ab", 1).cx, Extent(L"a", 1).cx);
    const WCHAR embedded[] = {u'a', 0, u'b'};
    EXPECT_EQ(Extent(embedded, 3).cx, Extent(L"ab", 2).cx + Extent(embedded + 1, 1).cx);
    const SIZE empty = Extent(L"", 0);
    EXPECT_EQ(empty.cx, 0);
    EXPECT_EQ(empty.cy, Metric().tmHeight);
    EXPECT_EQ(Extent(nullptr, 0).cx, 0);
}

TEST_F(FontDc, ExtentRefusesBadArguments) {
    SIZE size{};
    SetLastError(0);
    EXPECT_FALSE(GetTextExtentPoint32W(dc_, L"abc", -1, &size));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(GetTextExtentPoint32W(dc_, L"abc", 3, nullptr));
    EXPECT_FALSE(GetTextExtentPoint32W(dc_, nullptr, 3, &size));
    SetLastError(0);
    EXPECT_FALSE(GetTextExtentPoint32W(nullptr, L"abc", 3, &size));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(FontDc, MetricsRefuseBadArguments) {
    TEXTMETRICW metric{};
    EXPECT_FALSE(GetTextMetricsW(dc_, nullptr));
    SetLastError(0);
    EXPECT_FALSE(GetTextMetricsW(reinterpret_cast<HDC>(0x10), &metric));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(FontDc, NewDcStartsWithTheSystemFont) {
    LOGFONTW font{};
    ASSERT_EQ(GetObjectW(original_, sizeof font, &font), static_cast<int>(sizeof font));
    EXPECT_EQ(std::memcmp(font.lfFaceName, u"System", sizeof(u"System")), 0);
    EXPECT_EQ(Metric().tmHeight, 16);
}

TEST(CreateFontIndirect, RefusesNullAndTerminatesTheFaceName) {
    SetLastError(0);
    EXPECT_EQ(CreateFontIndirectW(nullptr), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    LOGFONTW full{};
    for (WCHAR& c : full.lfFaceName) {
        c = u'x';
    }
    HFONT font = CreateFontIndirectW(&full);
    LOGFONTW read{};
    GetObjectW(font, sizeof read, &read);
    EXPECT_EQ(read.lfFaceName[LF_FACESIZE - 2], u'x');
    EXPECT_EQ(read.lfFaceName[LF_FACESIZE - 1], 0);
    DeleteObject(font);
}

TEST(CreateFontIndirect, EveryFontIsItsOwnObject) {
    LOGFONTW same{};
    HFONT a = CreateFontIndirectW(&same);
    HFONT b = CreateFontIndirectW(&same);
    EXPECT_NE(a, b);
    EXPECT_TRUE(DeleteObject(a));
    EXPECT_TRUE(DeleteObject(b));
}

class ScreenResolution : public ::testing::Test {
protected:
    void TearDown() override { SetDisplay(saved_); }
    DisplayConfig saved_ = CurrentDisplay();
};

TEST_F(ScreenResolution, DefaultIs96DotsPerInch) {
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
    ReleaseDC(nullptr, screen);
}

TEST_F(ScreenResolution, ConfiguredResolutionIsReportedByEveryDc) {
    ASSERT_TRUE(SetDisplay({120, 144}));
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 120);
    EXPECT_EQ(GetDeviceCaps(memory, LOGPIXELSY), 144);
    EXPECT_EQ(GetDialogBaseUnits(), MAKELONG(10, 24));
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

TEST_F(ScreenResolution, RefusesResolutionsBelowOne) {
    EXPECT_FALSE(SetDisplay({0, 96}));
    EXPECT_FALSE(SetDisplay({96, -1}));
    EXPECT_EQ(CurrentDisplay().logPixelsX, saved_.logPixelsX);
}

TEST_F(ScreenResolution, OtherIndicesAndBadDcsGiveZero) {
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, 12345), 0);
    ReleaseDC(nullptr, screen);
    SetLastError(0);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(ScreenResolution, SystemDialogBaseUnitsAt96) {
    EXPECT_EQ(GetDialogBaseUnits(), MAKELONG(8, 16));
}

} // namespace
