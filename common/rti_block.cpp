#include "common/rti_block.h"

#include "common/description_lines.h"

namespace moltr::common {

bool RewriteRtiBlock(std::string_view gpd, const std::vector<std::string>& symbols,
                     std::string* result) {
    size_t begin = gpd.find(kRtiBegin);
    if (begin == std::string_view::npos) {
        return false;
    }
    size_t end = gpd.find(kRtiEnd, begin);
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
