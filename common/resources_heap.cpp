#include "common/resources_heap.h"

#include <cstring>

namespace moltr::common {

LPWSTR ResourcesHeap::Duplicate(LPCWSTR text) const {
    if (!text) {
        return nullptr;
    }
    int length = lstrlenW(text);
    auto* copy = static_cast<LPWSTR>(Allocate((length + 1) * sizeof(WCHAR)));
    if (copy) {
        memcpy(copy, text, length * sizeof(WCHAR));
    }
    return copy;
}

} // namespace moltr::common
