// The static control: notifications only with SS_NOTIFY, its one image, owner drawing, and what
// a picture of its labels, rectangles and lines shows.
#include "platform/user32/control_parent.h"

namespace {

using moltr::test::ControlParent;
using moltr::test::Dark;
using moltr::test::Sent;

class StaticControl : public ::testing::Test {
protected:
    HWND Make(DWORD style, const WCHAR* text = L"Label", RECT at = {10, 10, 130, 30}, int id = 7) {
        return parent_.Control(L"Static", text, style, id, at);
    }
    static bool Grey(int r, int g, int b) { return r == 109 && g == 109 && b == 109; }

    ControlParent parent_;
};

TEST_F(StaticControl, TellsTheParentOfClicksAndEnablingOnlyWithSsNotify) {
    HWND quiet = Make(SS_LEFT);
    SendMessageW(quiet, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(quiet, WM_ENABLE, FALSE, 0);
    EXPECT_TRUE(parent_.Commands().empty());

    HWND notifying = Make(SS_LEFT | SS_NOTIFY, L"Click", {10, 40, 130, 60}, 8);
    SendMessageW(notifying, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(notifying, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    SendMessageW(notifying, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(notifying, WM_ENABLE, FALSE, 0);
    SendMessageW(notifying, WM_ENABLE, TRUE, 0);
    EXPECT_EQ(parent_.Commands(),
              (std::vector<WORD>{STN_CLICKED, STN_DBLCLK, STN_DISABLE, STN_ENABLE}));
    EXPECT_EQ(parent_.received.front().id, 8);
    EXPECT_EQ(parent_.received.front().from, notifying);
}

TEST_F(StaticControl, IsAStaticToTheDialogManager) {
    EXPECT_EQ(SendMessageW(Make(SS_LEFT), WM_GETDLGCODE, 0, 0), DLGC_STATIC);
    EXPECT_EQ(SendMessageW(Make(SS_ICON, L""), WM_GETDLGCODE, 0, 0), DLGC_STATIC);
}

TEST_F(StaticControl, KeepsOneImageAndAnswersThePreviousOne) {
    HWND picture = Make(SS_ICON, L"");
    HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0), 0);
    EXPECT_EQ(SendMessageW(picture, STM_GETICON, 0, 0), reinterpret_cast<LRESULT>(icon));
    EXPECT_EQ(SendMessageW(picture, STM_GETIMAGE, IMAGE_ICON, 0), reinterpret_cast<LRESULT>(icon));
    EXPECT_EQ(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);

    HBITMAP bitmap = CreateBitmap(8, 8, 1, 32, nullptr);
    EXPECT_EQ(SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)),
              reinterpret_cast<LRESULT>(icon));
    EXPECT_EQ(SendMessageW(picture, STM_GETICON, 0, 0), 0);
    EXPECT_EQ(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0),
              reinterpret_cast<LRESULT>(bitmap));
    // An image type a static cannot show changes nothing.
    EXPECT_EQ(SendMessageW(picture, STM_SETIMAGE, IMAGE_ENHMETAFILE, 1), 0);
    EXPECT_EQ(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0),
              reinterpret_cast<LRESULT>(bitmap));
    DeleteObject(bitmap);
}

TEST_F(StaticControl, AnOwnerDrawnStaticIsDrawnByItsParent) {
    HWND drawn = Make(SS_OWNERDRAW, L"", {10, 10, 60, 30}, 9);
    EnableWindow(drawn, FALSE);
    DRAWITEMSTRUCT seen{};
    parent_.ownerDraw = [&](UINT message, LPARAM item) {
        if (message == WM_DRAWITEM) {
            seen = *reinterpret_cast<const DRAWITEMSTRUCT*>(item);
        }
    };
    parent_.Snapshot();
    EXPECT_EQ(seen.CtlType, static_cast<UINT>(ODT_STATIC));
    EXPECT_EQ(seen.CtlID, 9u);
    EXPECT_EQ(seen.hwndItem, drawn);
    EXPECT_EQ(seen.itemState, static_cast<UINT>(ODS_DISABLED));
    EXPECT_EQ(seen.rcItem.right, 50);
    EXPECT_EQ(seen.rcItem.bottom, 20);
}

TEST_F(StaticControl, APictureShowsTextWhereItsStyleAlignsIt) {
    Make(SS_LEFT, L"Left", {10, 10, 210, 30});
    Make(SS_RIGHT, L"Right", {10, 40, 210, 60});
    Make(SS_CENTER, L"Mid", {10, 70, 210, 90});
    HWND off = Make(SS_LEFT, L"Disabled", {10, 100, 210, 120});
    EnableWindow(off, FALSE);
    const auto picture = parent_.Snapshot();
    EXPECT_GT(picture.Count(10, 10, 60, 30, Dark), 10u);
    EXPECT_EQ(picture.Count(110, 10, 210, 30, Dark), 0u);
    EXPECT_GT(picture.Count(160, 40, 210, 60, Dark), 10u);
    EXPECT_EQ(picture.Count(10, 40, 110, 60, Dark), 0u);
    EXPECT_GT(picture.Count(90, 70, 130, 90, Dark), 10u);
    EXPECT_EQ(picture.Count(10, 70, 60, 90, Dark), 0u);
    EXPECT_EQ(picture.Count(160, 70, 210, 90, Dark), 0u);
    EXPECT_EQ(picture.Count(10, 100, 210, 120, Dark), 0u);
    EXPECT_GT(picture.Count(10, 100, 210, 120, Grey), 10u);
    // The face of a label is the dialog's.
    EXPECT_EQ(picture.At(205, 12), RGB(240, 240, 240));
}

TEST_F(StaticControl, ALongLabelWrapsUnlessItsStyleSaysNot) {
    const WCHAR* text = L"many words that do not fit on one line";
    Make(SS_LEFT, text, {10, 10, 90, 60});
    Make(SS_LEFTNOWORDWRAP, text, {100, 10, 180, 60});
    const auto picture = parent_.Snapshot();
    EXPECT_GT(picture.Count(10, 30, 90, 60, Dark), 10u);
    EXPECT_EQ(picture.Count(100, 30, 180, 60, Dark), 0u);
}

TEST_F(StaticControl, APrefixUnderlinesItsLetterUnlessSsNoprefix) {
    Make(SS_LEFT, L"&Copies", {10, 10, 100, 30});
    Make(SS_LEFT | SS_NOPREFIX, L"&Copies", {10, 40, 100, 60});
    const auto picture = parent_.Snapshot();
    // The same text: with the prefix taken out it is narrower than with the '&' shown.
    auto rightmost = [&](unsigned top) {
        unsigned found = 0;
        for (unsigned x = 10; x < 100; ++x) {
            if (picture.Count(x, top, x + 1, top + 20, Dark)) {
                found = x;
            }
        }
        return found;
    };
    EXPECT_LT(rightmost(10), rightmost(40));
    // The underline: a dark row below the text.
    LONG lineRow = -1;
    for (LONG y = 10; y < 30; ++y) {
        if (picture.Count(10, y, 18, y + 1, Dark) >= 5) {
            lineRow = y;
        }
    }
    EXPECT_GT(lineRow, 15);
}

TEST_F(StaticControl, APictureShowsRectanglesFramesAndEtchedLines) {
    Make(SS_BLACKRECT, L"", {10, 10, 40, 30});
    Make(SS_WHITEFRAME, L"", {50, 10, 80, 30});
    Make(SS_ETCHEDHORZ, L"", {10, 50, 200, 52});
    Make(SS_LEFT | SS_SUNKEN, L"", {10, 70, 60, 90});
    const auto picture = parent_.Snapshot();
    EXPECT_EQ(picture.Count(10, 10, 40, 30, Dark), 30u * 20u);
    EXPECT_EQ(picture.At(50, 20), RGB(255, 255, 255));
    EXPECT_EQ(picture.At(65, 20), RGB(240, 240, 240));
    EXPECT_EQ(picture.At(100, 50), RGB(160, 160, 160));
    EXPECT_EQ(picture.At(100, 51), RGB(255, 255, 255));
    // A sunken edge: shadow on the top and left, light on the bottom and right.
    EXPECT_EQ(picture.At(10, 80), RGB(160, 160, 160));
    EXPECT_EQ(picture.At(59, 80), RGB(255, 255, 255));
}

TEST_F(StaticControl, TheParentChoosesALabelsColours) {
    HWND label = Make(SS_LEFT, L"Tinted");
    parent_.brush = CreateSolidBrush(RGB(0, 0, 255));
    parent_.textColour = RGB(255, 0, 0);
    const auto picture = parent_.Snapshot();
    EXPECT_EQ(picture.At(125, 12), RGB(0, 0, 255));
    EXPECT_GT(picture.PixelsOf(RGB(255, 0, 0)), 10u);
    ASSERT_FALSE(parent_.received.empty());
    EXPECT_EQ(parent_.received.front().message, static_cast<UINT>(WM_CTLCOLORSTATIC));
    EXPECT_EQ(parent_.received.front().from, label);
    DeleteObject(parent_.brush);
}

} // namespace
