#include "common/conditional_lines.h"

#include "common/description_lines.h"

#include <algorithm>

namespace moltr::common {
namespace {

constexpr std::string_view kIfdef = "*%Ifdef: ";
constexpr std::string_view kEndif = "*%Endif: ";
// Switched-off lines carry their own marker, so that the PPD's own comments inside a block are
// never taken for switched-off lines and stay comments when the block is on.
constexpr std::string_view kOff = "*%Off: ";
constexpr std::string_view kComment = "*%";

// The symbol of a marker line (after `marker`, without trailing blanks and line end), or empty.
std::string_view MarkerSymbol(std::string_view line, std::string_view marker) {
    if (line.substr(0, marker.size()) != marker) {
        return {};
    }
    std::string_view symbol = line.substr(marker.size());
    size_t last = symbol.find_last_not_of(" \t\r\n");
    return last == std::string_view::npos ? std::string_view{} : symbol.substr(0, last + 1);
}

// A keyword line switched off by a plain comment prefix, as files were written before the marker
// (and as a PPD may ship its blocks): "*%" directly followed by a keyword. Any other comment is the
// PPD's own.
bool PlainSwitchedOff(std::string_view line) {
    if (line.size() < 4 || line.substr(0, 3) != "*%*") {
        return false;
    }
    const char first = line[3];
    return (first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z') || first == '?';
}

// `line` inside blocks that are all on (`on`) or not.
void AppendSwitched(std::string& text, std::string_view line, bool on) {
    const bool marked = line.substr(0, kOff.size()) == kOff;
    if (on && marked) {
        text += line.substr(kOff.size());
    } else if (on && PlainSwitchedOff(line)) {
        text += line.substr(kComment.size());
    } else if (!on && !marked && !PlainSwitchedOff(line)) {
        text += kOff;
        text += line;
    } else {
        text += line;
    }
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
        AppendSwitched(text, line, on);
    }
    text += ppd.substr(position);
    return text;
}

} // namespace moltr::common
