// Tooltips (tooltips_class32), as the pages show them: tools registered with TTM_ADDTOOL, a
// tracking tool shown and hidden by TTM_TRACKACTIVATE at the place TTM_TRACKPOSITION gives, a
// title (TTM_SETTITLE), and a balloon or a plain box painted with its title over its text.
#include "src/comctl32/control_classes.h"
#include "src/comctl32/control_paint.h"
#include "src/comctl32/control_state.h"
#include "sim/utf.h"

#include <commctrl.h>
#include <algorithm>
#include <utility>
#include <vector>

namespace moltr::platform {
namespace {

constexpr int kMargin = 6;
constexpr int kLineGap = 2;
constexpr int kMark = 10; // the title's icon, a square in its colour

// The colour of the title's icon by TTI_ value (none, information, warning, error).
constexpr COLORREF kMarks[] = {0, RGB(0, 102, 204), RGB(255, 185, 0), RGB(232, 17, 35)};

struct Tool {
    HWND window = nullptr;
    UINT_PTR id = 0;
    std::u16string text;
};

class Tooltip {
public:
    explicit Tooltip(HWND window) : window_(window) {}

    bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (PaintMessage(window_, message, wParam, [this](HDC dc) { Paint(dc); })) {
            return true;
        }
        const auto* info = reinterpret_cast<const TTTOOLINFOW*>(lParam);
        switch (message) {
        case TTM_ADDTOOLW:
            result = Add(info);
            return true;
        case TTM_DELTOOLW:
            Remove(info);
            return true;
        case TTM_GETTOOLCOUNT:
            result = static_cast<LRESULT>(tools_.size());
            return true;
        case TTM_UPDATETIPTEXTW:
            if (Tool* tool = Find(info); tool && info->lpszText) {
                tool->text = Text(info);
                Resize();
            }
            return true;
        case TTM_GETTEXTW:
            GetText(static_cast<int>(wParam), reinterpret_cast<TTTOOLINFOW*>(lParam));
            return true;
        case TTM_TRACKACTIVATE:
            Track(wParam != 0, info);
            return true;
        case TTM_TRACKPOSITION:
            at_ = PointOf(lParam);
            Resize();
            return true;
        case TTM_SETTITLEW:
            title_ = sim::View(reinterpret_cast<LPCWSTR>(lParam));
            icon_ = static_cast<int>(wParam);
            Resize();
            result = TRUE;
            return true;
        case TTM_SETMAXTIPWIDTH:
            result = std::exchange(maxWidth_, static_cast<int>(lParam));
            return true;
        case TTM_POP:
            Track(false, nullptr);
            return true;
        default:
            return false;
        }
    }

private:
    static bool Usable(const TTTOOLINFOW* info) {
        return info && info->cbSize >= TTTOOLINFOW_V1_SIZE;
    }

    Tool* Find(const TTTOOLINFOW* info) {
        if (!Usable(info)) {
            return nullptr;
        }
        for (Tool& tool : tools_) {
            if (tool.window == info->hwnd && tool.id == info->uId) {
                return &tool;
            }
        }
        return nullptr;
    }

    // A text given as a string resource is loaded from the tool's module; a callback text is
    // asked for when shown, which the pages here do not use.
    static std::u16string Text(const TTTOOLINFOW* info) {
        if (info->lpszText == LPSTR_TEXTCALLBACKW || !info->lpszText) {
            return {};
        }
        if (IS_INTRESOURCE(info->lpszText)) {
            WCHAR buffer[512];
            const int length = LoadStringW(
                info->hinst, static_cast<UINT>(reinterpret_cast<ULONG_PTR>(info->lpszText)), buffer,
                512);
            return std::u16string(reinterpret_cast<const char16_t*>(buffer),
                                  static_cast<size_t>(std::max(length, 0)));
        }
        return std::u16string(sim::View(info->lpszText));
    }

    BOOL Add(const TTTOOLINFOW* info) {
        if (!Usable(info) || Find(info)) {
            return FALSE;
        }
        tools_.push_back({info->hwnd, info->uId, Text(info)});
        return TRUE;
    }

    void Remove(const TTTOOLINFOW* info) {
        if (const Tool* tool = Find(info)) {
            if (tracked_ == tool) {
                Track(false, nullptr);
            }
            tools_.erase(tools_.begin() + (tool - tools_.data()));
        }
    }

    void GetText(int size, TTTOOLINFOW* info) {
        const Tool* tool = Find(info);
        if (!info || !info->lpszText || size <= 0) {
            return;
        }
        lstrcpynW(info->lpszText, tool ? sim::W(tool->text) : L"", size);
    }

    void Track(bool show, const TTTOOLINFOW* info) {
        tracked_ = show ? Find(info) : nullptr;
        Resize();
        ShowWindow(window_, tracked_ ? SW_SHOWNA : SW_HIDE);
    }

    SIZE Needed() const {
        const std::u16string text = tracked_ ? tracked_->text : std::u16string();
        const SIZE body = LabelSize(window_, text);
        const SIZE head = title_.empty() ? SIZE{0, -kLineGap} : LabelSize(window_, title_);
        const int mark = icon_ > TTI_NONE && icon_ <= TTI_ERROR ? kMark + kMargin : 0;
        LONG width = std::max<LONG>(body.cx, head.cx + mark);
        if (maxWidth_ > 0) {
            width = std::min<LONG>(width, maxWidth_);
        }
        return {width + 2 * kMargin, head.cy + kLineGap + body.cy + 2 * kMargin};
    }

    void Resize() {
        const SIZE size = Needed();
        MoveWindow(window_, at_.x, at_.y, size.cx, size.cy, FALSE);
    }

    void Paint(HDC dc) const {
        RECT client{};
        GetClientRect(window_, &client);
        FillArea(dc, client, colours::kInfo);
        FrameLine(dc, client, colours::kDarkShadow);
        int top = kMargin;
        if (!title_.empty()) {
            const SIZE head = LabelSize(window_, title_);
            int left = kMargin;
            if (icon_ > TTI_NONE && icon_ <= TTI_ERROR) {
                const int markTop = top + (head.cy - kMark) / 2;
                FillArea(dc, {left, markTop, left + kMark, markTop + kMark}, kMarks[icon_]);
                left += kMark + kMargin;
            }
            const RECT line{left, top, client.right - kMargin, top + head.cy};
            DrawLabel(dc, window_, title_, line, colours::kText, Align::Left);
            top = line.bottom + kLineGap;
        }
        if (tracked_) {
            const RECT body{kMargin, top, client.right - kMargin, client.bottom - kMargin};
            DrawLabel(dc, window_, tracked_->text, body, colours::kText, Align::Left);
        }
    }

    HWND window_;
    std::vector<Tool> tools_;
    const Tool* tracked_ = nullptr;
    POINT at_{};
    std::u16string title_;
    int icon_ = TTI_NONE;
    int maxWidth_ = -1;
};

} // namespace

LRESULT CALLBACK TooltipProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StateWindowProc<Tooltip>(window, message, wParam, lParam);
}

} // namespace moltr::platform
