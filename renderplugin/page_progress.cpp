#include "renderplugin/page_progress.h"

#include "renderplugin/job_records.h"
#include "renderplugin/nup_layout.h"
#include "renderplugin/page_sides.h"
#include "renderplugin/settings_view.h"

namespace moltr::render {

namespace {

SettingsView SettingsOf(const RenderState& state) {
    return SettingsView(state.settings, state.privateDevMode);
}

// The spooler's page count of the job; 0 while it is not known.
DWORD ReadTotalPages(const RenderState& state) {
    JobRecords records;
    if (!records.ReadJob(state)) {
        return 0;
    }
    const JOB_INFO_2W& job = records.job();
    return job.pDevMode != nullptr && job.pDevMode->dmSize != 0 ? job.TotalPages : 0;
}

// The page after which the back sides follow. The print processor replays each page once per
// copy when the printer is told to make one, so the fronts of a manual two-sided job count so.
void ComputeHalfPage(RenderState& state, const SettingsView& settings) {
    state.halfPage = 0;
    if (state.publicDevMode == nullptr || state.publicDevMode->dmDuplex == DMDUP_SIMPLEX) {
        return;
    }
    state.halfPage = (state.totalPages + 1) / 2;
    if (state.halfPage < state.totalPages && PrintsManualDuplex(settings)) {
        state.halfPage *= state.copies;
    }
}

} // namespace

void StartJob(RenderState& state, DWORD jobId) {
    // A document of a job already under way (or carried into this PDEV) keeps its records.
    if (state.jobId != 0) {
        return;
    }
    SettingsView settings = SettingsOf(state);
    state.jobId = jobId;
    ComputeLayout(state, settings);
    state.totalPages = ReadTotalPages(state);
    state.pageCount = 0;
    ComputeHalfPage(state, settings);
}

void StartPage(RenderState& state, SURFOBJ* surface) {
    if ((state.deviceFlags & kDeviceRasterMode) != 0) {
        state.surface = surface;
    }
    ComputeLayout(state, SettingsOf(state));
    ForgetPageStamps(state);
}

HRESULT EndPage(RenderState& state) {
    ForgetPageStamps(state);
    ++state.pageCount;
    bool halfWay = (state.jobFlags & kJobManualDuplex) != 0 && state.totalPages != 0 &&
                   state.halfPage != 0 && state.halfPage == state.pageCount;
    PageSideHook pageSide = state.hooks != nullptr ? state.hooks->pageSide : nullptr;
    return halfWay && pageSide != nullptr ? pageSide(state, kBackSidesCode) : S_OK;
}

void EndJob(RenderState& state) {
    ForgetPageStamps(state);
    state.jobId = 0;
    state.pageCount = 0;
    state.totalPages = 0;
    state.halfPage = 0;
    state.jobFlags = 0;
}

void CarryJob(RenderState& from, RenderState& to) {
    to.jobId = from.jobId;
    to.pageCount = from.pageCount;
    to.totalPages = from.totalPages;
    from.jobId = 0;
    from.pageCount = 0;
    from.totalPages = 0;
    ForgetPageStamps(from);
    ComputeLayout(to, SettingsOf(to));
    ComputeHalfPage(to, SettingsOf(to));
}

} // namespace moltr::render
