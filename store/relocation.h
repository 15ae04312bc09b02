#pragma once
// Conversion of an image between stored form (references are offsets from the image's start) and
// memory form (references are addresses), for a structure and everything reachable from it.
#include "store/image_layout.h"

namespace moltr::store {

void ToMemoryForm(StructureHeader* header, const BYTE* base);

// The string-area rebuild sets STRING values to their offsets in the new image itself, so it
// converts the rest with KeepStrings.
enum class StringValues { Convert, KeepStrings };
void ToStoredForm(StructureHeader* header, const BYTE* base, StringValues strings);

} // namespace moltr::store
