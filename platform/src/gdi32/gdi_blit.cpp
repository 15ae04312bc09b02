// Raster operations: BitBlt and PatBlt with any ternary raster operation, FillRect. PatBlt and
// FillRect take logical coordinates; BitBlt copies pixel for pixel.
#include "src/gdi32/gdi_mapping.h"
#include "src/gdi32/gdi_objects.h"
#include "src/gdi32/gdi_pixels.h"
#include "src/gdi32/gdi_surface.h"

#include <windows.h>
#include <algorithm>
#include <vector>

using namespace moltr::platform;

namespace {

constexpr BYTE kPatternBits = 0xF0;
constexpr BYTE kSourceBits = 0xCC;

BYTE RopCode(DWORD rop) {
    return static_cast<BYTE>(rop >> 16);
}

// An operation reads an operand when its result changes with it.
bool UsesSource(BYTE code) {
    return ((code >> 2) ^ code) & 0x33;
}

bool UsesPattern(BYTE code) {
    return ((code >> 4) ^ code) & 0x0F;
}

// Bit i of the code is the result for pattern, source and destination bits (i >> 2, i >> 1, i)
// & 1; applied to every bit of the native values at once.
DWORD Apply(BYTE code, DWORD pattern, DWORD source, DWORD destination) {
    if (code == kSourceBits) {
        return source;
    }
    if (code == kPatternBits) {
        return pattern;
    }
    DWORD result = 0;
    for (int i = 0; i < 8; ++i) {
        if ((code >> i) & 1) {
            result |= (i & 4 ? pattern : ~pattern) & (i & 2 ? source : ~source) &
                      (i & 1 ? destination : ~destination);
        }
    }
    return result;
}

bool SameColours(const std::vector<RGBQUAD>& a, const std::vector<RGBQUAD>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](RGBQUAD x, RGBQUAD y) {
        return x.rgbRed == y.rgbRed && x.rgbGreen == y.rgbGreen && x.rgbBlue == y.rgbBlue;
    });
}

// How the source's pixels become the destination's: monochrome bitmaps map to and from the
// DCs' colours (0 the destination's text colour, 1 its background colour; into monochrome the
// source's background colour is white and every other colour black), others by colour.
class SourceReader {
public:
    SourceReader(const DcObject& sourceDc, const BitmapObject& source, const DcObject& targetDc,
                 const BitmapObject& target)
        : source_(source), target_(target) {
        if (IsMonochrome(source) && !IsMonochrome(target)) {
            zero_ = ValueOf(target, targetDc.state.textColour);
            one_ = ValueOf(target, targetDc.state.bkColour);
        }
        background_ = sourceDc.state.bkColour & 0x00FFFFFF;
    }

    DWORD Read(LONG x, LONG y) const {
        const DWORD value = ReadPixel(source_, x, y);
        if (IsMonochrome(source_) && !IsMonochrome(target_)) {
            return value ? one_ : zero_;
        }
        if (IsMonochrome(target_) && !IsMonochrome(source_)) {
            return ColourOf(source_, value) == background_ ? 1 : 0;
        }
        if (source_.bitsPixel == target_.bitsPixel &&
            SameColours(source_.colours, target_.colours)) {
            return value;
        }
        return ValueOf(target_, ColourOf(source_, value));
    }

private:
    const BitmapObject& source_;
    const BitmapObject& target_;
    DWORD zero_ = 0;
    DWORD one_ = 0;
    COLORREF background_ = 0;
};

struct Blit {
    RECT area{};    // in the destination
    POINT origin{}; // the source point of area's top left
    BYTE code = 0;
    DWORD pattern = 0;
};

// The source's pixels for the blit, read before any is written so that a bitmap may be blitted
// onto itself.
std::vector<DWORD> ReadSource(const SourceReader& reader, const BitmapObject& source, Blit& blit) {
    // Only what the source has is copied.
    const LONG dx = blit.origin.x - blit.area.left;
    const LONG dy = blit.origin.y - blit.area.top;
    blit.area.left = std::max(blit.area.left, -dx);
    blit.area.top = std::max(blit.area.top, -dy);
    blit.area.right = std::min(blit.area.right, source.width - dx);
    blit.area.bottom = std::min(blit.area.bottom, source.height - dy);
    blit.origin = {blit.area.left + dx, blit.area.top + dy};
    std::vector<DWORD> values;
    for (LONG y = blit.area.top; y < blit.area.bottom; ++y) {
        for (LONG x = blit.area.left; x < blit.area.right; ++x) {
            values.push_back(reader.Read(x + dx, y + dy));
        }
    }
    return values;
}

void Run(DrawTarget& target, const Blit& blit, const std::vector<DWORD>* source) {
    const DWORD mask = ValueMask(*target.bitmap);
    const LONG width = blit.area.right - blit.area.left;
    ForEachSpan(target, blit.area, [&](LONG left, LONG right, LONG y) {
        for (LONG x = left; x < right; ++x) {
            const DWORD s = source ? (*source)[static_cast<size_t>((y - blit.area.top) * width +
                                                                   (x - blit.area.left))]
                                   : 0;
            const DWORD d = ReadPixel(*target.bitmap, x, y);
            WritePixel(*target.bitmap, x, y, Apply(blit.code, blit.pattern, s, d) & mask);
        }
    });
}

// The pattern of the DC's brush; false when the operation needs it and there is none.
bool PatternOf(const DrawTarget& target, HBRUSH brush, Blit& blit) {
    COLORREF colour = 0;
    if (!UsesPattern(blit.code)) {
        return true;
    }
    if (!BrushColour(brush, colour)) {
        return false;
    }
    blit.pattern = ValueOf(*target.bitmap, colour);
    return true;
}

BOOL PaintWithBrush(HDC hdc, const RECT& area, DWORD rop, HBRUSH brush) {
    std::lock_guard guard(GdiLock());
    DrawTarget target;
    if (!TargetOf(hdc, target)) {
        return FALSE;
    }
    if (!brush) {
        brush = target.dc->state.brush;
    }
    Blit blit;
    blit.area = ToDeviceRect(target.dc->state, area);
    blit.code = RopCode(rop);
    if (UsesSource(blit.code)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!target.bitmap || !PatternOf(target, brush, blit)) {
        return TRUE;
    }
    Run(target, blit, nullptr);
    return TRUE;
}

} // namespace

extern "C" {

BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
    const BYTE code = RopCode(rop);
    if (!UsesSource(code)) {
        return PatBlt(hdc, x, y, cx, cy, rop);
    }
    std::lock_guard guard(GdiLock());
    DrawTarget target;
    DrawTarget source;
    if (!TargetOf(hdc, target) || !TargetOf(hdcSrc, source)) {
        return FALSE;
    }
    if (!target.bitmap || !source.bitmap || cx <= 0 || cy <= 0) {
        return TRUE;
    }
    Blit blit;
    blit.area = {x, y, x + cx, y + cy};
    blit.origin = {x1, y1};
    blit.code = code;
    if (!PatternOf(target, target.dc->state.brush, blit)) {
        return TRUE;
    }
    const SourceReader reader(*source.dc, *source.bitmap, *target.dc, *target.bitmap);
    const std::vector<DWORD> pixels = ReadSource(reader, *source.bitmap, blit);
    Run(target, blit, &pixels);
    return TRUE;
}

BOOL WINAPI PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
    // A negative extent reaches to the left of or above the point.
    const RECT area = {std::min(x, x + w), std::min(y, y + h), std::max(x, x + w),
                       std::max(y, y + h)};
    return PaintWithBrush(hdc, area, rop, nullptr);
}

int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
    if (!lprc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    {
        std::lock_guard guard(GdiLock());
        if (!FindBrush(hbr)) {
            SetLastError(ERROR_INVALID_HANDLE);
            return 0;
        }
    }
    return PaintWithBrush(hDC, *lprc, PATCOPY, hbr);
}
}
