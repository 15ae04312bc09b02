#pragma once
// Regions as lists of disjoint rectangles (right and bottom exclusive) and the set operations of
// CombineRgn on them.
#include <windows.h>
#include <vector>

namespace moltr::platform {

using RectList = std::vector<RECT>;

// The non-empty part of `rect` as a list of none or one rectangle.
RectList RectRegion(const RECT& rect);
// RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF or RGN_COPY of `a` and `b` (RGN_COPY takes `a`).
RectList CombineRects(const RectList& a, const RectList& b, int mode);
// NULLREGION, SIMPLEREGION or COMPLEXREGION.
int RegionKind(const RectList& rects);
// The smallest rectangle holding every one; all zero for none.
RECT RegionBounds(const RectList& rects);
bool RegionHolds(const RectList& rects, LONG x, LONG y);

} // namespace moltr::platform
