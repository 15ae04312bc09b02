// Window texts, fonts, geometry and states: SendMessageW with the text and font messages,
// SetWindowTextW, GetWindowTextW, GetWindowTextLengthW, MoveWindow, SetWindowPos, GetWindowRect,
// GetClientRect, ShowWindow, IsWindowVisible, EnableWindow, IsWindowEnabled, GetDialogBaseUnits
// and MapDialogRect.
#include "sim/utf.h"
#include "this_module.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include <string>
#include <vector>

namespace {

using moltr::sim::Utf8;

HWND Bogus() {
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x7FFF1234));
}

class Dialog : public ::testing::Test {
protected:
    HWND Child(const WCHAR* className, int id, DWORD style = WS_CHILD | WS_VISIBLE, int x = 0,
               int y = 0, int cx = 50, int cy = 14) {
        return CreateWindowExW(0, className, L"", style, x, y, cx, cy, dialog_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               ThisModuleHandle(), nullptr);
    }
    std::string Text(HWND window, int size = 64) {
        WCHAR buffer[64];
        const int length = GetWindowTextW(window, buffer, size);
        EXPECT_EQ(static_cast<size_t>(length),
                  std::u16string_view(reinterpret_cast<char16_t*>(buffer)).size());
        return Utf8(buffer);
    }
    void TearDown() override { DestroyWindow(dialog_); }

    HWND dialog_ = CreateWindowExW(0, L"#32770", L"Settings", WS_POPUP | WS_VISIBLE, 100, 50, 400,
                                   300, nullptr, nullptr, ThisModuleHandle(), nullptr);
};

TEST_F(Dialog, TextFromCreationAndAfterChanges) {
    EXPECT_EQ(Text(dialog_), "Settings");
    EXPECT_EQ(GetWindowTextLengthW(dialog_), 8);
    EXPECT_TRUE(SetWindowTextW(dialog_, L"Paper"));
    EXPECT_EQ(Text(dialog_), "Paper");
    EXPECT_TRUE(SetWindowTextW(dialog_, nullptr));
    EXPECT_EQ(GetWindowTextLengthW(dialog_), 0);
    EXPECT_EQ(Text(dialog_), "");
}

TEST_F(Dialog, TextIsCutToTheBufferAndTerminated) {
    SetWindowTextW(dialog_, L"Watermark");
    EXPECT_EQ(Text(dialog_, 4), "Wat");
    EXPECT_EQ(Text(dialog_, 9), "Watermar");
    EXPECT_EQ(Text(dialog_, 10), "Watermark");
    EXPECT_EQ(Text(dialog_, 1), "");
    WCHAR untouched[2] = {u'x', u'y'};
    EXPECT_EQ(GetWindowTextW(dialog_, untouched, 0), 0);
    EXPECT_EQ(untouched[0], u'x');
    EXPECT_EQ(GetWindowTextW(dialog_, nullptr, 10), 0);
}

TEST_F(Dialog, TextMessagesAnswerAsTheCallsDo) {
    SendMessageW(dialog_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Layout"));
    EXPECT_EQ(SendMessageW(dialog_, WM_GETTEXTLENGTH, 0, 0), 6);
    WCHAR buffer[4];
    EXPECT_EQ(SendMessageW(dialog_, WM_GETTEXT, 4, reinterpret_cast<LPARAM>(buffer)), 3);
    EXPECT_EQ(Utf8(buffer), "Lay");
    EXPECT_EQ(SendMessageW(dialog_, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 0);
    EXPECT_EQ(SendMessageW(dialog_, WM_GETTEXT, 4, 0), 0);
}

TEST_F(Dialog, NonAsciiTextSurvives) {
    SetWindowTextW(dialog_, L"Qualit\u00e4t \u20ac");
    EXPECT_EQ(Text(dialog_), "Qualit\xc3\xa4t \xe2\x82\xac");
}

TEST_F(Dialog, TextCallsRefuseBadWindows) {
    WCHAR buffer[8] = {u'x'};
    SetLastError(0);
    EXPECT_EQ(GetWindowTextW(Bogus(), buffer, 8), 0);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(SetWindowTextW(Bogus(), L"x"));
    EXPECT_EQ(GetWindowTextLengthW(Bogus()), 0);
    SetLastError(0);
    EXPECT_EQ(SendMessageW(Bogus(), WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(Dialog, ControlsKeepTheirFont) {
    HWND edit = Child(L"Edit", 1);
    EXPECT_EQ(SendMessageW(edit, WM_GETFONT, 0, 0), 0);
    LOGFONTW description{};
    description.lfHeight = -11;
    HFONT font = CreateFontIndirectW(&description);
    EXPECT_EQ(SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE), 0);
    EXPECT_EQ(SendMessageW(edit, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
    DestroyWindow(edit);
    EXPECT_TRUE(DeleteObject(font)); // the control never owned it
}

TEST_F(Dialog, ChildPositionsAreInTheParentsClientArea) {
    HWND button = Child(L"Button", 1, WS_CHILD, 10, 20, 50, 14);
    RECT rect{};
    ASSERT_TRUE(GetWindowRect(button, &rect));
    EXPECT_EQ(rect.left, 110);
    EXPECT_EQ(rect.top, 70);
    EXPECT_EQ(rect.right, 160);
    EXPECT_EQ(rect.bottom, 84);
    ASSERT_TRUE(GetClientRect(button, &rect));
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.right, 50);
    EXPECT_EQ(rect.bottom, 14);
}

TEST_F(Dialog, FramesAndCaptionTakeFromTheClientArea) {
    HWND framed = CreateWindowExW(WS_EX_CLIENTEDGE, L"Static", L"", WS_CHILD | WS_BORDER, 0, 0, 100,
                                  50, dialog_, nullptr, nullptr, nullptr);
    RECT rect{};
    GetClientRect(framed, &rect);
    EXPECT_EQ(rect.right, 100 - 2 * 3);
    EXPECT_EQ(rect.bottom, 50 - 2 * 3);
    HWND captioned = CreateWindowExW(0, L"#32770", L"", WS_POPUP | WS_CAPTION, 0, 0, 200, 100,
                                     nullptr, nullptr, nullptr, nullptr);
    HWND inner = CreateWindowExW(0, L"Static", L"", WS_CHILD, 0, 0, 10, 10, captioned, nullptr,
                                 nullptr, nullptr);
    GetClientRect(captioned, &rect);
    EXPECT_EQ(rect.right, 200 - 2 * 3);
    EXPECT_EQ(rect.bottom, 100 - 2 * 3 - 22);
    GetWindowRect(inner, &rect);
    EXPECT_EQ(rect.left, 3);
    EXPECT_EQ(rect.top, 25);
    DestroyWindow(captioned);
    HWND tiny = Child(L"Static", 2, WS_CHILD | WS_THICKFRAME, 0, 0, 4, 4);
    GetClientRect(tiny, &rect);
    EXPECT_EQ(rect.right, 0);
    EXPECT_EQ(rect.bottom, 0);
}

TEST_F(Dialog, MoveWindowPlacesAndSizes) {
    HWND edit = Child(L"Edit", 1);
    EXPECT_TRUE(MoveWindow(edit, -60, -20, 60, 20, TRUE));
    RECT rect{};
    GetWindowRect(edit, &rect);
    EXPECT_EQ(rect.left, 40);
    EXPECT_EQ(rect.top, 30);
    EXPECT_EQ(rect.right - rect.left, 60);
    EXPECT_TRUE(MoveWindow(edit, 0, 0, -5, -5, FALSE));
    GetWindowRect(edit, &rect);
    EXPECT_EQ(rect.right, rect.left);
    EXPECT_EQ(rect.bottom, rect.top);
}

TEST_F(Dialog, SetWindowPosHonoursItsFlags) {
    HWND edit = Child(L"Edit", 1, WS_CHILD, 5, 6, 7, 8);
    EXPECT_TRUE(SetWindowPos(edit, nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER));
    RECT rect{};
    GetWindowRect(edit, &rect);
    EXPECT_EQ(rect.left, 150);
    EXPECT_EQ(rect.right - rect.left, 7);
    EXPECT_TRUE(SetWindowPos(edit, nullptr, 0, 0, 70, 80, SWP_NOMOVE | SWP_NOZORDER));
    GetWindowRect(edit, &rect);
    EXPECT_EQ(rect.left, 150);
    EXPECT_EQ(rect.bottom - rect.top, 80);
    EXPECT_TRUE(SetWindowPos(edit, nullptr, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW));
    EXPECT_TRUE(IsWindowVisible(edit));
    EXPECT_TRUE(SetWindowPos(edit, nullptr, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_HIDEWINDOW));
    EXPECT_FALSE(IsWindowVisible(edit));
}

TEST_F(Dialog, SetWindowPosReordersSiblings) {
    HWND a = Child(L"Static", 1);
    HWND b = Child(L"Static", 2);
    HWND c = Child(L"Static", 3);
    auto order = [this] {
        std::vector<int> ids;
        EnumChildWindows(
            dialog_,
            [](HWND window, LPARAM list) {
                reinterpret_cast<std::vector<int>*>(list)->push_back(GetDlgCtrlID(window));
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&ids));
        return ids;
    };
    EXPECT_TRUE(SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(order(), (std::vector<int>{3, 1, 2}));
    EXPECT_TRUE(SetWindowPos(c, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(order(), (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(SetWindowPos(a, b, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(order(), (std::vector<int>{2, 1, 3}));
    EXPECT_FALSE(SetWindowPos(a, dialog_, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_FALSE(SetWindowPos(a, Bogus(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(order(), (std::vector<int>{2, 1, 3}));
}

TEST_F(Dialog, GeometryCallsRefuseBadArguments) {
    RECT rect{};
    SetLastError(0);
    EXPECT_FALSE(GetWindowRect(Bogus(), &rect));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(GetClientRect(nullptr, &rect));
    EXPECT_FALSE(GetWindowRect(dialog_, nullptr));
    EXPECT_FALSE(GetClientRect(dialog_, nullptr));
    EXPECT_FALSE(MoveWindow(Bogus(), 0, 0, 1, 1, TRUE));
}

TEST_F(Dialog, VisibleOnlyWithEveryParentVisible) {
    HWND button = Child(L"Button", 1);
    EXPECT_TRUE(IsWindowVisible(button));
    EXPECT_TRUE(ShowWindow(dialog_, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(button));
    EXPECT_NE(GetWindowLongW(button, GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_FALSE(ShowWindow(dialog_, SW_SHOWNORMAL));
    EXPECT_TRUE(IsWindowVisible(button));
    EXPECT_TRUE(ShowWindow(button, SW_HIDE));
    EXPECT_FALSE(ShowWindow(button, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(button));
}

TEST_F(Dialog, ShowWindowRefusesUnknownCommands) {
    SetLastError(0);
    EXPECT_FALSE(ShowWindow(dialog_, SW_MAX + 1));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_SHOWWIN_COMMAND));
    EXPECT_FALSE(ShowWindow(dialog_, -1));
    EXPECT_TRUE(IsWindowVisible(dialog_));
    EXPECT_FALSE(ShowWindow(Bogus(), SW_SHOW));
    EXPECT_FALSE(IsWindowVisible(Bogus()));
}

TEST_F(Dialog, EnableWindowReportsThePreviousState) {
    HWND button = Child(L"Button", 1, WS_CHILD | WS_DISABLED);
    EXPECT_FALSE(IsWindowEnabled(button));
    EXPECT_TRUE(EnableWindow(button, TRUE));
    EXPECT_TRUE(IsWindowEnabled(button));
    EXPECT_FALSE(EnableWindow(button, TRUE));
    EXPECT_FALSE(EnableWindow(button, FALSE));
    EXPECT_FALSE(IsWindowEnabled(button));
    SetLastError(0);
    EXPECT_FALSE(EnableWindow(Bogus(), TRUE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(IsWindowEnabled(Bogus()));
}

TEST_F(Dialog, MapDialogRectUsesTheDialogsFont) {
    LOGFONTW description{};
    description.lfHeight = -MulDiv(8, 96, 72);
    HFONT font = CreateFontIndirectW(&description);
    SendMessageW(dialog_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    RECT rect{4, 8, 6, 12};
    ASSERT_TRUE(MapDialogRect(dialog_, &rect)); // base units 6 and 13
    EXPECT_EQ(rect.left, 6);
    EXPECT_EQ(rect.top, 13);
    EXPECT_EQ(rect.right, 9);
    EXPECT_EQ(rect.bottom, 20); // 19.5 rounded up
    SendMessageW(dialog_, WM_SETFONT, 0, FALSE);
    DeleteObject(font);
}

TEST_F(Dialog, MapDialogRectWithoutFontUsesTheSystemUnits) {
    RECT rect{4, 8, -4, -8};
    ASSERT_TRUE(MapDialogRect(dialog_, &rect));
    EXPECT_EQ(rect.left, 8);
    EXPECT_EQ(rect.top, 16);
    EXPECT_EQ(rect.right, -8);
    EXPECT_EQ(rect.bottom, -16);
}

TEST_F(Dialog, MapDialogRectRefusesBadArguments) {
    RECT rect{1, 1, 1, 1};
    SetLastError(0);
    EXPECT_FALSE(MapDialogRect(Bogus(), &rect));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(rect.left, 1);
    EXPECT_FALSE(MapDialogRect(dialog_, nullptr));
}

} // namespace
