#pragma once
// Allocation of records and their images.
#include "store/xpr.h"

namespace moltr::store {

// A zero-filled image buffer of `size` bytes, or null. Its start is placed so that the string
// area, at `stringAreaStart`, begins at an even address: every text of a STRING value is then
// aligned for WCHAR readers, however odd the sizes of the areas before it.
BYTE* AllocateImage(ULONG64 size, ULONG64 stringAreaStart);
void FreeImage(BYTE* image);

// A zero-filled record without an image, or null when out of memory.
StructureRecord* NewRecord();
// Frees the record's image and leaves the record without one.
void DropImage(StructureRecord* record);
void FreeRecord(StructureRecord* record);

} // namespace moltr::store
