#pragma once
// The record and field cursor kept in a structure's header, read with bounds checks: the cursor
// fields of a loaded image hold whatever was saved, so no index is trusted without its count.
#include "store/image_layout.h"

namespace moltr::store {

// The current field, or null when none is selected.
const FieldDescriptor* CurrentField(const StructureHeader* header);
// The current record's value of `field`, or null when no record is selected.
BYTE* CurrentValue(const StructureHeader* header, const FieldDescriptor* field);
// The current record's dynamic value of a DYNAMIC field, or null.
DynamicValue* CurrentDynamic(const StructureHeader* header, const FieldDescriptor* field);

// Selects `fieldName` when it is not empty, then answers the current field: 0 with *field set, the
// class of 63102 for an unknown name, or of 63401 when no field is current.
int UseField(StructureHeader* header, LPCWSTR fieldName, const FieldDescriptor** field);

// The value bytes that value operations act on: in the current record, or for a DYNAMIC field
// those of the record's dynamic value.
struct FieldValue {
    const FieldDescriptor* field;
    BYTE* bytes;
    DWORD size;
};
// 0 with *value set; 1 for a DYNAMIC field whose record has no value bytes; else the class of the
// failure (no current record or field: 63401).
int UseValue(StructureHeader* header, LPCWSTR fieldName, FieldValue* value);

} // namespace moltr::store
