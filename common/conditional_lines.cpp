#include "common/conditional_lines.h"

#include "common/description_lines.h"

#include <algorithm>

namespace moltr::common {
namespace {

constexpr std::string_view kIfdef = "*%Ifdef: ";
constexpr std::string_view kEndif = "*%Endif: ";
constexpr std::string_view kOff = "*%";

// The symbol of a marker line (after `marker`, without trailing blanks and line end), or empty.
std::string_view MarkerSymbol(std::string_view line, std::string_view marker) {
    if (line.substr(0, marker.size()) != marker) {
        return {};
    }
    std::string_view symbol = line.substr(marker.size());
    size_t last = symbol.find_last_not_of(" \t\r\n");
    return last == std::string_view::npos ? std::string_view{} : symbol.substr(0, last + 1);
}

} // namespace

std::string SwitchConditionalLines(std::string_view ppd, const std::vector<std::string>& symbols) {
    size_t switched = std::min(ppd.find(kXpdBegin), ppd.size());
    std::string text;
    text.reserve(ppd.size() + 256);
    // The open blocks, innermost last, each with whether its symbol is set.
    std::vector<std::pair<std::string_view, bool>> open;
    size_t position = 0;
    while (position < switched) {
        const DescriptionLine whole = LineFrom(ppd, position);
        std::string_view line = whole.Whole();
        position = whole.next;
        if (std::string_view symbol = MarkerSymbol(line, kIfdef); !symbol.empty()) {
            bool set = std::find(symbols.begin(), symbols.end(), symbol) != symbols.end();
            open.emplace_back(symbol, set);
            text += line;
            continue;
        }
        if (std::string_view symbol = MarkerSymbol(line, kEndif); !symbol.empty()) {
            auto block = std::find_if(open.rbegin(), open.rend(),
                                      [&](const auto& entry) { return entry.first == symbol; });
            if (block != open.rend()) {
                open.erase(std::next(block).base(), open.end());
            }
            text += line;
            continue;
        }
        if (open.empty()) {
            text += line;
            continue;
        }
        bool on =
            std::all_of(open.begin(), open.end(), [](const auto& entry) { return entry.second; });
        bool commented = line.substr(0, kOff.size()) == kOff;
        if (on && commented) {
            text += line.substr(kOff.size());
        } else if (!on && !commented) {
            text += kOff;
            text += line;
        } else {
            text += line;
        }
    }
    text += ppd.substr(position);
    return text;
}

} // namespace moltr::common
