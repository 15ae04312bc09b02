#pragma once
// The plug-in's own items carry their item id in the OPTITEM itself: ids below 100 as DMPubID,
// larger ones split over DMPubID (100 to 255) and the 8-bit UserItemID.
#include <windows.h>
#include <compstui.h>

namespace moltr::ui {

// Stores `itemId` in `item`; false (the item unchanged) for an id the encoding cannot hold.
bool EncodeOemItemId(DWORD itemId, OPTITEM& item);

} // namespace moltr::ui
