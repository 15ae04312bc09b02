#pragma once
// The page the universal driver renders for a configuration of a GPD: the resolution (*DPI of
// the chosen Resolution option), the physical page (*PageDimensions of the chosen PaperSize
// option, else its printable area with the printable origin as margin on every side), the
// printable area and origin, in device pixels, and the bands' pixel format; and what DrvEnablePDEV
// reports of it in GDIINFO and DEVINFO. The surface is the printable area, portrait: a landscape
// job's rotation is the printer's, by the orientation command.
#include <windows.h>
#include <winddi.h>
#include <string>
#include "src/unidrv/gpd_configuration.h"

namespace moltr::unidrv {

struct DeviceGeometry {
    LONG dpiX = 0;
    LONG dpiY = 0;
    SIZEL page = {};
    SIZEL printable = {};
    POINTL origin = {};
    // Bits per band pixel, by the chosen ColorMode option: 24 (blue, green, red) in colour;
    // otherwise 8 (grey levels, 255 white) when its *DrvBPP is 8, else 1 (1 is ink).
    WORD bandBits = 1;
    // Units of the cursor move commands' DestX and DestY, per inch.
    LONG xMoveUnit = 0;
    LONG yMoveUnit = 0;
};

// S_OK, or HRESULT_FROM_WIN32(ERROR_INVALID_DATA) with a message for a GPD whose values give
// no page (no paper size, a resolution or size out of range).
HRESULT ReadGeometry(const GpdModel& model, const GpdConfiguration& configuration,
                     DeviceGeometry* geometry, std::string* message);

void FillGdiInfo(const DeviceGeometry& geometry, GDIINFO* info);
void FillDevInfo(const DeviceGeometry& geometry, DEVINFO* info);

} // namespace moltr::unidrv
