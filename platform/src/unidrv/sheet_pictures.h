#pragma once
// What the renderer does with the sheets of a job whose pictures were asked for
// (sim/sheet_pictures.h): each band's rows as sent to the printer go into a picture of the sheet,
// written as a PNG file when the sheet ends.
#include <windows.h>
#include <memory>
#include <string>
#include "src/unidrv/band_surface.h"

namespace moltr::unidrv {

class SheetSink {
public:
    virtual ~SheetSink() = default;
    // A sheet of `width` by `height` pixels of `bits` (1, 8 or 24) per pixel, white so far.
    virtual void StartSheet(LONG width, LONG height, WORD bits) = 0;
    // The current band's rows of `band`, from `bits` (what the printer receives).
    virtual void Rows(const BandSurface& band, const BYTE* bits) = 0;
    // S_OK, or the failure to keep the sheet's picture.
    virtual HRESULT EndSheet() = 0;
};

// The folder asked for job `jobId`, taking the request; empty when none was made.
std::string TakeSheetPictureRequest(DWORD jobId);

// PNG files FOLDER/sheet-001.png, sheet-002.png, ...: RGB for 24-bit sheets, grey for the others.
std::unique_ptr<SheetSink> MakePngSheets(const std::string& folder);

} // namespace moltr::unidrv
