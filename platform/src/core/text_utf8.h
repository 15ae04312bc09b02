#pragma once
// UTF-8 and UTF-16, converted by the code-page calls and by the simulation's own text helpers.
#include <string>
#include <string_view>

namespace moltr::sim::text {

// Appends the UTF-8 form of `text`; a lone surrogate fails when `strict`, else becomes U+FFFD.
bool EncodeUtf8(std::u16string_view text, bool strict, std::string& out);
// Appends the UTF-16 form of `bytes`; an ill-formed sequence fails when `strict`, else becomes
// one U+FFFD per maximal ill-formed subpart.
bool DecodeUtf8(std::string_view bytes, bool strict, std::u16string& out);

} // namespace moltr::sim::text
