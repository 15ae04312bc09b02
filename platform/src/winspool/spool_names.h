#pragma once
// Names in the spooler (printers, drivers, keys, values) compare without regard to case; on disk
// they become file names that are the same for every spelling of one name.
#include <string>
#include <string_view>

namespace moltr::spool {

std::u16string FoldCase(std::u16string_view name);
bool SameName(std::u16string_view a, std::u16string_view b);
// A portable file name for `name`: its case-folded UTF-8 with everything but letters, digits, '-'
// and '_' escaped as %XX.
std::string FileNameFor(std::u16string_view name);

} // namespace moltr::spool
