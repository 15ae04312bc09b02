#pragma once
// The edge markers of the N-up cells: the page borders that the imposition draws with DrvLineTo
// tell an occupied cell from an empty one.
#include <windows.h>
#include "renderplugin/render_state.h"

namespace moltr::render {

// Marks the cell edges that the line from (x1, y1) to (x2, y2) (band coordinates) draws.
void MarkEdges(RenderState& state, LONG x1, LONG y1, LONG x2, LONG y2);

// A cell with at least three of its edges drawn holds a page.
bool CellOccupied(const RenderState& state, size_t cell);

} // namespace moltr::render
