// CreateDialogControls: a page's own children retired and the template's controls created in
// their place, in dialog units of the template's font.
#include "language_fixtures.h"
#include "resources_printer.h"
#include "sim/windows_admin.h"

namespace moltr::common {
namespace {

constexpr UINT kMirroredPage = 9700;

std::string WindowText(HWND window) {
    WCHAR text[256] = {};
    GetWindowTextW(window, text, 256);
    return sim::Utf8(text);
}

RECT Rect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

// The base units the template's font gives: the average width of the alphabet and the height.
SIZE BaseUnits(const char* face, int points, BYTE charSet) {
    HDC screen = GetDC(nullptr);
    LOGFONTW logFont = {};
    logFont.lfHeight = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
    logFont.lfWeight = 300;
    logFont.lfCharSet = charSet;
    std::u16string name = sim::Utf16(face);
    lstrcpynW(logFont.lfFaceName, sim::W(name), LF_FACESIZE);
    HFONT font = CreateFontIndirectW(&logFont);
    HGDIOBJ previous = SelectObject(screen, font);
    SIZE extent = {};
    GetTextExtentPoint32W(screen, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52,
                          &extent);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, previous);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    return {(extent.cx + 26) / 52, metrics.tmHeight};
}

class DialogControls : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(resources_);
        page_ = CreateWindowExW(0, L"STATIC", L"Page", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                nullptr, nullptr);
        ASSERT_TRUE(page_);
        old_ = CreateWindowExW(0, L"BUTTON", L"Old", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP,
                               10, 10, 50, 20, page_, reinterpret_cast<HMENU>(1), nullptr, nullptr);
        ASSERT_TRUE(old_);
    }
    void TearDown() override { DestroyWindow(page_); }

    test::ResourcesPrinter printer_{GermanUser()};
    IDrvResources* resources_ = printer_.Create();
    HWND page_ = nullptr;
    HWND old_ = nullptr;

private:
    static test::ResourcesPrinterSetup GermanUser() {
        test::ResourcesPrinterSetup setup;
        setup.machine.userUiLanguage = 1031;
        return setup;
    }
};

TEST_F(DialogControls, RetireTheChildrenThatWereThere) {
    ASSERT_EQ(resources_->CreateDialogControls(IDD_MOLTRRES_SAMPLE, page_, 1), S_OK);
    LONG style = GetWindowLongW(old_, GWL_STYLE);
    EXPECT_EQ(style & (WS_TABSTOP | WS_GROUP), 0);
    EXPECT_EQ(style & WS_VISIBLE, 0);
    EXPECT_FALSE(IsWindowEnabled(old_));
    RECT rect = Rect(old_);
    EXPECT_EQ(rect.left, -50);
    EXPECT_EQ(rect.top, -20);
    EXPECT_EQ(rect.right - rect.left, 50);
    EXPECT_EQ(rect.bottom - rect.top, 20);
    EXPECT_EQ(WindowText(old_), "Old");
}

TEST_F(DialogControls, CreateTheTemplatesControlsWithLocalisedTexts) {
    ASSERT_EQ(resources_->CreateDialogControls(IDD_MOLTRRES_SAMPLE, page_, 1), S_OK);
    EXPECT_EQ(WindowText(page_), "Lokalisierung");
    HWND label = GetDlgItem(page_, IDC_MOLTRRES_SAMPLE_LABEL);
    HWND check = GetDlgItem(page_, IDC_MOLTRRES_SAMPLE_CHECK);
    HWND edit = GetDlgItem(page_, IDC_MOLTRRES_SAMPLE_EDIT);
    HWND icon = GetDlgItem(page_, IDC_MOLTRRES_SAMPLE_ICON);
    ASSERT_TRUE(label && check && edit && icon);
    EXPECT_EQ(sim::Utf8(sim::WindowClassName(label).c_str()), "Static");
    EXPECT_EQ(sim::Utf8(sim::WindowClassName(check).c_str()), "Button");
    EXPECT_EQ(sim::Utf8(sim::WindowClassName(edit).c_str()), "Edit");
    EXPECT_EQ(WindowText(label), "Papierformat:");
    EXPECT_EQ(WindowText(check), "Beidseitig drucken");
    EXPECT_EQ(WindowText(GetDlgItem(page_, IDC_MOLTRRES_SAMPLE_UNNAMED)), "");
    // An ordinal title is named by its number.
    EXPECT_EQ(WindowText(icon), "#9522");
    EXPECT_TRUE(GetWindowLongW(check, GWL_STYLE) & WS_TABSTOP);
    EXPECT_EQ(GetParent(check), page_);
    LRESULT font = SendMessageW(label, WM_GETFONT, 0, 0);
    EXPECT_NE(font, 0);
    EXPECT_EQ(SendMessageW(edit, WM_GETFONT, 0, 0), font);
}

TEST_F(DialogControls, PlaceControlsInDialogUnitsOfTheTemplatesFont) {
    ASSERT_EQ(resources_->CreateDialogControls(IDD_MOLTRRES_SAMPLE, page_, 1), S_OK);
    SIZE units = BaseUnits("MS Shell Dlg", 8, 1);
    RECT edit = Rect(GetDlgItem(page_, IDC_MOLTRRES_SAMPLE_EDIT));
    EXPECT_EQ(edit.left, MulDiv(7, units.cx, 4));
    EXPECT_EQ(edit.top, MulDiv(34, units.cy, 8));
    EXPECT_EQ(edit.right - edit.left, MulDiv(40, units.cx, 4));
    EXPECT_EQ(edit.bottom - edit.top, MulDiv(12, units.cy, 8));
}

TEST_F(DialogControls, FontIsMadeOnceForTheObject) {
    ASSERT_EQ(resources_->CreateDialogControls(IDD_MOLTRRES_SAMPLE, page_, 1), S_OK);
    LRESULT font = SendMessageW(GetDlgItem(page_, IDC_MOLTRRES_SAMPLE_LABEL), WM_GETFONT, 0, 0);
    size_t objects = sim::GdiObjectCount();
    ASSERT_EQ(resources_->CreateDialogControls(IDD_MOLTRRES_SAMPLE, page_, 0), S_OK);
    EXPECT_EQ(sim::GdiObjectCount(), objects);
    // The second round retired the first round's controls and made new ones.
    HWND label = GetDlgItem(page_, IDC_MOLTRRES_SAMPLE_LABEL);
    EXPECT_EQ(SendMessageW(label, WM_GETFONT, 0, 0), font);
}

TEST_F(DialogControls, RefuseNoWindowAndUnknownTemplates) {
    EXPECT_EQ(resources_->CreateDialogControls(IDD_MOLTRRES_SAMPLE, nullptr, 1), E_INVALIDARG);
    EXPECT_EQ(resources_->CreateDialogControls(9599, page_, 1), E_FAIL);
    EXPECT_TRUE(GetWindowLongW(old_, GWL_STYLE) & WS_VISIBLE);
}

TEST(DialogControlsMirrored, MirroredTemplateMirrorsThePageAndItsControls) {
    test::ResourcesPrinterSetup setup;
    setup.machine.userUiLanguage = 1037;
    test::ResourcesPrinter printer(setup);
    IDrvResources* resources = printer.Create();
    ASSERT_TRUE(resources);
    HWND page = CreateWindowExW(0, L"STATIC", L"Page", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_EQ(resources->CreateDialogControls(kMirroredPage, page, 1), S_OK);
    EXPECT_TRUE(GetWindowLongW(page, GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
    HWND label = GetDlgItem(page, IDC_MOLTRRES_SAMPLE_LABEL);
    EXPECT_TRUE(GetWindowLongW(label, GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
    // No caption in the template: the page keeps its text.
    EXPECT_EQ(WindowText(page), "Page");
    DestroyWindow(page);
}

} // namespace
} // namespace moltr::common
