// The painting protocol: update regions grown by creation, showing, moving and InvalidateRect,
// taken by BeginPaint; WM_PAINT from the queue once it holds nothing else, and from UpdateWindow
// and RedrawWindow at once; WM_ERASEBKGND and the colour questions DefWindowProcW answers.
#include "this_module.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <vector>

namespace {

struct Seen {
    HWND window;
    UINT message;
    BOOL erase = FALSE; // WM_PAINT: PAINTSTRUCT's fErase
    RECT paint{};       // WM_PAINT: PAINTSTRUCT's rcPaint
};
std::vector<Seen> g_seen;

LRESULT CALLBACK Painting(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        const size_t at = g_seen.size();
        g_seen.push_back({window, message});
        EXPECT_NE(BeginPaint(window, &paint), nullptr);
        g_seen[at].erase = paint.fErase;
        g_seen[at].paint = paint.rcPaint;
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
    case WM_ENABLE:
    case WM_USER:
        g_seen.push_back({window, message});
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

RECT UpdateOf(HWND window) {
    RECT area{-1, -1, -1, -1};
    GetUpdateRect(window, &area, FALSE);
    return area;
}

std::vector<UINT> Messages() {
    std::vector<UINT> messages;
    for (const Seen& seen : g_seen) {
        messages.push_back(seen.message);
    }
    return messages;
}

class Painting : public ::testing::Test {
protected:
    void SetUp() override {
        g_seen.clear();
        Register(L"MoltrPainted", reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), 0);
        Register(L"MoltrUnpainted", nullptr, 0);
        Register(L"MoltrRedrawn", reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1),
                 CS_HREDRAW | CS_VREDRAW);
    }
    void TearDown() override {
        for (HWND window : made_) {
            DestroyWindow(window);
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
    }

    static void Register(const WCHAR* name, HBRUSH background, UINT style) {
        WNDCLASSW description{};
        description.style = style;
        description.lpfnWndProc = ::Painting;
        description.hInstance = ThisModuleHandle();
        description.hbrBackground = background;
        description.lpszClassName = name;
        RegisterClassW(&description);
    }

    HWND Make(DWORD style, RECT at = {0, 0, 100, 80}, HWND parent = nullptr,
              const WCHAR* className = L"MoltrPainted") {
        HWND window =
            CreateWindowExW(0, className, L"", style, at.left, at.top, at.right - at.left,
                            at.bottom - at.top, parent, nullptr, ThisModuleHandle(), nullptr);
        EXPECT_NE(window, nullptr);
        if (!parent) {
            made_.push_back(window);
        }
        return window;
    }

    // Takes and dispatches what the queue holds, WM_PAINT included, until it holds nothing.
    static int Pump() {
        int paints = 0;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) && paints < 100) {
            paints += message.message == WM_PAINT ? 1 : 0;
            DispatchMessageW(&message);
        }
        return paints;
    }

    std::vector<HWND> made_;
};

TEST_F(Painting, AWindowCreatedShownIsErasedAndPaintedOnceFromTheQueue) {
    HWND window = Make(WS_POPUP | WS_VISIBLE);
    EXPECT_TRUE(g_seen.empty()); // nothing is painted before the queue is asked
    EXPECT_TRUE(UpdateOf(window) == (RECT{0, 0, 100, 80}));

    EXPECT_EQ(Pump(), 1);
    ASSERT_EQ(Messages(), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
    EXPECT_FALSE(g_seen[0].erase); // the class brush erased it
    EXPECT_TRUE(g_seen[0].paint == (RECT{0, 0, 100, 80}));
    EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE));
}

TEST_F(Painting, WmPaintComesAfterPostedMessagesAndQuitAndStaysUntilPainted) {
    HWND window = Make(WS_POPUP | WS_VISIBLE);
    PostMessageW(window, WM_USER, 0, 0);
    PostQuitMessage(3);
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_USER));
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    // PM_REMOVE leaves WM_PAINT where it is: only painting takes it away.
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(message.message, static_cast<UINT>(WM_PAINT));
        EXPECT_EQ(message.hwnd, window);
    }
    // Filters that leave WM_PAINT out do not get it.
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE));
    EXPECT_FALSE(PeekMessageW(&message, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
    ASSERT_TRUE(GetMessageW(&message, window, 0, 0));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_PAINT));
    DispatchMessageW(&message);
    EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Painting, TheUpdateRegionIsTheUnionOfWhatWasInvalidClippedToTheClientArea) {
    HWND window = Make(WS_POPUP | WS_VISIBLE);
    Pump();
    EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE));
    const RECT first{10, 10, 20, 20};
    const RECT second{30, 5, 40, 15};
    const RECT outside{90, 70, 200, 200};
    EXPECT_TRUE(InvalidateRect(window, &first, FALSE));
    EXPECT_TRUE(InvalidateRect(window, &second, FALSE));
    EXPECT_TRUE(UpdateOf(window) == (RECT{10, 5, 40, 20}));
    EXPECT_TRUE(InvalidateRect(window, &outside, FALSE));
    EXPECT_TRUE(UpdateOf(window) == (RECT{10, 5, 100, 80}));

    // Validating a band across it shrinks it; a hole in it leaves it as it is.
    const RECT band{0, 60, 100, 80};
    EXPECT_TRUE(ValidateRect(window, &band));
    EXPECT_TRUE(UpdateOf(window) == (RECT{10, 5, 100, 60}));
    const RECT hole{50, 20, 60, 30};
    ValidateRect(window, &hole);
    EXPECT_TRUE(UpdateOf(window) == (RECT{10, 5, 100, 60}));

    // Not erasing: the paint needs no WM_ERASEBKGND and reports what was invalid.
    EXPECT_EQ(Pump(), 1);
    ASSERT_EQ(Messages(), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND, WM_PAINT}));
    EXPECT_TRUE(g_seen[2].paint == (RECT{10, 5, 100, 60}));

    InvalidateRect(window, nullptr, FALSE);
    EXPECT_TRUE(ValidateRect(window, nullptr));
    EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE));
    EXPECT_TRUE(UpdateOf(window) == (RECT{0, 0, 0, 0}));
}

TEST_F(Painting, WithoutABackgroundBrushThePainterIsToldToErase) {
    HWND window = Make(WS_POPUP | WS_VISIBLE, {0, 0, 50, 50}, nullptr, L"MoltrUnpainted");
    EXPECT_EQ(Pump(), 1);
    ASSERT_EQ(Messages(), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
    EXPECT_TRUE(g_seen[0].erase);
    // GetUpdateRect erases when asked to.
    g_seen.clear();
    InvalidateRect(window, nullptr, TRUE);
    EXPECT_TRUE(GetUpdateRect(window, nullptr, TRUE));
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_ERASEBKGND}));
}

TEST_F(Painting, AHiddenWindowKeepsItsRegionAndIsPaintedWhenShown) {
    HWND window = Make(WS_POPUP);
    const RECT part{0, 0, 10, 10};
    InvalidateRect(window, &part, FALSE);
    EXPECT_TRUE(UpdateOf(window) == part);
    EXPECT_EQ(Pump(), 0);
    EXPECT_TRUE(UpdateWindow(window));
    EXPECT_TRUE(g_seen.empty());

    ShowWindow(window, SW_SHOW);
    EXPECT_TRUE(UpdateOf(window) == (RECT{0, 0, 100, 80}));
    EXPECT_EQ(Pump(), 1);
}

TEST_F(Painting, UpdateWindowPaintsAtOnceAndOnlyWhatIsInvalid) {
    HWND window = Make(WS_POPUP | WS_VISIBLE);
    EXPECT_TRUE(UpdateWindow(window));
    ASSERT_EQ(Messages(), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
    EXPECT_TRUE(UpdateWindow(window));
    EXPECT_EQ(g_seen.size(), 2u);
    MSG message;
    EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));

    SetLastError(0);
    EXPECT_FALSE(UpdateWindow(reinterpret_cast<HWND>(0x7777)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(Painting, ParentsArePaintedBeforeTheirChildren) {
    HWND parent = Make(WS_POPUP | WS_VISIBLE);
    HWND child = Make(WS_CHILD | WS_VISIBLE, {10, 10, 30, 30}, parent);
    EXPECT_EQ(Pump(), 2);
    ASSERT_EQ(g_seen.size(), 4u);
    EXPECT_EQ(g_seen[0].window, parent);
    EXPECT_EQ(g_seen[2].window, child);
    EXPECT_TRUE(g_seen[2].paint == (RECT{0, 0, 20, 20}));
}

TEST_F(Painting, RedrawWindowReachesChildrenAsItsFlagsAndTheParentsStyleSay) {
    HWND parent = Make(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
    HWND child = Make(WS_CHILD | WS_VISIBLE, {10, 10, 30, 30}, parent);
    Pump();
    g_seen.clear();

    // A parent that clips its children invalidates only itself.
    InvalidateRect(parent, nullptr, TRUE);
    EXPECT_FALSE(GetUpdateRect(child, nullptr, FALSE));
    ValidateRect(parent, nullptr);

    const RECT corner{0, 0, 15, 15};
    EXPECT_TRUE(RedrawWindow(parent, &corner, nullptr,
                             RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN));
    ASSERT_EQ(Messages(), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND, WM_PAINT, WM_ERASEBKGND}));
    EXPECT_EQ(g_seen[0].window, parent);
    EXPECT_TRUE(g_seen[0].paint == corner);
    EXPECT_EQ(g_seen[2].window, child);
    EXPECT_TRUE(g_seen[2].paint == (RECT{0, 0, 5, 5})); // the corner in the child's coordinates
    EXPECT_EQ(Pump(), 0);

    // RDW_INTERNALPAINT asks for a WM_PAINT with nothing invalid.
    g_seen.clear();
    EXPECT_TRUE(RedrawWindow(child, nullptr, nullptr, RDW_INTERNALPAINT));
    EXPECT_FALSE(GetUpdateRect(child, nullptr, FALSE));
    EXPECT_EQ(Pump(), 1);
    ASSERT_EQ(Messages(), (std::vector<UINT>{WM_PAINT}));
    EXPECT_TRUE(g_seen[0].paint == (RECT{0, 0, 0, 0}));

    // RDW_ERASENOW erases without painting.
    g_seen.clear();
    EXPECT_TRUE(RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW));
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_ERASEBKGND}));
    EXPECT_TRUE(GetUpdateRect(child, nullptr, FALSE));
}

TEST_F(Painting, AParentWithoutClippingInvalidatesTheChildrenUnderTheArea) {
    HWND parent = Make(WS_POPUP | WS_VISIBLE);
    HWND under = Make(WS_CHILD | WS_VISIBLE, {10, 10, 30, 30}, parent);
    HWND away = Make(WS_CHILD | WS_VISIBLE, {60, 10, 90, 30}, parent);
    Pump();
    const RECT left{0, 0, 40, 40};
    InvalidateRect(parent, &left, FALSE);
    EXPECT_TRUE(UpdateOf(under) == (RECT{0, 0, 20, 20}));
    EXPECT_FALSE(GetUpdateRect(away, nullptr, FALSE));
    EXPECT_TRUE(RedrawWindow(parent, nullptr, nullptr, RDW_VALIDATE | RDW_NOCHILDREN));
    EXPECT_FALSE(GetUpdateRect(parent, nullptr, FALSE));
    EXPECT_TRUE(GetUpdateRect(under, nullptr, FALSE));
}

TEST_F(Painting, MovingHidingAndSizingInvalidateWhatShowsAnew) {
    HWND parent = Make(WS_POPUP | WS_VISIBLE);
    HWND child = Make(WS_CHILD | WS_VISIBLE, {10, 10, 30, 30}, parent);
    Pump();

    // Moved: where it stood shows the parent, and it paints itself where it stands.
    SetWindowPos(child, nullptr, 50, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(UpdateOf(parent) == (RECT{10, 10, 30, 30}));
    EXPECT_TRUE(UpdateOf(child) == (RECT{0, 0, 20, 20}));
    Pump();
    SetWindowPos(child, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW);
    EXPECT_FALSE(GetUpdateRect(parent, nullptr, FALSE));

    // Hidden: the parent shows where it was.
    SetWindowPos(child, nullptr, 50, 40, 20, 20, SWP_NOZORDER);
    Pump();
    ShowWindow(child, SW_HIDE);
    EXPECT_TRUE(UpdateOf(parent) == (RECT{50, 40, 70, 60}));
    Pump();

    // Grown: only the new strips are invalid, unless the class redraws on every size.
    SetWindowPos(parent, nullptr, 0, 0, 120, 90, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(UpdateOf(parent) == (RECT{0, 0, 120, 90}));
    Pump();
    SetWindowPos(parent, nullptr, 0, 0, 150, 90, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(UpdateOf(parent) == (RECT{120, 0, 150, 90}));
    Pump();
    SetWindowPos(parent, nullptr, 0, 0, 100, 50, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_FALSE(GetUpdateRect(parent, nullptr, FALSE)); // shrunk: nothing shows anew

    HWND redrawn = Make(WS_POPUP | WS_VISIBLE, {0, 0, 40, 40}, nullptr, L"MoltrRedrawn");
    Pump();
    SetWindowPos(redrawn, nullptr, 0, 0, 30, 30, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(UpdateOf(redrawn) == (RECT{0, 0, 30, 30}));
}

TEST_F(Painting, EnablingSendsWmEnableAndThePictureIsPaintedAgain) {
    HWND window = Make(WS_POPUP | WS_VISIBLE);
    Pump();
    g_seen.clear();
    EnableWindow(window, FALSE);
    EnableWindow(window, FALSE); // no change, no message
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_ENABLE}));
    EXPECT_TRUE(UpdateOf(window) == (RECT{0, 0, 100, 80}));
    Pump();
    EnableWindow(window, TRUE);
    EXPECT_TRUE(GetUpdateRect(window, nullptr, FALSE));
}

TEST_F(Painting, DefWindowProcErasesWithTheClassBrush) {
    HWND window = Make(WS_POPUP, {0, 0, 8, 8});
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP pixels = CreateCompatibleBitmap(screen, 8, 8);
    HGDIOBJ previous = SelectObject(dc, pixels);
    const RECT all{0, 0, 8, 8};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(DefWindowProcW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    EXPECT_EQ(GetPixel(dc, 4, 4), GetSysColor(COLOR_WINDOW));

    HWND bare = Make(WS_POPUP, {0, 0, 8, 8}, nullptr, L"MoltrUnpainted");
    EXPECT_EQ(DefWindowProcW(bare, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 0);
    SelectObject(dc, previous);
    DeleteObject(pixels);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

TEST_F(Painting, DefWindowProcAnswersColourQuestionsWithSystemBrushes) {
    HWND window = Make(WS_POPUP);
    HDC dc = GetDC(window);
    const auto answer = [&](UINT message) {
        return reinterpret_cast<HBRUSH>(
            DefWindowProcW(window, message, reinterpret_cast<WPARAM>(dc), 0));
    };
    EXPECT_EQ(answer(WM_CTLCOLOREDIT), GetSysColorBrush(COLOR_WINDOW));
    EXPECT_EQ(answer(WM_CTLCOLORLISTBOX), GetSysColorBrush(COLOR_WINDOW));
    EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(answer(WM_CTLCOLORSTATIC), GetSysColorBrush(COLOR_3DFACE));
    EXPECT_EQ(answer(WM_CTLCOLORBTN), GetSysColorBrush(COLOR_3DFACE));
    EXPECT_EQ(answer(WM_CTLCOLORDLG), GetSysColorBrush(COLOR_3DFACE));
    EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_3DFACE));
    EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(answer(WM_CTLCOLORSCROLLBAR), GetSysColorBrush(COLOR_SCROLLBAR));
    ReleaseDC(window, dc);
}

TEST_F(Painting, BadArgumentsFailCleanly) {
    HWND window = Make(WS_POPUP | WS_VISIBLE);
    EXPECT_EQ(BeginPaint(window, nullptr), nullptr);
    EXPECT_TRUE(GetUpdateRect(window, nullptr, FALSE)); // still due
    HWND gone = reinterpret_cast<HWND>(0x7777);
    PAINTSTRUCT paint{};
    SetLastError(0);
    EXPECT_EQ(BeginPaint(gone, &paint), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(InvalidateRect(gone, nullptr, TRUE));
    EXPECT_FALSE(ValidateRect(gone, nullptr));
    EXPECT_FALSE(GetUpdateRect(gone, nullptr, FALSE));
    EXPECT_FALSE(RedrawWindow(gone, nullptr, nullptr, RDW_INVALIDATE));
    // A destroyed window is never handed out to paint.
    DestroyWindow(window);
    MSG message;
    EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
}

} // namespace
