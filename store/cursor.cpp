#include "store/cursor.h"
#include "store/wide_text.h"

namespace moltr::store {

const FieldDescriptor* CurrentField(const StructureHeader* header) {
    return header->currentField < header->fieldCount ? FieldAt(header, header->currentField)
                                                     : nullptr;
}

BYTE* CurrentValue(const StructureHeader* header, const FieldDescriptor* field) {
    return header->currentRecord < header->recordCount
               ? RecordAt(header, header->currentRecord) + field->offset
               : nullptr;
}

DynamicValue* CurrentDynamic(const StructureHeader* header, const FieldDescriptor* field) {
    const BYTE* value = CurrentValue(header, field);
    return value != nullptr ? AtAddress<DynamicValue>(LoadU64(value)) : nullptr;
}

int UseField(StructureHeader* header, LPCWSTR fieldName, const FieldDescriptor** field) {
    if (!IsEmpty(fieldName)) {
        const int result = SelectField(header, fieldName);
        if (result != kClassSuccess) {
            return result;
        }
    }
    *field = CurrentField(header);
    return *field != nullptr ? kClassSuccess
                             : ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
}

int UseValue(StructureHeader* header, LPCWSTR fieldName, FieldValue* value) {
    const FieldDescriptor* field = nullptr;
    const int result = UseField(header, fieldName, &field);
    if (result != kClassSuccess) {
        return result;
    }
    BYTE* bytes = CurrentValue(header, field);
    if (bytes == nullptr) {
        return ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
    }
    if (field->type != kTypeDynamic) {
        *value = {field, bytes, ValueSize(field)};
        return kClassSuccess;
    }
    const DynamicValue* dynamic = AtAddress<DynamicValue>(LoadU64(bytes));
    if (dynamic == nullptr || dynamic->data == 0) {
        return kClassWarning;
    }
    *value = {field, AtAddress<BYTE>(dynamic->data),
              static_cast<DWORD>(dynamic->elementSize) * dynamic->elementCount};
    return kClassSuccess;
}

} // namespace moltr::store
