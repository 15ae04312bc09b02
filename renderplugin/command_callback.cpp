#include "renderplugin/command_callback.h"

#include "renderplugin/job_header.h"
#include "renderplugin/page_commands.h"
#include "renderplugin/page_sides.h"
#include "renderplugin/pdl_family.h"

namespace moltr::render {

namespace {

// Callback ids that share one handling.
bool IsPaperSource(DWORD id) {
    return (id >= 110 && id <= 118) || (id >= 120 && id <= 128);
}

HRESULT RunCommand(CommandOutput& out, const SettingsView& settings, DWORD id) {
    RenderState& state = out.state();
    if (IsPaperSource(id)) {
        return WritePaperSource(out, settings, id);
    }
    switch (id) {
    case 302:
        return WriteEjlJobHeader(out, settings);
    case 303:
        return WritePjlJobHeader(out, settings);
    case 450:
        return WriteEndOfJob(out);
    case 208:
    case 219:
    case 272:
    case 273:
        return out.ResourceNumber(id, JobCopies(state, settings));
    case 209:
    case 274:
        return out.ResourceNumber(id, 1);
    case 300: {
        HRESULT result = WriteOrientation(out, settings);
        return SUCCEEDED(result) ? WriteModelColour(out, settings) : result;
    }
    case 304:
    case 305:
    case 306:
        return WriteDuplex(out, settings, id);
    case 308:
        return out.ResourceNumber(313, 1);
    case 309:
        return out.ResourceNumber(313, JobCopies(state, settings));
    case 311:
        return WritePclXlCopies(out, JobCopies(state, settings));
    case 154:
        return WriteColourBlocks(out, settings);
    default:
        return out.Resource(id);
    }
}

} // namespace

HRESULT RunCommandCallback(PDEVOBJ devobj, DWORD id, DWORD, PDWORD, INT* result) {
    if (result != nullptr) {
        *result = 0;
    }
    RenderState* state = StateOf(devobj);
    if (state == nullptr) {
        return E_FAIL;
    }
    SettingsView settings(state->settings, state->privateDevMode);
    if (settings.Printer(L"_DEVICETYPE") == 0 ||
        (!IsPcl5(state->pdlType) && !IsPclXl(state->pdlType))) {
        return E_FAIL;
    }
    CommandOutput out(*state);
    return RunCommand(out, settings, id);
}

} // namespace moltr::render
