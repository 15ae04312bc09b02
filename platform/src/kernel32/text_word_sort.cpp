// A text's sort key holds one list per level; the lists are compared in turn, so that a difference
// in the base letters anywhere outweighs one in the diacritics, and that one a difference in case.
// Hyphens and apostrophes come last, by where they stand among the letters (a ligature counts as
// its two): the earlier one sorts after.
#include "src/kernel32/text_word_sort.h"
#include "src/kernel32/text_sort_weights.h"

#include <compare>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace moltr::sim::text {
namespace {

struct Special {
    size_t position;
    int weight;
};

struct SortKey {
    std::vector<uint32_t> primary;
    std::vector<uint8_t> diacritic;
    std::vector<uint8_t> letterCase;
    std::vector<Special> special;
};

void AddWeight(SortKey& key, char16_t c) {
    const SortWeight weight = Weight(c);
    key.primary.push_back(weight.primary);
    key.diacritic.push_back(weight.diacritic);
    key.letterCase.push_back(weight.letterCase);
}

SortKey MakeKey(std::u16string_view text) {
    SortKey key;
    for (char16_t c : text) {
        if (IsIgnorable(c)) {
            continue;
        }
        if (const int special = SpecialWeight(c)) {
            key.special.push_back({key.primary.size(), special});
            continue;
        }
        const std::u16string_view letters = Expansion(c);
        if (letters.empty()) {
            AddWeight(key, c);
        }
        for (char16_t letter : letters) {
            AddWeight(key, letter);
        }
    }
    return key;
}

int Sign(std::strong_ordering order) {
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

std::strong_ordering CompareSpecial(const std::vector<Special>& a, const std::vector<Special>& b) {
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i].position != b[i].position) {
            return b[i].position <=> a[i].position;
        }
        if (a[i].weight != b[i].weight) {
            return a[i].weight <=> b[i].weight;
        }
    }
    return a.size() <=> b.size();
}

} // namespace

int WordSortCompare(std::u16string_view a, std::u16string_view b, bool ignoreCase) {
    const SortKey x = MakeKey(a);
    const SortKey y = MakeKey(b);
    if (const auto order = x.primary <=> y.primary; order != 0) {
        return Sign(order);
    }
    if (const auto order = x.diacritic <=> y.diacritic; order != 0) {
        return Sign(order);
    }
    if (const auto order = x.letterCase <=> y.letterCase; !ignoreCase && order != 0) {
        return Sign(order);
    }
    return Sign(CompareSpecial(x.special, y.special));
}

} // namespace moltr::sim::text
