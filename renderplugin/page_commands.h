#pragma once
// The page-level commands: paper source, duplex and binding, copies, orientation and colour set-up.
#include <windows.h>
#include "renderplugin/command_output.h"
#include "renderplugin/settings_view.h"

namespace moltr::render {

// Ids 110-128.
HRESULT WritePaperSource(CommandOutput& out, const SettingsView& settings, DWORD id);
// Ids 304-306.
HRESULT WriteDuplex(CommandOutput& out, const SettingsView& settings, DWORD id);
// The copies of the public devmode, or 1 while the job prints manual duplex.
int JobCopies(const RenderState& state, const SettingsView& settings);
// Id 311: PCL XL PageCopies with the count, then EndPage.
HRESULT WritePclXlCopies(CommandOutput& out, int copies);
// The colour set-up after id 300, chosen by the model code.
HRESULT WriteModelColour(CommandOutput& out, const SettingsView& settings);
// Id 154 and the models 4-7.
HRESULT WriteColourBlocks(CommandOutput& out, const SettingsView& settings);

} // namespace moltr::render
