// Case-insensitive spooler names and their file names.
#include "src/winspool/spool_names.h"
#include "sim/utf.h"

#include <cstdint>
#include <cstdio>

namespace moltr::spool {
namespace {

// Well below the 255 bytes that file systems allow, leaving room for suffixes.
constexpr size_t kMaxFileName = 160;

// Upper case as the spooler compares it, for ASCII and Latin-1, which covers the names in use.
char16_t Fold(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
        return static_cast<char16_t>(c - 0x20);
    }
    return c;
}

} // namespace

std::u16string FoldCase(std::u16string_view name) {
    std::u16string folded(name);
    for (char16_t& c : folded) {
        c = Fold(c);
    }
    return folded;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (Fold(a[i]) != Fold(b[i])) {
            return false;
        }
    }
    return true;
}

std::string FileNameFor(std::u16string_view name) {
    std::string utf8 = sim::Utf8(FoldCase(name));
    std::string file;
    for (unsigned char c : utf8) {
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_') {
            file += static_cast<char>(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            file += escaped;
        }
    }
    if (file.size() > kMaxFileName) {
        // Long names keep a readable start and stay distinct through a hash of the whole name.
        uint64_t hash = 14695981039346656037ull;
        for (unsigned char c : file) {
            hash = (hash ^ c) * 1099511628211ull;
        }
        char tail[20];
        std::snprintf(tail, sizeof tail, "~%016llX", static_cast<unsigned long long>(hash));
        file = file.substr(0, kMaxFileName - 17) + tail;
    }
    return file;
}

} // namespace moltr::spool
