#pragma once
// The DC's mapping from logical to device coordinates: device = (logical - window origin) x
// viewport extent / window extent + viewport origin, rounded to the nearest pixel. Callers hold
// GdiLock.
#include "src/gdi32/gdi_objects.h"

#include <windows.h>

namespace moltr::platform {

POINT ToDevice(const DcState& state, POINT logical);
POINT ToLogical(const DcState& state, POINT device);
// Both corners mapped, then ordered: a flipped axis still gives a rectangle with left <= right.
RECT ToDeviceRect(const DcState& state, const RECT& logical);
RECT ToLogicalRect(const DcState& state, const RECT& device);
// Device pixels per logical unit along each axis, without the sign of a flipped axis.
double ScaleX(const DcState& state);
double ScaleY(const DcState& state);
// A logical length along x or y in device pixels, rounded; a non-zero length stays non-zero.
LONG DeviceLength(double scale, LONG logical);

} // namespace moltr::platform
