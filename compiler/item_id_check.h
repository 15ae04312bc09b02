#pragma once
// The item id of a feature record must survive its encoding in an option item, whose UserItemID
// holds 8 bits: a record whose id does not fit is refused, never stored cut short.
#include "compiler/compilation.h"
#include "compiler/structure.h"

namespace moltr::compiler {

// The largest item id the encoding holds: 100 + 155 + 156 x 255.
inline constexpr DWORD kLargestItemId = 40035;

// For a DOCUMENTFEATURE or PRINTERFEATURE record just compiled: raises the error for an item id
// (CONTROLID when DMPUBID says so, else DMPUBID) above kLargestItemId and answers its class;
// other records and fitting ids answer kSuccess.
int CheckItemId(Compilation& compilation, const Structure& structure, WORD index);

} // namespace moltr::compiler
