// The edit control: text set by the program and typed by the user, each change announced with
// EN_UPDATE and EN_CHANGE; the styles that filter typing, the limit, the selection and the caret
// keys, multiline lines, dialog codes, and what a picture shows of the text and the selection.
#include "platform/user32/control_parent.h"
#include "sim/user_input.h"
#include "sim/utf.h"

namespace {

using moltr::test::ControlParent;
using moltr::test::Dark;

class EditControl : public ::testing::Test {
protected:
    // The simulated user acts on windows that are shown.
    EditControl() { ShowWindow(parent_.window(), SW_SHOW); }

    HWND Make(DWORD style, const WCHAR* text = L"", RECT at = {10, 10, 160, 32}, int id = 4) {
        return parent_.Control(L"Edit", text, style, id, at);
    }
    static std::string Text(HWND edit) {
        WCHAR buffer[256] = {};
        GetWindowTextW(edit, buffer, 256);
        return moltr::sim::Utf8(buffer);
    }
    static std::pair<DWORD, DWORD> Selection(HWND edit) {
        DWORD start = 99;
        DWORD end = 99;
        const LRESULT both = SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                                          reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(LOWORD(both), start);
        EXPECT_EQ(HIWORD(both), end);
        return {start, end};
    }
    static std::pair<DWORD, DWORD> Range(DWORD start, DWORD end) { return {start, end}; }
    static void Char(HWND edit, WCHAR character) { SendMessageW(edit, WM_CHAR, character, 1); }
    static void Key(HWND edit, WORD key) { SendMessageW(edit, WM_KEYDOWN, key, 1); }
    size_t Count(WORD code) const {
        const auto codes = parent_.Commands();
        return static_cast<size_t>(std::count(codes.begin(), codes.end(), code));
    }

    ControlParent parent_;
};

TEST_F(EditControl, SettingTheTextAnnouncesItInASingleLineEditOnly) {
    HWND edit = Make(ES_AUTOHSCROLL, L"first");
    EXPECT_EQ(Text(edit), "first");
    EXPECT_TRUE(parent_.Commands().empty()); // the text it is made with is no change
    SetWindowTextW(edit, L"second");
    EXPECT_EQ(Text(edit), "second");
    EXPECT_EQ(GetWindowTextLengthW(edit), 6);
    EXPECT_EQ(parent_.Commands(), (std::vector<WORD>{EN_UPDATE, EN_CHANGE}));
    EXPECT_EQ(Selection(edit), Range(0, 0));
    EXPECT_EQ(SendMessageW(edit, EM_GETMODIFY, 0, 0), FALSE);

    HWND lines = Make(ES_MULTILINE, L"", {10, 40, 160, 100}, 5);
    parent_.received.clear();
    SetWindowTextW(lines, L"a\r\nb");
    EXPECT_TRUE(parent_.Commands().empty());
    EXPECT_EQ(Text(lines), "a\r\nb");
}

TEST_F(EditControl, TypedTextReplacesWhatTheFocusSelectedAndIsAnnouncedPerCharacter) {
    HWND edit = Make(ES_AUTOHSCROLL, L"old");
    ASSERT_TRUE(moltr::sim::TypeText(edit, u"New 7"));
    EXPECT_EQ(Text(edit), "New 7");
    EXPECT_EQ(GetFocus(), edit);
    const auto codes = parent_.Commands();
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.front(), EN_SETFOCUS);
    EXPECT_EQ(Count(EN_UPDATE), 5u);
    EXPECT_EQ(Count(EN_CHANGE), 5u);
    EXPECT_EQ(codes.back(), EN_CHANGE);
    EXPECT_EQ(SendMessageW(edit, EM_GETMODIFY, 0, 0), TRUE);

    // The parent reads the new text when the change reaches it.
    std::string seen;
    parent_.onNotify = [&](const moltr::test::Sent& sent) {
        if (sent.code == EN_CHANGE) {
            seen = Text(edit);
        }
    };
    Char(edit, L'!');
    EXPECT_EQ(seen, "New 7!");
}

TEST_F(EditControl, StylesFilterWhatIsTyped) {
    HWND number = Make(ES_NUMBER);
    for (WCHAR c : {L'1', L'x', L'2', L'-', L' '}) {
        Char(number, c);
    }
    EXPECT_EQ(Text(number), "12");
    EXPECT_EQ(Count(EN_CHANGE), 2u);
    // A program may still put any text in.
    SendMessageW(number, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"ab"));
    EXPECT_EQ(Text(number), "12ab");

    HWND upper = Make(ES_UPPERCASE, L"", {10, 40, 160, 62}, 5);
    HWND lower = Make(ES_LOWERCASE, L"", {10, 70, 160, 92}, 6);
    for (WCHAR c : {L'a', L'B', L'\u00e9'}) {
        Char(upper, c);
        Char(lower, c);
    }
    EXPECT_EQ(Text(upper), "AB\u00c9");
    EXPECT_EQ(Text(lower), "ab\u00e9");

    HWND fixed = Make(ES_READONLY, L"kept", {10, 100, 160, 122}, 7);
    parent_.received.clear();
    Char(fixed, L'x');
    Char(fixed, L'\b');
    Key(fixed, VK_DELETE);
    EXPECT_EQ(Text(fixed), "kept");
    EXPECT_TRUE(parent_.Commands().empty());
    EXPECT_EQ(SendMessageW(fixed, EM_SETREADONLY, FALSE, 0), TRUE);
    EXPECT_EQ(GetWindowLongW(fixed, GWL_STYLE) & ES_READONLY, 0);
    Char(fixed, L'x');
    EXPECT_EQ(Text(fixed), "xkept");
}

TEST_F(EditControl, WithoutAutoHScrollASingleLineTakesWhatItsWidthShows) {
    HWND narrow = Make(0, L"", {10, 10, 40, 32});
    HWND scrolling = Make(ES_AUTOHSCROLL, L"", {10, 40, 40, 62}, 5);
    for (int i = 0; i < 12; ++i) {
        Char(narrow, L'w');
        Char(scrolling, L'w');
    }
    EXPECT_GT(Text(narrow).size(), 0u);
    EXPECT_LT(Text(narrow).size(), 12u);
    EXPECT_EQ(Text(scrolling), "wwwwwwwwwwww");
    // The end typed last stays in view.
    const auto picture = parent_.Snapshot();
    EXPECT_GT(picture.Count(10, 40, 40, 62, Dark), 10u);
}

TEST_F(EditControl, TheLimitStopsTypingButNotTheProgramsText) {
    HWND edit = Make(0);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 32767);
    SendMessageW(edit, EM_LIMITTEXT, 3, 0);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 3);
    for (WCHAR c : {L'1', L'2', L'3', L'4'}) {
        Char(edit, c);
    }
    EXPECT_EQ(Text(edit), "123");
    EXPECT_EQ(Count(EN_CHANGE), 3u);
    EXPECT_EQ(parent_.Commands().back(), EN_MAXTEXT);
    // Replacing a selected character is within the limit.
    SendMessageW(edit, EM_SETSEL, 0, 1);
    Char(edit, L'9');
    EXPECT_EQ(Text(edit), "923");
    // A longer insertion is cut to the room left.
    SendMessageW(edit, EM_SETSEL, 1, 2);
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"abc"));
    EXPECT_EQ(Text(edit), "9a3");
    SetWindowTextW(edit, L"longer than three");
    EXPECT_EQ(Text(edit), "longer than three");

    SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
}

TEST_F(EditControl, SelectionsAreSetReadAndReplaced) {
    HWND edit = Make(0, L"abcdef");
    SendMessageW(edit, EM_SETSEL, 2, -1);
    EXPECT_EQ(Selection(edit), Range(2, 6));
    SendMessageW(edit, EM_SETSEL, 4, 1); // the caret at the lower end
    EXPECT_EQ(Selection(edit), Range(1, 4));
    SendMessageW(edit, EM_SETSEL, 3, 100);
    EXPECT_EQ(Selection(edit), Range(3, 6));
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(Selection(edit), Range(6, 6));
    EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELONG(6, 6));

    SendMessageW(edit, EM_SETSEL, 1, 3);
    parent_.received.clear();
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"XYZ"));
    EXPECT_EQ(Text(edit), "aXYZdef");
    EXPECT_EQ(Selection(edit), Range(4, 4));
    EXPECT_EQ(parent_.Commands(), (std::vector<WORD>{EN_UPDATE, EN_CHANGE}));
    SendMessageW(edit, EM_SETSEL, 0, 2);
    SendMessageW(edit, WM_CLEAR, 0, 0);
    EXPECT_EQ(Text(edit), "YZdef");
}

TEST_F(EditControl, CaretKeysMoveAndExtendTheSelection) {
    HWND edit = Make(0, L"one two");
    SetFocus(edit);
    Key(edit, VK_END);
    EXPECT_EQ(Selection(edit), Range(7, 7));
    ASSERT_TRUE(moltr::sim::PressKey(edit, VK_LEFT, true));
    ASSERT_TRUE(moltr::sim::PressKey(edit, VK_LEFT, true));
    EXPECT_EQ(Selection(edit), Range(5, 7));
    Key(edit, VK_LEFT); // without Shift the selection goes, the caret at its start
    EXPECT_EQ(Selection(edit), Range(5, 5));
    Char(edit, L'\b');
    EXPECT_EQ(Text(edit), "one wo");
    Key(edit, VK_HOME);
    Key(edit, VK_DELETE);
    EXPECT_EQ(Text(edit), "ne wo");
    Key(edit, VK_RIGHT);
    EXPECT_EQ(Selection(edit), Range(1, 1));
    Char(edit, 1); // Ctrl+A
    EXPECT_EQ(Selection(edit), Range(0, 5));
    Char(edit, L'\b');
    EXPECT_EQ(Text(edit), "");
    // Nothing left to delete changes nothing.
    parent_.received.clear();
    Char(edit, L'\b');
    Key(edit, VK_DELETE);
    EXPECT_TRUE(parent_.Commands().empty());
}

TEST_F(EditControl, AMultilineEditHasLinesAndMovesBetweenThem) {
    HWND edit = Make(ES_MULTILINE | ES_WANTRETURN, L"first\r\nsecond\r\nx", {10, 10, 160, 80});
    EXPECT_EQ(SendMessageW(edit, EM_GETLINECOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(edit, EM_LINEINDEX, 1, 0), 7);
    EXPECT_EQ(SendMessageW(edit, EM_LINEINDEX, 3, 0), -1);
    EXPECT_EQ(SendMessageW(edit, EM_LINELENGTH, 8, 0), 6);
    EXPECT_EQ(SendMessageW(edit, EM_LINEFROMCHAR, 15, 0), 2);
    WCHAR line[8] = {};
    line[0] = 8;
    EXPECT_EQ(SendMessageW(edit, EM_GETLINE, 1, reinterpret_cast<LPARAM>(line)), 6);
    EXPECT_EQ(moltr::sim::Utf8(line, 6), "second");

    SendMessageW(edit, EM_SETSEL, 4, 4);
    Key(edit, VK_DOWN);
    EXPECT_EQ(Selection(edit), Range(11, 11));
    Key(edit, VK_DOWN); // the last line is shorter: its end
    EXPECT_EQ(Selection(edit), Range(16, 16));
    Key(edit, VK_HOME);
    EXPECT_EQ(Selection(edit), Range(15, 15));
    Key(edit, VK_LEFT); // a line break is one step
    EXPECT_EQ(Selection(edit), Range(13, 13));
    Char(edit, L'\r');
    EXPECT_EQ(Text(edit), "first\r\nsecond\r\n\r\nx");
    Char(edit, L'\b');
    EXPECT_EQ(Text(edit), "first\r\nsecond\r\nx");
}

TEST_F(EditControl, DialogCodesLeaveTheDialogItsKeys) {
    const LRESULT single = SendMessageW(Make(0), WM_GETDLGCODE, 0, 0);
    EXPECT_EQ(single, DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS);
    HWND lines = Make(ES_MULTILINE, L"", {10, 40, 160, 100}, 5);
    MSG key{lines, WM_KEYDOWN, 'A', 0, 0, {}};
    EXPECT_TRUE(SendMessageW(lines, WM_GETDLGCODE, 'A', reinterpret_cast<LPARAM>(&key)) &
                DLGC_WANTALLKEYS);
    for (WPARAM dialogs : {VK_TAB, VK_ESCAPE, VK_RETURN}) {
        key.wParam = dialogs;
        EXPECT_FALSE(SendMessageW(lines, WM_GETDLGCODE, dialogs, reinterpret_cast<LPARAM>(&key)) &
                     DLGC_WANTALLKEYS)
            << dialogs;
    }
    HWND wantsReturn = Make(ES_MULTILINE | ES_WANTRETURN, L"", {10, 110, 160, 160}, 6);
    key.wParam = VK_RETURN;
    EXPECT_TRUE(
        SendMessageW(wantsReturn, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&key)) &
        DLGC_WANTALLKEYS);
}

TEST_F(EditControl, FocusComesAndGoesWithItsNotifications) {
    HWND edit = Make(0, L"text");
    HWND other = Make(0, L"", {10, 40, 160, 62}, 5);
    SetFocus(edit);
    SetFocus(other);
    ASSERT_GE(parent_.received.size(), 3u);
    EXPECT_EQ(parent_.received[0].code, EN_SETFOCUS);
    EXPECT_EQ(parent_.received[0].id, 4);
    EXPECT_EQ(parent_.received[1].code, EN_KILLFOCUS);
    EXPECT_EQ(parent_.received[1].id, 4);
    EXPECT_EQ(parent_.received[2].code, EN_SETFOCUS);
    EXPECT_EQ(parent_.received[2].id, 5);
}

TEST_F(EditControl, APasswordEditHidesItsTextBehindItsCharacter) {
    HWND secret = Make(ES_PASSWORD, L"hidden");
    EXPECT_EQ(SendMessageW(secret, EM_GETPASSWORDCHAR, 0, 0), L'*');
    EXPECT_EQ(Text(secret), "hidden"); // the program still reads the text
    HWND plain = Make(0, L"hidden", {10, 40, 160, 62}, 5);
    EXPECT_EQ(SendMessageW(plain, EM_GETPASSWORDCHAR, 0, 0), 0);
    auto picture = parent_.Snapshot();
    const size_t starred = picture.Count(10, 10, 160, 32, Dark);
    const size_t shown = picture.Count(10, 40, 160, 62, Dark);
    EXPECT_GT(starred, 0u);
    EXPECT_NE(starred, shown);
    SendMessageW(secret, EM_SETPASSWORDCHAR, 0, 0);
    EXPECT_EQ(GetWindowLongW(secret, GWL_STYLE) & ES_PASSWORD, 0);
    picture = parent_.Snapshot();
    EXPECT_EQ(picture.Count(10, 10, 160, 32, Dark), shown);
}

TEST_F(EditControl, APictureShowsTheTextAndTheSelectionWhileFocused) {
    HWND edit = Make(WS_BORDER, L"Selected", {10, 10, 160, 32});
    HWND off = Make(0, L"Off", {10, 40, 160, 62}, 5);
    EnableWindow(off, FALSE);
    auto picture = parent_.Snapshot();
    EXPECT_GT(picture.Count(12, 12, 80, 30, Dark), 10u);
    EXPECT_EQ(picture.At(140, 20), RGB(255, 255, 255));
    EXPECT_EQ(picture.PixelsOf(RGB(0, 120, 215)), 0u);
    // A disabled edit shows the dialog's face and grey text.
    EXPECT_EQ(picture.At(140, 50), RGB(240, 240, 240));
    EXPECT_EQ(picture.Count(10, 40, 160, 62, Dark), 0u);

    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    picture = parent_.Snapshot();
    EXPECT_GT(picture.Count(12, 12, 80, 30,
                            [](int r, int g, int b) { return r == 0 && g == 120 && b == 215; }),
              50u);
    EXPECT_GT(picture.Count(12, 12, 80, 30,
                            [](int r, int g, int b) { return r == 255 && g == 255 && b == 255; }),
              10u);
    SetFocus(nullptr);
    picture = parent_.Snapshot();
    EXPECT_EQ(picture.PixelsOf(RGB(0, 120, 215)), 0u);
}

TEST_F(EditControl, AClickPlacesTheCaretAndADragSelects) {
    HWND edit = Make(0, L"abcdefghij");
    SendMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 5));
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(Selection(edit), Range(0, 0));
    SendMessageW(edit, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(140, 5));
    SendMessageW(edit, WM_LBUTTONUP, 0, MAKELPARAM(140, 5));
    EXPECT_EQ(Selection(edit), Range(0, 10));
    SendMessageW(edit, WM_MOUSEMOVE, 0, MAKELPARAM(1, 5)); // no button: no selecting
    EXPECT_EQ(Selection(edit), Range(0, 10));
}

} // namespace
