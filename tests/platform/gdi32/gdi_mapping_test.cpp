// Mapping modes: SetMapMode and its extents and origins, the isotropic adjustment, LPtoDP and
// DPtoLP, SaveDC keeping the mapping, and drawing, clipping and text in logical units.
#include <gtest/gtest.h>
#include <windows.h>
#include "gdi_surface_canvas.h"

namespace {

using moltr::test::SurfaceCanvas;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

POINT Mapped(HDC dc, POINT point) {
    LPtoDP(dc, &point, 1);
    return point;
}

TEST(MapModes, SetMapModeAnswersThePreviousModeAndRefusesUnknownOnes) {
    SurfaceCanvas canvas(10, 10);
    EXPECT_EQ(GetMapMode(canvas.dc()), MM_TEXT);
    EXPECT_EQ(SetMapMode(canvas.dc(), MM_ISOTROPIC), MM_TEXT);
    EXPECT_EQ(SetMapMode(canvas.dc(), MM_ANISOTROPIC), MM_ISOTROPIC);
    SetLastError(0);
    EXPECT_EQ(SetMapMode(canvas.dc(), 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(SetMapMode(canvas.dc(), MM_MAX + 1), 0);
    EXPECT_EQ(GetMapMode(canvas.dc()), MM_ANISOTROPIC);
    EXPECT_EQ(SetMapMode(nullptr, MM_TEXT), 0);
}

TEST(MapModes, ExtentsAreIgnoredOutsideTheScalableModes) {
    SurfaceCanvas canvas(10, 10);
    SIZE previous{};
    EXPECT_TRUE(SetWindowExtEx(canvas.dc(), 100, 100, &previous));
    EXPECT_EQ(previous.cx, 1);
    EXPECT_EQ(previous.cy, 1);
    SIZE now{};
    ASSERT_TRUE(GetWindowExtEx(canvas.dc(), &now));
    EXPECT_EQ(now.cx, 1);
    EXPECT_EQ(Mapped(canvas.dc(), {7, 3}).x, 7);
}

TEST(MapModes, ZeroExtentsAreRefused) {
    SurfaceCanvas canvas(10, 10);
    SetMapMode(canvas.dc(), MM_ANISOTROPIC);
    SetLastError(0);
    EXPECT_FALSE(SetWindowExtEx(canvas.dc(), 0, 10, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(SetViewportExtEx(canvas.dc(), 10, 0, nullptr));
}

TEST(MapModes, AnisotropicScalesEachAxisOnItsOwn) {
    SurfaceCanvas canvas(10, 10);
    SetMapMode(canvas.dc(), MM_ANISOTROPIC);
    SetWindowExtEx(canvas.dc(), 100, 100, nullptr);
    SetViewportExtEx(canvas.dc(), 200, 50, nullptr);
    const POINT device = Mapped(canvas.dc(), {50, 50});
    EXPECT_EQ(device.x, 100);
    EXPECT_EQ(device.y, 25);
}

TEST(MapModes, IsotropicShrinksTheViewportAxisWithLongerUnitsKeepingItsSign) {
    SurfaceCanvas canvas(10, 10);
    SetMapMode(canvas.dc(), MM_ISOTROPIC);
    SetWindowExtEx(canvas.dc(), 100, 100, nullptr);
    SetViewportExtEx(canvas.dc(), 400, -200, nullptr);
    SIZE viewport{};
    ASSERT_TRUE(GetViewportExtEx(canvas.dc(), &viewport));
    EXPECT_EQ(viewport.cx, 200);
    EXPECT_EQ(viewport.cy, -200);
    const POINT device = Mapped(canvas.dc(), {100, 50});
    EXPECT_EQ(device.x, 200);
    EXPECT_EQ(device.y, -100);
    // The other axis shrinks when it is the longer one.
    SetViewportExtEx(canvas.dc(), 300, 600, nullptr);
    ASSERT_TRUE(GetViewportExtEx(canvas.dc(), &viewport));
    EXPECT_EQ(viewport.cx, 300);
    EXPECT_EQ(viewport.cy, 300);
}

TEST(MapModes, MetricModesCountUpwardsInTenthsOfAMillimetre) {
    SurfaceCanvas canvas(10, 10);
    SetMapMode(canvas.dc(), MM_LOMETRIC);
    // 254 tenths of a millimetre are an inch: 96 pixels on the simulated screen, y upwards.
    const POINT device = Mapped(canvas.dc(), {254, 254});
    EXPECT_EQ(device.x, 96);
    EXPECT_EQ(device.y, -96);
    SetMapMode(canvas.dc(), MM_TEXT);
    EXPECT_EQ(Mapped(canvas.dc(), {254, 254}).x, 254);
}

TEST(MapModes, OriginsShiftBothWaysAndDPtoLPInvertsLPtoDP) {
    SurfaceCanvas canvas(10, 10);
    SetMapMode(canvas.dc(), MM_ANISOTROPIC);
    SetWindowExtEx(canvas.dc(), 10, 10, nullptr);
    SetViewportExtEx(canvas.dc(), 20, 20, nullptr);
    POINT previous{-1, -1};
    EXPECT_TRUE(SetViewportOrgEx(canvas.dc(), 5, 7, &previous));
    EXPECT_EQ(previous.x, 0);
    EXPECT_TRUE(SetWindowOrgEx(canvas.dc(), 1, 1, nullptr));
    POINT point = {3, 4};
    ASSERT_TRUE(LPtoDP(canvas.dc(), &point, 1));
    EXPECT_EQ(point.x, (3 - 1) * 2 + 5);
    EXPECT_EQ(point.y, (4 - 1) * 2 + 7);
    ASSERT_TRUE(DPtoLP(canvas.dc(), &point, 1));
    EXPECT_EQ(point.x, 3);
    EXPECT_EQ(point.y, 4);
    EXPECT_FALSE(LPtoDP(canvas.dc(), nullptr, 1));
}

TEST(MapModes, RestoreDcBringsBackTheMapping) {
    SurfaceCanvas canvas(10, 10);
    const int saved = SaveDC(canvas.dc());
    SetMapMode(canvas.dc(), MM_ISOTROPIC);
    SetWindowExtEx(canvas.dc(), 10, 10, nullptr);
    SetViewportExtEx(canvas.dc(), 5, 5, nullptr);
    RestoreDC(canvas.dc(), saved);
    EXPECT_EQ(GetMapMode(canvas.dc()), MM_TEXT);
    EXPECT_EQ(Mapped(canvas.dc(), {8, 8}).x, 8);
}

// Four logical units to the pixel.
void Quarter(HDC dc) {
    SetMapMode(dc, MM_ISOTROPIC);
    SetWindowExtEx(dc, 400, 400, nullptr);
    SetViewportExtEx(dc, 100, 100, nullptr);
}

TEST(MappedDrawing, RectangleFillRectAndPatBltTakeLogicalCoordinates) {
    SurfaceCanvas canvas(100, 100);
    Quarter(canvas.dc());
    Rectangle(canvas.dc(), 0, 0, 40, 40);
    EXPECT_EQ(canvas.At(9, 5), kBlack);
    EXPECT_EQ(canvas.At(10, 5), kWhite);
    HBRUSH red = CreateSolidBrush(kRed);
    const RECT box = {80, 80, 120, 100};
    FillRect(canvas.dc(), &box, red);
    EXPECT_EQ(canvas.Count(kRed), 10 * 5);
    EXPECT_EQ(canvas.At(20, 20), kRed);
    PatBlt(canvas.dc(), 200, 200, 40, 40, BLACKNESS);
    EXPECT_EQ(canvas.Count(kBlack, 50, 50, 60, 60), 100);
    DeleteObject(red);
}

TEST(MappedDrawing, ClipRectanglesAreLogicalAndGetClipBoxAnswersInThem) {
    SurfaceCanvas canvas(100, 100);
    Quarter(canvas.dc());
    IntersectClipRect(canvas.dc(), 40, 40, 80, 80);
    RECT clip{};
    EXPECT_EQ(GetClipBox(canvas.dc(), &clip), SIMPLEREGION);
    EXPECT_EQ(clip.left, 40);
    EXPECT_EQ(clip.right, 80);
    PatBlt(canvas.dc(), 0, 0, 400, 400, BLACKNESS);
    EXPECT_EQ(canvas.Count(kBlack), 10 * 10);
    EXPECT_EQ(canvas.At(10, 10), kBlack);
    EXPECT_EQ(canvas.At(9, 10), kWhite);
}

TEST(MappedDrawing, PenWidthsAreLogicalButZeroIsOnePixel) {
    SurfaceCanvas canvas(100, 100);
    Quarter(canvas.dc());
    HPEN wide = CreatePen(PS_SOLID, 20, kBlack);
    HGDIOBJ previous = SelectObject(canvas.dc(), wide);
    MoveToEx(canvas.dc(), 0, 200, nullptr);
    LineTo(canvas.dc(), 400, 200);
    EXPECT_EQ(canvas.Count(kBlack, 50, 40, 51, 60), 5);
    SelectObject(canvas.dc(), previous);
    DeleteObject(wide);
    HPEN thin = CreatePen(PS_SOLID, 0, kRed);
    previous = SelectObject(canvas.dc(), thin);
    MoveToEx(canvas.dc(), 0, 100, nullptr);
    LineTo(canvas.dc(), 400, 100);
    EXPECT_EQ(canvas.Count(kRed, 50, 0, 51, 40), 1);
    SelectObject(canvas.dc(), previous);
    DeleteObject(thin);
}

TEST(MappedText, FontHeightsAndExtentsAreLogical) {
    SurfaceCanvas canvas(200, 200);
    HFONT font =
        CreateFontW(-160, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Arial");
    HGDIOBJ previous = SelectObject(canvas.dc(), font);
    SetMapMode(canvas.dc(), MM_ISOTROPIC);
    SetWindowExtEx(canvas.dc(), 800, 800, nullptr);
    SetViewportExtEx(canvas.dc(), 200, 200, nullptr);
    TEXTMETRICW metric{};
    ASSERT_TRUE(GetTextMetricsW(canvas.dc(), &metric));
    // A 160-unit em is 40 pixels; answered in units again.
    EXPECT_NEAR(metric.tmAscent + metric.tmDescent - metric.tmInternalLeading, 160, 8);
    SIZE extent{};
    ASSERT_TRUE(GetTextExtentPoint32W(canvas.dc(), L"HH", 2, &extent));
    EXPECT_NEAR(extent.cy, metric.tmHeight, 4);
    TextOutW(canvas.dc(), 0, 0, L"HH", 2);
    const RECT ink = canvas.Box(kBlack);
    EXPECT_NEAR(ink.right - ink.left, extent.cx / 4, 6);
    EXPECT_LT(ink.bottom, metric.tmHeight / 4 + 2);
    SelectObject(canvas.dc(), previous);
    DeleteObject(font);
}

TEST(MappedText, TheTextOriginIsMapped) {
    SurfaceCanvas canvas(200, 200);
    HFONT font =
        CreateFontW(-80, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Arial");
    HGDIOBJ previous = SelectObject(canvas.dc(), font);
    SetMapMode(canvas.dc(), MM_ISOTROPIC);
    SetWindowExtEx(canvas.dc(), 800, 800, nullptr);
    SetViewportExtEx(canvas.dc(), 200, 200, nullptr);
    SetBkMode(canvas.dc(), TRANSPARENT);
    TextOutW(canvas.dc(), 400, 400, L"I", 1);
    const RECT ink = canvas.Box(kBlack);
    EXPECT_GE(ink.left, 100);
    EXPECT_GE(ink.top, 100);
    EXPECT_LT(ink.bottom, 100 + 25);
    SelectObject(canvas.dc(), previous);
    DeleteObject(font);
}

} // namespace
