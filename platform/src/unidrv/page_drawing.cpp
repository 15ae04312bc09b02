#include "src/unidrv/page_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include "sim/utf.h"
#include "src/unidrv/job_device_drawing.h"

namespace moltr::unidrv {
namespace {

// Colours as the DDI's solid brushes carry them: 0x00BBGGRR.
constexpr ULONG kBlack = 0x000000;
constexpr ULONG kGrey = 0x808080;
constexpr ULONG kRed = 0x0000FF;
constexpr ULONG kGreen = 0x00FF00;
constexpr ULONG kBlue = 0xFF0000;
constexpr ULONG kYellow = 0x00FFFF;
constexpr ROP4 kPatternCopy = 0xF0F0;
constexpr char16_t kFace[] = u"Arial";
constexpr LONG kPointsPerInch = 72;

// The page's lines of text under its number; the first names the page.
constexpr const char16_t* kLines[] = {
    u"MOLTR colour laser test page",
    u"The quick brown fox jumps over the lazy dog. 0123456789",
};

template <typename Function> Function As(PFN function) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(function));
}

FIX Fixed(LONG value) {
    return value << 4;
}

RECTL Shifted(const RECTL& rect, POINTL by) {
    return {rect.left - by.x, rect.top - by.y, rect.right - by.x, rect.bottom - by.y};
}

CLIPOBJ NoClip() {
    CLIPOBJ clip = {};
    clip.iDComplexity = DC_TRIVIAL;
    return clip;
}

bool Outline(const DdiLookup& lookup, SURFOBJ* surface, const RECTL& box, LINEATTRS line) {
    auto stroke = As<PFN_DrvStrokePath>(lookup(INDEX_DrvStrokePath));
    POINTFIX corners[4] = {{Fixed(box.left), Fixed(box.top)},
                           {Fixed(box.right), Fixed(box.top)},
                           {Fixed(box.right), Fixed(box.bottom)},
                           {Fixed(box.left), Fixed(box.bottom)}};
    EnginePath path = {{PO_ALL_INTEGERS, 1}, corners, 4, true};
    BRUSHOBJ brush = {kBlack, nullptr, 0};
    CLIPOBJ clip = NoClip();
    return stroke && stroke(surface, &path.path, &clip, nullptr, &brush, nullptr, &line, 0);
}

bool Fill(const DdiLookup& lookup, SURFOBJ* surface, RECTL rect, ULONG colour) {
    auto blit = As<PFN_DrvBitBlt>(lookup(INDEX_DrvBitBlt));
    BRUSHOBJ brush = {colour, nullptr, 0};
    POINTL brushOrigin = {};
    CLIPOBJ clip = NoClip();
    return blit && blit(surface, nullptr, nullptr, &clip, nullptr, &rect, nullptr, nullptr, &brush,
                        &brushOrigin, kPatternCopy);
}

bool Line(const DdiLookup& lookup, SURFOBJ* surface, POINTL from, POINTL to) {
    auto lineTo = As<PFN_DrvLineTo>(lookup(INDEX_DrvLineTo));
    BRUSHOBJ brush = {kBlack, nullptr, 0};
    CLIPOBJ clip = NoClip();
    RECTL bounds = {std::min(from.x, to.x), std::min(from.y, to.y), std::max(from.x, to.x) + 1,
                    std::max(from.y, to.y) + 1};
    return lineTo && lineTo(surface, &clip, &brush, from.x, from.y, to.x, to.y, &bounds, 0);
}

bool Polygon(const DdiLookup& lookup, SURFOBJ* surface, const POINTL (&corners)[3], ULONG colour) {
    auto fill = As<PFN_DrvFillPath>(lookup(INDEX_DrvFillPath));
    POINTFIX points[3];
    for (size_t i = 0; i < 3; ++i) {
        points[i] = {Fixed(corners[i].x), Fixed(corners[i].y)};
    }
    EnginePath path = {{PO_ALL_INTEGERS, 1}, points, 3, true};
    BRUSHOBJ brush = {colour, nullptr, 0};
    CLIPOBJ clip = NoClip();
    return fill && fill(surface, &path.path, &clip, &brush, nullptr, 0, FP_ALTERNATEMODE);
}

LINEATTRS Geometric(LONG width) {
    LINEATTRS line = {};
    line.fl = LA_GEOMETRIC;
    line.elWidth.l = width;
    return line;
}

// A cosmetic line: one pixel wide, as the device draws its thinnest.
LINEATTRS Cosmetic() {
    LINEATTRS line = {};
    line.elWidth.l = 1;
    return line;
}

} // namespace

bool DrawPageBorder(const DdiLookup& lookup, SURFOBJ* surface, const RECTL& frame,
                    POINTL bandOrigin) {
    // The right and bottom lines lie on the frame's last column and row.
    const LONG left = frame.left - bandOrigin.x;
    const LONG top = frame.top - bandOrigin.y;
    const LONG right = frame.right - 1 - bandOrigin.x;
    const LONG bottom = frame.bottom - 1 - bandOrigin.y;
    bool ok = Line(lookup, surface, {left, top}, {right, top});
    ok = Line(lookup, surface, {right, top}, {right, bottom}) && ok;
    ok = Line(lookup, surface, {right, bottom}, {left, bottom}) && ok;
    return Line(lookup, surface, {left, bottom}, {left, top}) && ok;
}

PageDrawing::PageDrawing(SIZEL size, LONG dpi, DWORD page, PagePlacement placement)
    : size_(size), dpi_(std::max<LONG>(dpi, 1)), placement_(placement) {
    const LONG margin = dpi_ / 2;
    const LONG numberEm = size_.cy / 4;
    const std::u16string number = sim::Utf16(std::to_string(page + 1));
    AddText(number, size_.cx / 2, margin + dpi_ / 4, numberEm, true, true);
    const LONG lineEm = dpi_ / 6;
    LONG top = margin + dpi_ / 2 + numberEm;
    AddText(u"Page " + number, margin + dpi_ / 2, top, lineEm, true, false);
    for (const char16_t* line : kLines) {
        top += lineEm * 3 / 2;
        AddText(line, margin + dpi_ / 2, top, lineEm, false, false);
    }
}

POINTL PageDrawing::Place(LONG x, LONG y) const {
    return {placement_.origin.x + static_cast<LONG>(std::lround(x * placement_.scale)),
            placement_.origin.y + static_cast<LONG>(std::lround(y * placement_.scale))};
}

RECTL PageDrawing::Place(const RECTL& rect) const {
    const POINTL topLeft = Place(rect.left, rect.top);
    const POINTL bottomRight = Place(rect.right, rect.bottom);
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

LONG PageDrawing::Scaled(LONG length) const {
    return std::max<LONG>(static_cast<LONG>(std::lround(length * placement_.scale)), 1);
}

// The text's glyphs from the realised font, their pens on its baseline: `top` is the top of its
// cells, `x` its left end or, `centred`, its middle.
void PageDrawing::AddText(std::u16string text, LONG x, LONG top, LONG em, bool bold, bool centred) {
    LOGFONTW logical = {};
    logical.lfHeight = -Scaled(em);
    logical.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    logical.lfCharSet = DEFAULT_CHARSET;
    std::copy(std::begin(kFace), std::end(kFace), reinterpret_cast<char16_t*>(logical.lfFaceName));
    TextRun run;
    run.font = platform::RealiseFont(logical);
    if (!run.font) {
        return;
    }
    run.points = em * kPointsPerInch / dpi_;
    run.text = std::move(text);
    const TEXTMETRICW& metric = run.font->Metric();
    const LONG width = platform::TextAdvance(*run.font, run.text);
    const POINTL start = Place(x, top);
    LONG penX = centred ? start.x - width / 2 : start.x;
    const LONG baseline = start.y + metric.tmAscent;
    run.bounds = {penX, start.y, penX + width, start.y + metric.tmHeight};
    for (char16_t code : run.text) {
        platform::GlyphImage image;
        Glyph glyph;
        glyph.pen = {penX, baseline};
        const bool drawn = run.font->Render(code, false, 0, 0, image);
        const size_t bytes = drawn ? image.bits.size() : 0;
        glyph.storage.assign(std::max(sizeof(GLYPHBITS), offsetof(GLYPHBITS, aj) + bytes), 0);
        auto* bits = reinterpret_cast<GLYPHBITS*>(glyph.storage.data());
        if (drawn) {
            bits->ptlOrigin = {image.left, -image.top};
            bits->sizlBitmap = {image.width, image.rows};
            std::memcpy(bits->aj, image.bits.data(), bytes);
            // Italic overhangs and tall glyphs reach beyond the cells.
            run.bounds.left = std::min(run.bounds.left, penX + image.left);
            run.bounds.right = std::max(run.bounds.right, penX + image.left + image.width);
            run.bounds.top = std::min(run.bounds.top, baseline - image.top);
            run.bounds.bottom = std::max(run.bounds.bottom, baseline - image.top + image.rows);
        }
        run.glyphs.push_back(std::move(glyph));
        penX += run.font->Advance(code, false);
    }
    runs_.push_back(std::move(run));
}

bool PageDrawing::DrawText(const DdiLookup& lookup, SURFOBJ* surface, const TextRun& run,
                           POINTL band) const {
    auto textOut = As<PFN_DrvTextOut>(lookup(INDEX_DrvTextOut));
    if (!textOut) {
        return false;
    }
    std::vector<GLYPHDEF> definitions(run.glyphs.size());
    std::vector<GLYPHPOS> positions(run.glyphs.size());
    LONG widest = 0;
    for (size_t i = 0; i < run.glyphs.size(); ++i) {
        auto* bits = reinterpret_cast<GLYPHBITS*>(const_cast<BYTE*>(run.glyphs[i].storage.data()));
        definitions[i].pgb = bits;
        widest = std::max(widest, bits->sizlBitmap.cx);
        const POINTL pen = run.glyphs[i].pen;
        positions[i] = {HGLYPH_INVALID, &definitions[i], {pen.x - band.x, pen.y - band.y}};
    }
    std::u16string text = run.text;
    STROBJ string = {static_cast<ULONG>(positions.size()),
                     SO_HORIZONTAL,
                     0,
                     Shifted(run.bounds, band),
                     positions.data(),
                     sim::W(text)};
    FONTOBJ font = {};
    font.iUniq = 1;
    font.cxMax = static_cast<ULONG>(widest);
    font.flFontType = FO_TYPE_TRUETYPE;
    font.sizLogResPpi = {dpi_, dpi_};
    font.ulStyleSize = static_cast<ULONG>(run.points);
    // The engine draws a glyph it has no bitmap for with the font it produced.
    font.pvProducer = run.font.get();
    BRUSHOBJ fore = {kBlack, nullptr, 0};
    CLIPOBJ clip = NoClip();
    POINTL brushOrigin = {};
    return textOut(surface, &string, &font, &clip, nullptr, nullptr, &fore, nullptr, &brushOrigin,
                   0) != FALSE;
}

bool PageDrawing::DrawShapes(const DdiLookup& lookup, SURFOBJ* surface, POINTL band) const {
    const LONG margin = dpi_ / 2;
    const LONG indent = margin + dpi_ / 2;
    const LONG right = size_.cx - indent;
    // Under the number and the text lines.
    const LONG rule = margin + dpi_ + size_.cy / 4 + dpi_ / 6 * 9 / 2;
    const LONG boxTop = rule + dpi_ / 2;
    const LONG square = dpi_ / 2;
    const LONG patchTop = boxTop + dpi_ + dpi_ / 4;
    auto at = [&](LONG x, LONG y) {
        POINTL point = Place(x, y);
        return POINTL{point.x - band.x, point.y - band.y};
    };
    auto area = [&](RECTL rect) { return Shifted(Place(rect), band); };
    bool ok = Outline(lookup, surface, area({margin, margin, size_.cx - margin, size_.cy - margin}),
                      Geometric(Scaled(std::max<LONG>(dpi_ / 100, 1))));
    ok = Line(lookup, surface, at(indent, rule), at(right, rule)) && ok;
    ok = Line(lookup, surface, at(indent, rule + dpi_ / 8), at(right, boxTop - dpi_ / 8)) && ok;
    ok = Outline(lookup, surface, area({indent, boxTop, size_.cx / 2 - dpi_ / 8, boxTop + dpi_}),
                 Cosmetic()) &&
         ok;
    ok = Fill(lookup, surface, area({size_.cx / 2 + dpi_ / 8, boxTop, right, boxTop + dpi_}),
              kGrey) &&
         ok;
    const ULONG colours[] = {kRed, kGreen, kBlue};
    LONG x = indent;
    for (ULONG colour : colours) {
        ok =
            Fill(lookup, surface, area({x, patchTop, x + square, patchTop + square}), colour) && ok;
        x += square + dpi_ / 8;
    }
    const POINTL triangle[3] = {at(x, patchTop + square), at(x + square / 2, patchTop),
                                at(x + square, patchTop + square)};
    return Polygon(lookup, surface, triangle, kYellow) && ok;
}

bool PageDrawing::Draw(const DdiLookup& lookup, SURFOBJ* surface, POINTL bandOrigin,
                       LONG bandRows) const {
    bool ok = DrawShapes(lookup, surface, bandOrigin);
    for (const TextRun& run : runs_) {
        // GDI leaves out the text that the band's clip removes whole.
        if (run.bounds.bottom > bandOrigin.y && run.bounds.top < bandOrigin.y + bandRows) {
            ok = DrawText(lookup, surface, run, bandOrigin) && ok;
        }
    }
    return ok;
}

} // namespace moltr::unidrv
