#pragma once
// The weights of the user locale's word sort for the characters of the machine's code pages.
#include <cstdint>
#include <string_view>

namespace moltr::sim::text {

// Compared level by level over the whole text: the base character first (symbols, digits, Latin,
// Greek, Cyrillic), then the diacritics, then the case, small letters first.
struct SortWeight {
    uint32_t primary;
    uint8_t diacritic;
    uint8_t letterCase;
};

SortWeight Weight(char16_t c);

// The characters that sort as two letters (U+00DF as "ss" ...), or an empty view.
std::u16string_view Expansion(char16_t c);

// Hyphens and apostrophes weigh less than every other character: they decide only between texts
// that are otherwise equal. 0 for every other character.
int SpecialWeight(char16_t c);

// Characters that do not take part in the comparison at all (the soft hyphen).
bool IsIgnorable(char16_t c);

} // namespace moltr::sim::text
