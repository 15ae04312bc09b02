#include "src/unidrv/gpd_model.h"

#include <algorithm>

namespace moltr::unidrv {
namespace {

// The text between "KEYWORD(" and the final ")", or false.
bool Arguments(std::string_view text, std::string_view keyword, std::string_view* inside) {
    text = TrimGpdBlanks(text);
    if (text.substr(0, keyword.size()) != keyword) {
        return false;
    }
    text = TrimGpdBlanks(text.substr(keyword.size()));
    if (text.size() < 2 || text.front() != '(' || text.back() != ')') {
        return false;
    }
    *inside = text.substr(1, text.size() - 2);
    return true;
}

} // namespace

bool SameGpdKeyword(std::string_view a, std::string_view b) {
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return upper(x) == upper(y); });
}

std::string_view TrimGpdBlanks(std::string_view text) {
    constexpr char kBlanks[] = " \t\r\f\v";
    size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) + 1 - first);
}

const GpdFeature* GpdModel::Feature(std::string_view name) const {
    auto found = std::find_if(features.begin(), features.end(),
                              [&](const GpdFeature& feature) { return feature.name == name; });
    return found == features.end() ? nullptr : &*found;
}

const GpdAttribute* FindAttribute(const GpdBody& body, std::string_view name) {
    auto found =
        std::find_if(body.attributes.begin(), body.attributes.end(),
                     [&](const GpdAttribute& attribute) { return attribute.name == name; });
    return found == body.attributes.end() ? nullptr : &*found;
}

int OptionIndex(const GpdFeature& feature, std::string_view name) {
    for (size_t i = 0; i < feature.options.size(); ++i) {
        if (feature.options[i].name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool ParseGpdInteger(std::string_view text, long long* value) {
    text = TrimGpdBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Ten digits hold every 32-bit value the descriptions use and cannot overflow 64 bits.
    if (text.empty() || text.size() > 10 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    long long number = 0;
    for (char c : text) {
        number = number * 10 + (c - '0');
    }
    *value = negative ? -number : number;
    return true;
}

bool ParseGpdPair(std::string_view text, GpdPair* pair) {
    std::string_view inside;
    if (!Arguments(text, "PAIR", &inside)) {
        return false;
    }
    size_t comma = inside.find(',');
    return comma != std::string_view::npos && ParseGpdInteger(inside.substr(0, comma), &pair->x) &&
           ParseGpdInteger(inside.substr(comma + 1), &pair->y);
}

bool ParseGpdList(std::string_view text, std::vector<std::string>* names) {
    std::string_view inside;
    if (!Arguments(text, "LIST", &inside)) {
        return false;
    }
    names->clear();
    while (!TrimGpdBlanks(inside).empty()) {
        size_t comma = std::min(inside.find(','), inside.size());
        std::string_view name = TrimGpdBlanks(inside.substr(0, comma));
        if (name.empty()) {
            return false;
        }
        names->emplace_back(name);
        inside = comma < inside.size() ? inside.substr(comma + 1) : std::string_view();
    }
    return true;
}

bool ParseGpdQuoted(std::string_view text, std::string* content) {
    text = TrimGpdBlanks(text);
    if (text.size() < 2 || text.front() != '"' || text.back() != '"' ||
        text.substr(1, text.size() - 2).find('"') != std::string_view::npos) {
        return false;
    }
    *content = std::string(text.substr(1, text.size() - 2));
    return true;
}

} // namespace moltr::unidrv
