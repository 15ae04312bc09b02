// The queries that only the user-interface plug-in carries.
#include "store/cursor.h"

namespace moltr::store {

WORD GetRecordCount(StructureHandle handle) {
    if (handle == nullptr) {
        return 0;
    }
    return handle->windowEnd > handle->windowStart
               ? static_cast<WORD>(handle->windowEnd - handle->windowStart)
               : 0;
}

WORD GetFieldCount(StructureHandle handle, LPCWSTR fieldName) {
    const FieldDescriptor* field = nullptr;
    if (handle == nullptr || UseField(handle, fieldName, &field) != kClassSuccess) {
        return 0;
    }
    if (field->type != kTypeDynamic) {
        return field->elementCount;
    }
    const DynamicValue* dynamic = CurrentDynamic(handle, field);
    return dynamic != nullptr ? dynamic->elementCount : 0;
}

int GetFieldReference(StructureHandle handle, LPCWSTR fieldName, LPCWSTR* reference) {
    if (handle == nullptr || reference == nullptr) {
        return ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
    }
    *reference = nullptr;
    const FieldDescriptor* field = nullptr;
    const int result = UseField(handle, fieldName, &field);
    if (result != kClassSuccess) {
        return result;
    }
    if (field->type != kTypeDynamic) {
        return ReportMessage(kMsgNotDynamic, NameOf(field), NameOf(handle));
    }
    if (CurrentValue(handle, field) == nullptr) {
        return ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
    }
    const DynamicValue* dynamic = CurrentDynamic(handle, field);
    if (dynamic == nullptr || dynamic->reference == 0) {
        return ReportMessage(kMsgNoReference, NameOf(field), NameOf(handle));
    }
    *reference = AtAddress<const WCHAR>(dynamic->reference);
    return kClassSuccess;
}

} // namespace moltr::store
