#pragma once
// The job's and the page's progress as the DDI hooks see it: the job's start with its page total
// and half-way page, each page's start and end, the switch to the back sides of a job that prints
// two-sided in two passes, the job's end, and the carry of a job into a reset PDEV.
#include <windows.h>
#include "renderplugin/render_state.h"

namespace moltr::render {

void StartJob(RenderState& state, DWORD jobId);
void StartPage(RenderState& state, SURFOBJ* surface);
HRESULT EndPage(RenderState& state);
// The document ends: the next one on this DC is a job of its own.
void EndJob(RenderState& state);
// ResetPDEV: the job goes on in `to`; `from` forgets it.
void CarryJob(RenderState& from, RenderState& to);

} // namespace moltr::render
