#pragma once
// `moltr preview`: the document property sheet's page preview of a printer's devmode, as a PNG.
#include <string>
#include <vector>

namespace moltr::tool {

extern const char kPreviewUsage[];

// moltr preview PRINTER [--set FIELD=VALUE ...] -o FILE.png [--size WxH]
int RunPreview(const std::vector<std::string>& args);

} // namespace moltr::tool
