#pragma once
// The image writer: lays out a compiled root structure, with everything reachable from it, as one
// structure image (headers, field descriptors, records, dynamic values, strings, back to back).
//
// The input is plain data that the description compiler fills in. A structure lists its fields in
// declaration order starting with the implicit TAG field (TagField() makes it) and holds its
// records as raw bytes, record size = sum of element size x element count over the fields. The
// record bytes of STRING, XPDSTRUCT and DYNAMIC fields are ignored: the writer fills them from the
// per-field values below.
#include <windows.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include "store/field_type.h"

namespace moltr::store {

struct StructureRecord;
struct CompiledStructure;

// The value of a DYNAMIC field in one record.
struct CompiledDynamic {
    std::optional<std::u16string> reference; // the reference descriptor's text; none stores 0
    DWORD type = 0;
    WORD elementSize = 0;
    WORD elementCount = 0;
    std::vector<BYTE> bytes; // empty (stores 0) or exactly elementSize x elementCount bytes
};

// The records [first, end) of a sub-structure that belong to one parent record.
struct CompiledSlice {
    WORD first = 0;
    WORD end = 0;
};

struct CompiledField {
    std::u16string name; // at most kMaxNameLength characters; an XPDSTRUCT field carries the
                         // sub-structure's name
    DWORD type = 0;
    WORD elementSize = 0;
    WORD elementCount = 1;
    // STRING: recordCount x elementCount texts, record by record; nullopt is a null string. Empty
    // means every value is null.
    std::vector<std::optional<std::u16string>> strings;
    // DYNAMIC: one entry per record; nullopt is a record without a value. Empty means none has one.
    std::vector<std::optional<CompiledDynamic>> dynamics;
    // XPDSTRUCT: the sub-structure (required) and one slice per parent record; empty slices means
    // every parent record owns [0, 0).
    std::unique_ptr<CompiledStructure> sub;
    std::vector<CompiledSlice> slices;
};

struct CompiledStructure {
    std::u16string name; // at most kMaxNameLength characters
    std::vector<CompiledField> fields;
    WORD recordCount = 0;
    std::vector<BYTE> records; // recordCount x record size bytes
};

// The implicit first field of every structure: a STRING named TAG.
inline CompiledField TagField() {
    CompiledField tag;
    tag.name = u"TAG";
    tag.type = kTypeString;
    tag.elementSize = 8;
    tag.elementCount = 1;
    return tag;
}

// Lays out `root` in stored form (every reference a byte offset from the start of the image) into
// `image`, which is replaced. Returns a result class: 0 on success; 3 (message 63401) for input
// that does not describe a valid tree (no TAG first, a name too long, a text with a NUL in it,
// sizes that do not match, a slice outside the sub-structure's records, nesting too deep, an image
// over 4 GB); 3 (63402) when out of memory.
int WriteImage(const CompiledStructure& root, std::vector<BYTE>& image);

// Lays out `root` as a new open record, in the state OpenByHandle leaves a loaded one in (memory
// form, string area measured), ready to be read, changed and stored with SaveByName or
// SaveByHandle. On a class of 2 or more *record is null.
int BuildRecord(const CompiledStructure& root, StructureRecord** record);

} // namespace moltr::store
