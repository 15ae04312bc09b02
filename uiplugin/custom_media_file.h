#pragma once
// Writing the custom media into the printer driver's description file, GPD or PPD by its
// extension; any other file is left alone.
#include <windows.h>
#include <vector>
#include "common/data_file.h"
#include "uiplugin/custom_medium.h"

namespace moltr::uiplugin {

// S_OK when the file was rewritten; S_FALSE when it is neither a GPD nor a PPD or lacks the tags;
// E_FAIL when it cannot be read or replaced, which leaves it as it was.
HRESULT WriteCustomMediaFile(LPCWSTR path, const std::vector<CustomMedium>& media,
                             const common::FileRetries& retries = common::kFileRetries);

} // namespace moltr::uiplugin
