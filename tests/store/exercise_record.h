#pragma once
// Runs every operation over every structure, record and field of an open record, the way callers
// reach them, and rebuilds its string area: on a record taken from a damaged image this must
// neither crash nor touch memory outside the image (the tests and the fuzzer run it under
// AddressSanitizer).
#include <vector>
#include "store/image_layout.h"
#include "store/string_area.h"
#include "store/wide_text.h"
#include "store/xpr.h"

namespace moltr::store::testing {

inline void ExerciseFields(StructureHandle handle, std::vector<BYTE>& buffer) {
    handle->currentField = kNone;
    while (SelectField(handle, nullptr) == kClassSuccess) {
        GetField(handle, nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        void* pointer = nullptr;
        if (GetFieldPointer(handle, nullptr, &pointer) == kClassSuccess &&
            GetFieldType(handle, nullptr) != kTypeXpdStruct) {
            const DWORD size = GetFieldSize(handle, nullptr);
            if (size <= buffer.size()) {
                std::memcpy(buffer.data(), pointer, size);
                SetField(handle, nullptr, buffer.data(), size);
            }
        }
        LPCWSTR text = nullptr;
        if (GetFieldReference(handle, nullptr, &text) == kClassSuccess) {
            TextLength(text);
        }
        GetFieldName(handle, &text);
        GetFieldOffset(handle, nullptr);
        GetFieldCount(handle, nullptr);
    }
    GetDataSize(handle);
    GetRecordCount(handle);
}

// Every record of the root, and under each the records of each structure that a field names. A
// field may name the root itself and restart its enumeration, so the steps are counted.
inline void ExerciseTree(StructureRecord* record) {
    constexpr int kSteps = 0x10000;
    std::vector<BYTE> buffer(record->imageSize);
    StructureHandle root = nullptr;
    for (int step = 0; step < kSteps &&
                       GetStructure(record, NameOf(record->root), &root, nullptr) == kClassSuccess;
         ++step) {
        ExerciseFields(root, buffer);
        for (WORD index = 0; index < root->fieldCount; ++index) {
            const FieldDescriptor* field = FieldAt(root, index);
            StructureHandle sub = nullptr;
            for (int subStep = 0; subStep < kSteps && GetStructure(record, NameOf(field), &sub,
                                                                   nullptr) == kClassSuccess;
                 ++subStep) {
                ExerciseFields(sub, buffer);
            }
        }
        // Only a text field holds a pointer; a damaged image may give TAG any other type.
        LPCWSTR tag = nullptr;
        if (GetFieldType(root, L"TAG") == kTypeString &&
            GetField(root, L"TAG", &tag, sizeof tag) == kClassSuccess && tag != nullptr) {
            StructureHandle tagged = nullptr;
            for (int tagStep = 0; tagStep < kSteps && GetStructure(record, NameOf(record->root),
                                                                   &tagged, tag) == kClassSuccess;
                 ++tagStep) {
            }
        }
    }
}

inline void ExerciseRecord(StructureRecord* record) {
    ExerciseTree(record);
    record->stringsChanged = TRUE;
    if (RebuildStringArea(record) == kClassSuccess) {
        ExerciseTree(record);
    }
}

} // namespace moltr::store::testing
