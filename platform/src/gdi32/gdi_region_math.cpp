// The set operations on regions. Each keeps the rectangles disjoint: intersections of disjoint
// pieces are disjoint, and a difference splits a piece into at most four around the cut.
#include "src/gdi32/gdi_region_math.h"

#include <algorithm>

namespace moltr::platform {
namespace {

bool Empty(const RECT& rect) {
    return rect.left >= rect.right || rect.top >= rect.bottom;
}

RECT Overlap(const RECT& a, const RECT& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

void AddIfAny(RectList& list, const RECT& rect) {
    if (!Empty(rect)) {
        list.push_back(rect);
    }
}

RectList Intersect(const RectList& a, const RectList& b) {
    RectList result;
    for (const RECT& left : a) {
        for (const RECT& right : b) {
            AddIfAny(result, Overlap(left, right));
        }
    }
    return result;
}

// `piece` less `cut`: the bands above and below the cut, and the parts beside it.
void Cut(const RECT& piece, const RECT& cut, RectList& out) {
    const RECT middle = Overlap(piece, cut);
    if (Empty(middle)) {
        out.push_back(piece);
        return;
    }
    AddIfAny(out, {piece.left, piece.top, piece.right, middle.top});
    AddIfAny(out, {piece.left, middle.bottom, piece.right, piece.bottom});
    AddIfAny(out, {piece.left, middle.top, middle.left, middle.bottom});
    AddIfAny(out, {middle.right, middle.top, piece.right, middle.bottom});
}

RectList Subtract(const RectList& a, const RectList& b) {
    RectList result = a;
    for (const RECT& cut : b) {
        RectList next;
        for (const RECT& piece : result) {
            Cut(piece, cut, next);
        }
        result = std::move(next);
    }
    return result;
}

RectList Join(RectList a, const RectList& b) {
    const RectList extra = Subtract(b, a);
    a.insert(a.end(), extra.begin(), extra.end());
    return a;
}

} // namespace

RectList RectRegion(const RECT& rect) {
    RectList list;
    AddIfAny(list, rect);
    return list;
}

RectList CombineRects(const RectList& a, const RectList& b, int mode) {
    switch (mode) {
    case RGN_AND:
        return Intersect(a, b);
    case RGN_OR:
        return Join(a, b);
    case RGN_XOR:
        return Join(Subtract(a, b), Subtract(b, a));
    case RGN_DIFF:
        return Subtract(a, b);
    default:
        return a;
    }
}

int RegionKind(const RectList& rects) {
    if (rects.empty()) {
        return NULLREGION;
    }
    const RECT bounds = RegionBounds(rects);
    int64_t area = 0;
    for (const RECT& rect : rects) {
        area += static_cast<int64_t>(rect.right - rect.left) * (rect.bottom - rect.top);
    }
    // Disjoint pieces that fill their bounds make one rectangle.
    return area == static_cast<int64_t>(bounds.right - bounds.left) * (bounds.bottom - bounds.top)
               ? SIMPLEREGION
               : COMPLEXREGION;
}

RECT RegionBounds(const RectList& rects) {
    if (rects.empty()) {
        return {};
    }
    RECT bounds = rects.front();
    for (const RECT& rect : rects) {
        bounds = {std::min(bounds.left, rect.left), std::min(bounds.top, rect.top),
                  std::max(bounds.right, rect.right), std::max(bounds.bottom, rect.bottom)};
    }
    return bounds;
}

bool RegionHolds(const RectList& rects, LONG x, LONG y) {
    return std::any_of(rects.begin(), rects.end(), [&](const RECT& rect) {
        return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
    });
}

} // namespace moltr::platform
