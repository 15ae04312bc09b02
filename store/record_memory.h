#pragma once
// Allocation of records and their images.
#include "store/xpr.h"

namespace moltr::store {

// A zero-filled record without an image, or null when out of memory.
StructureRecord* NewRecord();
// Frees the record's image and leaves the record without one.
void DropImage(StructureRecord* record);
void FreeRecord(StructureRecord* record);

} // namespace moltr::store
