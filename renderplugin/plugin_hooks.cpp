#include "renderplugin/plugin_hooks.h"

#include "renderplugin/command_callback.h"
#include "renderplugin/command_output.h"
#include "renderplugin/cosmetic_lines.h"
#include "renderplugin/devmode_override.h"
#include "renderplugin/page_commands.h"
#include "renderplugin/page_sides.h"

namespace moltr::render {

namespace {

// StretchBlt and StretchBltROP go to the driver unchanged.
HRESULT LeaveToDriver(RenderState&, void*) {
    return E_NOTIMPL;
}

constexpr size_t kBeforeStretchBlt = 16;
constexpr size_t kBeforeStretchBltROP = 17;
constexpr size_t kBeforeStrokePath = 19;

} // namespace

PluginHooks MakePluginHooks() {
    PluginHooks hooks = {};
    hooks.devMode = OverrideDevMode;
    hooks.commandCallback = RunCommandCallback;
    hooks.emitCommand = EmitCommand;
    hooks.pageSide = WritePageSide;
    hooks.before[kBeforeStretchBlt] = LeaveToDriver;
    hooks.before[kBeforeStretchBltROP] = LeaveToDriver;
    hooks.before[kBeforeStrokePath] = WidenCosmeticLine;
    return hooks;
}

} // namespace moltr::render
