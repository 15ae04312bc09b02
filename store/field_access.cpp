// Field selection and the value operations that every deliverable carries.
#include "store/cursor.h"
#include "store/wide_text.h"

#include <algorithm>
#include <cstring>

namespace moltr::store {

namespace {

// Names compare exactly. The lookup reads the first four code units of each descriptor's name as
// one number, which rules out nearly every other field before the whole name is compared; a
// descriptor's name array is always long enough to read them.
class FieldNameMatch {
public:
    explicit FieldNameMatch(LPCWSTR name) : name_(name), bytes_(0) {
        for (size_t length = 0; length < kNameChars; ++length) {
            if (CharAt(name, length) == 0) {
                bytes_ = (length + 1) * sizeof(WCHAR);
                break;
            }
        }
        const size_t headBytes = std::min(bytes_, sizeof head_);
        std::memcpy(&head_, name, headBytes);
        mask_ = headBytes == sizeof head_ ? ~ULONG64{0} : (ULONG64{1} << (headBytes * 8)) - 1;
    }
    bool Matches(const FieldDescriptor* field) const {
        const ULONG64 head = LoadU64(reinterpret_cast<const BYTE*>(NameOf(field)));
        return (head & mask_) == head_ && std::memcmp(NameOf(field), name_, bytes_) == 0;
    }
    // No descriptor's name is longer than its array.
    bool Possible() const { return bytes_ != 0; }

private:
    LPCWSTR name_;
    size_t bytes_;
    ULONG64 head_ = 0;
    ULONG64 mask_ = 0;
};

} // namespace

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
    const FieldNameMatch match(fieldName);
    const FieldDescriptor* fields = FieldAt(handle, 0);
    for (WORD index = 0; match.Possible() && index < handle->fieldCount; ++index) {
        if (match.Matches(fields + index)) {
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
