// The binary .res format that windres writes and the simulated loader reads.
#include "src/kernel32/resource_image.h"

#include <cstring>
#include <elf.h>

namespace moltr::platform {
namespace {

// Header size field, data size field, ordinal type and name, and the four fixed fields after them.
constexpr size_t kMinimumHeaderSize = 32;
constexpr size_t kFixedTailSize = 16;

char16_t UpperChar(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) ||
        (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) || (c >= 0x430 && c <= 0x44F)) {
        return static_cast<char16_t>(c - 0x20);
    }
    if (c >= 0x450 && c <= 0x45F) {
        return static_cast<char16_t>(c - 0x50);
    }
    if (c == 0xFF) {
        return 0x178;
    }
    return c;
}

// Reads a type or name field at `offset`, which must end before `end`; returns the offset after it,
// or 0 when the field is malformed.
size_t ReadId(const BYTE* data, size_t offset, size_t end, ResourceId& id) {
    if (offset + 2 > end) {
        return 0;
    }
    if (ReadWord(data + offset) == 0xFFFF) {
        if (offset + 4 > end) {
            return 0;
        }
        id.ordinal = ReadWord(data + offset + 2);
        id.name.clear();
        return offset + 4;
    }
    std::u16string name;
    for (; offset + 2 <= end; offset += 2) {
        char16_t c = ReadWord(data + offset);
        if (c == 0) {
            if (name.empty()) {
                return 0;
            }
            id.ordinal = 0;
            id.name = UpperName(name);
            return offset + 2;
        }
        name.push_back(c);
    }
    return 0;
}

} // namespace

std::u16string UpperName(std::u16string_view name) {
    std::u16string upper(name);
    for (char16_t& c : upper) {
        c = UpperChar(c);
    }
    return upper;
}

bool ResourceIdFromArgument(LPCWSTR argument, ResourceId& id) {
    if (IS_INTRESOURCE(argument)) {
        id.ordinal = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(argument));
        id.name.clear();
        return true;
    }
    std::u16string_view text(reinterpret_cast<const char16_t*>(argument));
    if (text.empty()) {
        return false;
    }
    if (text[0] == u'#') {
        DWORD number = 0;
        for (char16_t c : text.substr(1)) {
            if (c < u'0' || c > u'9' || (number = number * 10 + (c - u'0')) > 0xFFFF) {
                return false;
            }
        }
        if (text.size() == 1 || number == 0) {
            return false;
        }
        id.ordinal = static_cast<WORD>(number);
        id.name.clear();
        return true;
    }
    id.ordinal = 0;
    id.name = UpperName(text);
    return true;
}

bool ParseResourceImage(const BYTE* data, size_t size, std::vector<ResourceEntry>& entries) {
    entries.clear();
    std::vector<ResourceEntry> parsed;
    size_t offset = 0;
    while (offset < size) {
        if (size - offset < kMinimumHeaderSize) {
            return false;
        }
        const size_t dataSize = ReadDword(data + offset);
        const size_t headerSize = ReadDword(data + offset + 4);
        if (headerSize < kMinimumHeaderSize || headerSize % 4 != 0 || headerSize > size - offset ||
            dataSize > size - offset - headerSize) {
            return false;
        }
        const size_t headerEnd = offset + headerSize;
        ResourceEntry entry;
        size_t next = ReadId(data, offset + 8, headerEnd, entry.type);
        next = next ? ReadId(data, next, headerEnd, entry.name) : 0;
        next = AlignDword(next);
        if (next == 0 || next + kFixedTailSize > headerEnd) {
            return false;
        }
        entry.language = ReadWord(data + next + 6);
        entry.data = data + headerEnd;
        entry.size = static_cast<DWORD>(dataSize);
        const bool empty = entry.type.IsOrdinal() && entry.type.ordinal == 0;
        // Every .res image starts with an empty entry; it tells the format apart from other files.
        if ((offset == 0) != empty || (empty && dataSize != 0)) {
            return false;
        }
        if (!empty) {
            parsed.push_back(std::move(entry));
        }
        offset = AlignDword(headerEnd + dataSize);
    }
    entries = std::move(parsed);
    return true;
}

bool FindResourceImage(const std::vector<BYTE>& file, size_t& offset, size_t& size) {
    if (file.size() < sizeof(Elf64_Ehdr) || std::memcmp(file.data(), ELFMAG, SELFMAG) != 0) {
        offset = 0;
        size = file.size();
        return size >= kMinimumHeaderSize && ReadDword(file.data()) == 0 &&
               ReadDword(file.data() + 4) == kMinimumHeaderSize;
    }
    Elf64_Ehdr header;
    std::memcpy(&header, file.data(), sizeof header);
    if (header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_ident[EI_DATA] != ELFDATA2LSB ||
        header.e_shentsize != sizeof(Elf64_Shdr) || header.e_shstrndx >= header.e_shnum ||
        header.e_shoff > file.size() ||
        header.e_shnum > (file.size() - header.e_shoff) / sizeof(Elf64_Shdr)) {
        return false;
    }
    auto section = [&](size_t index) {
        Elf64_Shdr s;
        std::memcpy(&s, file.data() + header.e_shoff + index * sizeof(Elf64_Shdr), sizeof s);
        return s;
    };
    const Elf64_Shdr names = section(header.e_shstrndx);
    if (names.sh_offset > file.size() || names.sh_size > file.size() - names.sh_offset) {
        return false;
    }
    const std::string_view wanted(kResourceSection);
    for (size_t i = 0; i < header.e_shnum; ++i) {
        const Elf64_Shdr s = section(i);
        if (s.sh_name >= names.sh_size || s.sh_type != SHT_PROGBITS) {
            continue;
        }
        const char* name = reinterpret_cast<const char*>(file.data() + names.sh_offset + s.sh_name);
        if (std::string_view(name, strnlen(name, names.sh_size - s.sh_name)) != wanted) {
            continue;
        }
        if (s.sh_offset > file.size() || s.sh_size > file.size() - s.sh_offset) {
            return false;
        }
        offset = s.sh_offset;
        size = s.sh_size;
        return true;
    }
    // A host module without resources.
    offset = 0;
    size = 0;
    return true;
}

} // namespace moltr::platform
