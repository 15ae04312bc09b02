#pragma once
// The shared render heap: one private heap per process for the PDEVs' geometry copies, created by
// the first PDEV and destroyed with the last, under one process-wide critical section.
#include <windows.h>

namespace moltr::render {

// Adds one user, creating the heap for the first; false when it cannot be created.
bool AcquireRenderHeap();
// Drops one user, destroying the heap with the last.
void ReleaseRenderHeap();
// A zero-filled block of the heap (which must have a user); null on failure.
void* RenderHeapAlloc(size_t size);
void RenderHeapFree(void* block);

} // namespace moltr::render
