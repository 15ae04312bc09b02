#pragma once
// A printer's data: keys (paths of names separated by '\'), each a bag of typed values in a file
// of its own.
#include "src/winspool/spool_bag.h"
#include "src/winspool/spool_key_file.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace moltr::spool {

// The key of the plain GetPrinterData/SetPrinterData calls.
constexpr char16_t kPrinterDriverDataKey[] = u"PrinterDriverData";

// A key path of non-empty names.
bool IsValidKeyName(std::u16string_view key);
// The key with its title as first written; nothing when it does not exist or cannot be read.
std::optional<ValueBag> LoadKey(uint64_t printerId, std::u16string_view key);
// The caller holds the spooler's lock. Applies `change` to the key, which a set makes when it is
// missing: 0, ERROR_FILE_NOT_FOUND for the removal from a key or of a value that does not exist,
// or ERROR_CANTWRITE.
DWORD ChangeKey(uint64_t printerId, std::u16string_view key, const ValueChange& change);
// The paths of all keys that hold (or held) values, in alphabetical order ignoring case.
std::vector<std::u16string> KeyPaths(uint64_t printerId);

} // namespace moltr::spool
