#pragma once
// The universal driver's device for one job: its PDEV (beginning with the DEVOBJ the plug-in
// receives), the banded surface, and the driver's own DDI entry points that the plug-in's hooks
// call on: the document and page commands of the GPD's job sections, the bands through the
// plug-in's ImageProcessing into the raster output (and to the sheet pictures, when asked for),
// and drawing on the band (job_device_drawing.h).
#include <windows.h>
#include <prcomoem.h>
#include <winddi.h>
#include <memory>
#include "src/unidrv/band_surface.h"
#include "src/unidrv/device_geometry.h"
#include "src/unidrv/driver_commands.h"
#include "src/unidrv/raster_output.h"
#include "src/unidrv/sheet_pictures.h"

namespace moltr::unidrv {

class JobDevice;

// The driver's PDEV: the plug-in reaches its RenderState through the DEVOBJ at its start.
struct DriverPdev {
    DEVOBJ devobj;
    JobDevice* device;
};

struct JobDeviceSetup {
    const GpdModel* model;
    const GpdConfiguration* configuration;
    DeviceGeometry geometry;
    IPrintOemUni* plugin;
    bool imageProcessing; // the plug-in implements ImageProcessing
    bool pclXl;
    bool compress;
    bool landscape;
    HANDLE printer;
    PDEVMODEW publicDevmode;
    void* pluginDevmode;
    DWORD copies;
    // Null unless the job's sheets are to be kept as pictures.
    SheetSink* sheets;
};

class JobDevice {
public:
    JobDevice(const JobDeviceSetup& setup, std::vector<BYTE>* output,
              std::vector<DWORD>* callbackIds);
    JobDevice(const JobDevice&) = delete;
    JobDevice& operator=(const JobDevice&) = delete;

    DriverPdev& pdev() { return pdev_; }
    SURFOBJ* surface() { return &surface_; }
    // The first failure of a driver entry point, S_OK while there was none.
    HRESULT failure() const { return failure_; }

    // The driver's own DDI functions, for the plug-in's EnablePDEV.
    static DRVENABLEDATA DriverTable();
    // The device whose surface this is; null for another one.
    static JobDevice* OfSurface(SURFOBJ* surface);

    BOOL StartDoc();
    BOOL StartPage();
    BOOL StartBanding(POINTL* origin);
    BOOL NextBand(POINTL* origin);
    BOOL SendPage();
    BOOL EndDoc();
    BandSurface& band() { return band_; }

private:
    BOOL Check(HRESULT result);
    HRESULT ProcessBand();

    JobDeviceSetup setup_;
    DriverPdev pdev_ = {};
    DriverCommands commands_;
    BandSurface band_;
    std::unique_ptr<RasterOutput> raster_;
    SURFOBJ surface_ = {};
    bool jobStarted_ = false;
    HRESULT failure_ = S_OK;
};

} // namespace moltr::unidrv
