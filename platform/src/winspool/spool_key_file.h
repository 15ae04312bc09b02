#pragma once
// A key of a printer's data on disk: the key as last written whole, then the changes made since,
// each appended in one write, every part framed by its 32-bit length. Readers replay the changes
// without the lock. A part cut short at the end (still being written, or its writer died) is not
// yet part of the key, so a reader sees the key as it was before or after each change, never in
// between. Writers append, and rewrite the file whole, replacing it atomically, when it is missing
// or damaged, when it ends in a part cut short, or when the changes would outweigh the key.
#include "src/winspool/spool_bag.h"

#include <cstddef>
#include <optional>
#include <string>

namespace moltr::spool {

// One value set, or (with `erase`) the value of that name removed.
struct ValueChange {
    bool erase = false;
    Value value;
    // False for the removal of a value that the key does not hold.
    bool ApplyTo(ValueBag& key) const;
};

struct KeyFile {
    ValueBag key;
    size_t fileSize = 0;
    // The bytes of the key's whole parts: fewer than fileSize when no change may be appended (the
    // last part is cut short, or the file is a bare bag).
    size_t wholeSize = 0;
};

// Nothing when the file is missing, unreadable or damaged.
std::optional<KeyFile> ReadKeyFile(const std::string& path);
// The caller holds the spooler's lock. `before` is the file as read under it (nothing when it is
// missing or damaged), `after` its key with `change` applied.
bool WriteKeyChange(const std::string& path, const std::optional<KeyFile>& before,
                    const ValueBag& after, const ValueChange& change);

} // namespace moltr::spool
