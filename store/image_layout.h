#pragma once
// Byte layout of a structure image. References are 64-bit: addresses while the image is in memory,
// byte offsets from its start while it is stored. The image packs everything without alignment, so
// these structures are packed and record values are read and written through memcpy.
#include <windows.h>
#include <cstddef>
#include <cstring>
#include "store/xpr.h"

namespace moltr::store {

constexpr DWORD kSignature = 0x544C4F4D; // "MOLT" read as a little-endian 32-bit value
constexpr DWORD kVersion = 0x250;
constexpr size_t kNameChars = 48;             // 47 characters and the terminator
constexpr ULONG64 kMaxImageSize = 0xFFFFFFFF; // the record keeps a 32-bit size
// Deeper nesting than any description uses is refused, which bounds every walk over the tree.
constexpr int kMaxNesting = 32;

#pragma pack(push, 1)

struct StructureHeader {
    DWORD signature;
    DWORD version;
    ULONG64 owner;  // StructureRecord*, set by GetStructure
    ULONG64 parent; // StructureHeader* of a sub-structure's parent, set on load
    WCHAR name[kNameChars];
    ULONG64 data; // record 0
    DWORD recordSize;
    WORD recordCount;
    WORD reserved1;
    ULONG64 fields; // first FieldDescriptor
    WORD fieldCount;
    WORD windowStart;
    WORD windowEnd;
    WORD currentRecord;
    WORD currentField;
    BYTE reserved2[6];
};

struct FieldDescriptor {
    WCHAR name[kNameChars];
    DWORD offset;
    DWORD type;
    WORD elementSize;
    WORD elementCount;
};

// The value of an XPDSTRUCT field in one record.
struct SubStructureValue {
    ULONG64 header;
    WORD first;
    WORD end;
};

struct DynamicValue {
    ULONG64 reference;
    ULONG64 data;
    DWORD type;
    WORD elementSize;
    WORD elementCount;
};

#pragma pack(pop)

static_assert(sizeof(StructureHeader) == 160);
static_assert(offsetof(StructureHeader, owner) == 8);
static_assert(offsetof(StructureHeader, parent) == 16);
static_assert(offsetof(StructureHeader, name) == 24);
static_assert(offsetof(StructureHeader, data) == 120);
static_assert(offsetof(StructureHeader, recordSize) == 128);
static_assert(offsetof(StructureHeader, recordCount) == 132);
static_assert(offsetof(StructureHeader, fields) == 136);
static_assert(offsetof(StructureHeader, fieldCount) == 144);
static_assert(offsetof(StructureHeader, windowStart) == 146);
static_assert(offsetof(StructureHeader, windowEnd) == 148);
static_assert(offsetof(StructureHeader, currentRecord) == 150);
static_assert(offsetof(StructureHeader, currentField) == 152);
static_assert(sizeof(FieldDescriptor) == 108);
static_assert(offsetof(FieldDescriptor, offset) == 96);
static_assert(offsetof(FieldDescriptor, type) == 100);
static_assert(offsetof(FieldDescriptor, elementSize) == 104);
static_assert(offsetof(FieldDescriptor, elementCount) == 106);
static_assert(sizeof(SubStructureValue) == 12);
static_assert(offsetof(SubStructureValue, first) == 8);
static_assert(offsetof(SubStructureValue, end) == 10);
static_assert(sizeof(DynamicValue) == 24);
static_assert(offsetof(DynamicValue, data) == 8);
static_assert(offsetof(DynamicValue, type) == 16);
static_assert(offsetof(DynamicValue, elementSize) == 20);
static_assert(offsetof(DynamicValue, elementCount) == 22);

inline ULONG64 LoadU64(const BYTE* at) {
    ULONG64 value;
    std::memcpy(&value, at, sizeof value);
    return value;
}
inline void StoreU64(BYTE* at, ULONG64 value) {
    std::memcpy(at, &value, sizeof value);
}

template <class T> T* AtAddress(ULONG64 address) {
    return reinterpret_cast<T*>(static_cast<UINT_PTR>(address));
}
inline ULONG64 AddressOf(const void* pointer) {
    return reinterpret_cast<UINT_PTR>(pointer);
}

// The name arrays start at even offsets of the image, so they are read as WCHAR text in place.
inline const WCHAR* NameOf(const StructureHeader* header) {
    return reinterpret_cast<const WCHAR*>(reinterpret_cast<const BYTE*>(header) +
                                          offsetof(StructureHeader, name));
}
inline const WCHAR* NameOf(const FieldDescriptor* field) {
    return reinterpret_cast<const WCHAR*>(field);
}

// Navigation of an image in memory form.
inline FieldDescriptor* FieldAt(const StructureHeader* header, WORD index) {
    return AtAddress<FieldDescriptor>(header->fields) + index;
}
inline BYTE* RecordAt(const StructureHeader* header, WORD index) {
    return AtAddress<BYTE>(header->data) + static_cast<size_t>(index) * header->recordSize;
}
inline DWORD ValueSize(const FieldDescriptor* field) {
    return static_cast<DWORD>(field->elementSize) * field->elementCount;
}
// The sub-structure that an XPDSTRUCT field leads to (through record 0), or null.
inline StructureHeader* SubStructureOf(const StructureHeader* header,
                                       const FieldDescriptor* field) {
    if (field->type != kTypeXpdStruct || header->recordCount == 0) {
        return nullptr;
    }
    return AtAddress<StructureHeader>(LoadU64(RecordAt(header, 0) + field->offset));
}

// Calls fn(slot) for the 8-byte reference of every element of `field` in every record (STRING, and
// the single element of XPDSTRUCT and DYNAMIC fields).
template <class Fn>
void ForEachReference(const StructureHeader* header, const FieldDescriptor* field, Fn fn) {
    WORD elements = field->type == kTypeString ? field->elementCount : 1;
    for (WORD record = 0; record < header->recordCount; ++record) {
        BYTE* value = RecordAt(header, record) + field->offset;
        for (WORD element = 0; element < elements; ++element) {
            fn(value + static_cast<size_t>(element) * sizeof(ULONG64));
        }
    }
}

} // namespace moltr::store
