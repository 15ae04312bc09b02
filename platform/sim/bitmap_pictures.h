#pragma once
// Pictures of the process's bitmaps (host build only), for `moltr preview` and the tests.
#include <windows.h>
#include <vector>

namespace moltr::sim {

// The bitmap's pixels, in its colours, as a PNG file's bytes; empty for a handle that is no
// bitmap or a bitmap never drawn on.
std::vector<BYTE> BitmapPicture(HBITMAP bitmap);

} // namespace moltr::sim
