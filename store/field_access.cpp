// Field selection and the value operations that every deliverable carries.
#include "store/cursor.h"
#include "store/wide_text.h"

namespace moltr::store {

int SelectField(StructureHandle handle, LPCWSTR fieldName) {
    if (handle == nullptr) {
        return ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
    }
    if (IsEmpty(fieldName)) {
        const WORD next = static_cast<WORD>(handle->currentField + 1);
        if (next < handle->fieldCount) {
            handle->currentField = next;
            return kClassSuccess;
        }
        handle->currentField = kNone;
        return kClassWarning;
    }
    for (WORD index = 0; index < handle->fieldCount; ++index) {
        if (TextsEqual(NameOf(FieldAt(handle, index)), fieldName)) {
            handle->currentField = index;
            return kClassSuccess;
        }
    }
    handle->currentField = kNone;
    return ReportMessage(kMsgNoSuchField, fieldName, NameOf(handle));
}

int GetField(StructureHandle handle, LPCWSTR fieldName, void* destination, DWORD destinationSize) {
    if (handle == nullptr || destination == nullptr) {
        return ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
    }
    FieldValue value{};
    const int result = UseValue(handle, fieldName, &value);
    if (result != kClassSuccess) {
        return result;
    }
    if (destinationSize < value.size) {
        return ReportMessage(kMsgDestinationTooSmall, NameOf(value.field), value.size);
    }
    std::memset(destination, 0, destinationSize);
    std::memcpy(destination, value.bytes, value.size);
    return kClassSuccess;
}

int SetField(StructureHandle handle, LPCWSTR fieldName, const void* source, DWORD sourceSize) {
    if (handle == nullptr || source == nullptr) {
        return ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
    }
    FieldValue value{};
    const int result = UseValue(handle, fieldName, &value);
    if (result != kClassSuccess) {
        return result;
    }
    // The value of an XPDSTRUCT field links the tree together; the runtime alone maintains it.
    if (value.field->type == kTypeXpdStruct) {
        return ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
    }
    if (sourceSize > value.size) {
        return ReportMessage(kMsgSourceTooLarge, NameOf(value.field), value.size);
    }
    std::memset(value.bytes, 0, value.size);
    std::memcpy(value.bytes, source, sourceSize);
    if (value.field->type == kTypeString) {
        if (auto* owner = AtAddress<StructureRecord>(handle->owner)) {
            owner->stringsChanged = TRUE;
        }
    }
    return kClassSuccess;
}

int GetFieldPointer(StructureHandle handle, LPCWSTR fieldName, void** pointer) {
    if (handle == nullptr || pointer == nullptr) {
        return ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
    }
    *pointer = nullptr;
    FieldValue value{};
    const int result = UseValue(handle, fieldName, &value);
    if (result == kClassSuccess) {
        *pointer = value.bytes;
    }
    return result;
}

int GetFieldName(StructureHandle handle, LPCWSTR* name) {
    if (handle == nullptr || name == nullptr) {
        return ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
    }
    const FieldDescriptor* field = CurrentField(handle);
    *name = field != nullptr ? NameOf(field) : nullptr;
    return field != nullptr ? kClassSuccess
                            : ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
}

DWORD GetFieldOffset(StructureHandle handle, LPCWSTR fieldName) {
    const FieldDescriptor* field = nullptr;
    if (handle == nullptr || UseField(handle, fieldName, &field) != kClassSuccess) {
        return 0;
    }
    return field->offset;
}

DWORD GetFieldType(StructureHandle handle, LPCWSTR fieldName) {
    const FieldDescriptor* field = nullptr;
    if (handle == nullptr || UseField(handle, fieldName, &field) != kClassSuccess) {
        return 0;
    }
    if (field->type != kTypeDynamic) {
        return field->type;
    }
    const DynamicValue* dynamic = CurrentDynamic(handle, field);
    return dynamic != nullptr ? dynamic->type : 0;
}

WORD GetFieldSize(StructureHandle handle, LPCWSTR fieldName) {
    const FieldDescriptor* field = nullptr;
    if (handle == nullptr || UseField(handle, fieldName, &field) != kClassSuccess) {
        return 0;
    }
    if (field->type != kTypeDynamic) {
        return static_cast<WORD>(ValueSize(field));
    }
    const DynamicValue* dynamic = CurrentDynamic(handle, field);
    return dynamic != nullptr ? static_cast<WORD>(dynamic->elementSize * dynamic->elementCount) : 0;
}

DWORD GetDataSize(StructureHandle handle) {
    if (handle == nullptr) {
        return 0;
    }
    if (SelectField(handle, L"TAG") != kClassSuccess) {
        return handle->recordSize;
    }
    return handle->recordSize - ValueSize(CurrentField(handle));
}

} // namespace moltr::store
