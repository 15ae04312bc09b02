#pragma once
// compstui's own strings (the IDS_CPSUI_ ids callers may name instead of a text) and the texts of
// a description, which are either strings or string ids.
#include <compstui.h>

#include <string>

namespace moltr::platform::compstui {

// compstui's string `id`; empty for an id outside its range.
std::u16string CpsuiString(UINT id);
// A description's text: the string itself, compstui's string for one of its ids, else the
// caller's string resource of that id; empty for none.
std::u16string TextOf(HINSTANCE caller, LPCWSTR text);

} // namespace moltr::platform::compstui
