#pragma once
// The resources of one module as the binary .res format lays them out: a sequence of entries, each
// a header (data size, header size, type, name, language) and its data, every part DWORD-aligned.
#include <windows.h>
#include <cstring>
#include <string>
#include <vector>

namespace moltr::platform {

// Fields of resource data, little-endian and not necessarily aligned.
inline WORD ReadWord(const BYTE* p) {
    WORD value;
    std::memcpy(&value, p, sizeof value);
    return value;
}
inline DWORD ReadDword(const BYTE* p) {
    DWORD value;
    std::memcpy(&value, p, sizeof value);
    return value;
}
inline size_t AlignDword(size_t offset) {
    return (offset + 3) & ~size_t{3};
}

// A resource type or name: an ordinal, or a string kept upper-cased because names match ignoring
// case.
struct ResourceId {
    WORD ordinal = 0;
    std::u16string name;

    bool IsOrdinal() const { return name.empty(); }
    bool operator==(const ResourceId& other) const = default;
};

struct ResourceEntry {
    ResourceId type;
    ResourceId name;
    LANGID language = 0;
    const BYTE* data = nullptr;
    DWORD size = 0;
};

// Upper-cases a resource name the way the loader compares names.
std::u16string UpperName(std::u16string_view name);

// The id a caller passes as type or name: MAKEINTRESOURCE ordinals, "#123" for ordinal 123, or a
// string. False for an empty string or a "#" number that is no ordinal.
bool ResourceIdFromArgument(LPCWSTR argument, ResourceId& id);

// Parses [data, data + size) into its entries, which point into the data. False for anything that
// is not a well-formed .res image; `entries` is then left empty. An empty image has no entries.
bool ParseResourceImage(const BYTE* data, size_t size, std::vector<ResourceEntry>& entries);

// Where a module file keeps its .res image: a resource-only module file is the image itself; a host
// module (ELF) keeps it in its section kResourceSection. False when the file is neither.
constexpr const char* kResourceSection = ".moltr.rsrc";
bool FindResourceImage(const std::vector<BYTE>& file, size_t& offset, size_t& size);

} // namespace moltr::platform
