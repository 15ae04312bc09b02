#include "uiplugin/engine/mock_page.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <utility>
#include "uiplugin/engine/selected_object.h"

namespace moltr::ui {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kTextGrey = RGB(128, 128, 128);
constexpr COLORREF kFrameColour = RGB(128, 128, 128);
constexpr COLORREF kFrameBackground = RGB(192, 192, 192);
constexpr COLORREF kPageNumberColour = RGB(0, 0, 255);
constexpr COLORREF kLetterGrey = RGB(117, 117, 117);
constexpr COLORREF kLetterColour = RGB(255, 0, 0);
constexpr LONG kBoldWeight = 700;
constexpr LONG kNormalWeight = 400;
constexpr LONG kPageNumberHeight = 3333;
constexpr BYTE kPageNumberCharSet = 1;
constexpr WCHAR kPageNumberFace[] = L"Arial";
constexpr LONG kLargestCoordinate = 32767;
constexpr double kPi = 3.1416;
constexpr double kFullTurn = 6.2832;

// The pie's four slices: from the first radial point to the second, counter-clockwise, with their
// colours in monochrome mode and in colour.
enum class Spot { RightTop, LeftTop, CentreBottom, RightBottom };
struct Slice {
    Spot from;
    Spot to;
    COLORREF grey;
    COLORREF colour;
};
constexpr Slice kSlices[] = {
    {Spot::RightTop, Spot::LeftTop, RGB(64, 64, 64), RGB(0, 0, 255)},
    {Spot::LeftTop, Spot::CentreBottom, RGB(117, 117, 117), RGB(255, 0, 0)},
    {Spot::CentreBottom, Spot::RightBottom, RGB(243, 243, 243), RGB(255, 255, 0)},
    {Spot::RightBottom, Spot::RightTop, RGB(204, 204, 204), RGB(0, 255, 0)},
};

// The letter E in units: 3 wide and 5 high, bars at the top, the middle (2 long) and the bottom.
constexpr POINT kLetterE[] = {{0, 0}, {3, 0}, {3, 1}, {1, 1}, {1, 2}, {2, 2},
                              {2, 3}, {1, 3}, {1, 4}, {3, 4}, {3, 5}, {0, 5}};

struct Page {
    const PreviewState& state;
    const PreviewLayout& layout;
    RECT cell;
    LONG side;  // the cell's smaller side
    bool first; // the page that carries the pictures
    COLORREF fill;
    COLORREF border;
};

LONG Width(const RECT& r) {
    return r.right - r.left;
}

LONG Height(const RECT& r) {
    return r.bottom - r.top;
}

HPEN SolidPen(COLORREF colour) {
    return CreatePen(PS_SOLID, 0, colour);
}

void FillBox(HDC dc, const RECT& box, COLORREF colour) {
    SelectedObject brush(dc, CreateSolidBrush(colour), true);
    SelectedObject pen(dc, GetStockObject(NULL_PEN), false);
    Rectangle(dc, box.left, box.top, box.right, box.bottom);
}

void OutlineBox(HDC dc, const RECT& box, HPEN made) {
    SelectedObject pen(dc, made, true);
    SelectedObject brush(dc, GetStockObject(NULL_BRUSH), false);
    Rectangle(dc, box.left, box.top, box.right, box.bottom);
}

bool DrawsBorder(const PreviewState& state) {
    return state.pageBorders && state.pagesPerSheet > 1 && !IsBooklet(state);
}

// Lines standing for text, a paragraph at a time; each paragraph starts indented and ends with a
// half line.
void DrawTextLines(HDC dc, const Page& page) {
    const LONG o = page.layout.margin;
    const LONG step = page.layout.border;
    const LONG paragraph = std::max(3 * step, (Height(page.cell) - o) / 4);
    const LONG linesPerParagraph = std::max<LONG>(1, paragraph / step);
    const LONG left = page.cell.left + o;
    const LONG right = page.cell.right - o;
    const LONG middle = (page.cell.left + page.cell.right) / 2;
    const LONG lowest =
        std::min(page.cell.bottom - o, page.layout.sheet.bottom - page.layout.grid.gap);
    const bool shortPage = IsBooklet(page.state) && page.first;
    SelectedObject pen(dc, SolidPen(MockColour(page.state, kTextGrey)), true);
    LONG line = 0;
    LONG paragraphs = 0;
    for (LONG y = page.cell.top + o; y <= lowest && left < right; y += step, ++line) {
        const LONG inParagraph = line % linesPerParagraph;
        const bool last = inParagraph == linesPerParagraph - 1;
        MoveToEx(dc, inParagraph == 0 ? left + o : left, y, nullptr);
        LineTo(dc, last ? middle : right, y);
        if (last && ++paragraphs == 2 && shortPage) {
            break;
        }
    }
}

void DrawLetter(HDC dc, const Page& page) {
    const LONG o = page.layout.margin;
    const LONG p = page.layout.pixel;
    const LONG u = WholePixels((page.side - 2 * o) / 3 / 5, p);
    if (u <= 0) {
        return;
    }
    const bool rtl = page.state.rightToLeftText;
    const LONG top = page.cell.top + o;
    const LONG squareLeft = rtl ? page.cell.right - o - 5 * u : page.cell.left + o;
    const LONG letterLeft = rtl ? page.cell.right - o - 3 * u : squareLeft;
    FillBox(dc, {squareLeft, top, squareLeft + 5 * u, top + 5 * u}, page.fill);
    const COLORREF letter = page.state.monochrome ? kLetterGrey : kLetterColour;
    SelectedObject pen(dc, GetStockObject(NULL_PEN), false);
    for (const auto& [shift, colour] :
         {std::pair{p, page.border}, std::pair{LONG{0}, MockColour(page.state, letter)}}) {
        POINT corners[std::size(kLetterE)];
        for (size_t i = 0; i < std::size(kLetterE); ++i) {
            corners[i] = {letterLeft + kLetterE[i].x * u + shift, top + kLetterE[i].y * u + shift};
        }
        SelectedObject brush(dc, CreateSolidBrush(colour), true);
        Polygon(dc, corners, static_cast<int>(std::size(corners)));
    }
}

POINT SpotOf(Spot spot, const RECT& box, LONG k) {
    switch (spot) {
    case Spot::RightTop:
        return {box.right, box.top};
    case Spot::LeftTop:
        return {box.left + k, box.top};
    case Spot::CentreBottom:
        return {(box.left + box.right) / 2, box.bottom};
    default:
        return {box.right - k, box.bottom};
    }
}

void DrawPie(HDC dc, const Page& page) {
    const LONG o = page.layout.margin;
    const LONG c = (page.side - 2 * o) / 2;
    const RECT box = {page.cell.right - o - c, page.cell.bottom - o - c, page.cell.right - o,
                      page.cell.bottom - o};
    if (c <= 0 || box.top > page.layout.area.bottom - page.layout.grid.gap) {
        return;
    }
    const LONG grow =
        2 * static_cast<LONG>(int64_t{page.layout.pixel} * page.state.scalePercent / 100);
    FillBox(dc, {box.left - grow, box.top - grow, box.right + grow, box.bottom + grow}, page.fill);
    const LONG k = c / 10;
    SelectedObject pen(dc, GetStockObject(NULL_PEN), false);
    for (const Slice& slice : kSlices) {
        const COLORREF colour = page.state.monochrome ? slice.grey : slice.colour;
        SelectedObject brush(dc, CreateSolidBrush(MockColour(page.state, colour)), true);
        const POINT from = SpotOf(slice.from, box, k);
        const POINT to = SpotOf(slice.to, box, k);
        Pie(dc, box.left, box.top, box.right, box.bottom, from.x, from.y, to.x, to.y);
    }
    OutlineBox(dc, box, SolidPen(page.border));
}

// Where text of `size` starts so that, turned by `angle` degrees about its own centre, it is
// centred on the cell's centre.
POINT CentredOrigin(const Page& page, SIZE size, LONG angle) {
    const double e = size.cy / 2.0;
    const double f = size.cx / 2.0;
    const double r = std::sqrt(e * e + f * f);
    double theta = angle * kPi / 180 + (kPi - std::atan(e / f));
    if (theta >= kFullTurn) {
        theta = std::fmod(theta, kFullTurn);
    }
    double x = (page.cell.left + page.cell.right) / 2.0 + std::cos(theta) * r;
    double y = (page.cell.top + page.cell.bottom) / 2.0 - std::sin(theta) * r;
    if (page.state.scalePercent < 100) {
        x += page.layout.grid.gap - page.layout.margin;
        y += page.layout.grid.gap - page.layout.margin;
    }
    // Coordinates must fit 16 bits: a far origin moves back along the text's own direction.
    const double alongX = std::cos(angle * kPi / 180);
    const double alongY = -std::sin(angle * kPi / 180);
    for (int pass = 0; pass < 2; ++pass) {
        const double value = pass == 0 ? x : y;
        const double along = pass == 0 ? alongX : alongY;
        if (std::fabs(value) <= kLargestCoordinate) {
            continue;
        }
        const double limit = value > 0 ? kLargestCoordinate : -kLargestCoordinate;
        const double t = std::fabs(along) > 1e-9 ? (limit - value) / along : 0;
        x = std::clamp(x + t * alongX, -double{kLargestCoordinate}, double{kLargestCoordinate});
        y = std::clamp(y + t * alongY, -double{kLargestCoordinate}, double{kLargestCoordinate});
    }
    return {static_cast<LONG>(std::lround(x)), static_cast<LONG>(std::lround(y))};
}

struct TextLook {
    LONG height;
    LONG weight;
    bool italic;
    LONG angle;
    BYTE charSet;
    LPCWSTR face;
};

HFONT MakeFont(const TextLook& look) {
    // A whole turn more or less is the same escapement, and keeps tenths of degrees in range.
    const int escapement = look.angle % 360 * 10;
    return CreateFontW(-look.height, 0, escapement, escapement, look.weight, look.italic, FALSE,
                       FALSE, look.charSet, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH, look.face);
}

// The paper side the watermark is sized against: the half sheet of a booklet, else the paper.
LONG WatermarkBase(const Page& page) {
    if (IsBooklet(page.state) && page.state.pagesPerSheet > 1) {
        const LONG w = Width(page.layout.sheet);
        const LONG h = Height(page.layout.sheet);
        return w > h ? std::min(w / 2, h) : std::min(w, h / 2);
    }
    return std::min(page.state.paperWidth, page.state.paperLength);
}

void DrawWatermark(HDC dc, const Page& page, const WatermarkRecord& watermark) {
    const LONG base = WatermarkBase(page);
    // The record's text need not be terminated within its room.
    const int length =
        static_cast<int>(std::find(std::begin(watermark.text), std::end(watermark.text), L'\0') -
                         std::begin(watermark.text));
    if (base <= 0 || length == 0 || watermark.size <= 0) {
        return;
    }
    const int64_t height = int64_t{page.side} * (int64_t{watermark.size} * 600 / 72) / base;
    const bool bold = watermark.style == 1 || watermark.style == 3;
    const bool italic = watermark.style == 2 || watermark.style == 3;
    const TextLook look = {static_cast<LONG>(std::min<int64_t>(height, kLargestCoordinate)),
                           bold ? kBoldWeight : kNormalWeight,
                           italic,
                           watermark.angle,
                           watermark.charSet,
                           watermark.faceName};
    if (look.height <= 0) {
        return;
    }
    SelectedObject font(dc, MakeFont(look), true);
    SIZE size{};
    if (!font.Selected() || !GetTextExtentPoint32W(dc, watermark.text, length, &size) ||
        size.cx <= 0) {
        return;
    }
    const POINT at = CentredOrigin(page, size, watermark.angle);
    SetBkMode(dc, TRANSPARENT);
    if (GetDeviceCaps(dc, BITSPIXEL) != 8) {
        SetTextColor(dc, watermark.colour);
        ExtTextOutW(dc, at.x, at.y, 0, nullptr, watermark.text, static_cast<UINT>(length), nullptr);
        return;
    }
    // With a palette the colour is the XOR of the inverted page with black text.
    SelectedObject brush(dc, CreateSolidBrush(watermark.colour), true);
    const RECT& cell = page.cell;
    PatBlt(dc, cell.left, cell.top, Width(cell), Height(cell), PATINVERT);
    SetTextColor(dc, kBlack);
    ExtTextOutW(dc, at.x, at.y, 0, nullptr, watermark.text, static_cast<UINT>(length), nullptr);
    PatBlt(dc, cell.left, cell.top, Width(cell), Height(cell), PATINVERT);
}

void DrawPageNumber(HDC dc, const Page& page, size_t index) {
    const LONG base = std::min(Width(page.layout.area), Height(page.layout.area));
    if (base <= 0) {
        return;
    }
    const TextLook look = {static_cast<LONG>(int64_t{page.side} * kPageNumberHeight / base),
                           kBoldWeight,
                           false,
                           0,
                           kPageNumberCharSet,
                           kPageNumberFace};
    WCHAR text[16];
    const int length = wsprintfW(text, L"%d", static_cast<int>(index + 1));
    SelectedObject font(dc, MakeFont(look), true);
    SIZE size{};
    if (look.height <= 0 || !font.Selected() || !GetTextExtentPoint32W(dc, text, length, &size) ||
        size.cx <= 0) {
        return;
    }
    const POINT at = CentredOrigin(page, size, 0);
    const LONG p = page.layout.pixel;
    const UINT options = page.state.rightToLeftText ? ETO_RTLREADING : 0;
    SetBkMode(dc, TRANSPARENT);
    // A white halo keeps the number readable on the mock text.
    const struct {
        LONG shift;
        COLORREF colour;
    } passes[] = {{-p, kWhite}, {p, kWhite}, {0, kPageNumberColour}};
    for (const auto& pass : passes) {
        SetTextColor(dc, pass.colour);
        ExtTextOutW(dc, at.x + pass.shift, at.y + pass.shift, options, nullptr, text,
                    static_cast<UINT>(length), nullptr);
    }
}

// The cell with the sheet when pages share it or the page is scaled, else the page area; one
// pixel in on each side.
RECT ClipOf(const Page& page) {
    RECT clip = page.layout.area;
    if (page.state.pagesPerSheet > 1 || page.state.scalePercent != 100) {
        const RECT& sheet = page.layout.sheet;
        clip = {std::max(page.cell.left, sheet.left), std::max(page.cell.top, sheet.top),
                std::min(page.cell.right, sheet.right), std::min(page.cell.bottom, sheet.bottom)};
    }
    const LONG p = page.layout.pixel;
    return {clip.left + p, clip.top + p, clip.right - p, clip.bottom - p};
}

} // namespace

COLORREF MockColour(const PreviewState& state, COLORREF base) {
    const auto adjust = [&](BYTE v) {
        if (state.negative) {
            v = static_cast<BYTE>(255 - v);
        }
        return state.grey ? static_cast<BYTE>(128 + v / 2) : v;
    };
    return RGB(adjust(GetRValue(base)), adjust(GetGValue(base)), adjust(GetBValue(base)));
}

void DrawMockPage(HDC dc, const PreviewState& state, const PreviewLayout& layout,
                  const WatermarkRecord& watermark, size_t index) {
    const RECT& cell = layout.cells[index];
    const size_t firstIndex = IsBooklet(state) ? 1 : 0;
    const Page page = {state,
                       layout,
                       cell,
                       std::min(Width(cell), Height(cell)),
                       index == firstIndex,
                       MockColour(state, kWhite),
                       MockColour(state, kBlack)};
    if (state.scaleToFit && state.scalePercent != 100) {
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, kFrameBackground);
        OutlineBox(dc, layout.area, CreatePen(PS_DOT, 0, kFrameColour));
    }
    const bool border = DrawsBorder(state);
    if (border) {
        OutlineBox(dc, cell, SolidPen(page.border));
    }
    const int saved = SaveDC(dc);
    const RECT clip = ClipOf(page);
    IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    if (border) {
        OutlineBox(dc, cell, SolidPen(page.border));
    }
    FillBox(dc, cell, page.fill);
    DrawTextLines(dc, page);
    if (page.first) {
        DrawLetter(dc, page);
        DrawPie(dc, page);
    }
    const bool watermarked = !state.watermarkFirstPageOnly || page.first;
    if (!state.watermarkOff && watermarked) {
        DrawWatermark(dc, page, watermark);
    }
    if (state.pagesPerSheet > 1) {
        DrawPageNumber(dc, page, index);
    }
    RestoreDC(dc, saved);
}

} // namespace moltr::ui
