#include "renderplugin/edge_markers.h"

#include <algorithm>

namespace moltr::render {

namespace {

constexpr size_t kOccupiedEdges = 3;

// Whether `value` lies strictly between the two ends, in either order.
bool StrictlyBetween(LONG value, LONG end1, LONG end2) {
    return std::min(end1, end2) < value && value < std::max(end1, end2);
}

void Mark(RenderState& state, size_t cell, Edge edge) {
    state.edges[cell][static_cast<size_t>(edge)] = true;
}

size_t CellCount(const RenderState& state) {
    return std::min<size_t>(state.nupCount, kMaxCells);
}

} // namespace

void MarkEdges(RenderState& state, LONG x1, LONG y1, LONG x2, LONG y2) {
    if (state.nupCount <= 1) {
        return;
    }
    x1 += state.bandOrigin.x;
    x2 += state.bandOrigin.x;
    y1 += state.bandOrigin.y;
    y2 += state.bandOrigin.y;
    for (size_t cell = 0; cell < CellCount(state); ++cell) {
        const POINTL& centre = state.cells.centre[cell];
        if (x1 == x2 && StrictlyBetween(centre.y, y1, y2)) {
            Mark(state, cell, x1 < centre.x ? Edge::Left : Edge::Right);
        } else if (y1 == y2 && StrictlyBetween(centre.x, x1, x2)) {
            Mark(state, cell, y1 < centre.y ? Edge::Top : Edge::Bottom);
        }
    }
}

bool CellOccupied(const RenderState& state, size_t cell) {
    if (cell >= kMaxCells) {
        return false;
    }
    const bool* edges = state.edges[cell];
    return static_cast<size_t>(std::count(edges, edges + kEdgeCount, true)) >= kOccupiedEdges;
}

} // namespace moltr::render
