#pragma once
// A printer's data: keys (paths of names separated by '\'), each a bag of typed values.
#include "src/winspool/spool_bag.h"

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
// The caller holds the spooler's lock; the bag's title is the key path.
bool SaveKey(uint64_t printerId, const ValueBag& key);
// The paths of all keys that hold (or held) values, in alphabetical order ignoring case.
std::vector<std::u16string> KeyPaths(uint64_t printerId);

} // namespace moltr::spool
