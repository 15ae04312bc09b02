// Painting helpers of the standard controls.
#include "src/user32/user_control_paint.h"

#include <string>
#include <vector>

namespace moltr::platform {
namespace {

// A DC with a control's font selected for as long as it lives: the one given, or the screen's.
class TextDc {
public:
    TextDc(HDC dc, HWND control)
        : own_(dc ? nullptr : GetDC(nullptr)), dc_(dc ? dc : own_),
          previous_(dc_ ? SelectObject(dc_, FontOf(control)) : nullptr) {}
    ~TextDc() {
        if (dc_) {
            SelectObject(dc_, previous_);
        }
        if (own_) {
            ReleaseDC(nullptr, own_);
        }
    }
    TextDc(const TextDc&) = delete;
    TextDc& operator=(const TextDc&) = delete;

    int Width(std::u16string_view text) const {
        SIZE size{};
        if (dc_ && !text.empty()) {
            GetTextExtentPoint32W(dc_, reinterpret_cast<const WCHAR*>(text.data()),
                                  static_cast<int>(text.size()), &size);
        }
        return size.cx;
    }
    TEXTMETRICW Metrics() const {
        TEXTMETRICW metrics{};
        if (dc_) {
            GetTextMetricsW(dc_, &metrics);
        }
        return metrics;
    }
    HDC dc() const { return dc_; }

private:
    HDC own_;
    HDC dc_;
    HGDIOBJ previous_;
};

// Text as shown: the prefix characters taken out, and where the underlined ones stand.
struct ShownText {
    std::u16string text;
    std::vector<size_t> underlined;
};

ShownText WithoutPrefixes(std::u16string_view text, bool prefixes) {
    ShownText shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (prefixes && text[i] == u'&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != u'&') {
                shown.underlined.push_back(shown.text.size());
            }
        }
        shown.text += text[i];
    }
    return shown;
}

struct Span {
    size_t begin;
    size_t end;
};

// Where a paragraph breaks into lines no wider than `width`: after the last space that fits, or
// after the word that alone is too wide.
void WrapParagraph(const TextDc& dc, std::u16string_view text, Span paragraph, int width,
                   std::vector<Span>& lines) {
    size_t begin = paragraph.begin;
    while (begin < paragraph.end) {
        size_t end = paragraph.end;
        if (dc.Width(text.substr(begin, end - begin)) > width) {
            size_t fits = text.find(u' ', begin);
            while (fits < paragraph.end) {
                const size_t next = text.find(u' ', fits + 1);
                if (next >= paragraph.end || dc.Width(text.substr(begin, next - begin)) > width) {
                    break;
                }
                fits = next;
            }
            end = fits < paragraph.end ? fits : paragraph.end;
        }
        lines.push_back({begin, end});
        begin = end;
        while (begin < paragraph.end && text[begin] == u' ') {
            ++begin;
        }
    }
}

std::vector<Span> LinesOf(const TextDc& dc, std::u16string_view text, UINT format, int width) {
    std::vector<Span> lines;
    if (format & DT_SINGLELINE) {
        lines.push_back({0, text.size()});
        return lines;
    }
    size_t begin = 0;
    while (begin <= text.size()) {
        size_t end = std::min(text.find(u'\n', begin), text.size());
        const size_t shownEnd = end > begin && text[end - 1] == u'\r' ? end - 1 : end;
        if ((format & DT_WORDBREAK) && shownEnd > begin) {
            WrapParagraph(dc, text, {begin, shownEnd}, width, lines);
        } else {
            lines.push_back({begin, shownEnd});
        }
        begin = end + 1;
    }
    return lines;
}

int LineLeft(UINT format, const RECT& area, int lineWidth) {
    if (format & DT_CENTER) {
        return (area.left + area.right - lineWidth) / 2;
    }
    return (format & DT_RIGHT) ? area.right - lineWidth : area.left;
}

void Underline(const TextDc& dc, std::u16string_view text, Span line, size_t at, int x, int y) {
    if (at < line.begin || at >= line.end) {
        return;
    }
    const int from = x + dc.Width(text.substr(line.begin, at - line.begin));
    const int to = from + dc.Width(text.substr(at, 1));
    Line(dc.dc(), from, y, to, y, GetTextColor(dc.dc()));
}

// Where a picture of `size` goes in `area`.
POINT PictureAt(const RECT& area, SIZE size, bool centred) {
    if (!centred) {
        return POINT{area.left, area.top};
    }
    return POINT{(area.left + area.right - size.cx) / 2, (area.top + area.bottom - size.cy) / 2};
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP description{};
    GetObjectW(bitmap, sizeof description, &description);
    return SIZE{description.bmWidth, description.bmHeight};
}

} // namespace

void PaintBitmap(HDC dc, HBITMAP bitmap, const RECT& area, bool centred) {
    const SIZE size = BitmapSize(bitmap);
    const POINT at = PictureAt(area, size, centred);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, bitmap);
    BitBlt(dc, at.x, at.y, size.cx, size.cy, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
}

void PaintIcon(HDC dc, HICON icon, const RECT& area, bool centred) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) {
        return;
    }
    // The simulation keeps no icon pixels: an icon shows as a frame of its size.
    const SIZE size = BitmapSize(info.hbmColor ? info.hbmColor : info.hbmMask);
    const SIZE square{size.cx, size.cx};
    const POINT at = PictureAt(area, square, centred);
    FrameLine(dc, RECT{at.x, at.y, at.x + square.cx, at.y + square.cy}, colours::kDarkShadow);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

void PaintParentBackground(HDC dc, HWND control, UINT message, const RECT& area,
                           COLORREF background) {
    SetTextColor(dc, colours::kText);
    SetBkColor(dc, background);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(control), message,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(control)));
    if (brush) {
        FillRect(dc, &area, brush);
    } else {
        FillArea(dc, area, background);
    }
}

void PaintText(HDC dc, HWND control, std::u16string_view text, const RECT& area, UINT format) {
    TextDc font(dc, control);
    const ShownText shown = WithoutPrefixes(text, !(format & DT_NOPREFIX));
    const std::u16string_view all = shown.text;
    const std::vector<Span> lines = LinesOf(font, all, format, area.right - area.left);
    const TEXTMETRICW metrics = font.Metrics();
    const int height = metrics.tmHeight;
    int y = area.top;
    if ((format & DT_SINGLELINE) && (format & DT_VCENTER)) {
        y = (area.top + area.bottom - height) / 2;
    }
    SetBkMode(dc, TRANSPARENT);
    for (const Span& line : lines) {
        const std::u16string_view shownLine = all.substr(line.begin, line.end - line.begin);
        const int x = LineLeft(format, area, font.Width(shownLine));
        ExtTextOutW(dc, x, y, ETO_CLIPPED, &area, reinterpret_cast<const WCHAR*>(shownLine.data()),
                    static_cast<UINT>(shownLine.size()), nullptr);
        for (size_t at : shown.underlined) {
            Underline(font, all, line, at, x, y + metrics.tmAscent + 1);
        }
        y += height;
    }
}

int LineHeight(HWND control) {
    TextDc font(nullptr, control);
    return font.Metrics().tmHeight;
}

int TextWidth(HWND control, std::u16string_view text) {
    TextDc font(nullptr, control);
    return font.Width(text);
}

void PaintCheckMark(HDC dc, POINT at, UINT state, bool enabled, bool pushed) {
    const RECT box{at.x, at.y, at.x + kMarkSize, at.y + kMarkSize};
    FillArea(dc, box, enabled && !pushed ? colours::kWindow : colours::kFace);
    FrameLine(dc, box, enabled ? colours::kDarkShadow : colours::kShadow);
    if (state == BST_UNCHECKED) {
        return;
    }
    const COLORREF ink = enabled && state == BST_CHECKED ? colours::kText : colours::kGrayText;
    // A tick three pixels thick: down to the bottom third, then up to the top right.
    for (int row = 0; row < 3; ++row) {
        Line(dc, at.x + 3, at.y + 5 + row, at.x + 5, at.y + 7 + row, ink);
        Line(dc, at.x + 5, at.y + 7 + row, at.x + 10, at.y + 2 + row, ink);
    }
}

void PaintRadioMark(HDC dc, POINT at, bool checked, bool enabled, bool pushed) {
    // A circle as rows of a disc of radius 6: each row's half-width, from the top.
    static constexpr int kHalfWidths[kMarkSize] = {2, 4, 5, 5, 6, 6, 6, 6, 6, 5, 5, 4, 2};
    const int centre = kMarkSize / 2;
    const COLORREF rim = enabled ? colours::kDarkShadow : colours::kShadow;
    const COLORREF inside = enabled && !pushed ? colours::kWindow : colours::kFace;
    for (int row = 0; row < kMarkSize; ++row) {
        const int half = kHalfWidths[row];
        const int y = at.y + row;
        Line(dc, at.x + centre - half, y, at.x + centre + half + 1, y, rim);
        const bool edge = row == 0 || row == kMarkSize - 1;
        if (!edge) {
            Line(dc, at.x + centre - half + 1, y, at.x + centre + half, y, inside);
        }
    }
    if (checked) {
        const COLORREF dot = enabled ? colours::kText : colours::kGrayText;
        for (int row = centre - 2; row <= centre + 2; ++row) {
            const int half = row == centre - 2 || row == centre + 2 ? 1 : 2;
            Line(dc, at.x + centre - half, at.y + row, at.x + centre + half + 1, at.y + row, dot);
        }
    }
}

void PaintFocusFrame(HDC dc, const RECT& area) {
    for (int x = area.left; x < area.right; x += 2) {
        SetPixel(dc, x, area.top, colours::kText);
        SetPixel(dc, x, area.bottom - 1, colours::kText);
    }
    for (int y = area.top; y < area.bottom; y += 2) {
        SetPixel(dc, area.left, y, colours::kText);
        SetPixel(dc, area.right - 1, y, colours::kText);
    }
}

void NotifyCommand(HWND control, WORD code) {
    const int id = GetDlgCtrlID(control);
    SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), code),
                 reinterpret_cast<LPARAM>(control));
}

} // namespace moltr::platform
