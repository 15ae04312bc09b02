#pragma once
// The job-control part of the stream: the EJL and PJL job headers with job retention, and the end
// of the job.
#include <windows.h>
#include "renderplugin/command_output.h"
#include "renderplugin/settings_view.h"

namespace moltr::render {

// Callback 302.
HRESULT WriteEjlJobHeader(CommandOutput& out, const SettingsView& settings);
// Callback 303.
HRESULT WritePjlJobHeader(CommandOutput& out, const SettingsView& settings);
// Callback 450.
HRESULT WriteEndOfJob(CommandOutput& out);

} // namespace moltr::render
