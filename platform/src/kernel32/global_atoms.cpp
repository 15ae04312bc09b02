// Atom tables: GlobalAddAtomW, GlobalFindAtomW, GlobalDeleteAtom, GlobalGetAtomNameW and their
// local counterparts. Integer atoms (1 to 0xBFFF, given as MAKEINTATOM or as "#1234") stand for
// themselves and are never stored; string atoms take the values from 0xC000 up, compare their names
// ignoring case and count their references. The global table is the process's: the simulated
// desktop shares windows between processes, never their properties.
#include "src/core/wide_text.h"
#include "sim/utf.h"

#include <windows.h>
#include <algorithm>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace moltr::platform {
namespace {

// The longest name a string atom keeps.
constexpr size_t kMaxAtomName = 255;
constexpr size_t kStringAtoms = 0x10000 - MAXINTATOM;

// What a name given to the atom calls means: an integer atom, a string, or neither.
struct AtomName {
    ATOM integer = 0;
    std::u16string_view text;
    bool valid = false;
};

// "#" and decimal digits name an integer atom; anything else after "#" is a string.
std::optional<ATOM> DecimalAtom(std::u16string_view text) {
    if (text.size() < 2 || text[0] != u'#') {
        return std::nullopt;
    }
    unsigned long value = 0;
    for (char16_t c : text.substr(1)) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = std::min<unsigned long>(value * 10 + (c - u'0'), MAXINTATOM);
    }
    return static_cast<ATOM>(value < MAXINTATOM ? value : 0);
}

AtomName ReadName(LPCWSTR name) {
    AtomName read;
    if (IS_INTRESOURCE(name)) {
        read.integer = LOWORD(reinterpret_cast<ULONG_PTR>(name));
        read.valid = read.integer != 0 && read.integer < MAXINTATOM;
        return read;
    }
    read.text = sim::View(name);
    if (const std::optional<ATOM> integer = DecimalAtom(read.text)) {
        read.integer = *integer;
        read.valid = *integer != 0;
        return read;
    }
    read.valid = !read.text.empty() && read.text.size() <= kMaxAtomName;
    return read;
}

class AtomTable {
public:
    ATOM Add(LPCWSTR name) {
        const AtomName read = ReadName(name);
        if (!read.valid) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        if (read.integer) {
            return read.integer;
        }
        std::lock_guard guard(lock_);
        if (const std::optional<size_t> slot = Lookup(read.text)) {
            entries_[*slot].references++;
            return AtomOf(*slot);
        }
        size_t slot = 0;
        while (slot < entries_.size() && entries_[slot].references) {
            ++slot;
        }
        if (slot == kStringAtoms) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return 0;
        }
        if (slot == entries_.size()) {
            entries_.emplace_back();
        }
        entries_[slot] = Entry{std::u16string(read.text), 1};
        return AtomOf(slot);
    }

    ATOM Find(LPCWSTR name) {
        const AtomName read = ReadName(name);
        if (!read.valid) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        if (read.integer) {
            return read.integer;
        }
        std::lock_guard guard(lock_);
        if (const std::optional<size_t> slot = Lookup(read.text)) {
            return AtomOf(*slot);
        }
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }

    // 0 once the reference is given up; the atom itself when it names nothing.
    ATOM Delete(ATOM atom) {
        if (atom != 0 && atom < MAXINTATOM) {
            return 0;
        }
        std::lock_guard guard(lock_);
        Entry* entry = EntryOf(atom);
        if (!entry) {
            SetLastError(ERROR_INVALID_HANDLE);
            return atom;
        }
        if (--entry->references == 0) {
            entry->name.clear();
        }
        return 0;
    }

    UINT Name(ATOM atom, LPWSTR buffer, int size) {
        if (!buffer || size <= 0 || atom == 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        std::u16string name;
        if (atom < MAXINTATOM) {
            name = u"#" + sim::Utf16(std::to_string(atom));
        } else {
            std::lock_guard guard(lock_);
            const Entry* entry = EntryOf(atom);
            if (!entry) {
                SetLastError(ERROR_INVALID_HANDLE);
                return 0;
            }
            name = entry->name;
        }
        // A short buffer takes as much of the name as fits before its NUL.
        const size_t length = std::min(name.size(), static_cast<size_t>(size) - 1);
        std::copy_n(name.data(), length, reinterpret_cast<char16_t*>(buffer));
        buffer[length] = 0;
        return static_cast<UINT>(length);
    }

private:
    struct Entry {
        std::u16string name;
        int references = 0;
    };

    static ATOM AtomOf(size_t slot) { return static_cast<ATOM>(MAXINTATOM + slot); }

    std::optional<size_t> Lookup(std::u16string_view name) const {
        for (size_t slot = 0; slot < entries_.size(); ++slot) {
            if (entries_[slot].references && sim::EqualNoCase(entries_[slot].name, name)) {
                return slot;
            }
        }
        return std::nullopt;
    }

    Entry* EntryOf(ATOM atom) {
        const size_t slot = static_cast<size_t>(atom) - MAXINTATOM;
        return atom >= MAXINTATOM && slot < entries_.size() && entries_[slot].references
                   ? &entries_[slot]
                   : nullptr;
    }

    std::mutex lock_;
    std::vector<Entry> entries_;
};

AtomTable& GlobalTable() {
    static AtomTable* table = new AtomTable;
    return *table;
}

AtomTable& LocalTable() {
    static AtomTable* table = new AtomTable;
    return *table;
}

} // namespace
} // namespace moltr::platform

using namespace moltr::platform;

extern "C" {

ATOM WINAPI GlobalAddAtomW(LPCWSTR lpString) {
    return GlobalTable().Add(lpString);
}

ATOM WINAPI GlobalFindAtomW(LPCWSTR lpString) {
    return GlobalTable().Find(lpString);
}

ATOM WINAPI GlobalDeleteAtom(ATOM nAtom) {
    return GlobalTable().Delete(nAtom);
}

UINT WINAPI GlobalGetAtomNameW(ATOM nAtom, LPWSTR lpBuffer, int nSize) {
    return GlobalTable().Name(nAtom, lpBuffer, nSize);
}

ATOM WINAPI AddAtomW(LPCWSTR lpString) {
    return LocalTable().Add(lpString);
}

ATOM WINAPI FindAtomW(LPCWSTR lpString) {
    return LocalTable().Find(lpString);
}

ATOM WINAPI DeleteAtom(ATOM nAtom) {
    return LocalTable().Delete(nAtom);
}

UINT WINAPI GetAtomNameW(ATOM nAtom, LPWSTR lpBuffer, int nSize) {
    return LocalTable().Name(nAtom, lpBuffer, nSize);
}
}
