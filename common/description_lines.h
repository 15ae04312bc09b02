#pragma once
// The lines of a description file (GPD, PPD) as the rewriters of such files see them: CR, LF and
// CR LF each end a line, whichever convention the file's author used, and every line keeps its own
// line end when the file is written back.
#include <cstddef>
#include <string_view>

namespace moltr::common {

struct DescriptionLine {
    std::string_view text; // without its line end
    std::string_view end;  // "\r\n", "\n", "\r", or empty for a last line that has none
    size_t next;           // where the following line starts

    // The line as the file holds it, line end included.
    std::string_view Whole() const { return {text.data(), text.size() + end.size()}; }
};

// The line of `file` that runs from `position` (the start of a line, or a place inside one) to its
// line end.
DescriptionLine LineFrom(std::string_view file, size_t position);

} // namespace moltr::common
