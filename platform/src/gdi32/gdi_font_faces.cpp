// Fonts from FreeType, found by fontconfig.
#include "src/gdi32/gdi_font_faces.h"
#include "sim/utf.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <mutex>
#include <numbers>
#include <string>
#include <tuple>

namespace moltr::platform {
namespace {

constexpr LONG kDefaultEm = 12;
constexpr LONG kMaxEm = 16384;
constexpr char kFallbackFamily[] = "DejaVu Sans";
// A realised font keeps the glyphs it drew, as GDI's glyph cache does, up to this many bytes of
// images: text drawn band by band draws the same glyphs at the same sub-pixel offsets again.
constexpr size_t kGlyphCacheBytes = 16u << 20;

// The Windows faces and the free faces drawn with the same metrics. Helvetica is a name Windows
// substitutes rather than a family it installs, so the screen does not list it.
struct FaceAlias {
    std::u16string_view windows;
    const char* free;
    bool listed;
};
constexpr FaceAlias kFaceAliases[] = {
    {u"Arial", "Liberation Sans", true},
    {u"Helvetica", "Liberation Sans", false},
    {u"Times New Roman", "Liberation Serif", true},
    {u"Courier New", "Liberation Mono", true},
};

// ASCII case folding, as face names compare.
bool SameName(std::u16string_view a, std::u16string_view b) {
    auto fold = [](char16_t c) { return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char16_t x, char16_t y) { return fold(x) == fold(y); });
}

// A character set per family, as the screen's enumeration reports it: ANSI when the face covers
// the Western letters, else the symbol set.
BYTE CharSetOf(FcPattern* font) {
    FcCharSet* characters = nullptr;
    if (FcPatternGetCharSet(font, FC_CHARSET, 0, &characters) != FcResultMatch) {
        return SYMBOL_CHARSET;
    }
    const bool western = FcCharSetHasChar(characters, 'A') && FcCharSetHasChar(characters, 'z') &&
                         FcCharSetHasChar(characters, 0xE9);
    return western ? ANSI_CHARSET : SYMBOL_CHARSET;
}

// The scalable TrueType families fontconfig has, by their first name, sorted and each once; read
// once per process, as the fonts of a session do not change.
const std::map<std::string, BYTE>& FreeFamilies() {
    static const std::map<std::string, BYTE>* families = [] {
        auto* found = new std::map<std::string, BYTE>;
        FcPattern* pattern = FcPatternCreate();
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        FcPatternAddString(pattern, FC_FONTFORMAT, reinterpret_cast<const FcChar8*>("TrueType"));
        FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_CHARSET, nullptr);
        FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
        for (int i = 0; fonts && i < fonts->nfont; ++i) {
            FcChar8* family = nullptr;
            if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch) {
                found->emplace(reinterpret_cast<const char*>(family), CharSetOf(fonts->fonts[i]));
            }
        }
        if (fonts) {
            FcFontSetDestroy(fonts);
        }
        FcObjectSetDestroy(objects);
        FcPatternDestroy(pattern);
        return found;
    }();
    return *families;
}

// The free family that draws `name`: its metric twin for a Windows face, the family itself when
// fontconfig has it, else the fallback.
std::string FamilyFor(std::u16string_view name) {
    for (const FaceAlias& alias : kFaceAliases) {
        if (SameName(alias.windows, name)) {
            return alias.free;
        }
    }
    for (const auto& [family, charSet] : FreeFamilies()) {
        if (SameName(sim::Utf16(family), name)) {
            return family;
        }
    }
    return kFallbackFamily;
}

// The process's FreeType library and the faces opened so far, by file and index. FreeType
// objects are not thread-safe; every use holds the lock.
struct FaceStore {
    std::mutex lock;
    FT_Library library = nullptr;
    std::map<std::pair<std::string, int>, FT_Face> faces;
};

FaceStore& Store() {
    // Never destroyed: fonts may be used while the process exits.
    static FaceStore* store = [] {
        auto* made = new FaceStore;
        if (FT_Init_FreeType(&made->library) != 0) {
            made->library = nullptr;
        }
        return made;
    }();
    return *store;
}

// The file of the face fontconfig matches for a family, weight and slant.
bool MatchFile(const char* family, bool bold, bool italic, std::string& file, int& index) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    FcChar8* path = nullptr;
    const bool found = match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch &&
                       FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch;
    if (found) {
        file = reinterpret_cast<const char*>(path);
    }
    if (match) {
        FcPatternDestroy(match);
    }
    return found;
}

FT_Face OpenFace(FaceStore& store, const std::string& file, int index) {
    auto found = store.faces.find({file, index});
    if (found != store.faces.end()) {
        return found->second;
    }
    FT_Face face = nullptr;
    if (!store.library || FT_New_Face(store.library, file.c_str(), index, &face) != 0) {
        return nullptr;
    }
    store.faces[{file, index}] = face;
    return face;
}

LONG Round(double value) {
    return static_cast<LONG>(std::lround(value));
}

class FreeTypeFont : public RealisedFont {
public:
    FreeTypeFont(FT_Face face, const LOGFONTW& font) : face_(face), font_(font) {
        const TT_OS2* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        const double units = face->units_per_EM;
        const double ascent = os2 ? os2->usWinAscent : face->ascender;
        const double descent = os2 ? os2->usWinDescent : -face->descender;
        // A positive height is the cell (ascent and descent), a negative one the em.
        double em = kDefaultEm;
        if (font.lfHeight > 0) {
            em = std::min<double>(font.lfHeight * units / (ascent + descent), kMaxEm);
        } else if (font.lfHeight < 0) {
            em = std::min<double>(-static_cast<double>(font.lfHeight), kMaxEm);
        }
        em_ = std::max<LONG>(1, Round(em));
        const double scale = em_ / units;
        metric_.tmAscent = Round(ascent * scale);
        metric_.tmDescent = Round(descent * scale);
        metric_.tmHeight = metric_.tmAscent + metric_.tmDescent;
        metric_.tmInternalLeading = std::max<LONG>(0, metric_.tmHeight - em_);
        const double lineGap = face->height - (ascent + descent);
        metric_.tmExternalLeading = std::max<LONG>(0, Round(lineGap * scale));
        metric_.tmAveCharWidth =
            std::max<LONG>(1, Round((os2 ? os2->xAvgCharWidth : units / 2) * scale));
        metric_.tmMaxCharWidth = std::max<LONG>(1, Round(face->max_advance_width * scale));
        metric_.tmWeight = font.lfWeight == FW_DONTCARE ? FW_NORMAL : font.lfWeight;
        metric_.tmDigitizedAspectX = 96;
        metric_.tmDigitizedAspectY = 96;
        metric_.tmFirstChar = 0x20;
        metric_.tmLastChar = 0xFFFC;
        metric_.tmDefaultChar = 0x1F;
        metric_.tmBreakChar = 0x20;
        metric_.tmItalic = font.lfItalic ? 0xFF : 0;
        metric_.tmUnderlined = font.lfUnderline ? 0xFF : 0;
        metric_.tmStruckOut = font.lfStrikeOut ? 0xFF : 0;
        // The pitch bit is set for variable pitch.
        metric_.tmPitchAndFamily = static_cast<BYTE>(
            (FT_IS_FIXED_WIDTH(face) ? 0 : TMPF_FIXED_PITCH) | TMPF_VECTOR | TMPF_TRUETYPE);
        metric_.tmCharSet = font.lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : font.lfCharSet;
        // A width asks for glyphs narrower or wider than the face's own average.
        widthEm_ = font.lfWidth > 0
                       ? std::max<LONG>(1, Round(em_ * static_cast<double>(font.lfWidth) /
                                                 metric_.tmAveCharWidth))
                       : em_;
        if (font.lfWidth > 0) {
            metric_.tmAveCharWidth = font.lfWidth;
        }
    }

    const TEXTMETRICW& Metric() const override { return metric_; }
    LONG Escapement() const override { return font_.lfEscapement; }

    LONG Advance(UINT code, bool glyphIndex) const override {
        std::lock_guard guard(Store().lock);
        const uint64_t key = (static_cast<uint64_t>(code) << 1) | (glyphIndex ? 1 : 0);
        auto known = advances_.find(key);
        if (known != advances_.end()) {
            return known->second;
        }
        if (!Load(code, glyphIndex, nullptr, 0, 0)) {
            return 0;
        }
        const auto advance = static_cast<LONG>((face_->glyph->advance.x + 32) >> 6);
        advances_.emplace(key, advance);
        return advance;
    }

    bool Render(UINT code, bool glyphIndex, LONG fractionX, LONG fractionY,
                GlyphImage& image) const override {
        std::lock_guard guard(Store().lock);
        const GlyphKey key = {code, glyphIndex, fractionX, fractionY};
        auto known = glyphs_.find(key);
        if (known != glyphs_.end()) {
            image = known->second;
            return true;
        }
        const double angle = font_.lfEscapement / 10.0 * std::numbers::pi / 180.0;
        FT_Matrix turn;
        turn.xx = static_cast<FT_Fixed>(std::lround(std::cos(angle) * 0x10000));
        turn.xy = static_cast<FT_Fixed>(std::lround(-std::sin(angle) * 0x10000));
        turn.yx = static_cast<FT_Fixed>(std::lround(std::sin(angle) * 0x10000));
        turn.yy = turn.xx;
        if (!Load(code, glyphIndex, &turn, fractionX, fractionY) ||
            FT_Render_Glyph(face_->glyph, FT_RENDER_MODE_MONO) != 0) {
            return false;
        }
        const FT_Bitmap& bitmap = face_->glyph->bitmap;
        image.left = face_->glyph->bitmap_left;
        image.top = face_->glyph->bitmap_top;
        image.width = static_cast<LONG>(bitmap.width);
        image.rows = static_cast<LONG>(bitmap.rows);
        image.pitch = static_cast<LONG>((bitmap.width + 7) / 8);
        image.bits.assign(static_cast<size_t>(image.pitch) * bitmap.rows, 0);
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            const BYTE* from = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
            std::copy(from, from + image.pitch, image.bits.begin() + row * image.pitch);
        }
        Keep(key, image);
        return true;
    }

private:
    using GlyphKey = std::tuple<UINT, bool, LONG, LONG>;

    // Keeps a drawn glyph; a full cache starts again rather than growing. The lock is held.
    void Keep(const GlyphKey& key, const GlyphImage& image) const {
        if (image.bits.size() > kGlyphCacheBytes) {
            return;
        }
        if (glyphBytes_ + image.bits.size() > kGlyphCacheBytes) {
            glyphs_.clear();
            glyphBytes_ = 0;
        }
        glyphs_.emplace(key, image);
        glyphBytes_ += image.bits.size();
    }

    // Loads a glyph at this font's size; the lock is held.
    bool Load(UINT code, bool glyphIndex, FT_Matrix* turn, LONG fractionX, LONG fractionY) const {
        if (FT_Set_Pixel_Sizes(face_, static_cast<FT_UInt>(widthEm_), static_cast<FT_UInt>(em_)) !=
            0) {
            return false;
        }
        FT_Vector delta = {fractionX, -fractionY};
        FT_Set_Transform(face_, turn, &delta);
        const FT_UInt index = glyphIndex ? code : FT_Get_Char_Index(face_, code);
        const bool loaded = FT_Load_Glyph(face_, index, FT_LOAD_TARGET_MONO) == 0;
        FT_Set_Transform(face_, nullptr, nullptr);
        return loaded;
    }

    FT_Face face_;
    LOGFONTW font_;
    TEXTMETRICW metric_{};
    LONG em_ = kDefaultEm;
    LONG widthEm_ = kDefaultEm;
    mutable std::map<uint64_t, LONG> advances_;
    mutable std::map<GlyphKey, GlyphImage> glyphs_;
    mutable size_t glyphBytes_ = 0;
};

} // namespace

std::unique_ptr<RealisedFont> RealiseFont(const LOGFONTW& font) {
    WCHAR name[LF_FACESIZE] = {};
    std::copy(font.lfFaceName, font.lfFaceName + LF_FACESIZE - 1, name);
    const std::string family = FamilyFor(reinterpret_cast<const char16_t*>(name));
    const bool bold = font.lfWeight >= FW_SEMIBOLD;
    std::string file;
    int index = 0;
    FaceStore& store = Store();
    std::lock_guard guard(store.lock);
    if (!MatchFile(family.c_str(), bold, font.lfItalic != 0, file, index)) {
        return nullptr;
    }
    FT_Face face = OpenFace(store, file, index);
    if (!face || !FT_IS_SCALABLE(face)) {
        return nullptr;
    }
    return std::make_unique<FreeTypeFont>(face, font);
}

std::vector<FontFamily> ScreenFontFamilies() {
    std::vector<FontFamily> families;
    const auto& free = FreeFamilies();
    for (const FaceAlias& alias : kFaceAliases) {
        auto twin = free.find(alias.free);
        if (alias.listed && twin != free.end()) {
            families.push_back({std::u16string(alias.windows), twin->second});
        }
    }
    for (const auto& [family, charSet] : free) {
        families.push_back({sim::Utf16(family), charSet});
    }
    return families;
}

std::vector<FontStyle> FamilyStyles(std::u16string_view name) {
    const std::string family = FamilyFor(name);
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcObjectSet* objects = FcObjectSetBuild(FC_WEIGHT, FC_SLANT, nullptr);
    FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
    std::vector<FontStyle> styles;
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        int weight = FC_WEIGHT_REGULAR;
        int slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(fonts->fonts[i], FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(fonts->fonts[i], FC_SLANT, 0, &slant);
        // Windows families have at most these four faces; the others draw as their nearest.
        const FontStyle style{weight >= FC_WEIGHT_DEMIBOLD, slant != FC_SLANT_ROMAN};
        if (weight >= FC_WEIGHT_BOOK && weight <= FC_WEIGHT_BOLD &&
            std::find(styles.begin(), styles.end(), style) == styles.end()) {
            styles.push_back(style);
        }
    }
    if (fonts) {
        FcFontSetDestroy(fonts);
    }
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    std::sort(styles.begin(), styles.end(), [](const FontStyle& a, const FontStyle& b) {
        return std::tie(a.italic, a.bold) < std::tie(b.italic, b.bold);
    });
    return styles;
}

LONG TextAdvance(const RealisedFont& font, std::u16string_view text) {
    int64_t width = 0;
    for (char16_t c : text) {
        width = std::min<int64_t>(width + font.Advance(c, false), INT32_MAX);
    }
    return static_cast<LONG>(width);
}

} // namespace moltr::platform
