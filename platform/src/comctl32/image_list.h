#pragma once
// Image lists hold copies of the icons added to them; the controls that show an image list's
// images look them up here.
#include <commctrl.h>

namespace moltr::platform {

// The size of the list's images; false for a handle that is no image list.
bool ImageSize(HIMAGELIST list, SIZE& size);

} // namespace moltr::platform
