#pragma once
// Realised fonts: the FreeType face that fontconfig finds for a logical font, at the logical
// font's size and angle, with the text metric and the glyphs GDI draws. The usual Windows faces
// map to their metric-compatible free ones; any other name gets DejaVu Sans.
#include <windows.h>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace moltr::platform {

// One glyph as a 1-bit image (1 is ink, rows padded to bytes, top row first), placed relative to
// the pen position where it is drawn: `left` pixels right and `top` pixels above.
struct GlyphImage {
    LONG left = 0;
    LONG top = 0;
    LONG width = 0;
    LONG rows = 0;
    LONG pitch = 0;
    std::vector<BYTE> bits;
};

class RealisedFont {
public:
    virtual ~RealisedFont() = default;
    virtual const TEXTMETRICW& Metric() const = 0;
    // The advance of one character (or glyph index) along the baseline, in whole pixels.
    virtual LONG Advance(UINT code, bool glyphIndex) const = 0;
    // The glyph turned by the font's escapement, with the pen at (`fractionX`, `fractionY`)
    // 1/64 pixels into its pixel; false when the face cannot draw it.
    virtual bool Render(UINT code, bool glyphIndex, LONG fractionX, LONG fractionY,
                        GlyphImage& image) const = 0;
    // The escapement in tenths of a degree counter-clockwise, as asked.
    virtual LONG Escapement() const = 0;
};

// A font family the screen offers, under the name applications know it by.
struct FontFamily {
    std::u16string name;
    BYTE charSet;
};

// The TrueType families of the screen: the usual Windows faces whose metric twins are installed,
// then the installed families themselves, in name order.
std::vector<FontFamily> ScreenFontFamilies();

struct FontStyle {
    bool bold;
    bool italic;
    bool operator==(const FontStyle&) const = default;
};

// The faces of the family that draws `name`: regular, bold, italic, bold italic, as installed.
std::vector<FontStyle> FamilyStyles(std::u16string_view name);

// Null when no face can be had (no fonts installed); the font is the caller's.
std::unique_ptr<RealisedFont> RealiseFont(const LOGFONTW& font);

// The sum of the advances of `text`, saturating at the largest LONG.
LONG TextAdvance(const RealisedFont& font, std::u16string_view text);

} // namespace moltr::platform
