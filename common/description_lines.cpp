#include "common/description_lines.h"

namespace moltr::common {

DescriptionLine LineFrom(std::string_view file, size_t position) {
    position = position < file.size() ? position : file.size();
    size_t end = file.find_first_of("\r\n", position);
    if (end == std::string_view::npos) {
        return {file.substr(position), {}, file.size()};
    }
    size_t endSize = file.compare(end, 2, "\r\n") == 0 ? 2 : 1;
    return {file.substr(position, end - position), file.substr(end, endSize), end + endSize};
}

} // namespace moltr::common
