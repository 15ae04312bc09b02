// What an edit control shows of its text.
#include "src/user32/user_edit_view.h"

#include "src/user32/user_control_paint.h"

#include <algorithm>

namespace moltr::platform {
namespace {

constexpr int kMargin = 2;

} // namespace

std::u16string EditView::Shown(size_t from, size_t to) const {
    if (password) {
        return std::u16string(to - from, password);
    }
    return text_.Text().substr(from, to - from);
}

int EditView::Room() const {
    const RECT area = TextArea();
    return area.right - area.left;
}

RECT EditView::TextArea() const {
    RECT client{};
    GetClientRect(window_, &client);
    const bool framed =
        (Style() & WS_BORDER) || (GetWindowLongW(window_, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    return Inset(client, framed ? kMargin + 1 : kMargin);
}

int EditView::LineLeft(size_t line, const RECT& area) const {
    const int width = TextWidth(window_, Shown(text_.LineStart(line), text_.LineEnd(line)));
    const int room = area.right - area.left;
    if (width >= room || (Style() & (ES_CENTER | ES_RIGHT)) == 0) {
        return area.left - scrolledX_;
    }
    return (Style() & ES_RIGHT) ? area.right - width : area.left + (room - width) / 2;
}

// The character position nearest to a point of the client area.
size_t EditView::PositionAt(POINT at) const {
    const RECT area = TextArea();
    const int height = std::max(LineHeight(window_), 1);
    const int row = at.y < area.top ? 0 : (at.y - area.top) / height;
    const size_t line = std::min(firstLine_ + static_cast<size_t>(row), text_.LineCount() - 1);
    const size_t start = text_.LineStart(line);
    const size_t end = text_.LineEnd(line);
    const int x = at.x - LineLeft(line, area);
    int previous = 0;
    for (size_t i = start; i < end; ++i) {
        const int width = TextWidth(window_, Shown(start, i + 1));
        if (x < (previous + width) / 2) {
            return i;
        }
        previous = width;
    }
    return end;
}

// Scrolls so that the caret stands inside the text area.
void EditView::KeepCaretInView(const RECT& area) {
    const size_t line = text_.LineOf(text_.Caret());
    const int height = std::max(LineHeight(window_), 1);
    const auto rows = static_cast<size_t>(std::max((area.bottom - area.top) / height, 1));
    if (line < firstLine_) {
        firstLine_ = line;
    } else if (line >= firstLine_ + rows) {
        firstLine_ = line - rows + 1;
    }
    const int caretX = TextWidth(window_, Shown(text_.LineStart(line), text_.Caret()));
    const int room = area.right - area.left;
    if (caretX < scrolledX_) {
        scrolledX_ = caretX;
    } else if (caretX > scrolledX_ + room) {
        scrolledX_ = caretX - room;
    }
}

void EditView::Paint(HDC dc) {
    RECT client{};
    GetClientRect(window_, &client);
    // A read-only or disabled edit is coloured as a static one is.
    const bool editable = IsWindowEnabled(window_) && !(Style() & ES_READONLY);
    PaintParentBackground(dc, window_, editable ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC, client,
                          editable ? colours::kWindow : colours::kFace);
    if (!IsWindowEnabled(window_)) {
        SetTextColor(dc, colours::kGrayText);
    }
    const RECT area = TextArea();
    KeepCaretInView(area);
    const int height = LineHeight(window_);
    int y = area.top;
    for (size_t line = firstLine_; line < text_.LineCount() && y < area.bottom; ++line) {
        PaintLine(dc, line, area, y);
        y += height;
    }
    PaintFrame(dc, client);
}

// One line, its selected part (shown while focused, or always with ES_NOHIDESEL) in the
// highlight colours.
void EditView::PaintLine(HDC dc, size_t line, const RECT& area, int y) const {
    const size_t start = text_.LineStart(line);
    const size_t end = text_.LineEnd(line);
    const int left = LineLeft(line, area);
    const int bottom = y + LineHeight(window_);
    constexpr UINT kFormat = DT_LEFT | DT_SINGLELINE | DT_NOPREFIX;
    PaintText(dc, window_, Shown(start, end), RECT{left, y, area.right, bottom}, kFormat);
    const size_t from = std::max(start, text_.Start());
    const size_t to = std::min(end, text_.End());
    if (from >= to || !(focused || (Style() & ES_NOHIDESEL))) {
        return;
    }
    const int selectedLeft = left + TextWidth(window_, Shown(start, from));
    const RECT selected{
        selectedLeft, y,
        std::min<LONG>(selectedLeft + TextWidth(window_, Shown(from, to)), area.right), bottom};
    FillArea(dc, selected, colours::kHighlight);
    const COLORREF colour = SetTextColor(dc, colours::kHighlightText);
    PaintText(dc, window_, Shown(from, to), selected, kFormat);
    SetTextColor(dc, colour);
}

// Pictures take the client area alone, so the frame a border gives is drawn on its edge.
void EditView::PaintFrame(HDC dc, const RECT& client) const {
    if (GetWindowLongW(window_, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) {
        Frame3D(dc, client, false);
    } else if (Style() & WS_BORDER) {
        FrameLine(dc, client, colours::kDarkShadow);
    }
}

} // namespace moltr::platform
