#pragma once
// A compiled structure: the definition built from the *XPDSTRUCT blocks (fields, types, sizes,
// record layout) and the records built from the values, with its sub-structures. ToImageInput
// hands a compiled root to the settings store's image writer.
#include <windows.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include "store/image_writer.h"

namespace moltr::compiler {

struct Structure;

struct Field {
    std::u16string name; // an XPDSTRUCT field carries its sub-structure's name
    DWORD type = 0;
    WORD elementSize = 0;
    WORD elementCount = 1;
    DWORD offset = 0;
    bool warnWhenEmpty = true;
    // STRING: elementCount texts per record, record by record (nullopt: no string).
    std::vector<std::optional<std::u16string>> strings;
    // DYNAMIC: one value per record (nullopt: none).
    std::vector<std::optional<store::CompiledDynamic>> dynamics;
    // XPDSTRUCT: the sub-structure and each record's slice of its records.
    std::unique_ptr<Structure> sub;
    std::vector<store::CompiledSlice> slices;
};

struct Structure {
    std::u16string name;
    bool forceWrite = false;
    std::vector<Field> fields; // TAG first
    DWORD recordSize = 0;
    WORD recordCount = 0;
    std::vector<BYTE> records; // recordCount x recordSize bytes

    // The field named exactly `name`, or null.
    const Field* FindField(std::u16string_view fieldName) const;
};

// The image writer's input for a compiled root and everything below it (the values are moved).
store::CompiledStructure ToImageInput(Structure&& root);

} // namespace moltr::compiler
