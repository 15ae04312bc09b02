#include "common/rti_block.h"

#include "common/description_lines.h"

namespace moltr::common {
namespace {

constexpr std::string_view kBlanks = " \t";

// The start of the first line from `from` on that holds `tag` and nothing but blanks around it, or
// npos. A tag quoted inside another line (a comment, a setting's text) is no tag.
size_t FindTagLine(std::string_view text, std::string_view tag, size_t from) {
    for (size_t start = from; start < text.size();) {
        const DescriptionLine line = LineFrom(text, start);
        const size_t first = line.text.find_first_not_of(kBlanks);
        if (first != std::string_view::npos &&
            line.text.substr(first, line.text.find_last_not_of(kBlanks) + 1 - first) == tag) {
            return start;
        }
        start = line.next;
    }
    return std::string_view::npos;
}

} // namespace

bool RewriteRtiBlock(std::string_view gpd, const std::vector<std::string>& symbols,
                     std::string* result) {
    size_t begin = FindTagLine(gpd, kRtiBegin, 0);
    if (begin == std::string_view::npos) {
        return false;
    }
    size_t end = FindTagLine(gpd, kRtiEnd, LineFrom(gpd, begin).next);
    if (end == std::string_view::npos) {
        return false;
    }
    size_t rest = LineFrom(gpd, end).next;
    std::string text(gpd.substr(0, begin));
    text += kRtiBegin;
    text += "\r\n";
    for (const std::string& symbol : symbols) {
        text += "*Define: ";
        text += symbol;
        text += "\r\n";
    }
    text += kRtiEnd;
    text += "\r\n";
    text += gpd.substr(rest);
    *result = std::move(text);
    return true;
}

} // namespace moltr::common
