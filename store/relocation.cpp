#include "store/relocation.h"

namespace moltr::store {

namespace {

// Zero stays none in both forms.
ULONG64 Shifted(ULONG64 reference, ULONG64 delta) {
    return reference != 0 ? reference + delta : 0;
}

void ShiftSlot(BYTE* slot, ULONG64 delta) {
    StoreU64(slot, Shifted(LoadU64(slot), delta));
}

void ShiftHeader(StructureHeader* header, ULONG64 delta) {
    header->fields = Shifted(header->fields, delta);
    header->data = Shifted(header->data, delta);
}

void ShiftDynamicValue(DynamicValue* dynamic, ULONG64 delta) {
    dynamic->reference = Shifted(dynamic->reference, delta);
    dynamic->data = Shifted(dynamic->data, delta);
}

} // namespace

void ToMemoryForm(StructureHeader* header, const BYTE* base) {
    const ULONG64 delta = AddressOf(base);
    ShiftHeader(header, delta);
    for (WORD index = 0; index < header->fieldCount; ++index) {
        const FieldDescriptor* field = FieldAt(header, index);
        switch (field->type) {
        case kTypeString:
            ForEachReference(header, field, [&](BYTE* slot) { ShiftSlot(slot, delta); });
            break;
        case kTypeXpdStruct:
            ForEachReference(header, field,
                             [&](BYTE* slot) { StoreU64(slot, LoadU64(slot) + delta); });
            if (StructureHeader* sub = SubStructureOf(header, field)) {
                sub->parent = AddressOf(header);
                ToMemoryForm(sub, base);
            }
            break;
        case kTypeDynamic:
            ForEachReference(header, field, [&](BYTE* slot) {
                ShiftSlot(slot, delta);
                if (DynamicValue* dynamic = AtAddress<DynamicValue>(LoadU64(slot))) {
                    ShiftDynamicValue(dynamic, delta);
                }
            });
            break;
        default:
            break;
        }
    }
}

void ToStoredForm(StructureHeader* header, const BYTE* base, StringValues strings) {
    const ULONG64 delta = 0 - AddressOf(base);
    for (WORD index = 0; index < header->fieldCount; ++index) {
        const FieldDescriptor* field = FieldAt(header, index);
        switch (field->type) {
        case kTypeString:
            if (strings == StringValues::Convert) {
                ForEachReference(header, field, [&](BYTE* slot) { ShiftSlot(slot, delta); });
            }
            break;
        case kTypeXpdStruct:
            if (StructureHeader* sub = SubStructureOf(header, field)) {
                sub->parent = 0;
                ToStoredForm(sub, base, strings);
            }
            ForEachReference(header, field,
                             [&](BYTE* slot) { StoreU64(slot, LoadU64(slot) + delta); });
            break;
        case kTypeDynamic:
            ForEachReference(header, field, [&](BYTE* slot) {
                if (DynamicValue* dynamic = AtAddress<DynamicValue>(LoadU64(slot))) {
                    ShiftDynamicValue(dynamic, delta);
                }
                ShiftSlot(slot, delta);
            });
            break;
        default:
            break;
        }
    }
    ShiftHeader(header, delta);
}

} // namespace moltr::store
