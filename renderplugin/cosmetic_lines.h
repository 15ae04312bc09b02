#pragma once
// The widening of one-pixel cosmetic lines at resolutions above 300 dpi in PCL 5, where they
// would print too thin to see.
#include <windows.h>
#include <tuple>
#include "renderplugin/render_state.h"

namespace moltr::render {

// DrvStrokePath's arguments as its "before" entry receives them.
using StrokePathArguments = std::tuple<SURFOBJ*&, PATHOBJ*&, CLIPOBJ*&, XFORMOBJ*&, BRUSHOBJ*&,
                                       POINTL*&, LINEATTRS*&, MIX&>;

// The "before" entry of DrvStrokePath: hands the driver a widened copy of GDI's line attributes
// and leaves the call to it.
HRESULT WidenCosmeticLine(RenderState& state, void* arguments);

} // namespace moltr::render
