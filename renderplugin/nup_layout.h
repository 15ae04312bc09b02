#pragma once
// The N-up and booklet imposition that the sheets already carry, mirrored as a cell table: which
// cells a sheet has, where their centres lie, and the factor that sizes the watermark.
#include <windows.h>
#include "renderplugin/render_state.h"
#include "renderplugin/settings_view.h"

namespace moltr::render {

// The N-up count of a _NUP_PAGES index; 1 for an index without one.
DWORD NupCount(DWORD index);

// The cells of `count` pages per sheet on a page of `width` by `height` pixels.
CellTable LayOutCells(DWORD count, bool landscape, ULONG width, ULONG height);

// Renews the job's layout from its devmodes: counts, flags, cell table, scale; clears the edge
// markers.
void ComputeLayout(RenderState& state, const SettingsView& settings);

// Whether the printer prints two-sided jobs in two passes.
bool PrintsManualDuplex(const SettingsView& settings);

} // namespace moltr::render
