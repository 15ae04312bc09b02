#pragma once
// Reading a structure image in its stored form (as the compile driver writes it into printer data)
// back into names, layouts and values, for `moltr compile` to show.
#include <windows.h>
#include <string>
#include <vector>
#include "moltr/json_value.h"

namespace moltr::tool {

struct StoredField {
    std::string name;
    DWORD type = 0;
    DWORD offset = 0;
    WORD elementSize = 0;
    WORD elementCount = 0;
};

struct StoredStructure {
    std::string name;
    int parent = -1; // index of the parent structure, -1 for the root
    DWORD recordSize = 0;
    WORD recordCount = 0;
    std::vector<StoredField> fields;
    std::vector<JsonValue> records; // one object per record: field name -> value
};

// The structures of `image`, root first, then the sub-structures depth first. Values: numbers,
// STRING and CHAR arrays as strings (null for no string), other arrays as arrays, XPDSTRUCT as
// {"first", "end"}, DYNAMIC as {"reference", "type", "value"} or null. False, with `error` set,
// when a reference points outside the image.
bool ReadStoredImage(const std::vector<BYTE>& image, std::vector<StoredStructure>& structures,
                     std::string& error);

} // namespace moltr::tool
