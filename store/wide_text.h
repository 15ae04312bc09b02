#pragma once
// UTF-16 text inside images. Texts in an image may start at odd offsets, so they are read one code
// unit at a time through memcpy.
#include <windows.h>
#include <cstddef>
#include <cstring>

namespace moltr::store {

inline WCHAR CharAt(const void* text, size_t index) {
    WCHAR c;
    std::memcpy(&c, static_cast<const BYTE*>(text) + index * sizeof(WCHAR), sizeof c);
    return c;
}

// Characters before the terminator.
size_t TextLength(const void* text);
// Bytes of the text with its terminator.
inline size_t TextBytes(const void* text) {
    return (TextLength(text) + 1) * sizeof(WCHAR);
}
// Like TextBytes for a text that must end within `limit` bytes; 0 when it does not.
size_t BoundedTextBytes(const void* text, size_t limit);

bool TextsEqual(const void* a, const void* b);
// Equal when A-Z and a-z are folded together; other characters compare exactly.
bool TextsEqualIgnoringCase(const void* a, const void* b);

inline bool IsEmpty(LPCWSTR text) {
    return text == nullptr || CharAt(text, 0) == 0;
}

} // namespace moltr::store
