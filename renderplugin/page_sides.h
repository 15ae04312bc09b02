#pragma once
// The page-side commands: the orientation of front and back sides, and the switch to the manual
// feed half-way through a job that prints two-sided in two passes.
#include <windows.h>
#include "renderplugin/command_output.h"
#include "renderplugin/settings_view.h"

namespace moltr::render {

// The page-side entry's code for the switch to the back sides.
inline constexpr DWORD kBackSidesCode = 100;

// The orientation command of id 300 for the side the next page prints on.
HRESULT WriteOrientation(CommandOutput& out, const SettingsView& settings);

// The page-side entry of the hooks: code 100 switches to the back sides (manual feed, their
// orientation and, in PCL 5, the page size); codes 101-104 write the orientation resources.
HRESULT WritePageSide(RenderState& state, DWORD code);

} // namespace moltr::render
