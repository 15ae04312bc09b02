#pragma once
// The universal driver's renderer for one spooled job, as the spooler's print processor drives it:
// the printer's render plug-in loaded and asked for its devmode, the PDEV enabled from the GPD,
// the document started, each page drawn through the hooked DDI functions and banded into the GPD's
// raster commands, the document ended and the plug-in released. The stream is what the printer's
// port receives.
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

namespace moltr::unidrv {

struct RenderJobRequest {
    // An open handle of the job's printer.
    HANDLE printer = nullptr;
    // The spooler's id of the job (GetJobW answers it while the job renders); DrvStartDoc gets it.
    DWORD jobId = 0;
    LPCWSTR documentName = nullptr;
    // The job's devmode; null for the printer's default.
    const DEVMODEW* devmode = nullptr;
    // Pages the application drew.
    DWORD pages = 1;
    // Called after each page is sent to the printer, with the count of pages sent so far; false
    // stops the job (a job deleted while it prints) after its document is ended.
    std::function<bool(DWORD pagesSent)> pageSent;
};

struct RenderJobResult {
    // S_OK, or the first failure (loading the plug-in, a devmode the driver refuses, a DDI call
    // that answered FALSE) as an HRESULT.
    HRESULT result = E_FAIL;
    // What went wrong, for a failure the HRESULT does not say enough about (the GPD's error
    // with its file and line); empty otherwise.
    std::string error;
    std::vector<BYTE> stream;
    // Every CommandCallback id the renderer called, in order.
    std::vector<DWORD> callbackIds;
    DWORD pagesSent = 0;
};

RenderJobResult RenderJob(const RenderJobRequest& request);

// The whole devmode of a job that brings none, as RenderJob settles it: the GPD's default
// options in the public part, then the driver's private part and the render plug-in's default
// private part (see driver_devmode.h), for a caller that changes fields before it spools the
// job. The failures of RenderJob's first steps, with `error` set where RenderJobResult's is.
HRESULT DefaultJobDevmode(HANDLE printer, std::vector<BYTE>* devmode, std::string* error);

} // namespace moltr::unidrv
