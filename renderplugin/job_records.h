#pragma once
// What the job header reads about the job: the spooler's record of the current job, the driver's
// name, the model code of the printer's driver and the system's version.
#include <windows.h>
#include <winspool.h>
#include <memory>
#include "renderplugin/render_state.h"

namespace moltr::render {

// The model code of the printer's driver (0 for a driver outside the family); false when the
// printer cannot be opened or read.
bool LookUpModelCode(const RenderState& state, DWORD* modelCode);

class JobRecords {
public:
    // Reads the job (by the state's job id) and the driver; false when either cannot be read.
    bool Read(const RenderState& state);
    // Reads only the job.
    bool ReadJob(const RenderState& state);

    const JOB_INFO_2W& job() const { return *reinterpret_cast<const JOB_INFO_2W*>(job_.get()); }
    LPCWSTR driverName() const;

private:
    std::unique_ptr<BYTE[]> job_;
    std::unique_ptr<BYTE[]> driver_;
};

// "Windows NT 6.01 (Service Pack 1)"-style fields: major, minor and service-pack text.
struct SystemVersion {
    DWORD major = 0;
    DWORD minor = 0;
    WCHAR servicePack[128] = {};
};
SystemVersion ReadSystemVersion();

} // namespace moltr::render
