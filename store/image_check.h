#pragma once
// The check of an image read from printer data before it is converted to memory form. Another
// process, an older driver or a damaged profile may have written the value, so every offset, count
// and size is checked against the buffer, along the same paths that the conversion and the access
// operations follow.
#include <windows.h>
#include <cstddef>

namespace moltr::store {

enum class ImageCheck { Valid, Invalid, OutOfMemory };

// `image` is in stored form. Valid means: every header, descriptor array, record area and dynamic
// value lies inside the image and none overlaps another; no structure is reached twice and nesting
// stays within kMaxNesting; every structure starts with a STRING TAG and its descriptors tile its
// record exactly; every STRING and reference text ends with a NUL inside the image; value bytes lie
// inside the image apart from the texts; sub-structure slices lie within the sub-structure's
// records; and the texts of the STRING values fill exactly the string area at the end, with
// everything else before it.
// On Valid, *stringAreaStart is where the string area begins.
ImageCheck CheckImage(const BYTE* image, size_t size, ULONG64* stringAreaStart);

} // namespace moltr::store
