#pragma once
// Taking on an image just read from printer data.
#include "store/xpr.h"

namespace moltr::store {

// The "printer" argument of the messages that loading raises.
constexpr WCHAR kLoadOperation[] = L"LoadByHandle";

// The record holds a freshly read image in stored form. Checks its signature, version and content
// and converts it to memory form with its string area measured: 0. Otherwise answers 63004, 63005,
// 63003 (content that does not hold together) or 63402, and the record is left without an image.
int AcceptImage(StructureRecord* record, LPCWSTR valueName);

} // namespace moltr::store
