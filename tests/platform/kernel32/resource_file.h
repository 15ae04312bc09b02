#pragma once
// A resource file in the binary .res layout, made in memory from resources with ordinal types and
// names: what the loader reads from a resource-only module file. Tests and fuzz targets use it to
// hand out modules with damaged resources, which a resource compiler would refuse to make.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace moltr::test {

struct ResourceData {
    WORD type;
    WORD name;
    WORD language;
    std::string bytes;
};

// The .res image: the empty entry that every such file starts with, then each resource with a
// 32-byte header, every part DWORD-aligned.
inline std::string ResourceFile(const std::vector<ResourceData>& resources) {
    std::string file;
    auto put = [&file](DWORD value, size_t size) {
        char bytes[4];
        std::memcpy(bytes, &value, sizeof bytes);
        file.append(bytes, size);
    };
    auto entry = [&](WORD type, WORD name, WORD language, const std::string& bytes) {
        put(static_cast<DWORD>(bytes.size()), 4);
        put(32, 4);
        put(0xFFFF, 2);
        put(type, 2);
        put(0xFFFF, 2);
        put(name, 2);
        put(0, 4); // data version
        put(0, 2); // memory flags
        put(language, 2);
        put(0, 4); // version
        put(0, 4); // characteristics
        file += bytes;
        file.append((4 - file.size() % 4) % 4, '\0');
    };
    entry(0, 0, 0, {});
    for (const ResourceData& resource : resources) {
        entry(resource.type, resource.name, resource.language, resource.bytes);
    }
    return file;
}

// Little-endian words of a resource's data.
inline std::string Words(std::initializer_list<WORD> words) {
    std::string bytes;
    for (WORD word : words) {
        bytes += static_cast<char>(word & 0xFF);
        bytes += static_cast<char>(word >> 8);
    }
    return bytes;
}

} // namespace moltr::test
