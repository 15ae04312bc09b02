// ExtFloodFill: filling the area around a point with the DC's brush, bounded by a colour.
#include "src/gdi32/gdi_objects.h"
#include "src/gdi32/gdi_pixels.h"
#include "src/gdi32/gdi_surface.h"

#include <windows.h>
#include <vector>

using namespace moltr::platform;

namespace {

// Scans the area row by row from a stack of seeds, so that large areas need no deep recursion.
class FloodFill {
public:
    FloodFill(DrawTarget& target, DWORD colour, bool surface)
        : target_(target), bitmap_(*target.bitmap), colour_(colour), surface_(surface),
          filled_(static_cast<size_t>(bitmap_.width) * static_cast<size_t>(bitmap_.height)) {}

    bool Inside(LONG x, LONG y) const {
        if (!Visible(target_, x, y) || filled_[Index(x, y)]) {
            return false;
        }
        const bool same = ReadPixel(bitmap_, x, y) == colour_;
        return surface_ ? same : !same;
    }

    // Marks the area and paints it with `paint` afterwards, so the fill cannot meet itself.
    void Fill(LONG x, LONG y, DWORD paint) {
        std::vector<POINT> seeds{{x, y}};
        std::vector<RECT> runs;
        while (!seeds.empty()) {
            const POINT seed = seeds.back();
            seeds.pop_back();
            if (!Inside(seed.x, seed.y)) {
                continue;
            }
            LONG left = seed.x;
            LONG right = seed.x;
            while (Inside(left - 1, seed.y)) {
                --left;
            }
            while (Inside(right + 1, seed.y)) {
                ++right;
            }
            for (LONG i = left; i <= right; ++i) {
                filled_[Index(i, seed.y)] = true;
                seeds.push_back({i, seed.y - 1});
                seeds.push_back({i, seed.y + 1});
            }
            runs.push_back({left, seed.y, right + 1, seed.y + 1});
        }
        for (const RECT& run : runs) {
            for (LONG i = run.left; i < run.right; ++i) {
                WritePixel(bitmap_, i, run.top, paint);
            }
        }
    }

private:
    size_t Index(LONG x, LONG y) const {
        return static_cast<size_t>(y) * static_cast<size_t>(bitmap_.width) + static_cast<size_t>(x);
    }

    const DrawTarget& target_;
    BitmapObject& bitmap_;
    DWORD colour_;
    bool surface_;
    std::vector<bool> filled_;
};

} // namespace

extern "C" BOOL WINAPI ExtFloodFill(HDC hdc, int x, int y, COLORREF color, UINT type) {
    if (type != FLOODFILLSURFACE && type != FLOODFILLBORDER) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard guard(GdiLock());
    DrawTarget target;
    COLORREF paint = 0;
    if (!TargetOf(hdc, target) || !target.bitmap || !BrushColour(target.dc->state.brush, paint)) {
        return FALSE;
    }
    // The colour is compared as the bitmap holds it: the nearest its format has.
    FloodFill fill(target, ValueOf(*target.bitmap, color & 0x00FFFFFF), type == FLOODFILLSURFACE);
    // A start point outside the area (or outside the clip) fills nothing.
    if (!fill.Inside(x, y)) {
        return FALSE;
    }
    fill.Fill(x, y, ValueOf(*target.bitmap, paint));
    return TRUE;
}
