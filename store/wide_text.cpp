#include "store/wide_text.h"

#include "store/ascii_case.h"

namespace moltr::store {

namespace {

template <class Fold> bool Compare(const void* a, const void* b, Fold fold) {
    for (size_t i = 0;; ++i) {
        WCHAR ca = CharAt(a, i);
        WCHAR cb = CharAt(b, i);
        if (fold(ca) != fold(cb)) {
            return false;
        }
        if (ca == 0) {
            return true;
        }
    }
}

} // namespace

size_t TextLength(const void* text) {
    size_t length = 0;
    while (CharAt(text, length) != 0) {
        ++length;
    }
    return length;
}

size_t BoundedTextBytes(const void* text, size_t limit) {
    for (size_t i = 0; (i + 1) * sizeof(WCHAR) <= limit; ++i) {
        if (CharAt(text, i) == 0) {
            return (i + 1) * sizeof(WCHAR);
        }
    }
    return 0;
}

bool TextsEqual(const void* a, const void* b) {
    return Compare(a, b, [](WCHAR c) { return c; });
}

bool TextsEqualIgnoringCase(const void* a, const void* b) {
    return Compare(a, b, UpperAscii<WCHAR>);
}

} // namespace moltr::store
