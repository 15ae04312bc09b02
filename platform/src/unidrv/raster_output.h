#pragma once
// What the driver writes of a page's raster, band by band, in the printer's language: PCL 5
// raster graphics (Pcl5Raster) or PCL XL images (PclXlRaster). Rows that are white all through
// are skipped, so that a mostly blank page costs little.
#include <windows.h>
#include <memory>
#include "src/unidrv/band_surface.h"
#include "src/unidrv/device_geometry.h"
#include "src/unidrv/driver_commands.h"
#include "src/unidrv/pclxl_stream.h"

namespace moltr::unidrv {

class RasterOutput {
public:
    virtual ~RasterOutput() = default;
    // After the document's set-up commands.
    virtual HRESULT StartDocument() = 0;
    // After the page's set-up commands.
    virtual HRESULT StartPage() = 0;
    // The rows of the current band of `band`, from `bits` (the band, or what the plug-in's
    // ImageProcessing made of it).
    virtual HRESULT Band(const BandSurface& band, const BYTE* bits) = 0;
    // Ends what the bands began; before the page's finishing commands.
    virtual HRESULT EndRaster() = 0;
    // After the page's finishing commands.
    virtual HRESULT EndPage() = 0;
    // After the document's finishing commands, before the job's.
    virtual HRESULT EndDocument() = 0;
};

// PCL 5: each run of rows that are not white is a raster block at the row's cursor position
// (CmdYMoveAbsolute, CmdXMoveAbsolute, CmdSetSrcBmpWidth, CmdBeginRaster, the rows,
// CmdEndRaster); rows are run-length encoded when `compress`; colour rows go as red, green and
// blue planes of one bit (the GPD's simple colour mode), grey rows as one bit by an ordered
// dither; the page ends with a form feed.
std::unique_ptr<RasterOutput> MakePcl5Raster(DriverCommands* commands,
                                             const DeviceGeometry& geometry, bool compress);

// PCL XL: each run of rows that are not white is an image at its row (SetCursor, BeginImage,
// ReadImage with the rows PackBits-encoded, EndImage), of 8-bit RGB, 8-bit grey or 1-bit pixels.
// The stream header, the session, the data source and the page are the GPD's and the plug-in's
// commands; what they leave out the driver supplies from what it read of the stream: the header and
// session after the document's set-up commands, the page (with the job's orientation and paper
// size) after the page's, the end of the page after its finishing commands, and the end of the
// session after the document's when the job's finishing commands do not call back the plug-in
// (whose end of job closes it).
std::unique_ptr<RasterOutput> MakePclXlRaster(DriverCommands* commands, std::vector<BYTE>* output,
                                              const DeviceGeometry& geometry, bool landscape);

} // namespace moltr::unidrv
