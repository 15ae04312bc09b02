#pragma once
// The string area: the last area of an image, holding exactly the texts of all STRING values.
#include <windows.h>
#include "store/image_layout.h"

namespace moltr::store {

// Calls fn(slot) for every STRING value of the tree below `header` in memory form: structure by
// structure depth-first, each sub-structure where its XPDSTRUCT field occurs, fields in declaration
// order, records and elements in order.
template <class Fn> void ForEachStringValue(const StructureHeader* header, Fn&& fn) {
    for (WORD index = 0; index < header->fieldCount; ++index) {
        const FieldDescriptor* field = FieldAt(header, index);
        if (field->type == kTypeString) {
            ForEachReference(header, field, fn);
        } else if (const StructureHeader* sub = SubStructureOf(header, field)) {
            ForEachStringValue(sub, fn);
        }
    }
}

// Bytes of all texts that STRING values reference, terminators included.
ULONG64 MeasureStrings(const StructureHeader* root);

// Sets string bytes and string area start from the image, and clears strings changed.
void AdoptStringArea(StructureRecord* record);

// Replaces the record's image by one whose string area holds the texts that the STRING values
// reference now, in walk order, and leaves it in memory form. Answers 0, or 63402's class with the
// record unchanged.
int RebuildStringArea(StructureRecord* record);

} // namespace moltr::store
